#pragma once
#include <windows.h>

#include "platform/message_texts.h"

// The string table of `module` (the running program when NULL), through LoadString.
class ResourceTexts final : public MessageTexts {
public:
    explicit ResourceTexts(HINSTANCE module = NULL) : module_(module) {}

    const char* Text(unsigned id) override;

private:
    HINSTANCE module_;
    char text_[512];
};
