#pragma once
#include <map>
#include <string>
#include <vector>

// The main program's string table as its source files state it: the IDS_ names of
// resources/string_ids.h and the entries of resources/strings.rc, with the resource
// compiler's escapes undone, so tests can compare texts byte for byte.
struct StringTableSource {
    std::map<std::string, unsigned> ids;         // name -> value
    std::vector<std::string> duplicateNames;     // names defined more than once
    std::map<unsigned, std::string> texts;       // ID -> text
    std::vector<std::string> entryKeys;          // names (or numbers) as the entries give them
    std::vector<std::string> problems;           // lines that could not be understood
};

// Reads both files from the source tree. Problems are listed, never thrown.
StringTableSource LoadStringTableSource();

// Parses the two texts; exposed for testing the reader itself.
StringTableSource ParseStringTableSource(const std::string& idsHeader, const std::string& script);

// Undoes the resource compiler's escapes: \n, \t, \\, \" and a doubled quote.
std::string UnescapeResourceString(const std::string& quoted);

// Every IDS_ name mentioned in the C++ files below the given source folders.
std::map<std::string, std::string> IdsNamesUsedIn(const std::vector<std::string>& folders);
