#pragma once
#include <string>

#include "engine/user_message.h"
#include "ui/job_fields.h"

// What the start checks need from the platform: messages, two file queries, the job
// under its progress dialog and the completion sound.
class StartHost {
public:
    virtual MessageSink& Messages() = 0;
    // The file can be opened for reading as raw bytes (it is not created).
    virtual bool FileOpensForReading(const std::string& path) = 0;
    virtual bool FileIsReadOnly(const std::string& path) = 0;
    // Runs the job under its modal progress dialog; kJobFinished, kJobFailed or
    // kJobCancelled.
    virtual int RunJob(JobKind kind) = 0;
    virtual void PlayCompletionSound(bool synchronous) = 0;

protected:
    ~StartHost() = default;
};
