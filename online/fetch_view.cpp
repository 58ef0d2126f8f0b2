#include "online/fetch_view.h"

#include "app/version.h"
#include "online/link_address.h"
#include "online/message_file.h"
#include "online/version_file.h"
#include "resources/string_ids.h"

namespace {

// A transfer that failed leaves the result edit disabled and empty; the status line
// says which way it failed.
bool FailedView(const FetchResult& fetched, FetchView& view) {
    if (fetched.status == FetchStatus::Received) return false;
    view.status.id = fetched.status == FetchStatus::NotSent ? IDS_STATUS_SERVER_NOT_RESOLVED
                                                            : IDS_STATUS_TRANSFER_FAILED;
    return true;
}

void ShowLink(FetchView& view, ControlText text, const std::string& address) {
    view.showLink = true;
    view.link = std::move(text);
    if (IsOpenableAddress(address)) view.linkAddress = address;
}

constexpr unsigned kHttpOk = 200;

}  // namespace

FetchView UpdateCheckView(const FetchResult& fetched) {
    FetchView view;
    if (FailedView(fetched, view)) return view;
    // An error page or a redirection read as the version file would offer its first
    // line as a new version.
    if (fetched.httpStatus != kHttpOk) {
        view.status.id = IDS_STATUS_TRANSFER_FAILED;
        return view;
    }
    const VersionFile file = ParseVersionFile(fetched.lines);
    if (file.latestVersion == kProgramVersion) {
        view.status.id = IDS_STATUS_NO_UPDATE;
    } else {
        ShowLink(view, ControlText{IDS_VERSION_AVAILABLE, file.latestVersion}, file.downloadAddress);
    }
    view.resultEnabled = true;
    view.resultText = file.history;
    return view;
}

FetchView MessageView(const FetchResult& fetched) {
    FetchView view;
    if (FailedView(fetched, view)) return view;
    const MessageFile file = ParseMessageFile(fetched.lines);
    if (file.HasLink()) {
        ShowLink(view, ControlText{0, file.linkText}, file.linkAddress);
    } else {
        view.status.id = IDS_STATUS_CONNECTED;
    }
    view.resultEnabled = true;
    view.resultText = file.message;
    return view;
}
