#pragma once
#include <stdint.h>

#include <string>

#include "platform/message_texts.h"
#include "tests/support/string_table_source.h"

// Images made the way the program makes them, for the check and conversion tests: the
// read job over a simulated disk of `sectorsPerTrack` holding `content`, into `path`
// (its extension gives the kind; ".exe" needs `programPath`, a fake program). Compatible
// raw images get no trailer. Fails the test when the read does not finish.
void MakeImageFile(const std::string& path, uint32_t sectorsPerTrack, const std::string& content,
                   const char* description, const std::string& programPath,
                   bool compatible = false);

// `image` (a made image with its 1024-byte trailer) with `trailerText`, zero-padded, in
// that trailer's place: a trailer as another version, or another program, writes it.
std::string WithTrailerText(const std::string& image, const std::string& trailerText);

// The 64 lowercase hexadecimal digits of the SHA-256 of `bytes`.
std::string Sha256Of(const std::string& bytes);

// The string table as its source file states it, for code that composes a message.
class SourceTexts final : public MessageTexts {
public:
    SourceTexts();
    const char* Text(unsigned id) override;

private:
    StringTableSource table_;
    std::string last_;
};
