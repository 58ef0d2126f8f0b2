#include "engine/fat/ansi_names_win32.h"

#include <windows.h>

#include <vector>

#include "engine/fat/fat_names.h"

std::string AnsiOfUtf8(const std::string& utf8) {
    std::vector<uint16_t> wide = Utf16OfUtf8(utf8);
    if (wide.empty()) return std::string();
    const wchar_t* text = reinterpret_cast<const wchar_t*>(wide.data());
    const int length = static_cast<int>(wide.size());
    BOOL usedDefault = FALSE;
    const int size = WideCharToMultiByte(CP_ACP, 0, text, length, NULL, 0, "_", &usedDefault);
    if (size <= 0) return std::string(utf8.size(), '_');
    std::string out(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, text, length, &out[0], size, "_", &usedDefault);
    return out;
}

std::string Utf8OfAnsi(const std::string& ansi) {
    if (ansi.empty()) return std::string();
    const int length = static_cast<int>(ansi.size());
    const int size = MultiByteToWideChar(CP_ACP, 0, ansi.data(), length, NULL, 0);
    if (size <= 0) return ansi;
    std::vector<uint16_t> wide(static_cast<size_t>(size));
    MultiByteToWideChar(CP_ACP, 0, ansi.data(), length, reinterpret_cast<wchar_t*>(wide.data()), size);
    return Utf8OfUtf16(wide);
}
