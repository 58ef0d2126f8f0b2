#include "online/online_channel_win32.h"

#include <deque>
#include <memory>
#include <utility>

namespace {

volatile LONG g_liveLinks = 0;

class Lock {
public:
    explicit Lock(CRITICAL_SECTION& section) : section_(section) { EnterCriticalSection(&section_); }
    ~Lock() { LeaveCriticalSection(&section_); }
    Lock(const Lock&) = delete;
    Lock& operator=(const Lock&) = delete;

private:
    CRITICAL_SECTION& section_;
};

}  // namespace

// Shared by one dialog and its workers; deletes itself with its last reference. The
// window is cleared under the lock, and posts happen under it, so no post reaches a
// window after Abandon, nor a later window that was given the same handle.
class DialogLink {
public:
    explicit DialogLink(HWND window) : window_(window) {
        InitializeCriticalSection(&lock_);
        InterlockedIncrement(&g_liveLinks);
    }
    DialogLink(const DialogLink&) = delete;
    DialogLink& operator=(const DialogLink&) = delete;

    void Retain() { InterlockedIncrement(&references_); }
    void Release() {
        if (InterlockedDecrement(&references_) == 0) delete this;
    }

    void Abandon() {
        Lock lock(lock_);
        window_ = NULL;
    }

    void Deliver(OnlineResult&& result) {
        Lock lock(lock_);
        if (window_ == NULL) return;
        results_.push_back(std::move(result));
        if (!PostMessageA(window_, WM_ONLINE_RESULT, 0, 0)) results_.pop_back();
    }

    bool Take(OnlineResult& result) {
        Lock lock(lock_);
        if (results_.empty()) return false;
        result = std::move(results_.front());
        results_.pop_front();
        return true;
    }

private:
    ~DialogLink() {
        DeleteCriticalSection(&lock_);
        InterlockedDecrement(&g_liveLinks);
    }

    CRITICAL_SECTION lock_;
    HWND window_;
    volatile LONG references_ = 1;
    std::deque<OnlineResult> results_;
};

namespace {

// What a worker thread is given: its reference to the link and its task.
struct WorkerStart {
    DialogLink* link;
    std::function<OnlineResult()> task;
};

DWORD WINAPI WorkerMain(LPVOID parameter) {
    std::unique_ptr<WorkerStart> start(static_cast<WorkerStart*>(parameter));
    start->link->Deliver(start->task());
    start->link->Release();
    return 0;
}

}  // namespace

OnlineChannel::~OnlineChannel() { Close(); }

void OnlineChannel::Open(HWND dialog) {
    Close();
    link_ = new DialogLink(dialog);
}

void OnlineChannel::Close() {
    if (link_ == nullptr) return;
    link_->Abandon();
    link_->Release();
    link_ = nullptr;
}

bool OnlineChannel::Start(std::function<OnlineResult()> task) {
    if (link_ == nullptr) return false;
    WorkerStart* start = new WorkerStart{link_, std::move(task)};
    link_->Retain();
    DWORD id = 0;
    HANDLE thread = CreateThread(NULL, 0, WorkerMain, start, 0, &id);
    if (thread == NULL) {
        link_->Release();
        delete start;
        return false;
    }
    worker_.Reset(thread);
    return true;
}

bool OnlineChannel::Take(OnlineResult& result) {
    return link_ != nullptr && link_->Take(result);
}

bool OnlineChannel::WaitForWorker(DWORD milliseconds) const {
    return !worker_ || WaitForSingleObject(worker_.Get(), milliseconds) == WAIT_OBJECT_0;
}

long LiveDialogLinks() { return g_liveLinks; }
