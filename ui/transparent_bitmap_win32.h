#pragma once
#include <windows.h>

// Draws `bitmap` with its top-left corner at (x, y): every pixel equal to `key` leaves
// the surface as it was, every other pixel replaces it. The bitmap is not changed, and
// every drawing surface made for the purpose is released before returning.
void PaintTransparentBitmap(HDC dc, HBITMAP bitmap, int x, int y, COLORREF key);
