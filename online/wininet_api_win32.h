#pragma once
#include <windows.h>
#include <wininet.h>  // types and constants only: every function is looked up at run time

// WinINet, bound at first use. The program must start and run where WININET.DLL (an
// Internet Explorer part on old systems) is missing or too old, so it is never linked:
// each function the program calls is looked up by name, and nothing of it is called
// before the Internet test of an online dialog has bound it.
class WinInet {
public:
    // Loads the library and looks up all the functions below: all or none. Once bound,
    // the binding stays for the life of the process (a worker may still be using it), and
    // a later call only answers true. Called on the main thread; workers start after it.
    bool Bind(const char* library = "WININET.DLL");
    bool Bound() const { return module_ != NULL; }

    decltype(&::InternetGetConnectedState) InternetGetConnectedState = nullptr;
    decltype(&::InternetOpenA) InternetOpenA = nullptr;
    decltype(&::InternetConnectA) InternetConnectA = nullptr;
    decltype(&::HttpOpenRequestA) HttpOpenRequestA = nullptr;
    decltype(&::HttpSendRequestA) HttpSendRequestA = nullptr;
    decltype(&::HttpAddRequestHeadersA) HttpAddRequestHeadersA = nullptr;
    decltype(&::HttpSendRequestExA) HttpSendRequestExA = nullptr;
    decltype(&::InternetWriteFile) InternetWriteFile = nullptr;
    decltype(&::HttpEndRequestA) HttpEndRequestA = nullptr;
    decltype(&::HttpQueryInfoA) HttpQueryInfoA = nullptr;
    decltype(&::InternetReadFile) InternetReadFile = nullptr;
    decltype(&::InternetCloseHandle) InternetCloseHandle = nullptr;
    decltype(&::InternetCanonicalizeUrlA) InternetCanonicalizeUrlA = nullptr;

private:
    HMODULE module_ = NULL;
};

// The program's binding, shared by the Internet test and the transports.
WinInet& TheWinInet();

// An open WinINet handle (session, connection or request), closed through the program's
// binding. Declare a session before its connection and the connection before its
// request, so they close in the order request, connection, session.
class InternetHandle {
public:
    explicit InternetHandle(HINTERNET handle) : handle_(handle) {}
    ~InternetHandle() {
        if (handle_ != NULL) TheWinInet().InternetCloseHandle(handle_);
    }
    InternetHandle(const InternetHandle&) = delete;
    InternetHandle& operator=(const InternetHandle&) = delete;

    HINTERNET Get() const { return handle_; }
    explicit operator bool() const { return handle_ != NULL; }

private:
    HINTERNET handle_;
};
