#include "engine/fat/fat_extract.h"

#include <set>

#include "engine/fat/fat_names.h"
#include "resources/string_ids.h"

namespace {

// "/A/b/" as "A/b": how a user may name a path on the volume.
std::string Trimmed(const std::string& path) {
    size_t begin = 0, end = path.size();
    while (begin < end && (path[begin] == '/' || path[begin] == '\\')) ++begin;
    while (end > begin && (path[end - 1] == '/' || path[end - 1] == '\\')) --end;
    std::string out = path.substr(begin, end - begin);
    for (char& c : out) {
        if (c == '\\') c = '/';
    }
    return out;
}

// Is `path` `selected` or inside it?
bool Within(const std::string& path, const std::string& selected) {
    if (selected.empty()) return true;
    if (path.size() < selected.size() || !SameNameIgnoringCase(path.substr(0, selected.size()), selected)) return false;
    return path.size() == selected.size() || path[selected.size()] == '/';
}

void Say(MessageSink& sink, unsigned id, const std::string& text) {
    sink.Show(UserMessage{id, MessageStyle::Error, text.c_str()});
}

// The chosen entries' indexes, each once, folders before what they hold.
std::vector<size_t> Chosen(const FatVolume& volume, const FatExtractRequest& request, MessageSink& sink,
                           FatExtractResult& result) {
    const std::vector<FatEntry>& entries = volume.Entries();
    std::vector<bool> chosen(entries.size(), request.paths.empty());
    for (const std::string& asked : request.paths) {
        const std::string path = Trimmed(asked);
        bool found = path.empty();
        for (size_t i = 0; i < entries.size(); ++i) {
            if (entries[i].deleted || !Within(entries[i].path, path)) continue;
            chosen[i] = true;
            found = true;
        }
        if (found && path.empty()) chosen.assign(entries.size(), true);
        if (!found) {
            Say(sink, IDS_EXTRACT_NOT_FOUND, asked);
            ++result.notFound;
        }
    }
    std::vector<size_t> out;
    for (size_t i = 0; i < entries.size(); ++i) {
        if (chosen[i] && !entries[i].deleted) out.push_back(i);
    }
    return out;
}

class Extraction {
public:
    Extraction(const FatVolume& volume, const FatExtractRequest& request, ExtractFiles& files, MessageSink& sink,
               FatExtractResult& result)
        : volume_(volume), request_(request), files_(files), sink_(sink), result_(result) {}

    // The folders a path is in, made once each.
    bool MakeParents(const std::string& volumePath) {
        size_t slash = volumePath.find('/');
        while (slash != std::string::npos) {
            if (!MakeFolder(volumePath.substr(0, slash))) return false;
            slash = volumePath.find('/', slash + 1);
        }
        return true;
    }

    bool MakeFolder(const std::string& volumePath) {
        if (made_.count(volumePath) != 0) return true;
        const std::string host = ExtractPathOf(request_.targetFolder, volumePath);
        if (files_.MakeFolder(host) != 0) {
            Say(sink_, IDS_EXTRACT_NO_FOLDER, host);
            ++result_.failed;
            return false;
        }
        made_.insert(volumePath);
        ++result_.folders;
        return true;
    }

    void File(const FatEntry& entry) {
        const std::string host = ExtractPathOf(request_.targetFolder, entry.path);
        std::vector<uint8_t> data;
        const bool whole = volume_.ReadContents(entry, &data);
        switch (files_.WriteFile(host, data.data(), data.size(), request_.replace)) {
        case ExtractCreate::Exists:
            Say(sink_, IDS_EXTRACT_EXISTS, host);
            ++result_.refused;
            return;
        case ExtractCreate::Failed:
            Say(sink_, IDS_EXTRACT_FAILED, host);
            ++result_.failed;
            return;
        case ExtractCreate::Created:
            break;
        }
        ++result_.files;
        if (!whole) {
            Say(sink_, IDS_EXTRACT_DAMAGED, entry.path);
            ++result_.damaged;
        }
        files_.SetModified(host, entry.modified);
    }

private:
    const FatVolume& volume_;
    const FatExtractRequest& request_;
    ExtractFiles& files_;
    MessageSink& sink_;
    FatExtractResult& result_;
    std::set<std::string> made_;
};

}  // namespace

std::string ExtractPathOf(const std::string& targetFolder, const std::string& volumePath) {
    std::string out = targetFolder;
    size_t begin = 0;
    while (begin <= volumePath.size()) {
        size_t end = volumePath.find('/', begin);
        if (end == std::string::npos) end = volumePath.size();
        out += "/" + SafeHostName(volumePath.substr(begin, end - begin));
        begin = end + 1;
    }
    return out;
}

int ExtractFatFiles(const FatVolume& volume, const FatExtractRequest& request, ExtractFiles& files,
                    MessageSink& sink, FatExtractResult* result) {
    FatExtractResult counts;
    const std::vector<size_t> chosen = Chosen(volume, request, sink, counts);
    if (files.MakeTargetFolder(request.targetFolder) != 0) {
        Say(sink, IDS_EXTRACT_NO_FOLDER, request.targetFolder);
        ++counts.failed;
        if (result != nullptr) *result = counts;
        return -1;
    }
    Extraction extraction(volume, request, files, sink, counts);
    const std::vector<FatEntry>& entries = volume.Entries();
    for (size_t index : chosen) {
        const FatEntry& entry = entries[index];
        if (!extraction.MakeParents(entry.path)) continue;
        if (entry.directory) {
            extraction.MakeFolder(entry.path);
            if (entry.damaged) {
                Say(sink, IDS_EXTRACT_DAMAGED, entry.path);
                ++counts.damaged;
            }
        } else {
            extraction.File(entry);
        }
    }
    // A folder's time last, after the files made in it have moved it.
    for (auto index = chosen.rbegin(); index != chosen.rend(); ++index) {
        const FatEntry& entry = entries[*index];
        if (entry.directory) files.SetModified(ExtractPathOf(request.targetFolder, entry.path), entry.modified);
    }
    if (result != nullptr) *result = counts;
    const bool whole = counts.refused == 0 && counts.damaged == 0 && counts.failed == 0 && counts.notFound == 0;
    return whole ? 0 : -1;
}
