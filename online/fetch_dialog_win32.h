#pragma once
#include <windows.h>

#include "online/fetch_view.h"
#include "online/online_channel_win32.h"
#include "ui/hyper_link_win32.h"
#include "ui/my_dialog_win32.h"

// The shape that the update check and the message dialog share: a status line with a
// hidden link at its place, and a read-only result edit that stays disabled until the
// server's text file has arrived. The dialog fetches one file as it opens and shows
// what the feature's view makes of it; it can be closed at any time, also while the
// worker still waits for the server, which then leaves it alone.
class FetchDialog : public CMyDialog {
public:
    using ViewOf = FetchView (*)(const FetchResult&);

    FetchDialog(int templateId, int resultEditId, const char* path, ViewOf view, HWND parent);

    const CHyperLink& Link() const { return link_; }
    const OnlineChannel& Channel() const { return channel_; }

protected:
    bool OnInitDialog() override;
    INT_PTR WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void ApplyView(const FetchView& view);

    int resultEditId_;
    const char* path_;
    ViewOf view_;
    CHyperLink link_;
    OnlineChannel channel_;
};

// A status-line or link text: the string-table entry with its %s filled in, or the
// server's own text.
std::string ResolveControlText(const ControlText& text);
