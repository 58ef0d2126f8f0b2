#pragma once
#include <windows.h>
#include <stdint.h>

#include "app/instance_checker_win32.h"
#include "engine/job/platform_floppy_devices_win32.h"
#include "stub/stub_message_sink_win32.h"
#include "stub/stub_progress_dialog_win32.h"
#include "ui/job_progress_window_win32.h"
#include "ui/my_dialog_win32.h"

// The restorer stub's window (template 102): the instructions, the image's description
// when it has one, and "Create Floppy", which asks once, writes the image in this file
// onto the disk under a progress dialog, reports the outcome and ends the program.
class RestoreDialog : public CMyDialog {
public:
    // `ntPlatform` nonzero selects the NT device method, else the VWIN32 one.
    explicit RestoreDialog(uint32_t ntPlatform);
    ~RestoreDialog() override;

    const char* ClassName() const override { return "RestoreDialog"; }

    CInstanceChecker& InstanceChecker() { return checker_; }
    // The process's exit status once the dialog has closed: 0 the disk was written, 1 the
    // write failed or was never started (No, or the dialog closed), 2 it was cancelled,
    // -1 the image was started from a floppy drive.
    int ExitCode() const { return exitCode_; }

protected:
    INT_PTR WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool OnInitDialog() override;
    bool OnCommand(int id, int code, HWND control) override;

private:
    void ShowDescription();
    void CreateFloppy();
    void PaintMinimised();
    void OnEndSession();

    CInstanceChecker checker_;
    // The image in this file, to be written onto the floppy.
    JobRequest request_;
    PlatformFloppyDevices devices_;
    // The worker's message boxes, owned by this dialog once it has a window.
    StubMessageSink workerMessages_;
    JobProgressWindow job_;
    StubProgressDialog progressWindow_;
    char description_[kDescriptionBufferSize] = {};
    char driveText_[3] = {'A', ':', '\0'};
    HICON icon_ = NULL;
    int exitCode_ = 1;
    // The image's trailer names a newer format: told once, before the first write.
    bool newerImage_ = false;
};
