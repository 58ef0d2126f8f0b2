#pragma once
#include <string>
#include <vector>

// How a GET of a text file ended.
enum class FetchStatus {
    Received,  // the body was read to its end (whatever the HTTP status)
    NotSent,   // the request never reached a server
    Broken,    // the body could not be read to its end, or was far too large
};

struct FetchResult {
    FetchStatus status = FetchStatus::NotSent;
    std::vector<std::string> lines;  // the body's lines when Received
    unsigned httpStatus = 0;         // the server's status code when Received; 0: none told
};

// How the feedback POST ended.
enum class PostResult {
    Sent,
    NotSent,     // the request could not be sent
    NotWritten,  // the request went out but the form did not get through
};

// What an online worker hands to its dialog: the outcome of the one transfer that the
// dialog started, in the member that fits it.
struct OnlineResult {
    FetchResult fetch;
    PostResult post = PostResult::NotSent;
};
