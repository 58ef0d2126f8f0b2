#include "ui/hyper_link_rules.h"

#include <string.h>

#include "engine/image/ascii_text.h"
#include "resources/string_ids.h"

namespace {

const char kHtmlExtension[] = ".htm";
const char kOpenCommandKey[] = "\\shell\\open\\command";

// An empty value names nothing that could be started.
bool ReadUsable(LinkShell& shell, const std::string& keyPath, std::string& text) {
    text.clear();
    return shell.ReadClassDefault(keyPath.c_str(), text) && !text.empty();
}

bool StartsWithIgnoringCase(const char* text, const char* prefix) {
    for (; *prefix != '\0'; ++text, ++prefix) {
        if (AsciiLower(*text) != AsciiLower(*prefix)) return false;
    }
    return true;
}

struct FailureText {
    int code;
    unsigned id;
};

// The shell's error results for "open", and 0 for a lack of memory or resources.
constexpr FailureText kFailureTexts[] = {
    {0, IDS_LINK_OUT_OF_RESOURCES},   {2, IDS_LINK_FILE_NOT_FOUND},
    {3, IDS_LINK_PATH_NOT_FOUND},     {5, IDS_LINK_ACCESS_DENIED},
    {8, IDS_LINK_OUT_OF_MEMORY},      {11, IDS_LINK_BAD_EXE},
    {26, IDS_LINK_SHARING_VIOLATION}, {27, IDS_LINK_ASSOCIATION_INCOMPLETE},
    {28, IDS_LINK_DDE_TIMEOUT},       {29, IDS_LINK_DDE_FAILED},
    {30, IDS_LINK_DDE_BUSY},          {31, IDS_LINK_NO_ASSOCIATION},
    {32, IDS_LINK_DLL_NOT_FOUND},
};

}  // namespace

LinkColours MakeLinkColours(uint32_t link, uint32_t active, uint32_t visited, uint32_t hover,
                            uint32_t highlight) {
    LinkColours colours;
    colours.link = link;
    colours.active = active;
    colours.visited = visited;
    colours.hover = hover == kSystemHighlightColour ? highlight : hover;
    return colours;
}

uint32_t ChooseLinkColour(const LinkColours& colours, const LinkState& state, uint32_t flags) {
    if (state.over && (flags & kLinkHoverColour)) return colours.hover;
    if (state.active && !(flags & kLinkNeverActiveColour)) return colours.active;
    if (state.visited) return colours.visited;
    return colours.link;
}

LinkBox FitLinkToText(const LinkBox& window, int clientWidth, int clientHeight, int textWidth,
                      int textHeight, uint32_t style) {
    const int frameWidth = window.width - clientWidth;
    const int frameHeight = window.height - clientHeight;
    int left = window.left;
    int top = window.top;
    int right = window.left + window.width;
    int bottom = window.top + window.height;

    if (style & kStaticCentreImage) {
        const int shrink = (window.height - textHeight) / 2;
        top += shrink;
        bottom -= shrink;
    } else {
        bottom = top + textHeight;
    }

    // The alignment is one value of the style's type field, not a set of bits: a simple
    // or an icon static would otherwise count as centred.
    const uint32_t type = style & kStaticTypeMask;
    if (type == kStaticCentre) {
        const int shrink = (window.width - textWidth) / 2;
        left += shrink;
        right -= shrink;
    } else if (type == kStaticRight) {
        left = right - textWidth;
    } else {
        right = left + textWidth;
    }
    return LinkBox{left, top, right - left + frameWidth, bottom - top + frameHeight};
}

bool IsFallbackAddress(const char* target) {
    static const char* const kSchemes[] = {"http://", "https://", "mailto:"};
    bool known = false;
    for (const char* scheme : kSchemes) known = known || StartsWithIgnoringCase(target, scheme);
    if (!known) return false;
    // A quote would end the one argument early and let the rest be read as more of them.
    for (const char* c = target; *c != '\0'; ++c) {
        if (*c == '"' || static_cast<unsigned char>(*c) < 0x20) return false;
    }
    return true;
}

std::string FallbackCommandLine(const std::string& registeredCommand, const std::string& target) {
    std::string command = registeredCommand;
    size_t cut = command.find("\"%1\"");
    if (cut == std::string::npos) cut = command.find("%1");
    if (cut != std::string::npos) command.erase(cut);
    command += " \"";
    command += target;
    command += '"';
    return command;
}

int OpenLinkTarget(LinkShell& shell, const char* target, int showMode) {
    const int shellResult = shell.OpenWithShell(target, showMode);
    if (shellResult > 32 || !IsFallbackAddress(target)) return shellResult;

    std::string htmlClass;
    if (!ReadUsable(shell, kHtmlExtension, htmlClass)) return shellResult;
    std::string registered;
    if (!ReadUsable(shell, htmlClass + kOpenCommandKey, registered)) return shellResult;
    return shell.StartCommand(FallbackCommandLine(registered, target).c_str(), showMode);
}

UserMessage OpenFailureMessage(int code) {
    unsigned id = IDS_LINK_UNKNOWN_ERROR;
    for (const FailureText& text : kFailureTexts) {
        if (text.code == code) id = text.id;
    }
    UserMessage message{id, MessageStyle::Warning};
    message.number = code;
    return message;
}
