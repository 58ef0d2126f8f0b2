#pragma once
#include <string>

#include "online/control_text.h"
#include "online/online_result.h"

// What the update check and the message dialog show once their worker is done. Both
// dialogs have a status line (control 1003) and, at the same place, a hidden link
// (1004); one of the two is shown. Their result edit (the version history or the
// message) starts disabled and empty, and stays so when the transfer failed: "The server
// name or address could not be resolved" when the request was not sent, "Unable to
// complete transfer, try again later" when the body broke off.
struct FetchView {
    bool showLink = false;    // hide the status line and show the link instead
    ControlText status;       // the status line's text when the link stays hidden
    ControlText link;         // the link's text when it is shown
    std::string linkAddress;  // what the link opens; empty when the server's address
                              // is nothing the link may open (link_address.h)
    bool resultEnabled = false;
    std::string resultText;   // the edit's text when enabled
};

// The update check: "No update is available" when the offered version is the running
// one, else a link "Version %s is available" to the download page (also for an older or
// an empty version: only equality counts); the history below. A body that came with an
// HTTP status other than 200 is no answer: shown as a transfer that failed.
FetchView UpdateCheckView(const FetchResult& fetched);

// The message fetch: the server's link text and address unless the first line is "N/A",
// then "Connection established"; the message below.
FetchView MessageView(const FetchResult& fetched);
