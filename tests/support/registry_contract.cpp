#include "tests/support/registry_contract.h"

#include <gtest/gtest.h>

#include "tests/support/memory_registry.h"

namespace {

std::string Bytes(const char* data, size_t size) {
    return std::string(data, size);
}

std::string Repeat(char c, size_t count) {
    return std::string(count, c);
}

}  // namespace

const std::vector<StoredValueCase>& StoredValueCases() {
    static const std::vector<StoredValueCase> cases = {
        {"drive", kStoredString, Bytes("B:\0", 3), 1, "B:", 1, 0x3A42},
        {"one character", kStoredString, Bytes("1\0", 2), 1, "1", 1, 0x31},
        {"empty string", kStoredString, Bytes("\0", 1), 1, "", 1, 0},
        {"four-byte string", kStoredString, Bytes("123\0", 4), 1, "123", 1, 0x00333231},
        {"five-byte string", kStoredString, Bytes("1234\0", 5), 1, "1234", 0, kDwordDefault},
        {"number", kStoredDword, Bytes("\x07\0\0\0", 4), 1, "\x07", 1, 7},
        {"number with zero low byte", kStoredDword, Bytes("\0\x01\0\0", 4), 1, "", 1, 0x100},
        {"large number", kStoredDword, Bytes("\xFF\xFF\xFF\xFF", 4), 1, "\xFF\xFF\xFF\xFF", 1,
         0xFFFFFFFFu},
        {"three bytes", kStoredBinary, Bytes("\x01\x02\x03", 3), 1, "\x01\x02\x03", 1, 0x030201},
        {"five bytes", kStoredBinary, Bytes("\x01\x02\x03\x04\x05", 5), 1, "\x01\x02\x03\x04\x05",
         0, kDwordDefault},
        {"no bytes", kStoredBinary, "", 1, "", 1, 0},
        {"text of 16,300 bytes", kStoredString, Repeat('x', 16299) + '\0', 1, Repeat('x', 16299), 0,
         kDwordDefault},
        {"text of 16,301 bytes", kStoredString, Repeat('x', 16300) + '\0', 0, kStringDefault, 0,
         kDwordDefault},
        {"16,300 bytes without zero", kStoredBinary, Repeat('y', 16300), 1, Repeat('y', 16300), 0,
         kDwordDefault},
    };
    return cases;
}

void ExpectStoredValuesRead(RegistryKey& key, const std::string& scratch, const PlantValue& plant) {
    for (const StoredValueCase& c : StoredValueCases()) {
        SCOPED_TRACE(c.label);
        plant(scratch, c.label, c.type, c.bytes);
        ASSERT_EQ(key.Open(RegistryRoot::CurrentUser, scratch.c_str()), 1);
        std::string text = "stale";
        uint32_t number = 12345;
        EXPECT_EQ(key.QueryString(c.label, text, kStringDefault), c.stringResult);
        EXPECT_EQ(text, c.text);
        EXPECT_EQ(key.QueryDword(c.label, number, kDwordDefault), c.dwordResult);
        EXPECT_EQ(number, c.number);
        EXPECT_EQ(key.Close(), 1);
    }
    ASSERT_EQ(key.Open(RegistryRoot::CurrentUser, scratch.c_str()), 1);
    std::string text;
    uint32_t number = 0;
    EXPECT_EQ(key.QueryString("missing", text, kStringDefault), 0);
    EXPECT_EQ(text, kStringDefault);
    EXPECT_EQ(key.QueryDword("missing", number, kDwordDefault), 0);
    EXPECT_EQ(number, kDwordDefault);
    for (const StoredValueCase& c : StoredValueCases()) {
        key.Delete(c.label);  // the values; there is no such sub-key
    }
    EXPECT_EQ(key.Delete(""), 1);
    EXPECT_EQ(key.Close(), 1);
}

namespace {

bool Exists(RegistryKey& key, const std::string& path) {
    const int opened = key.Open(RegistryRoot::CurrentUser, path.c_str());
    if (opened) {
        key.Close();
    }
    return opened == 1;
}

void ExpectNothingHeld(RegistryKey& key) {
    std::string text;
    uint32_t number = 0;
    EXPECT_EQ(key.SetString("v", "x"), 0);
    EXPECT_EQ(key.SetDword("v", 1), 0);
    EXPECT_EQ(key.QueryString("v", text, "d"), 0);
    EXPECT_EQ(text, "d");
    EXPECT_EQ(key.QueryDword("v", number, 9), 0);
    EXPECT_EQ(number, 9u);
    EXPECT_EQ(key.Delete("v"), 0);
}

}  // namespace

