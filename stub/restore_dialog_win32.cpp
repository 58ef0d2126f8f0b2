#include "stub/restore_dialog_win32.h"

#include <stdlib.h>

#include "app/message_box_sink_win32.h"
#include "app/settings.h"
#include "engine/job_text.h"
#include "engine/run_floppy_job_win32.h"
#include "engine/window_job_host_win32.h"
#include "engine/write_floppy_job.h"
#include "resources/stub_ids.h"
#include "stub/stub_command_line.h"
#include "stub/stub_message_sink_win32.h"
#include "stub/stub_trailer.h"

namespace {

const char kMutexName[] = "Nolt_Instance_Checker_Mutex";
const char kApplicationTitle[] = "Rewinder";

// A cancelled worker finishes the chunk it is writing before it looks at the flag; one
// chunk takes a few seconds on the slowest drive.
const DWORD kWorkerEndMs = 30000;

// The file this process runs from. The first word of the command line would do when the
// shell starts the image, but not when it is started by a name without its folder or
// extension: then the stub could not find its own payload.
void OwnFilePath(char (&path)[kJobPathSize]) {
    const DWORD length = GetModuleFileNameA(NULL, path, sizeof path);
    if (length == 0 || length >= sizeof path) {
        CopyJobText(path, __argc > 0 ? __argv[0] : "");
    }
}

}  // namespace

RestoreDialog::RestoreDialog(uint32_t ntPlatform)
    : CMyDialog(IDD_STUB_RESTORE),
      checker_(kMutexName, kApplicationTitle),
      progressWindow_(NULL),
      ntPlatform_(ntPlatform) {}

RestoreDialog::~RestoreDialog() {
    WaitForWorker();
}

bool RestoreDialog::OnInitDialog() {
    CMyDialog::OnInitDialog();
    CWindow::SetMainWindow(hwnd_);
    checker_.SetMainWindow(hwnd_);
    checker_.PublishMainWindow();

    OwnFilePath(context_.writeSourcePath);
    CopyJobText(driveText_, StubDriveText(__argc, __argv));
    icon_ = LoadIconA(ResourceModule(), MAKEINTRESOURCEA(IDI_STUB));
    Send(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
    context_.compressed = 1;
    context_.notifyWindow = hwnd_;

    if (IsOnFloppyDrive(context_.writeSourcePath)) {
        StubMessageSink(NULL, driveText_).ShowOwn(IDS_STUB_COPY_TO_HARDDRIVE, MessageStyle::Error);
        exitCode_ = -1;
        EndDialog(IDCANCEL);
        return true;
    }
    ShowDescription();
    return true;
}

void RestoreDialog::ShowDescription() {
    int sectorsPerTrack = 0;
    const int result = ReadStubTrailer(context_.writeSourcePath, description_, &sectorsPerTrack);
    context_.imageSectorsPerTrack = sectorsPerTrack;
    if (result == kTrailerRead) {
        SetItemText(IDC_STUB_DESCRIPTION, description_);
        ShowItem(IDC_STUB_DESCRIPTION, true);
    }
}

bool RestoreDialog::OnCommand(int id, int code, HWND control) {
    if (id == IDC_STUB_CREATE_FLOPPY && code == BN_CLICKED) {
        CreateFloppy();
        return true;
    }
    return CMyDialog::OnCommand(id, code, control);
}

void RestoreDialog::CreateFloppy() {
    StubMessageSink messages(hwnd_, driveText_);
    if (messages.ShowOwn(IDS_STUB_ASK_OVERWRITE, MessageStyle::Question) != MessageAnswer::Yes) {
        return;
    }
    context_.progress.Reset();
    context_.cancelRequested.store(0);
    progress_ = &progressWindow_;
    DWORD threadId = 0;
    worker_.Reset(CreateThread(NULL, 0, WorkerMain, this, 0, &threadId));
    int result = 1;  // a worker that never started has nothing to show
    if (worker_) {
        result = progressWindow_.DoModal();
    } else {
        messages.ShowOwn(IDS_STUB_IMAGE_READ_FAILED, MessageStyle::Error);
    }
    progress_ = nullptr;
    if (result != 0 && result != 1) {
        // Cancelled, or the progress window could not run: the worker must stop too.
        context_.cancelRequested.store(1);
    }
    if (result == IDCANCEL) {
        messages.ShowOwn(IDS_STUB_CANCELLED, MessageStyle::Warning);
    } else if (result == 0) {
        messages.ShowOwn(IDS_STUB_SUCCESS, MessageStyle::Information);
    }
    // One attempt per start, whatever its outcome: the user starts the image again.
    EndDialog(IDOK);
}

DWORD WINAPI RestoreDialog::WorkerMain(void* dialog) {
    RestoreDialog& self = *static_cast<RestoreDialog*>(dialog);
    StubMessageSink messages(self.hwnd_, self.driveText_);
    Settings settings;
    CopyJobText(settings.FDLetter, self.driveText_);
    WindowJobHost host(self.context_, messages, settings);
    RunFloppyJob<WriteFloppyJob>(self.context_, host, self.ntPlatform_);
    return 0;
}

// The worker shares this dialog's job context: it must be done with it before the
// dialog goes. A worker that hangs in the driver is ended with the process.
void RestoreDialog::WaitForWorker() {
    if (!worker_) return;
    if (WaitForSingleObject(worker_.Get(), kWorkerEndMs) != WAIT_OBJECT_0) {
        ExitProcess(static_cast<UINT>(exitCode_));
    }
    worker_.Reset();
}

void RestoreDialog::OnWriteProgress(JobNotice notice) {
    if (progress_ == nullptr) return;
    switch (notice) {
    case JobNotice::Finished:
        progress_->EndDialog(0);
        return;
    case JobNotice::Failed:
        progress_->EndDialog(1);
        return;
    case JobNotice::Progress:
        break;
    }
    const JobProgress progress = context_.progress.Load();
    char status[kMessageTextSize];
    char count[kMessageTextSize];
    FormatUserMessage(NULL, UserMessage{IDS_STUB_WRITING_FLOPPY, MessageStyle::Information,
                                        progress.sizeText},
                      status, sizeof status);
    FormatUserMessage(NULL, UserMessage{IDS_STUB_KB_COPIED, MessageStyle::Information,
                                        progress.speedText,
                                        static_cast<long>(progress.kilobytesCopied)},
                      count, sizeof count);
    progress_->ShowProgress(status, count, static_cast<int>(progress.percentDone));
}

void RestoreDialog::PaintMinimised() {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(hwnd_, &paint);
    Send(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc));
    RECT client;
    GetClientRect(hwnd_, &client);
    const int x = (client.right - GetSystemMetrics(SM_CXICON) + 1) / 2;
    const int y = (client.bottom - GetSystemMetrics(SM_CYICON) + 1) / 2;
    DrawIcon(dc, x, y, icon_);
    EndPaint(hwnd_, &paint);
}

INT_PTR RestoreDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_WRITE_PROGRESS:
        OnWriteProgress(static_cast<JobNotice>(wParam));
        return TRUE;
    case WM_PAINT:
        if (IsIconic(hwnd_)) {
            PaintMinimised();
            return TRUE;
        }
        break;
    case WM_QUERYDRAGICON:
        SetMessageResult(reinterpret_cast<LRESULT>(icon_));
        return TRUE;
    }
    return CMyDialog::WindowProc(message, wParam, lParam);
}
