#pragma once
#include <stdint.h>

#include <string>

#include "online/url_canonicalizer.h"

// The five values of the feedback form, in the order they are sent: the texts of the
// three selected list items, the e-mail address and the comment. The dialog fills them
// as typed; EncodeFeedbackForm gives the same record with every value form-encoded.
struct FeedbackForm {
    std::string about;
    std::string problem;
    std::string used;
    std::string email;
    std::string comment;
};

// The operating system as its version record describes it.
struct OsDescription {
    uint32_t platformId = 0;
    uint32_t majorVersion = 0;
    uint32_t minorVersion = 0;
    uint32_t buildNumber = 0;
    std::string servicePack;  // the record's service-pack text
};

FeedbackForm EncodeFeedbackForm(const UrlCanonicalizer& canonicalizer, const FeedbackForm& typed);

// The request body: app_name (the application title), app_version, ostype, version,
// build, additional, then the five encoded values, every field present even when empty.
// The program's and the system's own values go as they are.
std::string FeedbackBody(const std::string& appTitle, const OsDescription& os,
                         const FeedbackForm& encoded);
