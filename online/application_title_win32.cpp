#include "online/application_title_win32.h"

#include <windows.h>

#include "resources/string_ids.h"

std::string ApplicationTitle() {
    char title[256];
    if (LoadStringA(GetModuleHandleA(NULL), IDS_APP_TITLE, title, sizeof title) <= 0) return "Vorlix";
    return title;
}
