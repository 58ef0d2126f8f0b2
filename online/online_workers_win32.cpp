#include "online/online_workers_win32.h"

#include <windows.h>

#include <string>

#include "online/fetch_text_file_win32.h"
#include "online/post_feedback_win32.h"
#include "platform/application_title_win32.h"

bool StartFetch(OnlineChannel& channel, const char* path) {
    return channel.Start([file = std::string(path)] {
        OnlineResult result;
        result.fetch = FetchTextFile(file.c_str());
        return result;
    });
}

bool StartFeedbackPost(OnlineChannel& channel, const FeedbackForm& encoded) {
    return channel.Start([encoded] {
        OnlineResult result;
        result.post = PostFeedback(FeedbackBody(ApplicationTitle().Text(), ReadOsDescription(), encoded));
        return result;
    });
}

OsDescription ReadOsDescription() {
    OSVERSIONINFOA info;
    ZeroMemory(&info, sizeof info);
    info.dwOSVersionInfoSize = sizeof info;
    OsDescription os;
    if (!GetVersionExA(&info)) return os;
    os.platformId = info.dwPlatformId;
    os.majorVersion = info.dwMajorVersion;
    os.minorVersion = info.dwMinorVersion;
    os.buildNumber = info.dwBuildNumber;
    info.szCSDVersion[sizeof info.szCSDVersion - 1] = '\0';
    os.servicePack = info.szCSDVersion;
    return os;
}
