// String-table tooltips of CMyDialog and the relay of mouse messages to them.
#include "tests/win32/dialog_test_support.h"
#include "ui/subclass_window_win32.h"

namespace {

using ToolTipsTest = DialogTest;

struct ToolCase {
    int templateId;
    std::vector<int> controlsWithTips;
};

class ToolTipCount : public DialogTest, public testing::WithParamInterface<ToolCase> {};

TEST_P(ToolTipCount, OneToolForEachControlWithAString) {
    ModalWatchdog watchdog;
    ScriptedDialog dialog(GetParam().templateId);
    int tools = -1;
    std::vector<int> toolIds;
    dialog.onInit = [&](ScriptedDialog& d) {
        tools = d.ToolCount();
        for (int i = 0; i < tools; ++i) {
            TOOLINFOA info = {};
            info.cbSize = TTTOOLINFOA_V1_SIZE;
            if (SendMessageA(d.ToolTipWindow(), TTM_ENUMTOOLSA, i, reinterpret_cast<LPARAM>(&info))) {
                toolIds.push_back(GetDlgCtrlID(reinterpret_cast<HWND>(info.uId)));
            }
        }
        d.EndDialog(0);
    };
    EXPECT_EQ(dialog.DoModal(), 0);
    EXPECT_EQ(tools, static_cast<int>(GetParam().controlsWithTips.size()));
    EXPECT_EQ(toolIds, GetParam().controlsWithTips);  // in window order
}

INSTANTIATE_TEST_SUITE_P(Templates, ToolTipCount,
                         testing::Values(ToolCase{IDD_TEST_PLAIN, {IDC_TEST_BUTTON, IDC_TEST_COMBO}},
                                         ToolCase{IDD_TEST_NO_TIPS, {}}));

TEST_F(ToolTipsTest, TipsWrapAt300Pixels) {
    ModalWatchdog watchdog;
    ScriptedDialog dialog(IDD_TEST_PLAIN);
    LRESULT width = 0, autoPop = 0, initial = -1;
    dialog.onInit = [&](ScriptedDialog& d) {
        width = SendMessageA(d.ToolTipWindow(), TTM_GETMAXTIPWIDTH, 0, 0);
        autoPop = SendMessageA(d.ToolTipWindow(), TTM_GETDELAYTIME, TTDT_AUTOPOP, 0);
        initial = SendMessageA(d.ToolTipWindow(), TTM_GETDELAYTIME, TTDT_INITIAL, 0);
        d.EndDialog(0);
    };
    dialog.DoModal();
    EXPECT_EQ(width, 300);
    EXPECT_EQ(autoPop, 30000);
    EXPECT_EQ(initial, 0);
}

// Coordinates no real mouse message can carry in these small dialogs: the display's
// own pointer may send some as well.
const LPARAM kMarked = MAKELPARAM(3001, 3002);

// Stands between the tooltip control and its procedure and notes the window each
// relayed mouse message of the test names.
class RelayRecorder : public CSubclassWindow {
public:
    std::vector<std::pair<HWND, UINT>> relayed;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == TTM_RELAYEVENT) {
            const MSG* m = reinterpret_cast<const MSG*>(lParam);
            if (m->lParam == kMarked) relayed.emplace_back(m->hwnd, m->message);
        }
        return CSubclassWindow::WindowProc(message, wParam, lParam);
    }
};

TEST_F(ToolTipsTest, MouseMessagesAreRelayedAsFromTheDirectChild) {
    ModalWatchdog watchdog;
    ScriptedDialog dialog(IDD_TEST_PLAIN);
    RelayRecorder recorder;
    HWND combo = NULL, comboEdit = NULL, button = NULL, window = NULL;
    dialog.onInit = [&](ScriptedDialog& d) {
        window = d.Handle();
        recorder.Subclass(d.ToolTipWindow());
        combo = d.Item(IDC_TEST_COMBO);
        comboEdit = GetWindow(combo, GW_CHILD);
        button = d.Item(IDC_TEST_BUTTON);
        PostMessageA(comboEdit, WM_MOUSEMOVE, 0, kMarked);  // a grandchild
        PostMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, kMarked);
        PostMessageA(button, WM_KEYUP, 'A', kMarked);      // no mouse message
        PostMessageA(button, WM_MOUSEWHEEL, 0, kMarked);   // beyond the range relayed
        d.Post(WM_MBUTTONDBLCLK, 0, kMarked);              // the dialog itself
        d.Post(WM_APP);
    };
    dialog.onApp = [&](ScriptedDialog& d, WPARAM) {
        recorder.Unsubclass();
        d.EndDialog(0);
    };
    EXPECT_EQ(dialog.DoModal(), 0);
    ASSERT_NE(comboEdit, (HWND)NULL);
    std::vector<std::pair<HWND, UINT>> expected = {
        {combo, WM_MOUSEMOVE}, {button, WM_LBUTTONDOWN}, {window, WM_MBUTTONDBLCLK}};
    EXPECT_EQ(recorder.relayed, expected);
}

}  // namespace
