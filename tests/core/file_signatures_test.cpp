#include "engine/image/file_signatures.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/binary_data.h"
#include "tests/support/temp_dir.h"

// Compared in pieces so that this file does not hold either signature whole.
TEST(FileSignatures, AreTheExpectedBytes) {
    const std::string stub = RestorerStubSignatureBytes();
    EXPECT_EQ(stub.substr(0, 2), "MZ");
    EXPECT_EQ(stub.substr(2), std::string("\x90\0\x03\0", 4) + std::string(1, '\0'));

    const std::string stream = CompressedStreamSignatureBytes();
    EXPECT_EQ(stream.substr(0, 3), "BZh");
    EXPECT_EQ(stream.substr(3), std::string("91") + "AY");
}

// The searches run over the program's own file, so the signatures must not be in the
// built program as constants. This test program links the same engine code; its own
// executable header at the start of the file is not searched, as in the real search.
TEST(FileSignatures, DoNotStandWholeInTheBuiltProgram) {
    const std::string program = ReadWholeFile(OwnExecutablePath());
    ASSERT_GT(program.size(), 100000u) << OwnExecutablePath();
    EXPECT_EQ(program.find(RestorerStubSignatureBytes(), 1024), std::string::npos);
    EXPECT_EQ(program.find(CompressedStreamSignatureBytes()), std::string::npos);
}
