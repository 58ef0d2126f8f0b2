#pragma once
#include <stddef.h>
#include <stdint.h>

#include "engine/device/floppy_type.h"
#include "engine/image/image_input.h"
#include "engine/image/image_kind.h"
#include "engine/image/image_trailer.h"
#include "engine/image/sha256_digest.h"
#include "platform/message_texts.h"
#include "platform/user_message.h"

// An image file read whole and judged as a write would judge it, without a disk: the
// format its trailer names (its sectors per track, with its sector count where it has
// one), or, without a trailer or with numbers no format has, the one whose size the data
// has. Owns its data.
class CheckedImage {
public:
    CheckedImage() = default;
    ~CheckedImage();
    CheckedImage(const CheckedImage&) = delete;
    CheckedImage& operator=(const CheckedImage&) = delete;

    // What a trailer of a newer version means for the load: its warning (57666) is shown
    // either way. A conversion stops there, for the newer fields would be lost; the check
    // goes on and still compares the checksum such a trailer stores.
    enum class NewerTrailer { Refuse, Check };

    // Reads and judges `path`. 0 when the data is one whole disk that matches the
    // checksum its trailer stores, if any; else -1 after one message that says what is
    // wrong: not an image name (IDS_NOT_AN_IMAGE_FILE), "Unable to open" (106), a newer
    // trailer (57666, when refused), an ".exe" without image (57669), a damaged stream
    // (122), more data than the largest disk (143, decoded no further), not one disk
    // (125, found and needed), a checksum mismatch (127). kLoadCancelled, with nothing
    // shown, once `cancel` (unless nullptr) asks it to stop. The file is only read.
    int Load(const char* path, MessageSink& sink, LoadCancel* cancel = nullptr,
             NewerTrailer newer = NewerTrailer::Refuse);
    static constexpr int kLoadCancelled = 1;

    ImageKind kind = ImageKind::None;
    const FloppyType* format = nullptr;  // once loaded
    char description[kDescriptionBufferSize] = "";
    TrailerChecksum stored;  // what the trailer stores, None for an image without one
    char computed[Sha256Digest::kHexLength + 1] = "";  // the data's SHA-256
    const char* Data() const { return data_; }
    uint32_t Bytes() const { return bytes_; }

private:
    int Fail(MessageSink& sink, unsigned id, const char* text = nullptr, long number = 0,
             long secondNumber = 0);

    char* data_ = nullptr;
    uint32_t bytes_ = 0;
};

// The judgement of a load that every reader of a whole image shares, the check's and a
// listing's. The format of `found` loaded bytes: the one the trailer's numbers name, else
// the one of that size; nullptr after IDS_IMAGE_NOT_WHOLE_DISK (found and the size
// needed) when the data is not one whole disk of it.
const FloppyType* WholeDiskFormat(uint32_t found, int sectorsPerTrack, int totalSectors, MessageSink& sink);
// A load that did not deliver data: its message (143 too large, 122 damaged); -1.
int TellLoadFailure(InputRead read, MessageSink& sink);
// The data's SHA-256 `computed` against what the trailer stores: true when it stores none
// or the same; else false after IDS_IMAGE_CHECKSUM_MISMATCH (a malformed field too).
bool ChecksumHolds(const TrailerChecksum& stored, const char* computed, MessageSink& sink);

// The format's name as the check shows it, with its cylinders, heads and sectors per
// track: "360 kB, 5.25-inch double density (40 x 2 x 9)".
constexpr size_t kFormatNameSize = 96;
void FormatName(const FloppyType& format, char (&out)[kFormatNameSize]);

// The report on a good image, from the string table's lines: kind, format, description,
// data size, the SHA-256 computed and whether it matches a stored one or none is stored.
// Written into `out` of `size` bytes, cut to fit.
void ComposeCheckReport(const CheckedImage& image, MessageTexts& texts, char* out, size_t size);

// Checks the image file `path` and shows one message: the report when it is good
// (IDS_IMAGE_CHECK_REPORT), else what is wrong; an image of a newer version gets its
// warning first and is then checked as well. 0 good, 1 not, 2 cancelled through
// `cancel` (unless nullptr), with nothing shown: the terminal's exit statuses.
int CheckImageFile(const char* path, MessageSink& sink, MessageTexts& texts,
                   LoadCancel* cancel = nullptr);
