#include "online/internet_check_win32.h"

#include "online/wininet_api_win32.h"

namespace {

class WinInetPresence final : public InternetPresence {
public:
    bool Bind() override { return TheWinInet().Bind(); }
    bool Connected() override {
        DWORD kinds = 0;
        return TheWinInet().InternetGetConnectedState(&kinds, 0) != FALSE;
    }
};

}  // namespace

int InternetCheck(MessageSink& sink) {
    WinInetPresence internet;
    return InternetCheck(internet, sink);
}
