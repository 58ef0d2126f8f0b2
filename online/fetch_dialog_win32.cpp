#include "online/fetch_dialog_win32.h"

#include <string>

#include "online/internet_check_win32.h"
#include "online/online_workers_win32.h"
#include "platform/message_box_sink_win32.h"
#include "resources/online_dialog_ids.h"
#include "resources/string_ids.h"
#include "ui/reflected_colour_win32.h"

namespace {

const COLORREF kBlue = RGB(0, 0, 255);

}  // namespace

std::string ResolveControlText(const ControlText& text) {
    if (text.id == 0) return text.text;
    char formatted[kMessageTextSize];
    const UserMessage message{text.id, MessageStyle::Information, text.text.c_str()};
    FormatUserMessage(ResourceModule(), message, formatted, sizeof formatted);
    return formatted;
}

FetchDialog::FetchDialog(int templateId, int resultEditId, const char* path, ViewOf view, HWND parent)
    : CMyDialog(templateId, parent), resultEditId_(resultEditId), path_(path), view_(view) {}

bool FetchDialog::OnInitDialog() {
    CMyDialog::OnInitDialog();
    MessageBoxSink sink(hwnd_);
    if (InternetCheck(sink) != 0) {
        EndDialog(0);
        return true;
    }
    link_.SubclassDlgItem(IDC_ONLINE_LINK, hwnd_);
    CHyperLink::SetColours(kBlue, kBlue, kBlue, kBlue);
    EnableItem(resultEditId_, false);
    channel_.Open(hwnd_);
    // Without a worker there will be no answer: say so rather than connect for ever.
    if (!StartFetch(channel_, path_)) {
        SetItemText(IDC_ONLINE_STATUS, ResolveControlText({IDS_STATUS_TRANSFER_FAILED, ""}).c_str());
    }
    return true;
}

INT_PTR FetchDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    INT_PTR brush = 0;
    if (ReflectControlColour(message, wParam, lParam, brush)) return brush;
    if (message == WM_ONLINE_RESULT) {
        OnlineResult result;
        while (channel_.Take(result)) ApplyView(view_(result.fetch));
        return TRUE;
    }
    if (message == WM_DESTROY) channel_.Close();
    return CMyDialog::WindowProc(message, wParam, lParam);
}

void FetchDialog::ApplyView(const FetchView& view) {
    if (view.showLink) {
        SetItemText(IDC_ONLINE_LINK, ResolveControlText(view.link).c_str());
        link_.SetURL(view.linkAddress.c_str());
        ShowItem(IDC_ONLINE_STATUS, false);
        ShowItem(IDC_ONLINE_LINK, true);
    } else {
        SetItemText(IDC_ONLINE_STATUS, ResolveControlText(view.status).c_str());
    }
    if (view.resultEnabled) {
        EnableItem(resultEditId_, true);
        SetItemText(resultEditId_, view.resultText.c_str());
    }
}
