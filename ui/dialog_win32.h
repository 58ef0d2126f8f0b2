#pragma once
#include <windows.h>

#include "ui/modal_loop_win32.h"
#include "ui/window_win32.h"

// A dialog from a template in the program's resources, run modally by our own loop.
//
// Messages reach the virtual WindowProc, whose default routes the usual ones to the
// handlers below; a derived dialog overrides a handler, or WindowProc itself for any
// other message (calling CDialog::WindowProc for what it leaves alone). WindowProc
// answers like a dialog procedure: TRUE when the message was handled, else FALSE for the
// dialog manager's default; a message whose answer is a value sets it with
// SetMessageResult.
class CDialog : public CWindow, protected ModalWindow {
public:
    explicit CDialog(int templateId, HWND parent = NULL);
    ~CDialog() override;

    const char* ClassName() const override { return "CDialog"; }
    int TemplateId() const { return templateId_; }

    // Disables the owner, creates the dialog, shows it and pumps messages until
    // EndDialog; gives the owner back its input and activation, destroys the dialog and
    // returns EndDialog's result. -1 when the dialog could not be created (or is already
    // running) or when the loop ended through WM_QUIT without a result. A dialog ended
    // during its initialisation is never shown.
    int DoModal();

    // Ends the modal loop with this result once the current message has been handled.
    void EndDialog(int result);

protected:
    virtual INT_PTR WindowProc(UINT message, WPARAM wParam, LPARAM lParam);

    // true lets the dialog manager put the focus on the first control.
    virtual bool OnInitDialog();
    // true when handled. IDOK and IDCANCEL (buttons, keys, menu) go to OnOK and OnCancel.
    virtual bool OnCommand(int id, int code, HWND control);
    virtual void OnOK();      // EndDialog(IDOK)
    virtual void OnCancel();  // EndDialog(IDCANCEL)
    // true when handled; result is then the message's answer.
    virtual bool OnNotify(NMHDR& header, LRESULT& result);

    void SetMessageResult(LRESULT result) const;

    // Dialog procedures: CDialog's takes `this` from WM_INITDIALOG's lParam; a property
    // page's finds it inside the page description and then routes the same way.
    static INT_PTR CALLBACK StaticDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static INT_PTR RouteMessage(CDialog* dialog, UINT message, WPARAM wParam, LPARAM lParam);

    bool ContinueModal() override;
    bool DialogManagerMessage(MSG& message) override;

    HWND parent_;

private:
    int templateId_;
    bool ended_ = false;
    int result_ = -1;
};
