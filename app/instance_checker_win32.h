#pragma once
#include <windows.h>

#include "platform/handles_win32.h"

// Keeps one published instance of a program: a named mutex orders the starts, and a named
// 4-byte shared block holds the running instance's main window handle. A later start
// finds the block, brings that window (or the dialog it shows) to the front, hands it a
// text with WM_COPYDATA and ends.
//
// Calling order: construct; BeginStartupLock; IsOtherInstanceRunning. If true,
// HandOverToRunningInstance and destroy. If false, create the main window and
// PublishMainWindow, which also ends the start-up lock.
//
// No failure here is shown to the user: an instance that cannot publish runs all the
// same, and keeps the start-up lock until the checker goes. Allocates nothing and uses no
// library strings, so the restorer stub shares it.
class CInstanceChecker {
public:
    // Creates the named mutex, not owned. The shared block is named after the
    // application title ("CInstanceChecker_MMF_" followed by it).
    CInstanceChecker(const char* mutexName, const char* applicationTitle);
    virtual ~CInstanceChecker();

    CInstanceChecker(const CInstanceChecker&) = delete;
    CInstanceChecker& operator=(const CInstanceChecker&) = delete;

    // The shared block's name; "" when the title is too long for one.
    virtual const char* SharedBlockName() const;
    // The window that PublishMainWindow stores: the one given to SetMainWindow, or none.
    virtual HWND WindowToPublish() const;

    void SetMainWindow(HWND window) { mainWindow_ = window; }

    // Waits until no other start holds the start-up mutex, or its holder has ended, but
    // at most `milliseconds`: a start takes well under a second, so a holder that keeps
    // it longer is hung or is no start of ours (the name is not private), and this start
    // goes on without the lock. Holding it already, it does nothing.
    static constexpr DWORD kStartupLockWait = 5000;
    void BeginStartupLock(DWORD milliseconds = kStartupLockWait);
    void EndStartupLock();
    bool HoldsStartupLock() const { return startupLock_.Held(); }

    bool IsOtherInstanceRunning() const;

    // Creates the shared block, stores WindowToPublish in it and ends the start-up lock.
    // Returns false, having created nothing, when another instance has published or the
    // block cannot be made; the start-up lock is then still held.
    bool PublishMainWindow();

    // Brings the published window's front-most popup to the foreground (restoring the
    // window if it is minimised) and, unless `text` is empty, sends it the text and waits
    // until the receiver has handled it. Returns the published window handle, or NULL
    // when no instance is published any more.
    HWND HandOverToRunningInstance(const char* text);

private:
    UniqueHandle mutex_;
    MutexLock startupLock_;
    HWND mainWindow_ = NULL;
    char blockName_[MAX_PATH] = "";
};
