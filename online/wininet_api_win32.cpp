#include "online/wininet_api_win32.h"

namespace {

template <typename Function>
bool LookUp(HMODULE module, const char* name, Function& function) {
    function = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
    return function != nullptr;
}

}  // namespace

bool WinInet::Bind(const char* library) {
    if (Bound()) return true;
    HMODULE module = LoadLibraryA(library);
    if (module == NULL) return false;
    // Looked up into a copy first, so a library that lacks one function leaves this
    // binding as empty as it was.
    WinInet bound;
    const bool complete = LookUp(module, "InternetGetConnectedState", bound.InternetGetConnectedState) &&
                          LookUp(module, "InternetOpenA", bound.InternetOpenA) &&
                          LookUp(module, "InternetConnectA", bound.InternetConnectA) &&
                          LookUp(module, "HttpOpenRequestA", bound.HttpOpenRequestA) &&
                          LookUp(module, "HttpSendRequestA", bound.HttpSendRequestA) &&
                          LookUp(module, "HttpAddRequestHeadersA", bound.HttpAddRequestHeadersA) &&
                          LookUp(module, "HttpSendRequestExA", bound.HttpSendRequestExA) &&
                          LookUp(module, "InternetWriteFile", bound.InternetWriteFile) &&
                          LookUp(module, "HttpEndRequestA", bound.HttpEndRequestA) &&
                          LookUp(module, "HttpQueryInfoA", bound.HttpQueryInfoA) &&
                          LookUp(module, "InternetReadFile", bound.InternetReadFile) &&
                          LookUp(module, "InternetCloseHandle", bound.InternetCloseHandle) &&
                          LookUp(module, "InternetCanonicalizeUrlA", bound.InternetCanonicalizeUrlA);
    if (!complete) {
        FreeLibrary(module);
        return false;
    }
    *this = bound;
    module_ = module;
    return true;
}

WinInet& TheWinInet() {
    static WinInet wininet;
    return wininet;
}
