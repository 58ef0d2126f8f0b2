#include "engine/image/image_check.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "engine/image/image_input.h"
#include "resources/string_ids.h"

namespace {

// What "needed" means for data of no format's size: the smallest disk it would fit,
// else the largest, so that the message names a size the user can compare with.
uint32_t NearestDiskSize(uint32_t bytes) {
    uint32_t count = 0;
    const FloppyType* types = FloppyTypes(&count);
    for (uint32_t i = 0; i < count; ++i) {
        if (bytes <= types[i].totalBytes) return types[i].totalBytes;
    }
    return kLargestFloppyBytes;
}

// True when the template's conversions are exactly `wanted` in that order ('s' a text,
// 'u' a number, written %u or %d), besides any %%.
bool Converts(const char* pattern, const char* wanted) {
    for (const char* p = pattern; *p != '\0'; ++p) {
        if (*p != '%') continue;
        const char kind = *++p;
        if (kind == '%') continue;
        const char as = kind == 'd' ? 'u' : kind;
        if (*wanted == '\0' || as != *wanted) return false;
        ++wanted;
    }
    return *wanted == '\0';
}

// Appends one line of the report: the template of `id` filled with its one value. A
// template that asks for anything else is shown as it stands, never given to printf.
class ReportWriter {
public:
    ReportWriter(MessageTexts& texts, char* out, size_t size) : texts_(texts), out_(out), size_(size) {
        if (size_ > 0) out_[0] = '\0';
    }

    void Line(unsigned id) { Append(texts_.Text(id)); }

    void Line(unsigned id, const char* text) {
        const char* pattern = texts_.Text(id);
        if (!Converts(pattern, "s")) return Append(pattern);
        char line[512];
        snprintf(line, sizeof line, pattern, text);  // NOLINT(cert-err33-c): a cut line is still shown
        Append(line);
    }

    void Line(unsigned id, unsigned long number) {
        const char* pattern = texts_.Text(id);
        if (!Converts(pattern, "u")) return Append(pattern);
        char line[256];
        snprintf(line, sizeof line, pattern, static_cast<unsigned>(number));  // NOLINT(cert-err33-c): as above
        Append(line);
    }

    void Line(unsigned id, const char* text, unsigned long number) {
        const char* pattern = texts_.Text(id);
        if (!Converts(pattern, "su")) return Append(pattern);
        char line[256];
        snprintf(line, sizeof line, pattern, text, static_cast<unsigned>(number));  // NOLINT(cert-err33-c): as above
        Append(line);
    }

private:
    void Append(const char* line) {
        const size_t used = strlen(out_);
        if (size_ == 0 || used + 1 >= size_) return;
        // A report cut at its buffer's end still holds every line that fitted.
        snprintf(out_ + used, size_ - used, used == 0 ? "%s" : "\n%s", line);  // NOLINT(cert-err33-c)
    }

    MessageTexts& texts_;
    char* out_;
    size_t size_;
};

unsigned KindLine(ImageKind kind) {
    switch (kind) {
    case ImageKind::Compressed:
        return IDS_CHECK_KIND_COMPRESSED;
    case ImageKind::SelfExtracting:
        return IDS_CHECK_KIND_SELF_EXTRACTING;
    case ImageKind::Zip:
        return IDS_CHECK_KIND_ZIP;
    default:
        return IDS_CHECK_KIND_RAW;
    }
}

}  // namespace

CheckedImage::~CheckedImage() { free(data_); }

int CheckedImage::Fail(MessageSink& sink, unsigned id, const char* text, long number,
                       long secondNumber) {
    UserMessage message{id, MessageStyle::Error, text, number};
    message.secondNumber = secondNumber;
    sink.Show(message);
    return -1;
}

