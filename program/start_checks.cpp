#include "program/start_checks.h"

#include "engine/image/image_kind.h"

int SaveFilterIndexFor(const std::string& path, int current) {
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
