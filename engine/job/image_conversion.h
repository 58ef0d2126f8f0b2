#pragma once
#include "engine/files/target_files.h"
#include "engine/job/job_host.h"
#include "engine/job/job_outcome.h"
#include "engine/job/job_request.h"

// A read whose sectors come from an image file (`request.sourceImagePath`) instead of
// the drive: the source is read whole and checked as the image check does (its messages
// through the host, then Failed, and no file made when it is not good), then the
// unchanged read job runs over the decoded data as its disk, so the new image gets a
// trailer of its own with its own checksum, and the source's count of sectors held as
// zeros (" [BadSectors n]") when it was rescued from a failing disk. The description is the request's, or when
// that is empty the source's: a conversion keeps it unless told otherwise. The source is
// only read; a target that names the source itself is refused (IDS_CONVERT_ONTO_SOURCE).
// `files`: how the target is put in place, as for any read on this system.
JobOutcome RunImageConversion(const JobRequest& request, JobHost& host, TargetFiles* files);

// True when the two paths name the same file as far as their spelling tells: equal but
// for the case of letters and the kind of slash.
bool SamePathSpelling(const char* one, const char* other);
