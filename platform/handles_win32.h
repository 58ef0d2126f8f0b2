#pragma once
#include <windows.h>

// Owners for the handle kinds of the Win32 layer. Each is uncopyable (two owners would
// close one handle twice) and movable, and keeps everything its destructor needs.
// They allocate nothing and throw nothing, so the restorer stub can use them too.

// A file, device or kernel-object handle, closed with CloseHandle or with the function
// that goes with how it was opened (the 9x service method's calls can be replaced, its
// handles with them). The API reports failure with NULL or with INVALID_HANDLE_VALUE
// depending on the call; both mean none.
class UniqueHandle {
public:
    using CloseFunction = BOOL(WINAPI*)(HANDLE);

    constexpr UniqueHandle() = default;
    explicit UniqueHandle(HANDLE handle, CloseFunction close = nullptr)
        : handle_(handle), close_(close) {}
    ~UniqueHandle() { Reset(); }

    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : close_(other.close_) {
        handle_ = other.Release();
    }
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) {
            Reset(other.Release());
            close_ = other.close_;
        }
        return *this;
    }

    HANDLE Get() const { return handle_; }
    bool Valid() const { return handle_ != NULL && handle_ != INVALID_HANDLE_VALUE; }
    explicit operator bool() const { return Valid(); }

    HANDLE Release() {
        HANDLE handle = handle_;
        handle_ = NULL;
        return handle;
    }

    void Reset(HANDLE handle = NULL) {
        if (Valid()) {
            if (close_ != nullptr) {
                close_(handle_);
            } else {
                CloseHandle(handle_);
            }
        }
        handle_ = handle;
    }

private:
    HANDLE handle_ = NULL;
    CloseFunction close_ = nullptr;  // CloseHandle
};

// An open registry key, closed with RegCloseKey. The predefined roots (HKEY_CURRENT_USER
// and the like) are never owned.
class UniqueRegistryKey {
public:
    constexpr UniqueRegistryKey() = default;
    explicit UniqueRegistryKey(HKEY key) : key_(key) {}
    ~UniqueRegistryKey() { Reset(); }

    UniqueRegistryKey(const UniqueRegistryKey&) = delete;
    UniqueRegistryKey& operator=(const UniqueRegistryKey&) = delete;
    UniqueRegistryKey(UniqueRegistryKey&& other) noexcept : key_(other.Release()) {}
    UniqueRegistryKey& operator=(UniqueRegistryKey&& other) noexcept {
        if (this != &other) Reset(other.Release());
        return *this;
    }

    HKEY Get() const { return key_; }
    explicit operator bool() const { return key_ != NULL; }

    // For the calls that hand out a new key: whatever was held is closed first.
    HKEY* Receive() {
        Reset();
        return &key_;
    }

    HKEY Release() {
        HKEY key = key_;
        key_ = NULL;
        return key;
    }

    void Reset(HKEY key = NULL) {
        if (key_ != NULL) RegCloseKey(key_);
        key_ = key;
    }

    // Closes the key now; false when none was held or RegCloseKey failed.
    bool Close() {
        if (key_ == NULL) return false;
        const LONG result = RegCloseKey(key_);
        key_ = NULL;
        return result == ERROR_SUCCESS;
    }

private:
    HKEY key_ = NULL;
};

// A view of a file mapping, unmapped with UnmapViewOfFile.
class MappedView {
public:
    constexpr MappedView() = default;
    explicit MappedView(void* view) : view_(view) {}
    ~MappedView() { Reset(); }

    MappedView(const MappedView&) = delete;
    MappedView& operator=(const MappedView&) = delete;
    MappedView(MappedView&& other) noexcept : view_(other.view_) { other.view_ = nullptr; }
    MappedView& operator=(MappedView&& other) noexcept {
        if (this != &other) {
            Reset(other.view_);
            other.view_ = nullptr;
        }
        return *this;
    }

    void* Get() const { return view_; }
    explicit operator bool() const { return view_ != nullptr; }

    void Reset(void* view = nullptr) {
        if (view_) UnmapViewOfFile(view_);
        view_ = view;
    }

private:
    void* view_ = nullptr;
};

// Ownership of a mutex, taken by waiting and given back with ReleaseMutex. The mutex
// handle itself stays with its owner, which must outlive the lock. A mutex whose holder
// ended without releasing it (WAIT_ABANDONED) is ours all the same. Release it on the
// thread that took it: mutex ownership belongs to a thread.
class MutexLock {
public:
    constexpr MutexLock() = default;
    ~MutexLock() { Release(); }

    MutexLock(const MutexLock&) = delete;
    MutexLock& operator=(const MutexLock&) = delete;
    MutexLock(MutexLock&& other) noexcept : mutex_(other.mutex_) { other.mutex_ = NULL; }
    MutexLock& operator=(MutexLock&& other) noexcept {
        if (this != &other) {
            Release();
            mutex_ = other.mutex_;
            other.mutex_ = NULL;
        }
        return *this;
    }

