#pragma once
#include <windows.h>

// Owners for the handle kinds of the Win32 layer. Each is uncopyable (two owners would
// close one handle twice) and movable, and keeps everything its destructor needs.
// They allocate nothing and throw nothing, so the restorer stub can use them too.

// A file, device or kernel-object handle, closed with CloseHandle. The API reports
// failure with NULL or with INVALID_HANDLE_VALUE depending on the call; both mean none.
class UniqueHandle {
public:
    constexpr UniqueHandle() = default;
    explicit UniqueHandle(HANDLE handle) : handle_(handle) {}
    ~UniqueHandle() { Reset(); }

    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.Release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) Reset(other.Release());
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
        if (Valid()) CloseHandle(handle_);
        handle_ = handle;
    }

private:
    HANDLE handle_ = NULL;
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

    // Waits without a time limit. Returns false, holding nothing, when the wait fails
    // (no mutex, or a handle that is no mutex).
    bool Acquire(HANDLE mutex) {
        Release();
        if (mutex == NULL) return false;
        DWORD result = WaitForSingleObject(mutex, INFINITE);
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
