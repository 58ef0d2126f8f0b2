#include "tests/support/string_table_source.h"

#include <cctype>
#include <filesystem>
#include <regex>
#include <sstream>

#include "tests/support/temp_dir.h"

namespace {

std::string SourcePath(const std::string& relative) {
    return std::string(VORLIX_SOURCE_DIR) + "/" + relative;
}

void ReadIds(const std::string& header, StringTableSource& table) {
    static const std::regex startOfDefine(R"(^\s*#\s*define\s+IDS_)");
    static const std::regex define(R"(^\s*#\s*define\s+(IDS_\w+)\s+(\d+)\s*(/[*/].*)?$)");
    std::istringstream lines(header);
    std::string line;
    std::smatch m;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!std::regex_search(line, startOfDefine)) continue;
        if (!std::regex_match(line, m, define)) {
            table.problems.push_back(line);
            continue;
        }
        const std::string name = m[1];
        if (table.ids.count(name)) table.duplicateNames.push_back(name);
        table.ids[name] = static_cast<unsigned>(std::stoul(m[2]));
    }
}

// Entries are one per line between BEGIN and END: a name or number, an optional comma,
// and one quoted string.
void ReadEntries(const std::string& script, StringTableSource& table) {
    static const std::regex entry(R"re(^\s*(\w+)\s*,?\s*"((?:[^"\\]|\\.|"")*)"\s*(//.*)?$)re");
    static const std::regex comment(R"(^\s*(//.*)?$)");
    std::istringstream lines(script);
    std::string line;
    std::smatch m;
    bool inside = false;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!inside) {
            inside = std::regex_match(line, std::regex(R"(^\s*(BEGIN|\{)\s*$)"));
            continue;
        }
        if (std::regex_match(line, std::regex(R"(^\s*(END|\})\s*$)"))) {
            inside = false;
            continue;
        }
        if (std::regex_match(line, comment)) continue;
        if (!std::regex_match(line, m, entry)) {
            table.problems.push_back(line);
            continue;
        }
        const std::string key = m[1];
        table.entryKeys.push_back(key);
        unsigned id = 0;
        if (std::isdigit(static_cast<unsigned char>(key[0]))) {
            id = static_cast<unsigned>(std::stoul(key));
        } else if (table.ids.count(key)) {
            id = table.ids.at(key);
        } else {
            table.problems.push_back("unknown name " + key);
            continue;
        }
        if (table.texts.count(id)) table.problems.push_back("second entry for " + key);
        table.texts[id] = UnescapeResourceString(m[2]);
    }
}

}  // namespace

std::string UnescapeResourceString(const std::string& quoted) {
    std::string text;
    for (size_t i = 0; i < quoted.size(); ++i) {
        const char c = quoted[i];
        if (c == '"' && i + 1 < quoted.size() && quoted[i + 1] == '"') {
            text += '"';
            ++i;
        } else if (c == '\\' && i + 1 < quoted.size()) {
            const char next = quoted[++i];
            text += next == 'n' ? '\n' : next == 't' ? '\t' : next;
        } else {
            text += c;
        }
    }
    return text;
}

StringTableSource ParseStringTableSource(const std::string& idsHeader, const std::string& script) {
    StringTableSource table;
    ReadIds(idsHeader, table);
    ReadEntries(script, table);
    return table;
}

StringTableSource LoadStringTableSource() {
    return ParseStringTableSource(ReadWholeFile(SourcePath("resources/string_ids.h")),
                                  ReadWholeFile(SourcePath("resources/strings.rc")));
}

std::map<std::string, std::string> IdsNamesUsedIn(const std::vector<std::string>& folders) {
    namespace fs = std::filesystem;
    static const std::regex name(R"(\bIDS_[A-Z0-9_]+\b)");
    std::map<std::string, std::string> used;  // name -> first file that uses it
    for (const std::string& folder : folders) {
        const fs::path root = SourcePath(folder);
        std::error_code error;
        if (!fs::is_directory(root, error)) continue;
        for (const auto& item : fs::recursive_directory_iterator(root, error)) {
            const std::string ext = item.path().extension().string();
            if (!item.is_regular_file() || (ext != ".cpp" && ext != ".h")) continue;
            const std::string source = ReadWholeFile(item.path().string());
            for (std::sregex_iterator it(source.begin(), source.end(), name), end; it != end; ++it) {
                used.emplace(it->str(), folder + "/" + item.path().filename().string());
            }
        }
    }
    return used;
}
