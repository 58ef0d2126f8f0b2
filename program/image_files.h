#pragma once
#include <stdint.h>

#include <string>
#include <vector>

#include "engine/fat/fat_extract.h"
#include "engine/fat/fat_volume.h"
#include "engine/fat/volume_image.h"
#include "platform/user_message.h"

// The files on an image's disk, for the contents dialog and "/x": the disk read and
// judged as a write would, its volume opened, the map beside it marking damage.
class ImageFiles {
public:
    // 0, or -1 once `sink` was told why not.
    int Open(const std::string& image, MessageSink& sink);

    const FatVolume& Volume() const { return volume_; }

    // Copies the volume's `paths` (all when empty) into `folder` (UTF-8), replacing
    // nothing: what is there is refused and named, as damaged and failed files are. 0
    // when everything was copied whole, else -1.
    int Extract(const std::string& folder, const std::vector<std::string>& paths, MessageSink& sink,
                FatExtractResult* result = nullptr) const;

private:
    DiskBytes disk_;
    FatVolume volume_;
};

// "/x IMAGE FOLDER": every file, unattended: 0, or 1 when something was not copied whole.
int ExtractAllFiles(const std::string& image, const std::string& folder, MessageSink& sink);
