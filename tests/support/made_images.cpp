#include "tests/support/made_images.h"

#include <gtest/gtest.h>
#include <string.h>

#include "engine/image/image_kind.h"
#include "engine/image/sha256_digest.h"
#include "engine/job/read_floppy_job.h"
#include "tests/support/image_files.h"
#include "tests/support/job_test_host.h"
#include "tests/support/simulated_floppy.h"

void MakeImageFile(const std::string& path, uint32_t sectorsPerTrack, const std::string& content,
                   const char* description, const std::string& programPath, bool compatible) {
    SimulatedFloppy disk(sectorsPerTrack);
    SetDiskBytes(disk, content);
    JobRequest request;
    ASSERT_LT(path.size(), sizeof request.imagePath);
    strcpy(request.imagePath, path.c_str());
    strncpy(request.description, description, sizeof request.description - 1);
    TestJobHost host;
    host.programPath = programPath;
    request.compatible = compatible;
    ReadFloppyJob job(request, host, disk);
    ASSERT_EQ(job.Run(), 0) << path;
}

std::string WithTrailerText(const std::string& image, const std::string& trailerText) {
    EXPECT_GE(image.size(), 1024u);
    EXPECT_LE(trailerText.size(), 1024u);
    std::string trailer = trailerText;
    trailer.resize(1024, '\0');
    return image.substr(0, image.size() - 1024) + trailer;
}

std::string Sha256Of(const std::string& bytes) {
    char hex[Sha256Digest::kHexLength + 1];
    Sha256Hex(bytes.data(), bytes.size(), hex);
    return hex;
}

SourceTexts::SourceTexts() : table_(LoadStringTableSource()) {}

const char* SourceTexts::Text(unsigned id) {
    const auto found = table_.texts.find(id);
    last_ = found != table_.texts.end() ? found->second : std::string();
    return last_.c_str();
}
