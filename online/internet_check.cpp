#include "online/internet_check.h"

#include "resources/string_ids.h"

int InternetCheck(InternetPresence& internet, MessageSink& sink) {
    if (!internet.Bind()) {
        sink.Show({IDS_NEEDS_NEWER_INTERNET_EXPLORER, MessageStyle::Information});
        return -1;
    }
    if (!internet.Connected()) {
        sink.Show({IDS_NOT_CONNECTED, MessageStyle::Information});
        return -1;
    }
    return 0;
}
