#include <windows.h>
#include <stdio.h>

#include "platform/handles_win32.h"
#include "tests/gui/vorlix_driver.h"

namespace gui {
namespace {

int WriteBmp(const std::string& path, BITMAPINFOHEADER header, const void* bits) {
    DWORD rowBytes = ((header.biWidth * 3) + 3) & ~3u;
    header.biSizeImage = rowBytes * header.biHeight;
    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = sizeof file + sizeof header;
    file.bfSize = file.bfOffBits + header.biSizeImage;
    FILE* out = fopen(path.c_str(), "wb");
    if (out == nullptr) return -1;
    bool whole = fwrite(&file, sizeof file, 1, out) == 1 &&
                 fwrite(&header, sizeof header, 1, out) == 1 &&
                 fwrite(bits, header.biSizeImage, 1, out) == 1;
    return fclose(out) == 0 && whole ? 0 : -1;
}

// A part of the screen as the X server shows it, copied into a 24-bit DIB.
int SaveScreenPart(const RECT& part, const std::string& path) {
    WindowDC screen(NULL);
    MemoryDC memory(screen ? CreateCompatibleDC(screen.Get()) : NULL);
    if (!memory || part.right <= part.left || part.bottom <= part.top) return -1;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = part.right - part.left;
    info.bmiHeader.biHeight = part.bottom - part.top;  // bottom-up, as BMP rows go
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    GdiObject<HBITMAP> bitmap(
        CreateDIBSection(screen.Get(), &info, DIB_RGB_COLORS, &bits, NULL, 0));
    if (!bitmap) return -1;
    {
        SelectedObject selected(memory.Get(), bitmap.Get());
        if (!BitBlt(memory.Get(), 0, 0, info.bmiHeader.biWidth, info.bmiHeader.biHeight,
                    screen.Get(), part.left, part.top, SRCCOPY)) {
            return -1;
        }
    }
    GdiFlush();
    return WriteBmp(path, info.bmiHeader, bits);
}

}  // namespace

int SaveScreenshot(const std::string& path) {
    RECT whole = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    return SaveScreenPart(whole, path);
}

int SaveWindowScreenshot(HWND window, const std::string& path) {
    RECT frame;
    if (!GetWindowRect(window, &frame)) return -1;
    return SaveScreenPart(frame, path);
}

}  // namespace gui
