#pragma once
#include <windows.h>
#include <stdint.h>

#include "app/handles_win32.h"
#include "app/instance_checker_win32.h"
#include "engine/job_context.h"
#include "stub/stub_progress_dialog_win32.h"
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
    // The process's exit status once the dialog has closed: -1 when the image was
    // started from a floppy drive, else 0.
    int ExitCode() const { return exitCode_; }

protected:
    INT_PTR WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool OnInitDialog() override;
    bool OnCommand(int id, int code, HWND control) override;

private:
    void ShowDescription();
    void CreateFloppy();
    void OnWriteProgress(JobNotice notice);
    void PaintMinimised();
    void WaitForWorker();
    static DWORD WINAPI WorkerMain(void* dialog);

    CInstanceChecker checker_;
    JobContext context_;
    StubProgressDialog progressWindow_;
    // The progress dialog while an attempt runs; null before and after, so that notices
    // of a cancelled worker that come late touch nothing.
    StubProgressDialog* progress_ = nullptr;
    char description_[kDescriptionBufferSize] = {};
    char driveText_[3] = {'A', ':', '\0'};
    HICON icon_ = NULL;
    uint32_t ntPlatform_;
    UniqueHandle worker_;
    int exitCode_ = 0;
};
