#pragma once
#include <stdint.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/registry_key.h"

// The behaviour every RegistryKey shows, written once and checked against both the real
// registry (under Wine) and the in-memory store, so that the two cannot drift apart.

// Puts a value of any type and content straight into the store, bypassing RegistryKey.
using PlantValue = std::function<void(const std::string& path, const std::string& name,
                                      uint32_t type, const std::string& bytes)>;

// How a stored value reads through QueryString and QueryDword.
struct StoredValueCase {
    const char* label;  // also the value's name
    uint32_t type;
    std::string bytes;
    int stringResult;
    std::string text;  // the text read, or the default when stringResult is 0
    int dwordResult;
    uint32_t number;  // the number read, or the default when dwordResult is 0
};

constexpr char kStringDefault[] = "(default)";
constexpr uint32_t kDwordDefault = 0x5EEDu;

const std::vector<StoredValueCase>& StoredValueCases();

// Each case planted under `scratch` (a key below HKEY_CURRENT_USER) and read back.
void ExpectStoredValuesRead(RegistryKey& key, const std::string& scratch, const PlantValue& plant);

// Keys and values made, found, read and deleted below `scratch`, which must not exist
// beforehand and is gone afterwards.
void ExpectKeyContract(RegistryKey& key, const std::string& scratch);
