#pragma once
#include <windows.h>

#include "online/feedback_form.h"
#include "online/online_channel_win32.h"
#include "ui/my_dialog_win32.h"

// "Feedback": three classifications, an optional e-mail address and a comment, posted
// to the maker in one request. A sent form closes the dialog; a failure names itself in
// the status line and gives the form back as the user typed it.
class FeedbackDialog : public CMyDialog {
public:
    explicit FeedbackDialog(HWND parent = NULL);

    const char* ClassName() const override { return "FeedbackDialog"; }
    const OnlineChannel& Channel() const { return channel_; }

protected:
    bool OnInitDialog() override;
    bool OnCommand(int id, int code, HWND control) override;
    INT_PTR WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void FillLists();
    FeedbackForm TypedForm() const;
    void EnableForm(bool enable);
    void Submit();
    void ApplyOutcome(PostResult result);

    OnlineChannel channel_;
};

// The Help menu's "Feedback" command (32772): the dialog, run modally over `parent`.
void ShowFeedbackDialog(HWND parent);
