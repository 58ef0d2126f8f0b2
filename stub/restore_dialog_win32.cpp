#include "stub/restore_dialog_win32.h"

#include <stdlib.h>

#include "engine/job/job_text.h"
#include "engine/job/progress_status.h"
#include "engine/job/write_floppy_job.h"
#include "platform/message_box_sink_win32.h"
#include "resources/string_ids.h"
#include "resources/stub_ids.h"
#include "stub/stub_command_line.h"
#include "stub/stub_messages.h"
#include "stub/stub_trailer.h"

namespace {

const char kMutexName[] = "Nolt_Instance_Checker_Mutex";
const char kApplicationTitle[] = "Rewinder";

// The file this process runs from. The first word of the command line would do when the
// shell starts the image, but not when it is started by a name without its folder or
// extension: then the stub could not find its own payload.
void OwnFilePath(char (&path)[kJobPathSize]) {
    const DWORD length = GetModuleFileNameA(NULL, path, sizeof path);
    if (length == 0 || length >= sizeof path) {
        CopyJobText(path, __argc > 0 ? __argv[0] : "");
    }
}

// The program's two lines, each under the stub's own number for its text.
void ComposeStatusLines(JobKind kind, const JobProgress& progress, char* status, char* count) {
    ProgressStatus lines = ComposeProgressStatus(kind, progress);
    lines.status.id = StubMessageId(lines.status, "");
    lines.count.id = StubMessageId(lines.count, "");
    FormatUserMessage(NULL, lines.status, status, kMessageTextSize);
    FormatUserMessage(NULL, lines.count, count, kMessageTextSize);
}

// One attempt per start, which nothing else waits for: a Cancel is the user's answer.
JobProgressStyle StubStyle() {
    JobProgressStyle style;
    style.composeStatusLines = &ComposeStatusLines;
    return style;
}

}  // namespace

RestoreDialog::RestoreDialog(uint32_t ntPlatform)
    : CMyDialog(IDD_STUB_RESTORE),
      checker_(kMutexName, kApplicationTitle),
      devices_(ntPlatform, kStubTrailerPolicy, nullptr),
      workerMessages_(NULL, driveText_),
      // The stub carries the write job alone.
      job_(*this, &RunFloppyJob<WriteFloppyJob>, devices_, workerMessages_, StubStyle()),
      progressWindow_(NULL) {}

// The worker writes through this dialog's devices and message boxes: it must be done
// with them before the dialog goes, and the process must not end under a write. A worker
// that hangs in the driver keeps the process until the driver gives up.
RestoreDialog::~RestoreDialog() {
    job_.WaitForWorker();
}

bool RestoreDialog::OnInitDialog() {
    CMyDialog::OnInitDialog();
    CWindow::SetMainWindow(hwnd_);
    checker_.SetMainWindow(hwnd_);
    checker_.PublishMainWindow();

    request_.kind = JobKind::Write;
    OwnFilePath(request_.imagePath);
    CopyJobText(driveText_, StubDriveText(__argc, __argv));
    CopyJobText(request_.drive, driveText_);
    workerMessages_ = StubMessageSink(hwnd_, driveText_);
    icon_ = LoadIconA(ResourceModule(), MAKEINTRESOURCEA(IDI_STUB));
    Send(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
    // A restored disk that reads back wrong is found before the user relies on it.
    request_.verify = true;

    if (IsOnFloppyDrive(request_.imagePath)) {
        StubMessageSink(NULL, driveText_).ShowOwn(IDS_STUB_COPY_TO_HARDDRIVE, MessageStyle::Error);
        exitCode_ = -1;
        EndDialog(IDCANCEL);
        return true;
    }
    ShowDescription();
    newerImage_ = StubTrailerIsNewer(request_.imagePath);
    return true;
}

void RestoreDialog::ShowDescription() {
    int sectorsPerTrack = 0;
    const int result = ReadStubTrailer(request_.imagePath, description_, &sectorsPerTrack);
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
    // Written all the same: the stub reads every version's tags, and the checksum still
    // guards the data.
    if (newerImage_) {
        newerImage_ = false;
        messages.Show(UserMessage{IDS_NEWER_IMAGE_VERSION, MessageStyle::Warning});
    }
    if (messages.ShowOwn(IDS_STUB_ASK_OVERWRITE, MessageStyle::Question) != MessageAnswer::Yes) {
        return;
    }
    const JobOutcome outcome = job_.Run(request_, progressWindow_);
    if (!job_.LastRunStarted()) {
        messages.ShowOwn(IDS_STUB_IMAGE_READ_FAILED, MessageStyle::Error);
    } else if (outcome.end == JobEnd::Cancelled) {
        exitCode_ = 2;
        messages.ShowOwn(IDS_STUB_CANCELLED, MessageStyle::Warning);
    } else if (outcome.end == JobEnd::Finished) {
        exitCode_ = 0;
        messages.ShowOwn(IDS_STUB_SUCCESS, MessageStyle::Information);
    }
    // The cancelled worker finishes the chunk it is writing, with this window as its boxes'
    // owner, before the program may end.
    job_.WaitForWorker();
    // One attempt per start, whatever its outcome: the user starts the image again.
    EndDialog(IDOK);
}

// A log-off or shut-down during the write: it stops as a cancel stops it, and the process
// ends with the cancel's status before the session takes it. Without a write the session
// simply ends.
void RestoreDialog::OnEndSession() {
    if (job_.EndSession()) ExitProcess(2);
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
        job_.OnNotice(JobKind::Write, wParam);
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
    case WM_ENDSESSION:
        if (wParam != 0) OnEndSession();
        break;
    }
    return CMyDialog::WindowProc(message, wParam, lParam);
}
