#pragma once
#include <string>

#include "engine/job_outcome.h"
#include "engine/job_request.h"
#include "engine/message_texts.h"
#include "engine/user_message.h"

// What the start checks need from the platform: messages, two file queries, the job
// under its progress dialog and the completion sound.
class StartHost {
public:
    virtual MessageSink& Messages() = 0;
    // The string table, for a message put together from several of its texts.
    virtual MessageTexts& Texts() = 0;
    // The file can be opened for reading as raw bytes (it is not created).
    virtual bool FileOpensForReading(const std::string& path) = 0;
    virtual bool FileIsReadOnly(const std::string& path) = 0;
    // Runs the job under its modal progress dialog and tells how it ended.
    virtual JobOutcome RunJob(const JobRequest& request) = 0;
    virtual void PlayCompletionSound(bool synchronous) = 0;

protected:
    ~StartHost() = default;
};
