#pragma once
#include <windows.h>

// Owns one device handle and closes it, through the function that goes with how it was
// opened (the 9x service method's calls can be replaced, its handles with them).
class ScopedDeviceHandle {
public:
    using CloseFunction = BOOL(WINAPI*)(HANDLE);

    explicit ScopedDeviceHandle(HANDLE handle, CloseFunction close = &CloseHandle)
        : handle_(handle), close_(close) {}
    ~ScopedDeviceHandle() { Reset(); }
    ScopedDeviceHandle(const ScopedDeviceHandle&) = delete;
    ScopedDeviceHandle& operator=(const ScopedDeviceHandle&) = delete;
    ScopedDeviceHandle(ScopedDeviceHandle&& other) noexcept
        : handle_(other.handle_), close_(other.close_) {
        other.handle_ = INVALID_HANDLE_VALUE;
    }
    ScopedDeviceHandle& operator=(ScopedDeviceHandle&& other) noexcept {
        if (this != &other) {
            Reset();
            handle_ = other.handle_;
            close_ = other.close_;
            other.handle_ = INVALID_HANDLE_VALUE;
        }
        return *this;
    }

    HANDLE get() const { return handle_; }
    bool valid() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }

    void Reset() {
        if (valid()) {
            close_(handle_);
        }
        handle_ = INVALID_HANDLE_VALUE;
    }

private:
    HANDLE handle_;
    CloseFunction close_;
};
