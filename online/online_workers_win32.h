#pragma once
#include "online/feedback_form.h"
#include "online/online_channel_win32.h"

// The three online dialogs' transfers, each on a worker thread of the dialog's channel.
// False when no worker could be started.

// The update check and the message fetch: the result's `fetch` member.
bool StartFetch(OnlineChannel& channel, const char* path);

// The feedback form, already encoded: the worker describes the system, builds the body
// and posts it; the result's `post` member.
bool StartFeedbackPost(OnlineChannel& channel, const FeedbackForm& encoded);

// The running system as its version record describes it (GetVersionExA).
OsDescription ReadOsDescription();
