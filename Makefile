# Entry points; the build itself is CMake (see CMakePresets.json).
.PHONY: setup native win32 test test-native test-win32 clean

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

clean:
	rm -rf build/native build/win32
