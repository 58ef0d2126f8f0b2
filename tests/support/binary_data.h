#pragma once
#include <stddef.h>

#include <string>

// Bytes of every value, line ends and 0x1A (the text-mode end of file) included, in an
// order that depends on `seed`, so that two blocks with different seeds differ.
std::string BinaryTestData(size_t size, unsigned seed);

// The two searched-for signatures as byte strings, built at run time like the program's
// own, so the test binaries do not hold them whole either.
std::string RestorerStubSignatureBytes();
std::string CompressedStreamSignatureBytes();

// The path of the running test program's own file.
std::string OwnExecutablePath();
