#pragma once
#include <functional>
#include <string>

#include "engine/job/image_log.h"
#include "engine/job/read_record.h"
#include "platform/user_message.h"

// The papers a read leaves beside its image for an archive, the same from every front
// end: the log, and the image's rows (image, log, map) in a fixity manifest.

// Hashes the image file as written into `facts`, then writes "<image>.log": 0, or -1 once
// said so (IDS_UNABLE_TO_OPEN, IDS_UNABLE_TO_CREATE).
int WriteImageLog(const std::string& image, const ReadRecord& record, ImageLogFacts facts, MessageSink& sink);

// Appends the rows of `image` and of its log and map, those that are there, to the
// manifest at `manifest` (`header` first in a new one), each named by `nameOf`: 0, or -1
// once said so (IDS_UNABLE_TO_OPEN, IDS_BATCH_MANIFEST_FAILED).
int AddImageToManifest(const std::string& manifest, const std::string& header, const std::string& image,
                       const std::function<std::string(const std::string&)>& nameOf, MessageSink& sink);

// The folder part of `path`, its last separator ('/' or '\\') included; "" for a bare name.
std::string FolderOfPath(const std::string& path);

// "<image>.log", "<image>.map" or the image itself is there: a batch never replaces them.
bool ImageNameTaken(const std::string& image);

// Without a whole record from the job (the Windows program's job runs on its worker):
// the same figures taken from the image as written and its map. 0, or -1 once said so.
int RecordOfImage(const std::string& image, bool emergency, uint32_t retries, ReadRecord* record,
                  MessageSink& sink);
