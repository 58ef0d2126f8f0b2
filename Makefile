# Entry points; the build itself is CMake (see CMakePresets.json).
.PHONY: install deb setup native win32 win64 test test-native test-win32 test-win64 clean demo demo-gui bench \
        native-asan test-asan fuzz tidy

setup:
	bash scripts/setup

native: setup
	cmake --preset native
	cmake --build --preset native

win32: setup
	cmake --preset win32
	cmake --build --preset win32

# The PE32+ test build, for machines whose kernel runs 64-bit code only.
win64: setup
	cmake --preset win64
	cmake --build --preset win64

test-native: native
	ctest --preset native

test-win32: win32
	ctest --preset win32

# The Windows tests against the PE32+ build in a 64-bit Wine prefix; runs anywhere.
test-win64: win64
	ctest --preset win64

# The native suite again under AddressSanitizer and UndefinedBehaviorSanitizer (clang),
# any report fatal.
native-asan: setup
	cmake --preset native-asan
	nice cmake --build --preset native-asan

# One process for the whole suite: a process per test (ctest --preset native-asan) costs
# three times as long under the sanitizers' start-up.
SANITIZER_OPTIONS = ASAN_OPTIONS=detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1:check_initialization_order=1 \
                    UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
test-asan: native-asan
	$(SANITIZER_OPTIONS) timeout --kill-after=10 900 build/native-asan/tests/vorlix_core_tests --gtest_brief=1

# Every fuzz target for FUZZ_SECONDS each (60 by default), from its seeds in fuzz/corpus.
FUZZ_SECONDS ?= 60
fuzz: setup
	cmake --preset fuzz
	nice cmake --build --preset fuzz
	FUZZ_SECONDS=$(FUZZ_SECONDS) fuzz/run-fuzzers build/fuzz

# clang-tidy (.clang-tidy) over the portable core's sources, with the native build's
# compile commands; any finding fails.
TIDY_SOURCES = $(filter-out %_win32.cpp,$(wildcard platform/*.cpp engine/*/*.cpp app/*.cpp online/*.cpp ui/*.cpp stub/*.cpp program/*.cpp))
tidy: setup
	cmake --preset native
	nice run-clang-tidy-14 -quiet -j2 -p build/native $(TIDY_SOURCES) > build/tidy.log 2>&1 \
	    || { grep -E 'warning:|error:' build/tidy.log; echo "tidy: findings above (build/tidy.log)"; exit 1; }
	@echo "tidy: no findings in $(words $(TIDY_SOURCES)) files"

# Everything: set-up, the native build and its tests, the same suite under the
# sanitizers, the static checks, each fuzz target for 10 s, the PE32 build (the product),
# and the Windows tests of the tier that this machine runs: PE32 where an i386 program
# starts, else win64 (scripts/wine-tier; VORLIX_WINE_TIER=pe32|win64 forces one).
test: test-native test-asan tidy win32
	$(MAKE) --no-print-directory fuzz FUZZ_SECONDS=10
	@tier=$$(scripts/wine-tier) || exit 1; \
	case "$$tier" in \
	    pe32) $(MAKE) --no-print-directory test-win32 ;; \
	    win64) $(MAKE) --no-print-directory test-win64 ;; \
	esac

# The program on a sample floppy in a private Wine prefix (build/demo): read it into an
# image with the progress dialog, write it back onto a blank disk, compare.
demo:
	bash scripts/demo

# The main dialog on your display, with the sample disk as A:.
demo-gui:
	bash scripts/demo --gui

# The two jobs against bzip2, bunzip2 and dd on a 1440 kB FAT12 disk of this machine's
# files (build/bench); prints times, ratios and peak memory, the image check against
# bunzip2 | sha256sum, then the release programs' sizes.
bench: setup
	cmake --preset native
	cmake --build --preset native --target job_bench check_bench
	cmake --build --preset native --target rescue_bench
	cmake --preset win32
	cmake --build --preset win32 --target vorlix
	mkdir -p build/bench
	bench/make-bench-disk build/bench/disk.img
	build/native/bench/job_bench build/bench/disk.img build/bench
	build/native/bench/rescue_bench build/bench
	build/native/bench/check_bench build/bench/disk.img build/bench
	cmake --build --preset native --target vorlix
	bench/linux-bench build/native/linux/vorlix build/bench/disk.img build/bench/linux
	bench/program-sizes build/win32

clean:
	rm -rf build/native build/native-asan build/fuzz build/win32 build/win64 build/tidy.log

# The terminal program for Linux: PREFIX/bin/vorlix, its manual page, its bash
# completion (where bash-completion looks for it), the licences, and the Windows
# program, which carries the restorer stub that ".exe" images start with, when the
# Windows build exists (make win32).
PREFIX ?= /usr/local
install: native
	install -D -m 755 build/native/linux/vorlix $(DESTDIR)$(PREFIX)/bin/vorlix
	install -D -m 644 linux/vorlix.1 $(DESTDIR)$(PREFIX)/share/man/man1/vorlix.1
	install -D -m 644 linux/vorlix.bash-completion $(DESTDIR)$(PREFIX)/share/bash-completion/completions/vorlix
	install -D -m 644 LICENSE $(DESTDIR)$(PREFIX)/share/doc/vorlix/LICENSE
	install -D -m 644 docs/third-party-licences.txt $(DESTDIR)$(PREFIX)/share/doc/vorlix/third-party-licences.txt
	@if [ -f build/win32/vorlix.exe ]; then \
	    install -D -m 644 build/win32/vorlix.exe $(DESTDIR)$(PREFIX)/share/vorlix/vorlix.exe; \
	else \
	    echo "install: no Windows build (make win32): vorlix cannot make .exe images"; \
	fi

# The Debian package, build/deb/vorlix_VERSION-1_ARCH.deb (CPack, cmake/VorlixPackage.cmake):
# the same files under /usr, with the Windows program when the PE32 build exists (make
# win32), checked by lintian where it is installed.
deb: native
	rm -f build/deb/vorlix_*.deb
	cpack -G DEB --config build/native/CPackConfig.cmake -B build/deb
	rm -rf build/deb/_CPack_Packages
	@if [ ! -f build/win32/vorlix.exe ]; then \
	    echo "deb: no Windows build (make win32): the package cannot make .exe images"; \
	fi
	@if command -v lintian >/dev/null; then \
	    lintian --fail-on error --allow-root build/deb/vorlix_*.deb && echo "deb: lintian finds no errors"; \
	else \
	    echo "deb: lintian is not installed (scripts/setup): the package is unchecked"; \
	fi