int CheckedImage::Load(const char* path, MessageSink& sink, LoadCancel* cancel,
                       NewerTrailer newer) {
    kind = ImageKindOf(path);
    if (kind == ImageKind::None) {
        return Fail(sink, IDS_NOT_AN_IMAGE_FILE, path);
    }
    ImageInput input;
    const InputOpen opened = input.Open(path, kind != ImageKind::Raw);
    if (opened != InputOpen::Opened) {
        sink.Show(InputOpenMessage(input, opened, path));
        return -1;
    }
    int sectorsPerTrack = 0;
    int totalSectors = 0;
    if (ReadImageTrailer(path, sink, description, &sectorsPerTrack, &stored, nullptr,
                         &totalSectors) == kTrailerNewerVersion &&
        newer == NewerTrailer::Refuse) {
        return -1;  // its message is shown
    }
    free(data_);
    bytes_ = 0;
    data_ = static_cast<char*>(malloc(kLargestFloppyBytes));
    uint32_t found = 0;
    const InputRead read =
        data_ != nullptr ? input.Load(data_, kLargestFloppyBytes, &found, cancel) : InputRead::Failed;
    if (read == InputRead::Cancelled) {
        return kLoadCancelled;
    }
    if (read != InputRead::Data) {
        return TellLoadFailure(read, sink);
    }
    input.Close();
    format = WholeDiskFormat(found, sectorsPerTrack, totalSectors, sink);
    if (format == nullptr) {
        return -1;
    }
    bytes_ = found;
    Sha256Hex(data_, bytes_, computed);
    return ChecksumHolds(stored, computed, sink) ? 0 : -1;
}

const FloppyType* WholeDiskFormat(uint32_t found, int sectorsPerTrack, int totalSectors, MessageSink& sink) {
    // A foreign trailer's numbers, or none: the data's own size must be a format's.
    const FloppyType* named = FindFloppyTypeOfTrailer(sectorsPerTrack, totalSectors);
    const FloppyType* format = named != nullptr ? named : FindFloppyTypeOfSize(found);
    const uint32_t needed = format != nullptr ? format->totalBytes : NearestDiskSize(found);
    if (found == needed) return format;
    UserMessage message{IDS_IMAGE_NOT_WHOLE_DISK, MessageStyle::Error, nullptr, static_cast<long>(found)};
    message.secondNumber = static_cast<long>(needed);
    sink.Show(message);
    return nullptr;
}

int TellLoadFailure(InputRead read, MessageSink& sink) {
    if (read == InputRead::TooLarge) {
        sink.Show(UserMessage{IDS_IMAGE_TOO_LARGE, MessageStyle::Error, nullptr, static_cast<long>(kLargestFloppyBytes)});
    } else {
        sink.Show(UserMessage{IDS_IMAGE_READ_FAILED, MessageStyle::Error});
    }
    return -1;
}

bool ChecksumHolds(const TrailerChecksum& stored, const char* computed, MessageSink& sink) {
    // A malformed field is a damaged trailer: nothing it says about the data holds.
    if (stored.state == TrailerChecksum::Malformed ||
        (stored.state == TrailerChecksum::Stored && memcmp(stored.hex, computed, Sha256Digest::kHexLength) != 0)) {
        sink.Show(UserMessage{IDS_IMAGE_CHECKSUM_MISMATCH, MessageStyle::Error});
        return false;
    }
    return true;
}

void FormatName(const FloppyType& format, char (&out)[kFormatNameSize]) {
    snprintf(out, sizeof out, "%s (%u x %u x %u)", format.name,  // NOLINT(cert-err33-c): fits
             static_cast<unsigned>(format.cylinders), static_cast<unsigned>(format.heads),
             static_cast<unsigned>(format.sectorsPerTrack));
}

void ComposeCheckReport(const CheckedImage& image, MessageTexts& texts, char* out, size_t size) {
    ReportWriter report(texts, out, size);
    report.Line(KindLine(image.kind));
    if (image.format != nullptr) {
        char name[kFormatNameSize];
        FormatName(*image.format, name);
        report.Line(IDS_CHECK_FORMAT, name);
    }
    if (image.description[0] != '\0') {
        report.Line(IDS_CHECK_DESCRIPTION, image.description);
    } else {
        report.Line(IDS_CHECK_NO_DESCRIPTION);
    }
    report.Line(IDS_CHECK_DATA_SIZE, static_cast<unsigned long>(image.Bytes()));
    report.Line(IDS_CHECK_SHA256, image.computed);
    report.Line(image.stored.state == TrailerChecksum::Stored ? IDS_CHECK_CHECKSUM_MATCHES
                                                              : IDS_CHECK_NO_CHECKSUM);
}

int CheckImageFile(const char* path, MessageSink& sink, MessageTexts& texts, LoadCancel* cancel) {
    CheckedImage image;
    const int loaded = image.Load(path, sink, cancel, CheckedImage::NewerTrailer::Check);
    if (loaded != 0) {
        return loaded == CheckedImage::kLoadCancelled ? 2 : 1;
    }
    char report[1024];
    ComposeCheckReport(image, texts, report, sizeof report);
    sink.Show({IDS_IMAGE_CHECK_REPORT, MessageStyle::Information, report});
    return 0;
}
