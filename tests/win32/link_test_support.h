#pragma once
// Helpers of the hyperlink, About and settings-sheet tests: class-root keys set for one
// test and put back afterwards, a stand-in program that records the targets the shell
// hands it, and a watcher that reads and closes the program's message boxes.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/message_box_content_win32.h"
#include "tests/support/temp_dir.h"

namespace link_test {

// The build names files by their Unix paths; Wine's Z: drive is the Unix root.
inline std::string WindowsPath(std::string path) {
    if (!path.empty() && path[0] == '/') path = "Z:" + path;
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

// Deletes a key with everything below it (RegDeleteTree is newer than our headers).
inline void DeleteTree(HKEY root, const std::string& path) {
    HKEY key = NULL;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return;
    char name[256];
    DWORD size = sizeof name;
    while (RegEnumKeyExA(key, 0, name, &size, NULL, NULL, NULL, NULL) == ERROR_SUCCESS) {
        DeleteTree(key, name);
        size = sizeof name;
    }
    RegCloseKey(key);
    RegDeleteKeyA(root, path.c_str());
}

inline bool KeyExists(HKEY root, const std::string& path) {
    HKEY key = NULL;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

inline void SetText(HKEY root, const std::string& path, const char* name, const std::string& text) {
    HKEY key = NULL;
    ASSERT_EQ(RegCreateKeyExA(root, path.c_str(), 0, NULL, 0, KEY_ALL_ACCESS, NULL, &key, NULL),
              ERROR_SUCCESS)
        << path;
    RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>(text.size() + 1));
    RegCloseKey(key);
}

// The text of a value, or "<missing>".
inline std::string GetText(HKEY root, const std::string& path, const char* name) {
    HKEY key = NULL;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return "<missing>";
    char data[2048] = "";
    DWORD size = sizeof data - 1, type = 0;
    LONG result = RegQueryValueExA(key, name, NULL, &type, reinterpret_cast<BYTE*>(data), &size);
    RegCloseKey(key);
    return result == ERROR_SUCCESS && type == REG_SZ ? std::string(data) : "<missing>";
}

// A number value, or 0xFFFFFFFF when missing.
inline DWORD GetNumber(HKEY root, const std::string& path, const char* name) {
    HKEY key = NULL;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return 0xFFFFFFFF;
    DWORD value = 0, size = sizeof value, type = 0;
    LONG result = RegQueryValueExA(key, name, NULL, &type, reinterpret_cast<BYTE*>(&value), &size);
    RegCloseKey(key);
    return result == ERROR_SUCCESS && type == REG_DWORD ? value : 0xFFFFFFFF;
}

// Class-root keys a test changes: each is removed with everything below it and, if it
// existed, its default value is put back. Only keys whose default value is all that
// matters to the prefix may be named.
class ClassesKeys {
public:
    explicit ClassesKeys(std::vector<std::string> paths) : paths_(std::move(paths)) {
        for (const std::string& path : paths_)
            saved_.push_back(KeyExists(HKEY_CLASSES_ROOT, path) ? GetText(HKEY_CLASSES_ROOT, path, NULL)
                                                                : std::string("<no key>"));
    }
    ~ClassesKeys() {
        for (size_t i = 0; i < paths_.size(); ++i) {
            DeleteTree(HKEY_CLASSES_ROOT, paths_[i]);
            if (saved_[i] == "<no key>") continue;
            HKEY key = NULL;
            if (RegCreateKeyExA(HKEY_CLASSES_ROOT, paths_[i].c_str(), 0, NULL, 0, KEY_ALL_ACCESS, NULL,
                                &key, NULL) != ERROR_SUCCESS)
                continue;
            if (saved_[i] != "<missing>")
                RegSetValueExA(key, NULL, 0, REG_SZ, reinterpret_cast<const BYTE*>(saved_[i].c_str()),
                               static_cast<DWORD>(saved_[i].size() + 1));
            RegCloseKey(key);
        }
    }
    ClassesKeys(const ClassesKeys&) = delete;
    ClassesKeys& operator=(const ClassesKeys&) = delete;

private:
    std::vector<std::string> paths_;
    std::vector<std::string> saved_;
};

// link_recorder.exe as the program the shell starts for a class: whatever it is
// started with lands in the record file.
class Recorder {
public:
    Recorder() : record_(dir_.File("record.txt")) {
        SetEnvironmentVariableA("VORLIX_LINK_RECORD", record_.c_str());
    }
    ~Recorder() { SetEnvironmentVariableA("VORLIX_LINK_RECORD", NULL); }
    Recorder(const Recorder&) = delete;
    Recorder& operator=(const Recorder&) = delete;

    static std::string Program() { return WindowsPath(VORLIX_LINK_RECORDER); }

    // Makes the recorder the "open" command of a class (a URL scheme or a document class).
    static void OpenWith(const std::string& classPath, bool urlScheme) {
        if (urlScheme) {
            SetText(HKEY_CLASSES_ROOT, classPath, NULL, "URL:test");
            SetText(HKEY_CLASSES_ROOT, classPath, "URL Protocol", "");
        }
        SetText(HKEY_CLASSES_ROOT, classPath + "\\shell\\open\\command", NULL,
                "\"" + Program() + "\" \"%1\"");
    }

    // The recorded lines once the recorder has run, or "<nothing>" after the time limit.
    std::string Wait(DWORD milliseconds = 10000) const {
        const DWORD start = GetTickCount();
        while (GetTickCount() - start < milliseconds) {
            if (FileExists(record_)) return ReadWholeFile(record_);
            Sleep(20);
        }
        return "<nothing>";
    }

    bool Recorded() const { return FileExists(record_); }

private:
    TempDir dir_;
    std::string record_;
};

// What a message box showed.
struct BoxSeen {
    bool found = false;
    std::string text;
    HICON icon = NULL;
    HWND owner = NULL;
};

// Watches, from a thread of its own, for a message box captioned "Vorlix" on the given
// thread; reads it and presses OK. Ends by itself after the time limit.
class BoxWatcher {
public:
    explicit BoxWatcher(DWORD threadId = GetCurrentThreadId(), DWORD milliseconds = 10000)
        : threadId_(threadId), limit_(milliseconds) {
        stop_ = CreateEventA(NULL, TRUE, FALSE, NULL);
        thread_ = CreateThread(NULL, 0, &Run, this, 0, NULL);
    }
    ~BoxWatcher() {
        SetEvent(stop_);
        WaitForSingleObject(thread_, INFINITE);
        CloseHandle(thread_);
        CloseHandle(stop_);
    }
    BoxWatcher(const BoxWatcher&) = delete;
    BoxWatcher& operator=(const BoxWatcher&) = delete;

    // Read only after the box has been answered (the call that showed it returned).
    const BoxSeen& Seen() const { return seen_; }

private:
    static BOOL CALLBACK FindBox(HWND window, LPARAM result) {
        char name[32] = "", caption[64] = "";
        GetClassNameA(window, name, sizeof name);
        GetWindowTextA(window, caption, sizeof caption);
        if (lstrcmpA(name, "#32770") != 0 || lstrcmpA(caption, "Vorlix") != 0 || !IsWindowVisible(window))
            return TRUE;
        *reinterpret_cast<HWND*>(result) = window;
        return FALSE;
    }
    static DWORD WINAPI Run(LPVOID parameter) {
        BoxWatcher& self = *static_cast<BoxWatcher*>(parameter);
        const DWORD start = GetTickCount();
        while (WaitForSingleObject(self.stop_, 20) == WAIT_TIMEOUT && GetTickCount() - start < self.limit_) {
            HWND box = NULL;
            EnumThreadWindows(self.threadId_, FindBox, reinterpret_cast<LPARAM>(&box));
            if (box == NULL) continue;
            BoxSeen seen;
            seen.found = true;
            seen.owner = GetWindow(box, GW_OWNER);
            const MessageBoxContent content = ReadMessageBoxContent(box);
            seen.text = content.text;
            seen.icon = content.icon;
            self.seen_ = seen;
            PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
            break;
        }
        return 0;
    }

    DWORD threadId_;
    DWORD limit_;
    HANDLE stop_;
    HANDLE thread_;
    BoxSeen seen_;
};

}  // namespace link_test
