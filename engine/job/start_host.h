#pragma once
#include <string>

#include "engine/job/job_outcome.h"
#include "engine/job/job_request.h"
#include "platform/message_texts.h"
#include "platform/user_message.h"

// The file queries of the checks before a job, as the platform answers them.
class StartFiles {
public:
    // The file can be opened for reading as raw bytes (it is not created).
    virtual bool FileOpensForReading(const std::string& path) = 0;
    // A target is there to be replaced: asked before a read puts its image in its place.
    virtual bool FileExists(const std::string& path) = 0;
    virtual bool FileIsReadOnly(const std::string& path) = 0;
    // The two names lead to one file, as far as this platform can tell.
    virtual bool SameFile(const std::string& one, const std::string& other) = 0;

protected:
    ~StartFiles() = default;
};

// What the start checks need from the platform: messages, the file queries, the job
// under its progress display and the completion sound.
class StartHost : public StartFiles {
public:
    virtual MessageSink& Messages() = 0;
    // The string table, for a message put together from several of its texts.
    virtual MessageTexts& Texts() = 0;
    // Runs the job under its progress display and tells how it ended.
    virtual JobOutcome RunJob(const JobRequest& request) = 0;
    virtual void PlayCompletionSound(bool synchronous) = 0;

protected:
    ~StartHost() = default;
};
