#include "program/start_checks.h"

#include "engine/image/image_kind.h"

int SaveFilterIndexFor(const std::string& path, int current) {
    // Other programs' raw names come after the first three, whose numbers stay.
    int index = 4;
    for (const char* extension : kBareRawExtensions) {
        if (HasExtension(path.c_str(), extension)) return index;
        ++index;
    }
    switch (ImageKindOf(path.c_str())) {
    case ImageKind::Compressed:
        return 1;
    case ImageKind::Raw:
        return 2;
    case ImageKind::SelfExtracting:
        return 3;
    default:
        return current;
    }
}