void ExpectKeyContract(RegistryKey& key, const std::string& scratch) {
    const std::string leaf = scratch + "\\Parent\\Child";

    // Open finds existing keys only; a failed Open holds nothing.
    EXPECT_EQ(key.Open(RegistryRoot::CurrentUser, leaf.c_str()), 0);
    ExpectNothingHeld(key);
    EXPECT_EQ(key.Close(), 0);

    // Create makes the parents; the empty name is the default value; names ignore case.
    ASSERT_EQ(key.Create(RegistryRoot::CurrentUser, leaf.c_str()), 1);
    EXPECT_EQ(key.SetString("", "the default"), 1);
    EXPECT_EQ(key.SetDword("Number", 0x89ABCDEFu), 1);
    EXPECT_EQ(key.SetString("Text", "first"), 1);
    EXPECT_EQ(key.SetString("TEXT", "second"), 1);
    EXPECT_EQ(key.Close(), 1);
    EXPECT_TRUE(Exists(key, scratch + "\\Parent"));
    ASSERT_EQ(key.Open(RegistryRoot::CurrentUser, (scratch + "\\PARENT\\child").c_str()), 1);
    std::string text;
    uint32_t number = 0;
    EXPECT_EQ(key.QueryString("", text, "d"), 1);
    EXPECT_EQ(text, "the default");
    EXPECT_EQ(key.QueryString("text", text, "d"), 1);
    EXPECT_EQ(text, "second");
    EXPECT_EQ(key.QueryDword("number", number, 0), 1);
    EXPECT_EQ(number, 0x89ABCDEFu);
    EXPECT_EQ(key.Close(), 1);

    // A key with sub-keys is not deleted, neither by name nor as the held key.
    ASSERT_EQ(key.Create(RegistryRoot::CurrentUser, scratch.c_str()), 1);
    EXPECT_EQ(key.Delete("Parent"), 0);
    EXPECT_EQ(key.Close(), 1);
    ASSERT_EQ(key.Create(RegistryRoot::CurrentUser, (scratch + "\\Parent").c_str()), 1);
    EXPECT_EQ(key.Delete(""), 0);
    EXPECT_EQ(key.Close(), 1);
    EXPECT_TRUE(Exists(key, leaf));

    // Delete takes the value of that name, then the sub-key; a missing sub-key fails
    // but the value is gone all the same.
    ASSERT_EQ(key.Create(RegistryRoot::CurrentUser, (scratch + "\\Parent").c_str()), 1);
    EXPECT_EQ(key.SetString("Child", "a value named like the sub-key"), 1);
    EXPECT_EQ(key.SetString("Lonely", "a value without a sub-key"), 1);
    EXPECT_EQ(key.Delete("Child"), 1);
    EXPECT_EQ(key.Delete("Lonely"), 0);
    EXPECT_EQ(key.QueryString("Child", text, "gone"), 0);
    EXPECT_EQ(key.QueryString("Lonely", text, "gone"), 0);
    EXPECT_EQ(text, "gone");
    EXPECT_EQ(key.Close(), 1);
    EXPECT_FALSE(Exists(key, leaf));

    // The empty name removes the default value and the held key itself, which is then
    // no longer usable.
    ASSERT_EQ(key.Create(RegistryRoot::CurrentUser, (scratch + "\\Parent").c_str()), 1);
    EXPECT_EQ(key.SetString("", "x"), 1);
    EXPECT_EQ(key.Delete(""), 1);
    EXPECT_EQ(key.SetString("after", "x"), 0);
    EXPECT_EQ(key.QueryString("", text, "d"), 0);
    key.Close();
    EXPECT_FALSE(Exists(key, scratch + "\\Parent"));

    ASSERT_EQ(key.Open(RegistryRoot::CurrentUser, scratch.c_str()), 1);
    EXPECT_EQ(key.Delete(""), 1);
    key.Close();
    EXPECT_FALSE(Exists(key, scratch));
}
