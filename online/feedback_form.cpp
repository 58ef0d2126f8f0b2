#include "online/feedback_form.h"

#include "app/detect_platform.h"
#include "app/version.h"
#include "online/form_encoding.h"

FeedbackForm EncodeFeedbackForm(const UrlCanonicalizer& canonicalizer, const FeedbackForm& typed) {
    FeedbackForm encoded;
    encoded.about = EncodeFormValue(canonicalizer, typed.about);
    encoded.problem = EncodeFormValue(canonicalizer, typed.problem);
    encoded.used = EncodeFormValue(canonicalizer, typed.used);
    encoded.email = EncodeFormValue(canonicalizer, typed.email);
    encoded.comment = EncodeFormComment(canonicalizer, typed.comment);
    return encoded;
}

std::string FeedbackBody(const std::string& appTitle, const OsDescription& os,
                         const FeedbackForm& encoded) {
    const bool windows9x = os.platformId == kPlatformWindows9x;
    // The high word of a 9x build number repeats the major and minor version.
    const uint32_t build = windows9x ? (os.buildNumber & 0xFFFF) : os.buildNumber;
    std::string body = "app_name=" + appTitle;
    body += "&app_version=";
    body += kProgramVersion;
    body += "&ostype=";
    body += windows9x ? "Windows 9x" : "Windows NT";
    body += "&version=" + std::to_string(os.majorVersion) + "." + std::to_string(os.minorVersion);
    body += "&build=" + std::to_string(build);
    body += "&additional=" + os.servicePack;
    body += "&about=" + encoded.about;
    body += "&problem=" + encoded.problem;
    body += "&used=" + encoded.used;
    body += "&email=" + encoded.email;
    body += "&comment=" + encoded.comment;
    return body;
}
