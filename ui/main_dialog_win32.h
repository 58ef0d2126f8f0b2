#pragma once
#include <windows.h>

#include <string>

#include "app/handles_win32.h"
#include "app/instance_checker_win32.h"
#include "engine/job_context.h"
#include "ui/main_dialog_model.h"
#include "ui/my_dialog_win32.h"
#include "ui/start_host.h"

class ProgressDialog;

// The program's main window: the Read Floppy and Write Floppy panels, the menu, dropped
// files and images handed over by a second start. The panel rules and the start checks
// live in MainDialogModel; this class shows their results and runs the jobs.
class MainDialog : public CMyDialog, private StartHost, private MessageSink {
public:
    MainDialog();
    ~MainDialog() override;

    const char* ClassName() const override { return "MainDialog"; }

    CInstanceChecker& InstanceChecker() { return instanceChecker_; }

    // Waits until the worker of a cancelled job has ended (it may still be deleting a
    // partial image), so that the process never ends under it.
    void WaitForWorker();

    bool PreTranslateMessage(MSG& message) override;

protected:
    INT_PTR WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool OnInitDialog() override;
    bool OnCommand(int id, int code, HWND control) override;
    void OnOK() override;  // Return on no button does nothing here

private:
    // Start-up: the single image argument or one unattended job.
    bool HandleCommandLine();
    [[noreturn]] void ExitProgram(int status);

    void RestoreWindowPosition();
    void SaveWindowPosition();

    void ReflectPanels();
    void BrowseWrite();
    void BrowseRead();
    void Start(JobKind kind);
    void OnDropFiles(HDROP drop);
    bool OnCopyData(const COPYDATASTRUCT* block);
    void OnPaint();
    void OnSettings();
    void OnJobNotice(JobKind kind, WPARAM notice);

    // StartHost
    MessageSink& Messages() override { return *this; }
    bool FileOpensForReading(const std::string& path) override;
    bool FileIsReadOnly(const std::string& path) override;
    int RunJob(JobKind kind) override;
    void PlayCompletionSound(bool synchronous) override;
    // MessageSink: boxes owned by this dialog.
    MessageAnswer Show(const UserMessage& message) override;

    CInstanceChecker instanceChecker_;
    MainDialogModel model_;
    JobContext job_;
    UniqueHandle worker_;
    HICON icon_ = NULL;
    BitmapHandle readBitmap_;
    BitmapHandle writeBitmap_;
};
