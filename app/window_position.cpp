#include "app/window_position.h"

#include "app/registry_names.h"
#include "platform/registry_key.h"

std::optional<WindowCorner> ReadWindowPosition(RegistryKey& key) {
    uint32_t horizontal = 0;
    uint32_t vertical = 0;
    key.Create(RegistryRoot::CurrentUser, kInitKeyPath);
    key.QueryDword(kHorizPosValue, horizontal, 0);
    key.QueryDword(kVertPosValue, vertical, 0);
    key.Close();
    if (horizontal == 0 || vertical == 0) {
        return std::nullopt;
    }
    WindowCorner corner;
    corner.left = static_cast<int32_t>(horizontal);
    corner.top = static_cast<int32_t>(vertical);
    return corner;
}

void WriteWindowPosition(RegistryKey& key, const WindowCorner& corner) {
    key.Create(RegistryRoot::CurrentUser, kInitKeyPath);
    key.SetDword(kVertPosValue, static_cast<uint32_t>(corner.top));
    key.SetDword(kHorizPosValue, static_cast<uint32_t>(corner.left));
    key.Close();
}
