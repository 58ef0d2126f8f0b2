#include "ui/dialog_win32.h"

CDialog::CDialog(int templateId, HWND parent) : parent_(parent), templateId_(templateId) {}

CDialog::~CDialog() {
    // The derived parts are gone already: the window must not reach them any more.
    HWND window = hwnd_;
    Detach();
    if (window != NULL) DestroyWindow(window);
}

int CDialog::DoModal() {
    if (hwnd_ != NULL) return -1;
    HWND owner = ModalOwner(parent_);
    OwnerDisabled ownerDisabled(owner);
    ended_ = false;
    result_ = -1;
    HWND window = CreateDialogParamA(ResourceModule(), MAKEINTRESOURCEA(templateId_), owner,
                                     StaticDialogProc, reinterpret_cast<LPARAM>(this));
    if (window == NULL) return -1;
    if (!ended_) {
        ShowWindow(window, SW_SHOWNORMAL);
        RunModalLoop(*this);
    }
    ownerDisabled.Restore();
    CloseModalWindow(hwnd_, owner);
    return result_;
}

void CDialog::EndDialog(int result) {
    result_ = result;
    ended_ = true;
    // Wakes the loop should this run inside a message that GetMessage handled itself
    // (one sent from another thread).
    if (hwnd_ != NULL) PostMessageA(hwnd_, WM_NULL, 0, 0);
}

bool CDialog::ContinueModal() {
    return !ended_ && hwnd_ != NULL;
}

bool CDialog::DialogManagerMessage(MSG& message) {
    return IsDialogMessageA(hwnd_, &message) != 0;
}

INT_PTR CDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        return OnInitDialog() ? TRUE : FALSE;
    case WM_COMMAND:
        return OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam)) ? TRUE : FALSE;
    case WM_NOTIFY: {
        LRESULT result = 0;
        if (!OnNotify(*reinterpret_cast<NMHDR*>(lParam), result)) return FALSE;
        SetMessageResult(result);
        return TRUE;
    }
    default:
        return FALSE;
    }
}

bool CDialog::OnInitDialog() {
    return true;
}

bool CDialog::OnCommand(int id, int code, HWND control) {
    // A button click, or a menu item or accelerator (no control): not an edit's or a
    // list's notification that happens to come from a control with ID 1 or 2.
    bool invoked = code == BN_CLICKED || control == NULL;
    if (invoked && id == IDOK) {
        OnOK();
        return true;
    }
    if (invoked && id == IDCANCEL) {
        OnCancel();
        return true;
    }
    return false;
}

void CDialog::OnOK() {
    EndDialog(IDOK);
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

bool CDialog::OnNotify(NMHDR&, LRESULT&) {
    return false;
}

void CDialog::SetMessageResult(LRESULT result) const {
    SetWindowLongPtrA(hwnd_, DWLP_MSGRESULT, result);
}

INT_PTR CALLBACK CDialog::StaticDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    CDialog* dialog;
    if (message == WM_INITDIALOG) {
        dialog = reinterpret_cast<CDialog*>(lParam);
        if (!dialog->Attach(window)) return FALSE;
    } else {
        dialog = static_cast<CDialog*>(FromHandle(window));
    }
    return RouteMessage(dialog, message, wParam, lParam);
}

INT_PTR CDialog::RouteMessage(CDialog* dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (dialog == nullptr) return FALSE;  // before WM_INITDIALOG (WM_SETFONT) or after detaching
    INT_PTR answer = dialog->WindowProc(message, wParam, lParam);
    if (message == WM_NCDESTROY) dialog->Detach();  // a loop still running for it ends
    return answer;
}
