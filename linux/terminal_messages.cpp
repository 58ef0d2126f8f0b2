#include "linux/terminal_messages.h"

#include <stdio.h>

#include "linux/program_strings.h"

namespace {

const ProgramString kTerminalStrings[] = {
    {kMsgText, "%s"},
    {kMsgNotFloppySize,
     "%s is not a floppy disk (%u bytes).\nOnly disks of a standard PC floppy format (160 kB "
     "to 2880 kB) are read or written."},
    {kMsgNotFloppyKind, "%s is neither a floppy drive, a block device nor a regular file"},
    {kMsgMounted, "%s.\nUnmount it first; a mounted disk is never read or written."},
    {kMsgStubMissing,
     "The restorer stub for .exe images is not installed (%s).\nInstall Vorlix with its "
     "Windows build, or choose an .img or .imz image."},
    {kMsgPathTooLong, "The path is too long: %s"},
    {kMsgNoTerminalToAsk, "No terminal to ask: give -y to answer yes"},
    {kMsgSameFile, "The image and the device are the same file: %s"},
    {kMsgNotImageName,
     "%s is not an image: its name must end in .img, .ima, .vfd, .flp, .imz, .zip or .exe"},
    {kMsgOutputLost, "The output could not be written: %s"},
    {kMsgImageBytesLost,
     "The image file could not be read any more: another program cut it short, or the device "
     "holding it failed."},
};

}  // namespace

const char* MessageTemplate(unsigned id) {
    for (unsigned i = 0; i < kProgramStringCount; ++i) {
        if (kProgramStrings[i].id == id) return kProgramStrings[i].text;
    }
    for (const ProgramString& entry : kTerminalStrings) {
        if (entry.id == id) return entry.text;
    }
    return nullptr;
}

std::string FillMessageTemplate(const char* pattern, const UserMessage& message) {
    const long numbers[] = {message.number, message.secondNumber, message.thirdNumber,
                            message.fourthNumber};
    unsigned nextNumber = 0;
    std::string out;
    for (const char* p = pattern; *p != '\0'; ++p) {
        if (*p != '%' || p[1] == '\0') {
            out += *p;
            continue;
        }
        const char kind = *++p;
        char number[24];
        if (kind == '%') {
            out += '%';
        } else if (kind == 's') {
            out += message.text != nullptr ? message.text : "";
        } else if ((kind == 'd' || kind == 'u') && nextNumber < 4) {
            const long value = numbers[nextNumber++];
            // %u shows the number without a sign, as the Windows program does.
            if (kind == 'u') {
                snprintf(number, sizeof number, "%lu", static_cast<unsigned long>(value));
            } else {
                snprintf(number, sizeof number, "%ld", value);
            }
            out += number;
        } else {
            out += '%';
            out += kind;
        }
    }
    return out;
}

std::string FormatUserMessage(const UserMessage& message) {
    const char* pattern = MessageTemplate(message.id);
    if (pattern == nullptr) {
        return "Message " + std::to_string(message.id);
    }
    return FillMessageTemplate(pattern, message);
}
