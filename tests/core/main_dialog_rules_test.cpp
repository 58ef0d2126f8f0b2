// The main dialog's rules without its window: the panel states, the key filter and the
// save dialog's filter choice.
#include <gtest/gtest.h>

#include "program/key_filter.h"
#include "program/panel_state.h"
#include "program/start_checks.h"
#include "resources/main_dialog_ids.h"

namespace {

struct Expected {
    const char* readPath;
    bool readEnabled;  // edit 1000 and Start 1004
    bool readDescriptionVisible;
    const char* writePath;
    bool writeEnabled;  // edit 1005 and Start 1007
    bool writeDescriptionVisible;
};

void ExpectPanels(const PanelState& state, const Expected& expected) {
    EXPECT_EQ(state.readPath.text, expected.readPath);
    EXPECT_EQ(state.readPath.enabled, expected.readEnabled);
    EXPECT_EQ(state.readStart.enabled, expected.readEnabled);
    EXPECT_EQ(state.readDescription.visible, expected.readDescriptionVisible);
    EXPECT_EQ(state.writePath.text, expected.writePath);
    EXPECT_EQ(state.writePath.enabled, expected.writeEnabled);
    EXPECT_EQ(state.writeStart.enabled, expected.writeEnabled);
    EXPECT_EQ(state.writeDescription.visible, expected.writeDescriptionVisible);
}

TEST(PanelState, StartsWithNoPanelActive) {
    PanelState state;
    ExpectPanels(state, {"", false, false, "", false, false});
    EXPECT_EQ(state.active(), PanelState::Active::None);
}

TEST(PanelState, WritePanelClearsTheReadPanel) {
    PanelState state;
    state.ShowReadPanel("c:\\out.imz");
    state.readDescription.text = "my disk";
    state.ShowWritePanel("c:\\in.img");
    ExpectPanels(state, {"", false, false, "c:\\in.img", true, false});
    EXPECT_EQ(state.readDescription.text, "");
    EXPECT_EQ(state.writeDescription.text, "");
    EXPECT_EQ(state.active(), PanelState::Active::Write);
}

TEST(PanelState, ImageDescriptionShowsOnlyWhenGiven) {
    PanelState state;
    state.ShowWritePanel("a.imz");
    state.ShowImageDescription("Boot disk");
    EXPECT_TRUE(state.writeDescription.visible);
    EXPECT_EQ(state.writeDescription.text, "Boot disk");
    // The next image hides the old description until its own is read.
    state.ShowWritePanel("b.imz");
    EXPECT_FALSE(state.writeDescription.visible);
    EXPECT_EQ(state.writeDescription.text, "");
}

TEST(PanelState, ReadPanelClearsTheWritePanel) {
    PanelState state;
    state.ShowWritePanel("c:\\in.img");
    state.ShowImageDescription("old");
    state.ShowReadPanel("c:\\out.imz");
    ExpectPanels(state, {"c:\\out.imz", true, true, "", false, false});
    EXPECT_EQ(state.writeDescription.text, "");
    EXPECT_EQ(state.active(), PanelState::Active::Read);
}

TEST(PanelState, PlaceholderOnlyWhenTheDescriptionEditWasHidden) {
    PanelState state;
    state.ShowReadPanel("x.imz");
    EXPECT_EQ(state.readDescription.text, kDescriptionPlaceholder);
    EXPECT_STREQ(kDescriptionPlaceholder, "Enter description here");

    // Typed text survives another target chosen in the active read panel...
    state.readDescription.text = "my disk";
    state.ShowReadPanel("y.img");
    EXPECT_EQ(state.readDescription.text, "my disk");

    // ...but not a detour through the write panel.
    state.ShowWritePanel("in.imz");
    state.ShowReadPanel("z.exe");
    EXPECT_EQ(state.readDescription.text, kDescriptionPlaceholder);
}

struct KeyCase {
    unsigned message;
    unsigned key;
    int focus;
    KeyAction action;
};

const unsigned kKeyUp = 0x0101;
const unsigned kTab = 0x09;

const KeyCase kKeys[] = {
    // Escape never closes the dialog, wherever the focus is.
    {kKeyDownMessage, kVirtualKeyEscape, 0, KeyAction::Swallow},
    {kKeyDownMessage, kVirtualKeyEscape, IDC_READ_DESCRIPTION, KeyAction::Swallow},
    {kKeyDownMessage, kVirtualKeyEscape, IDC_WRITE_START, KeyAction::Swallow},
    // Return in the read-only edits does nothing.
    {kKeyDownMessage, kVirtualKeyReturn, IDC_READ_PATH, KeyAction::Swallow},
    {kKeyDownMessage, kVirtualKeyReturn, IDC_WRITE_PATH, KeyAction::Swallow},
    {kKeyDownMessage, kVirtualKeyReturn, IDC_WRITE_DESCRIPTION, KeyAction::Swallow},
    // Return in the description moves on to Start and is then handled there.
    {kKeyDownMessage, kVirtualKeyReturn, IDC_READ_DESCRIPTION, KeyAction::FocusReadStartThenPass},
    // Return on a button is the button's.
    {kKeyDownMessage, kVirtualKeyReturn, IDC_READ_START, KeyAction::Pass},
    {kKeyDownMessage, kVirtualKeyReturn, IDC_WRITE_BROWSE, KeyAction::Pass},
    {kKeyDownMessage, kVirtualKeyReturn, 0, KeyAction::Pass},
    // Other keys, and other messages of the same keys, pass.
    {kKeyDownMessage, kTab, IDC_READ_DESCRIPTION, KeyAction::Pass},
    {kKeyDownMessage, 'A', IDC_READ_DESCRIPTION, KeyAction::Pass},
    {kKeyUp, kVirtualKeyEscape, 0, KeyAction::Pass},
    {kKeyUp, kVirtualKeyReturn, IDC_READ_PATH, KeyAction::Pass},
};

class KeyFilter : public ::testing::TestWithParam<KeyCase> {};

TEST_P(KeyFilter, DecidesAsTheTableSays) {
    const KeyCase& c = GetParam();
    EXPECT_EQ(FilterMainDialogKey(c.message, c.key, c.focus), c.action)
        << "message " << c.message << " key " << c.key << " focus " << c.focus;
}

INSTANTIATE_TEST_SUITE_P(MainDialog, KeyFilter, ::testing::ValuesIn(kKeys));

TEST(SaveFilterIndex, FollowsTheLastTargetKind) {
    EXPECT_EQ(SaveFilterIndexFor("x.imz", 3), 1);
    EXPECT_EQ(SaveFilterIndexFor("X.IMG", 1), 2);
    EXPECT_EQ(SaveFilterIndexFor("c:\\dir\\x.Exe", 1), 3);
    EXPECT_EQ(SaveFilterIndexFor("x.txt", 2), 2);
}

}  // namespace
