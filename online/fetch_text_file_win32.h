#pragma once
#include "online/online_result.h"

// GETs a text file from the maker's web server (app/maker_site.h, port 80) through the
// system's proxy settings, and reads its body as lines (online/body_lines.h). The HTTP
// status is handed on, not judged: an error page is read as the file, and each caller
// decides what a status means. Runs on a worker thread,
// after the Internet test has bound WinINet; it blocks for as long as the server takes.
//
// NotSent when the request never went out: the server unknown or unreachable, or WinINet
// failing to set the request up. Broken when the connection failed while the body was
// read, or the body is far larger than any file the program fetches.
FetchResult FetchTextFile(const char* path);
