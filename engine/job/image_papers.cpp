#include "engine/job/image_papers.h"

#include <stdio.h>
#include <string.h>

#include "engine/image/bad_sector_map.h"
#include "engine/image/image_check.h"
#include "engine/job/hash_manifest.h"
#include "engine/job/read_retries.h"
#include "resources/string_ids.h"

namespace {

bool FileThere(const std::string& path) {
    FILE* file = fopen(path.c_str(), "rb");
    if (file == nullptr) return false;
    fclose(file);  // NOLINT(cert-err33-c): read only
    return true;
}

int Tell(MessageSink& sink, unsigned id, const std::string& text) {
    sink.Show(UserMessage{id, MessageStyle::Error, text.c_str()});
    return -1;
}

}  // namespace

int WriteImageLog(const std::string& image, const ReadRecord& record, ImageLogFacts facts, MessageSink& sink) {
    FileHashes hashes;
    if (HashFile(image.c_str(), &hashes) != 0) return Tell(sink, IDS_UNABLE_TO_OPEN, image);
    memcpy(facts.imageSha256, hashes.sha256, sizeof facts.imageSha256);
    const std::string log = image + kImageLogExtension;
    if (WriteLogFile(log, ComposeImageLog(facts, record)) != 0) return Tell(sink, IDS_UNABLE_TO_CREATE, log);
    return 0;
}

int AddImageToManifest(const std::string& manifest, const std::string& header, const std::string& image,
                       const std::function<std::string(const std::string&)>& nameOf, MessageSink& sink) {
    std::vector<ManifestEntry> entries;
    for (const std::string& path : {image, image + kImageLogExtension, image + kBadSectorMapExtension}) {
        if (path != image && !FileThere(path)) continue;
        ManifestEntry entry;
        if (HashFile(path.c_str(), &entry.hashes) != 0) return Tell(sink, IDS_UNABLE_TO_OPEN, path);
        entry.name = nameOf(path);
        entries.push_back(entry);
    }
    if (AppendToManifest(manifest, header, entries) != 0) return Tell(sink, IDS_BATCH_MANIFEST_FAILED, manifest);
    return 0;
}

std::string FolderOfPath(const std::string& path) {
    const size_t separator = path.find_last_of("/\\");
    return separator == std::string::npos ? std::string() : path.substr(0, separator + 1);
}

bool ImageNameTaken(const std::string& image) {
    return FileThere(image) || FileThere(image + kImageLogExtension) ||
           FileThere(image + kBadSectorMapExtension);
}

int RecordOfImage(const std::string& image, bool emergency, uint32_t retries, ReadRecord* record,
                  MessageSink& sink) {
    CheckedImage loaded;
    if (loaded.Load(image.c_str(), sink) != 0) return -1;
    *record = ReadRecord();
    record->complete = true;
    FormatName(*loaded.format, record->format);
    record->sectors = loaded.Bytes() / 512;
    record->badSectors.Reset(record->sectors);
    char map[kBadSectorMapPathSize];
    if (BadSectorMapPath(image.c_str(), map) && FileThere(map)) {
        ReadBadSectorMap(map, record->sectors, record->badSectors);
    }
    record->emergency = emergency;
    record->retries = emergency ? ClampReadRetries(retries) : 0;
    memcpy(record->diskSha256, loaded.computed, sizeof record->diskSha256);
    Md5Hex(loaded.Data(), loaded.Bytes(), record->diskMd5);
    return 0;
}
