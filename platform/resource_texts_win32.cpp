#include "platform/resource_texts_win32.h"

const char* ResourceTexts::Text(unsigned id) {
    const HINSTANCE module = module_ != NULL ? module_ : GetModuleHandleA(NULL);
    if (LoadStringA(module, id, text_, sizeof text_) <= 0) {
        text_[0] = '\0';
    }
    return text_;
}
