# Entry points; the build itself is CMake (see CMakePresets.json).
.PHONY: setup native win32 test test-native test-win32 clean demo demo-gui bench

setup:
	bash scripts/setup

native: setup
	cmake --preset native
	cmake --build --preset native

win32: setup
	cmake --preset win32
	cmake --build --preset win32

test-native: native
	ctest --preset native

test-win32: win32
	ctest --preset win32

# Everything: set-up, both builds, all tests.
test: test-native test-win32

# The program on a sample floppy in a private Wine prefix (build/demo): read it into an
# image with the progress dialog, write it back onto a blank disk, compare.
demo:
	bash scripts/demo

# The main dialog on your display, with the sample disk as A:.
demo-gui:
	bash scripts/demo --gui

# The two jobs against bzip2, bunzip2 and dd on a 1440 kB FAT12 disk of this machine's
# files (build/bench); prints times, ratios and peak memory.
bench: setup
	cmake --preset native
	cmake --build --preset native --target job_bench
	mkdir -p build/bench
	bench/make-bench-disk build/bench/disk.img
	build/native/bench/job_bench build/bench/disk.img build/bench

clean:
	rm -rf build/native build/win32
