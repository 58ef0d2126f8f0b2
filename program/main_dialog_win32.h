#pragma once
#include <windows.h>

#include <optional>
#include <string>

#include "app/command_line.h"
#include "app/instance_checker_win32.h"
#include "engine/job/floppy_device_factory.h"
#include "platform/handles_win32.h"
#include "platform/shell_environment.h"
#include "program/main_dialog_jobs_win32.h"
#include "program/main_dialog_model.h"
#include "program/main_dialog_start_host_win32.h"
#include "ui/my_dialog_win32.h"

// The program's main window: the Read Floppy and Write Floppy panels, the menu, dropped
// files and images handed over by a second start. The panel rules and the start checks
// live in MainDialogModel, over the platform that MainDialogStartHost gives them; this
// class shows their results and hands the jobs' notices to MainDialogJobs.
class MainDialog : public CMyDialog {
public:
    // The jobs run over `devices`; the dialog publishes itself through `checker`, which
    // the application owns, and opens with what `request`, the command line, asks.
    MainDialog(FloppyDeviceFactory& devices, CInstanceChecker& checker, ShellEnvironment& shell,
               const CommandLineRequest& request);
    ~MainDialog() override;

    const char* ClassName() const override { return "MainDialog"; }

    // Set when the command line ended the dialog as it opened, never shown: the process's
    // exit status (app/exit_status.h), once the job's worker has ended.
    std::optional<int> StartStatus() const { return startStatus_; }

    bool PreTranslateMessage(MSG& message) override;

protected:
    INT_PTR WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool OnInitDialog() override;
    bool OnCommand(int id, int code, HWND control) override;
    void OnOK() override;  // Return on no button does nothing here

private:
    // Start-up: the single image argument or one unattended job.
    bool HandleCommandLine();
    void EndStart(int status);

    void RestoreWindowPosition();
    void SaveWindowPosition();

    void ReflectPanels();
    void BrowseWrite();
    void BrowseRead();
    void Start(JobKind kind);
    void CheckImage();
    void ConvertImage();
    void ShowContents();
    void NewImageFromFolder();
    // "/l" and "/x": the contents jobs that need the program's windows or files.
    int RunContentsCommand();
    void OnDropFiles(HDROP drop);
    bool OnCopyData(const COPYDATASTRUCT* block);
    void OnPaint();
    void OnSettings();

    CInstanceChecker& instanceChecker_;
    ShellEnvironment& shell_;
    const CommandLineRequest request_;
    std::optional<int> startStatus_;
    MainDialogJobs jobs_;
    MainDialogStartHost startHost_;
    MainDialogModel model_;
    HICON icon_ = NULL;
    BitmapHandle readBitmap_;
    BitmapHandle writeBitmap_;
};
