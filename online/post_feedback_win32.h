#pragma once
#include <string>

#include "online/online_result.h"

// POSTs the feedback form body to the maker's web server as
// application/x-www-form-urlencoded, in one write, through the system's proxy settings.
// The server's reply is not read. Runs on a worker thread, after the Internet test has
// bound WinINet. All handles are closed on every path.
//
// NotSent when the request could not be sent (nor set up); NotWritten when it went out
// but the body could not be written or the server did not take the request to its end.
PostResult PostFeedback(const std::string& body);
