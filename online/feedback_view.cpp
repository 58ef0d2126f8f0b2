#include "online/feedback_view.h"

#include "resources/string_ids.h"

FeedbackSubmission SubmitFeedback(const UrlCanonicalizer& canonicalizer, const FeedbackForm& typed) {
    FeedbackSubmission submission;
    if (typed.comment.empty()) {
        submission.close = true;
        return submission;
    }
    submission.status.id = IDS_STATUS_CONNECTING;
    submission.encoded = EncodeFeedbackForm(canonicalizer, typed);
    return submission;
}

FeedbackView FeedbackOutcomeView(PostResult result) {
    FeedbackView view;
    switch (result) {
    case PostResult::Sent:
        view.close = true;
        break;
    case PostResult::NotSent:
        view.status.id = IDS_STATUS_SERVER_NOT_RESOLVED;
        view.formEnabled = true;
        break;
    case PostResult::NotWritten:
        view.status.id = IDS_STATUS_TRANSFER_FAILED;
        view.formEnabled = true;
        break;
    }
    return view;
}