    // Waits at most `milliseconds`. Returns false, holding nothing, when the wait fails
    // (no mutex, or a handle that is no mutex) or the time is up.
    bool Acquire(HANDLE mutex, DWORD milliseconds = INFINITE) {
        Release();
        if (mutex == NULL) return false;
        DWORD result = WaitForSingleObject(mutex, milliseconds);
        if (result != WAIT_OBJECT_0 && result != WAIT_ABANDONED) return false;
        mutex_ = mutex;
        return true;
    }

    bool Held() const { return mutex_ != NULL; }

    void Release() {
        if (mutex_ != NULL) ReleaseMutex(mutex_);
        mutex_ = NULL;
    }

private:
    HANDLE mutex_ = NULL;
};

// A GDI object (font, pen, brush, bitmap), deleted with DeleteObject. An object still
// selected into a device context cannot be deleted: declare its SelectedObject guard
// after it, so that the guard puts the previous object back first.
template <typename T>
class GdiObject {
public:
    constexpr GdiObject() = default;
    explicit GdiObject(T object) : object_(object) {}
    ~GdiObject() { Reset(); }

    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;
    GdiObject(GdiObject&& other) noexcept : object_(other.Release()) {}
    GdiObject& operator=(GdiObject&& other) noexcept {
        if (this != &other) Reset(other.Release());
        return *this;
    }

    T Get() const { return object_; }
    explicit operator bool() const { return object_ != NULL; }

    T Release() {
        T object = object_;
        object_ = NULL;
        return object;
    }

    void Reset(T object = NULL) {
        if (object_ != NULL) DeleteObject(object_);
        object_ = object;
    }

private:
    T object_ = NULL;
};

using FontHandle = GdiObject<HFONT>;
using BitmapHandle = GdiObject<HBITMAP>;
using BrushHandle = GdiObject<HBRUSH>;
using PenHandle = GdiObject<HPEN>;

// A device context made for drawing off-screen (CreateCompatibleDC), deleted with DeleteDC.
class MemoryDC {
public:
    constexpr MemoryDC() = default;
    explicit MemoryDC(HDC dc) : dc_(dc) {}
    ~MemoryDC() { Reset(); }

    MemoryDC(const MemoryDC&) = delete;
    MemoryDC& operator=(const MemoryDC&) = delete;
    MemoryDC(MemoryDC&& other) noexcept : dc_(other.dc_) { other.dc_ = NULL; }
    MemoryDC& operator=(MemoryDC&& other) noexcept {
        if (this != &other) {
            Reset(other.dc_);
            other.dc_ = NULL;
        }
        return *this;
    }

    HDC Get() const { return dc_; }
    explicit operator bool() const { return dc_ != NULL; }

    void Reset(HDC dc = NULL) {
        if (dc_ != NULL) DeleteDC(dc_);
        dc_ = dc;
    }

private:
    HDC dc_ = NULL;
};

// A window's device context from GetDC, given back with ReleaseDC, which needs the
// window as well.
class WindowDC {
public:
    explicit WindowDC(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~WindowDC() { Reset(); }

    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    WindowDC(WindowDC&& other) noexcept : window_(other.window_), dc_(other.dc_) { other.dc_ = NULL; }
    WindowDC& operator=(WindowDC&& other) noexcept {
        if (this != &other) {
            Reset();
            window_ = other.window_;
            dc_ = other.dc_;
            other.dc_ = NULL;
        }
        return *this;
    }

    HDC Get() const { return dc_; }
    explicit operator bool() const { return dc_ != NULL; }

    void Reset() {
        if (dc_ != NULL) ReleaseDC(window_, dc_);
        dc_ = NULL;
    }

private:
    HWND window_;
    HDC dc_;
};

// Selects a font, pen, brush or bitmap into a device context and puts the one it
// replaced back when it goes (regions are not selected this way: SelectObject answers
// them with a region type, not an object).
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object)
        : dc_(dc), previous_(dc != NULL && object != NULL ? SelectObject(dc, object) : NULL) {
        if (previous_ == HGDI_ERROR) previous_ = NULL;
    }
    ~SelectedObject() { Restore(); }

    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;
    SelectedObject(SelectedObject&& other) noexcept : dc_(other.dc_), previous_(other.previous_) {
        other.previous_ = NULL;
    }
    SelectedObject& operator=(SelectedObject&& other) noexcept {
        if (this != &other) {
            Restore();
            dc_ = other.dc_;
            previous_ = other.previous_;
            other.previous_ = NULL;
        }
        return *this;
    }

    // Whether the object was selected (and will be taken out again).
    bool Selected() const { return previous_ != NULL; }

    void Restore() {
        if (previous_ != NULL) SelectObject(dc_, previous_);
        previous_ = NULL;
    }

private:
    HDC dc_;
    HGDIOBJ previous_;
};
