#include "online/post_feedback_win32.h"

#include <string.h>

#include "app/maker_site.h"
#include "online/server_paths.h"
#include "online/wininet_api_win32.h"
#include "platform/application_title_win32.h"

namespace {

constexpr char kFormContentType[] = "Content-Type: application/x-www-form-urlencoded\r\n";

static_assert(sizeof(void*) != 4 || sizeof(INTERNET_BUFFERSA) == 40,
              "the 32-bit input-buffers record is 40 bytes");

bool Answered(const WinInet& wininet, HINTERNET request) {
    DWORD status = 0;
    DWORD size = sizeof status;
    return wininet.HttpQueryInfoA(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size,
                                  NULL) &&
           status != 0;
}

// Sends the headers, announcing the body's length, then the body in one write.
PostResult Send(const WinInet& wininet, HINTERNET request, const std::string& body) {
    const DWORD length = static_cast<DWORD>(body.size());
    INTERNET_BUFFERSA buffers;
    memset(&buffers, 0, sizeof buffers);
    buffers.dwStructSize = sizeof buffers;
    buffers.dwBufferTotal = length;
    if (!wininet.HttpSendRequestExA(request, &buffers, NULL, 0, 0)) return PostResult::NotSent;

    DWORD written = 0;
    if (!wininet.InternetWriteFile(request, body.data(), length, &written) || written != length) {
        return PostResult::NotWritten;
    }
    // The write may only have filled a buffer: whether the form got through shows when
    // the server answers. A connection dropped under the upload makes the end fail, or
    // (Wine) end with no answer at all. What the answer says is not looked at.
    if (!wininet.HttpEndRequestA(request, NULL, 0, 0) || !Answered(wininet, request)) {
        return PostResult::NotWritten;
    }
    return PostResult::Sent;
}

}  // namespace

PostResult PostFeedback(const std::string& body) {
    const WinInet& wininet = TheWinInet();
    if (!wininet.Bound()) return PostResult::NotSent;

    const std::string agent = ApplicationTitle().Text();
    InternetHandle session(
        wininet.InternetOpenA(agent.c_str(), INTERNET_OPEN_TYPE_PRECONFIG, NULL, NULL, 0));
    if (!session) return PostResult::NotSent;
    InternetHandle connection(wininet.InternetConnectA(session.Get(), kMakerHost, kMakerHttpPort, NULL,
                                                        NULL, INTERNET_SERVICE_HTTP, 0, 0));
    if (!connection) return PostResult::NotSent;
    InternetHandle request(wininet.HttpOpenRequestA(connection.Get(), "POST", kFeedbackPath, NULL, NULL,
                                                     NULL, INTERNET_FLAG_NO_CACHE_WRITE, 0));
    if (!request) return PostResult::NotSent;
    // Without its content type the server could not read the form.
    if (!wininet.HttpAddRequestHeadersA(request.Get(), kFormContentType, sizeof kFormContentType - 1,
                                        HTTP_ADDREQ_FLAG_ADD | HTTP_ADDREQ_FLAG_REPLACE)) {
        return PostResult::NotSent;
    }
    return Send(wininet, request.Get(), body);
}
