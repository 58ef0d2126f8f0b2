#pragma once
#include <windows.h>

#include <functional>

#include "online/online_result.h"
#include "platform/handles_win32.h"

// The message that tells an online dialog its worker's result is waiting.
constexpr UINT WM_ONLINE_RESULT = WM_APP + 0x10;

class DialogLink;

// How an online dialog and its transfer workers meet. The user may close the dialog at
// any time, also while a worker blocks on the network, and open another of the same kind
// before the old worker ends; so the worker never touches the dialog. It hands its result
// to a link shared by this one dialog and its workers and kept alive by all of them
// (reference counted); the link keeps the result and posts WM_ONLINE_RESULT, under its
// lock, only while the dialog is open. The dialog takes the result on its own thread.
// A result whose dialog has closed is freed with the link's last reference.
//
// Use: Open in the dialog's initialisation, Start for each transfer, Take on
// WM_ONLINE_RESULT, Close in WM_DESTROY.
class OnlineChannel {
public:
    OnlineChannel() = default;
    ~OnlineChannel();
    OnlineChannel(const OnlineChannel&) = delete;
    OnlineChannel& operator=(const OnlineChannel&) = delete;

    // Binds the channel to the dialog's window.
    void Open(HWND dialog);
    // From here on no worker reaches the window; the destructor does it too.
    void Close();
    bool IsOpen() const { return link_ != nullptr; }

    // Runs `task` on a worker thread of its own (normal priority, default stack); its
    // result arrives as WM_ONLINE_RESULT. False, with nothing started, when the channel is
    // not open or no thread could be made.
    bool Start(std::function<OnlineResult()> task);

    // The oldest result not yet taken; false when there is none (or the channel is closed).
    bool Take(OnlineResult& result);

    // Waits for the worker started last to end: for tests, and for nothing else (the
    // dialog never waits for the network). True when it has ended.
    bool WaitForWorker(DWORD milliseconds) const;

private:
    DialogLink* link_ = nullptr;
    UniqueHandle worker_;
};

// Links still alive in the process, each one an open dialog or a worker still running.
long LiveDialogLinks();
