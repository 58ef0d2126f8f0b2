#include "engine/job/job_outcome_recorder.h"

MessageAnswer JobOutcomeRecorder::Show(const UserMessage& message) {
    lastMessageId_ = message.id;
    return messages_.Show(message);
}

JobOutcome JobOutcomeRecorder::Outcome() const {
    switch (end_) {
    case JobNotice::Finished:
        return JobOutcome{JobEnd::Finished, 0};
    case JobNotice::Failed:
        return JobOutcome{JobEnd::Failed, lastMessageId_};
    case JobNotice::Progress:
        break;
    }
    return JobOutcome{JobEnd::Cancelled, 0};
}
