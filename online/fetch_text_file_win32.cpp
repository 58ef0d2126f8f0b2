#include "online/fetch_text_file_win32.h"

#include <string>

#include "app/maker_site.h"
#include "online/body_lines.h"
#include "online/server_paths.h"
#include "online/wininet_api_win32.h"
#include "platform/application_title_win32.h"

namespace {

// The version history and the message are a few kilobytes; a body beyond this is not
// the file asked for, and is not kept in memory.
constexpr size_t kMaxBodySize = 1 << 20;

// MFC's internet session, which this transport follows, marks its requests with context 1.
constexpr DWORD_PTR kContext = 1;

bool ReadBody(const WinInet& wininet, HINTERNET request, std::string& body) {
    char chunk[4096];
    for (;;) {
        DWORD read = 0;
        if (!wininet.InternetReadFile(request, chunk, sizeof chunk, &read)) return false;
        if (read == 0) return true;
        if (body.size() + read > kMaxBodySize) return false;
        body.append(chunk, read);
    }
}

// 0 when the answer carried no status the query could read.
unsigned HttpStatus(const WinInet& wininet, HINTERNET request) {
    DWORD status = 0;
    DWORD size = sizeof status;
    if (!wininet.HttpQueryInfoA(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size,
                                NULL)) {
        return 0;
    }
    return status;
}

}  // namespace

FetchResult FetchTextFile(const char* path) {
    FetchResult result;
    const WinInet& wininet = TheWinInet();
    if (!wininet.Bound()) return result;

    const std::string agent = ApplicationTitle().Text();
    InternetHandle session(
        wininet.InternetOpenA(agent.c_str(), INTERNET_OPEN_TYPE_PRECONFIG, NULL, NULL, 0));
    if (!session) return result;
    InternetHandle connection(wininet.InternetConnectA(session.Get(), kMakerHost, kMakerHttpPort, NULL,
                                                        NULL, INTERNET_SERVICE_HTTP, 0, kContext));
    if (!connection) return result;
    InternetHandle request(wininet.HttpOpenRequestA(connection.Get(), "GET", path, NULL, NULL, NULL,
                                                     INTERNET_FLAG_EXISTING_CONNECT, kContext));
    if (!request) return result;
    if (!wininet.HttpSendRequestA(request.Get(), NULL, 0, NULL, 0)) return result;

    std::string body;
    if (!ReadBody(wininet, request.Get(), body)) {
        result.status = FetchStatus::Broken;
        return result;
    }
    result.status = FetchStatus::Received;
    result.httpStatus = HttpStatus(wininet, request.Get());
    result.lines = SplitBodyLines(body);
    return result;
}
