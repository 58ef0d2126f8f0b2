#pragma once
#include <windows.h>

#include "engine/resource_texts_win32.h"
#include "ui/main_dialog_jobs_win32.h"
#include "ui/start_host.h"
#include "ui/window_win32.h"

// The platform under the main dialog's start checks: message boxes owned by the dialog,
// the two file queries, the job under its progress dialog and the completion sound.
// The checks and the model call down into it; it calls nothing of theirs.
class MainDialogStartHost final : public StartHost, private MessageSink {
public:
    MainDialogStartHost(const CWindow& dialog, MainDialogJobs& jobs)
        : dialog_(dialog), jobs_(jobs) {}

    MessageSink& Messages() override { return *this; }
    MessageTexts& Texts() override { return texts_; }
    bool FileOpensForReading(const std::string& path) override;
    bool FileIsReadOnly(const std::string& path) override;
    JobOutcome RunJob(const JobRequest& request) override { return jobs_.Run(request); }
    void PlayCompletionSound(bool synchronous) override;

private:
    MessageAnswer Show(const UserMessage& message) override;

    const CWindow& dialog_;
    MainDialogJobs& jobs_;
    ResourceTexts texts_;
};
