#include "online/feedback_dialog_win32.h"

#include <string>

#include "online/feedback_view.h"
#include "online/fetch_dialog_win32.h"
#include "online/internet_check_win32.h"
#include "online/online_workers_win32.h"
#include "online/wininet_canonicalizer_win32.h"
#include "platform/message_box_sink_win32.h"
#include "resources/online_dialog_ids.h"
#include "ui/item_text_win32.h"

namespace {

struct ListItems {
    int id;
    const char* items[4];
};

// The classifications travel as these texts, so they are the form's vocabulary too.
const ListItems kLists[] = {
    {IDC_FEEDBACK_ABOUT,
     {"The program in general", "An interface design issue", "A feature suggestion", "A bug"}},
    {IDC_FEEDBACK_PROBLEM, {"Not a problem", "Noticeable", "Annoying", "Intolerable"}},
    {IDC_FEEDBACK_USED, {"At home", "At work", "Both at home and work", nullptr}},
};

const int kInputs[] = {IDC_FEEDBACK_SUBMIT, IDC_FEEDBACK_ABOUT, IDC_FEEDBACK_PROBLEM,
                       IDC_FEEDBACK_USED,   IDC_FEEDBACK_EMAIL, IDC_FEEDBACK_COMMENT};

std::string SelectedItemText(HWND list) {
    const LRESULT index = SendMessageA(list, CB_GETCURSEL, 0, 0);
    if (index == CB_ERR) return "";
    const LRESULT length = SendMessageA(list, CB_GETLBTEXTLEN, index, 0);
    if (length == CB_ERR) return "";
    std::string text(static_cast<size_t>(length) + 1, '\0');
    SendMessageA(list, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(&text[0]));
    text.resize(static_cast<size_t>(length));
    return text;
}

}  // namespace

FeedbackDialog::FeedbackDialog(HWND parent) : CMyDialog(IDD_FEEDBACK, parent) {}

bool FeedbackDialog::OnInitDialog() {
    CMyDialog::OnInitDialog();
    MessageBoxSink sink(hwnd_);
    if (InternetCheck(sink) != 0) {
        EndDialog(0);
        return true;
    }
    FillLists();
    channel_.Open(hwnd_);
    return true;
}

void FeedbackDialog::FillLists() {
    for (const ListItems& list : kLists) {
        for (const char* item : list.items) {
            if (item != nullptr) SendItem(list.id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
        }
        SendItem(list.id, CB_SETCURSEL, 0);
    }
}

bool FeedbackDialog::OnCommand(int id, int code, HWND control) {
    if (id == IDC_FEEDBACK_SUBMIT && code == BN_CLICKED) {
        Submit();
        return true;
    }
    return CMyDialog::OnCommand(id, code, control);
}

FeedbackForm FeedbackDialog::TypedForm() const {
    FeedbackForm typed;
    typed.about = SelectedItemText(Item(IDC_FEEDBACK_ABOUT));
    typed.problem = SelectedItemText(Item(IDC_FEEDBACK_PROBLEM));
    typed.used = SelectedItemText(Item(IDC_FEEDBACK_USED));
    typed.email = WindowText(Item(IDC_FEEDBACK_EMAIL));
    typed.comment = WindowText(Item(IDC_FEEDBACK_COMMENT));
    return typed;
}

void FeedbackDialog::EnableForm(bool enable) {
    for (int id : kInputs) EnableItem(id, enable);
}

void FeedbackDialog::Submit() {
    const FeedbackForm typed = TypedForm();
    EnableForm(false);
    const FeedbackSubmission submission = SubmitFeedback(WinInetCanonicalizer(), typed);
    if (submission.close) {
        EndDialog(0);
        return;
    }
    SetItemText(IDC_ONLINE_STATUS, ResolveControlText(submission.status).c_str());
    // No worker, no answer: give the form back as after a failed send.
    if (!StartFeedbackPost(channel_, submission.encoded)) ApplyOutcome(PostResult::NotSent);
}

void FeedbackDialog::ApplyOutcome(PostResult result) {
    const FeedbackView view = FeedbackOutcomeView(result);
    if (view.close) {
        EndDialog(0);
        return;
    }
    SetItemText(IDC_ONLINE_STATUS, ResolveControlText(view.status).c_str());
    EnableForm(view.formEnabled);
}

INT_PTR FeedbackDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_ONLINE_RESULT) {
        OnlineResult result;
        while (channel_.Take(result)) ApplyOutcome(result.post);
        return TRUE;
    }
    if (message == WM_DESTROY) channel_.Close();
    return CMyDialog::WindowProc(message, wParam, lParam);
}

void ShowFeedbackDialog(HWND parent) {
    FeedbackDialog dialog(parent);
    dialog.DoModal();
}
