#pragma once
#include "online/control_text.h"
#include "online/feedback_form.h"
#include "online/online_result.h"

// The feedback dialog's steps. Its status line (control 1003) starts with the template's
// "Click on submit after you have filled out the form".

// Submit: the dialog has read the five texts and disabled Submit and the five inputs.
struct FeedbackSubmission {
    bool close = false;     // an empty comment: end the dialog with 0, send nothing
    ControlText status;     // otherwise the status line's new text
    FeedbackForm encoded;   // and the form to send, encoded
};

FeedbackSubmission SubmitFeedback(const UrlCanonicalizer& canonicalizer, const FeedbackForm& typed);

// The worker's answer. Sent closes the dialog without a message; a failure names itself
// in the status line and gives the form back, still holding the user's own texts, so
// Submit can simply be pressed again.
struct FeedbackView {
    bool close = false;
    ControlText status;
    bool formEnabled = false;  // Submit and the five inputs
};

FeedbackView FeedbackOutcomeView(PostResult result);
