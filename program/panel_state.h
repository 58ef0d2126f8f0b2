#pragma once
#include <string>

// The two panels of the main dialog as plain data: the dialog only copies these six
// controls' states onto its windows. At most one panel is active; choosing a file in one
// clears and disables the other.
struct ControlState {
    std::string text;
    bool enabled = false;
    bool visible = true;
};

// Shown in the read panel's description edit until the user types a description.
extern const char kDescriptionPlaceholder[];

class PanelState {
public:
    enum class Active { None, Read, Write };

    PanelState();

    // The Write Floppy panel takes `path`; its description edit stays hidden until the
    // caller has read the image's trailer (ShowImageDescription).
    void ShowWritePanel(const std::string& path);
    // The Read Floppy panel takes `path`. The placeholder description goes in only when
    // the description edit is hidden, so a description the user typed survives choosing
    // another target.
    void ShowReadPanel(const std::string& path);
    // The description stored in the image of the Write Floppy panel.
    void ShowImageDescription(const std::string& description);
    // The floppy format the image of the Write Floppy panel needs, by name.
    void ShowImageFormat(const std::string& name);

    Active active() const;

    ControlState readPath;          // edit 1000
    ControlState readStart;         // button 1004
    ControlState readDescription;   // edit 1028; its text follows what the user types
    ControlState writePath;         // edit 1005
    ControlState writeStart;        // button 1007
    ControlState writeDescription;  // edit 1027
    ControlState writeFormat;       // static 1046: empty while no format is known
};
