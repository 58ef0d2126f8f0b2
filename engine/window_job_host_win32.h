#pragma once
#include <windows.h>

#include "app/settings.h"
#include "engine/job_host.h"

// The host of a job on a worker thread of a windowed program: messages go to the given
// sink (message boxes), notices are posted to the context's notify window after the
// progress has been stored in the context under its lock, the settings are read from the
// given record, time is the system clock and files go with DeleteFileA.
class WindowJobHost final : public JobHost {
public:
    WindowJobHost(JobContext& context, MessageSink& messages, const Settings& settings);
    WindowJobHost(const WindowJobHost&) = delete;
    WindowJobHost& operator=(const WindowJobHost&) = delete;

    MessageSink& Messages() override { return messages_; }
    void Post(JobKind kind, JobNotice notice, const JobProgress& progress) override;
    bool CancelRequested() override { return context_.cancelRequested.load() != 0; }
    int64_t NowSeconds() override;
    const char* DriveText() override { return settings_.FDLetter; }
    bool Emergency() override { return settings_.Emergency != 0; }
    bool Compatible() override { return settings_.Compatible != 0; }
    const char* ProgramPath() override { return programPath_; }
    void RemoveFile(const char* path) override { DeleteFileA(path); }

private:
    JobContext& context_;
    MessageSink& messages_;
    const Settings& settings_;
    char programPath_[MAX_PATH];
    DWORD unitDelayMs_ = 0;  // VORLIX_TEST_UNIT_DELAY_MS: a pause per unit, for the GUI tests
};
