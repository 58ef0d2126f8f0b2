#pragma once
#include <windows.h>

#include "resources/string_ids.h"

// The application title from a module's string table, "Vorlix" when the entry is
// missing: the caption of every message box, the instance checker's block name, the
// About box, the online features' user agent and form field. The restorer stub's table
// carries its own title under the same ID. Allocation-free, so the stub can use it.
class ApplicationTitle {
public:
    // `module` NULL: the program's own file.
    explicit ApplicationTitle(HINSTANCE module = NULL) {
        if (LoadStringA(module != NULL ? module : GetModuleHandleA(NULL), IDS_APP_TITLE, text_,
                        sizeof text_) <= 0) {
            lstrcpyA(text_, "Vorlix");
        }
    }

    const char* Text() const { return text_; }

private:
    char text_[256];
};
