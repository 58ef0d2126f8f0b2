#pragma once
#include "engine/image/image_input.h"
#include "engine/job/job_host.h"

// A job's cancel as an image load asks for it: the host's own answer, so that a Cancel
// pressed while a long image decodes stops the job before the drive is opened.
class JobHostCancel final : public LoadCancel {
public:
    explicit JobHostCancel(JobHost& host) : host_(host) {}
    bool Requested() override { return host_.CancelRequested(); }

private:
    JobHost& host_;
};
