#include "ui/transparent_bitmap_win32.h"

#include "platform/handles_win32.h"

// A monochrome mask marks the key colour; the picture is then laid on with three blits
// (invert, cut out with the mask, invert again), which works without TransparentBlt on
// every Windows version we run on.
void PaintTransparentBitmap(HDC dc, HBITMAP bitmap, int x, int y, COLORREF key) {
    BITMAP info;
    if (dc == NULL || bitmap == NULL || !GetObjectA(bitmap, sizeof info, &info)) return;
    const int width = info.bmWidth;
    const int height = info.bmHeight;

    MemoryDC imageDC(CreateCompatibleDC(dc));
    MemoryDC maskDC(CreateCompatibleDC(dc));
    BitmapHandle mask(CreateBitmap(width, height, 1, 1, NULL));
    if (!imageDC || !maskDC || !mask) return;
    SelectedObject imageSelected(imageDC.Get(), bitmap);
    SelectedObject maskSelected(maskDC.Get(), mask.Get());
    if (!imageSelected.Selected() || !maskSelected.Selected()) return;

    // Colour to monochrome: the background colour becomes white, everything else black.
    COLORREF oldImageBack = SetBkColor(imageDC.Get(), key);
    BitBlt(maskDC.Get(), 0, 0, width, height, imageDC.Get(), 0, 0, SRCCOPY);
    SetBkColor(imageDC.Get(), oldImageBack);

    // Monochrome to colour maps white to the background colour and black to the text
    // colour: white must stay all ones and black all zeros for the AND.
    COLORREF oldBack = SetBkColor(dc, RGB(255, 255, 255));
    COLORREF oldText = SetTextColor(dc, RGB(0, 0, 0));
    BitBlt(dc, x, y, width, height, imageDC.Get(), 0, 0, SRCINVERT);
    BitBlt(dc, x, y, width, height, maskDC.Get(), 0, 0, SRCAND);
    BitBlt(dc, x, y, width, height, imageDC.Get(), 0, 0, SRCINVERT);
    SetBkColor(dc, oldBack);
    SetTextColor(dc, oldText);
}
