#pragma once
#include <stdint.h>

#include <string>
#include <vector>

#include "engine/fat/fat_maker.h"
#include "engine/job/job_start.h"

// A new image of a disk that holds a folder's files, made the way every image is made:
// the disk goes to a raw image beside the target, and a conversion of that image (the
// read job over the disk in memory, engine/job/image_conversion) writes the target of
// whatever kind its name says, with the start checks and questions of any read.
struct FolderImageRequest {
    std::string folder;
    std::string image;
    std::string description;
    int kilobytes = 1440;
};

// The new disk of the folder, nothing written yet: 0, or -1 once `sink` was told why
// (a format not made, a folder that does not fit: before a file is read, both sizes named).
int MakeFolderDisk(const FolderImageRequest& request, MessageSink& sink, std::vector<uint8_t>* disk);

// The whole job: -1 when a check stopped it, else the read job's end (kJobFinished ...).
int MakeImageFromFolder(const FolderImageRequest& request, JobFields& fields, const StartChoices& choices,
                        StartHost& host);
