#pragma once
#include <windows.h>

#include "engine/job/image_conversion.h"
#include "engine/job/start_host.h"
#include "platform/resource_texts_win32.h"
#include "program/main_dialog_jobs_win32.h"
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
    // A target that does not open is taken as absent: the read's replace reports it.
    bool FileExists(const std::string& path) override { return FileOpensForReading(path); }
    bool FileIsReadOnly(const std::string& path) override;
    // By spelling only: the file system is not asked.
    bool SameFile(const std::string& one, const std::string& other) override {
        return SamePathSpelling(one.c_str(), other.c_str());
    }
    JobOutcome RunJob(const JobRequest& request) override { return jobs_.Run(request); }
    void PlayCompletionSound(bool synchronous) override;

private:
    MessageAnswer Show(const UserMessage& message) override;

    const CWindow& dialog_;
    MainDialogJobs& jobs_;
    ResourceTexts texts_;
};
