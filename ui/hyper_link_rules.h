#pragma once
#include <stdint.h>

#include <string>

#include "platform/user_message.h"

// What a hyperlink control decides without a window: its colour, its size around its
// text, how it opens its target and what it says when that fails. CHyperLink
// (hyper_link_win32.h) is the window that follows these rules.

// HyperLinkFlags: the bits of one value that choose a link's behaviour.
enum HyperLinkFlags : uint32_t {
    kLinkUnderline = 0x01,          // the link font is underlined
    kLinkHoverColour = 0x02,        // drawn in the hover colour while the mouse is over it
    kLinkSizeToText = 0x04,         // the control shrinks (or grows) to its text
    kLinkOpenOnPress = 0x08,        // opens when pressed rather than when released
    kLinkTakeFocus = 0x10,          // takes the keyboard focus when pressed
    kLinkSystemPointer = 0x20,      // keeps the system pointer instead of the hand
    kLinkNeverActiveColour = 0x40,  // never drawn in the active colour
};
constexpr uint32_t kDefaultLinkFlags = kLinkUnderline | kLinkSizeToText | kLinkTakeFocus;

// Colours as the window system packs them: 0x00BBGGRR.
constexpr uint32_t LinkRgb(uint32_t red, uint32_t green, uint32_t blue) {
    return red | (green << 8) | (blue << 16);
}

// Passed as the hover colour: use the system's selection-highlight colour.
constexpr uint32_t kSystemHighlightColour = 0xFFFFFFFF;

struct LinkColours {
    uint32_t link = LinkRgb(0, 0, 255);
    uint32_t active = LinkRgb(0, 128, 128);
    uint32_t visited = LinkRgb(128, 0, 128);
    uint32_t hover = LinkRgb(255, 0, 0);
};

// The colours SetColours asks for, with kSystemHighlightColour as hover resolved to
// `highlight`.
LinkColours MakeLinkColours(uint32_t link, uint32_t active, uint32_t visited, uint32_t hover,
                            uint32_t highlight);

struct LinkState {
    bool active = false;   // has the focus, or has been pressed
    bool over = false;     // the mouse is over it
    bool visited = false;  // opened successfully at least once
};

// The text colour for a repaint: hover (when its flag allows), then active (unless its
// flag forbids), then visited, then the plain link colour.
uint32_t ChooseLinkColour(const LinkColours& colours, const LinkState& state, uint32_t flags);

// A control's place and size in its parent, frame included.
struct LinkBox {
    int left;
    int top;
    int width;
    int height;
};

// Static control styles that decide how a link is fitted to its text.
constexpr uint32_t kStaticTypeMask = 0x1F;
constexpr uint32_t kStaticCentre = 0x1;         // SS_CENTER, a type
constexpr uint32_t kStaticRight = 0x2;          // SS_RIGHT, a type
constexpr uint32_t kStaticCentreImage = 0x200;  // SS_CENTERIMAGE, a bit

// Where a control goes when it is fitted to its text. `window` is its window rectangle,
// `clientWidth` and `clientHeight` its client area (the differences are its frame). A
// vertically centred control loses (or gains) half the difference at top and bottom,
// others keep their top; a centred one loses half the difference on each side, a right-
// aligned one keeps its right edge, others their left. Halves are truncated toward zero.
LinkBox FitLinkToText(const LinkBox& window, int clientWidth, int clientHeight, int textWidth,
                      int textHeight, uint32_t style);

// What opening a link needs from the system. Results above 32 mean success, as the
// shell's do.
class LinkShell {
public:
    // The shell's "open" verb on a document or address.
    virtual int OpenWithShell(const char* target, int showMode) = 0;
    // The default value of a key under the class root, whatever its length; false when
    // the key or the value cannot be read.
    virtual bool ReadClassDefault(const char* keyPath, std::string& text) = 0;
    // Starts a command line.
    virtual int StartCommand(const char* commandLine, int showMode) = 0;

protected:
    ~LinkShell() = default;
};

// Whether `target` may be handed to a browser's command line: an http, https or mailto
// address (scheme in any case) without quotes or control characters. Anything else
// could be a program or a document the browser would open as one.
bool IsFallbackAddress(const char* target);

// The command line that hands `target` to the program registered for ".htm" documents:
// the registered command up to its first "\"%1\"" (or, if it has none, its first "%1"),
// then a space and the target in quotes, as one argument. Built in a string: neither part
// has a length limit.
std::string FallbackCommandLine(const std::string& registeredCommand, const std::string& target);

// Opens `target` with the shell; should the shell fail, with the program registered for
// ".htm" documents. Returns the shell's result when there is no usable fallback (a
// target that is no fallback address, no class, no command, or an empty one), else the
// fallback's.
int OpenLinkTarget(LinkShell& shell, const char* target, int showMode);

// The warning that a link could not be opened, for the shell's error code.
UserMessage OpenFailureMessage(int code);
