// The owners of GDI objects and device contexts in platform/handles_win32.h.
#include <windows.h>

#include <gtest/gtest.h>

#include <utility>

#include "platform/handles_win32.h"

namespace {

bool Exists(HGDIOBJ object) {
    return GetObjectType(object) != 0;
}

TEST(GdiHandles, AnObjectIsDeletedByItsLastOwner) {
    HBRUSH raw = CreateSolidBrush(RGB(1, 2, 3));
    ASSERT_TRUE(Exists(raw));
    {
        BrushHandle first(raw);
        BrushHandle second;
        {
            BrushHandle moved(std::move(first));
            EXPECT_FALSE(first);
            second = std::move(moved);
        }
        EXPECT_TRUE(Exists(raw));  // the moved-from owners let it be
        EXPECT_EQ(second.Get(), raw);
    }
    EXPECT_FALSE(Exists(raw));
}

TEST(GdiHandles, ReleasedObjectsAreLeftAlone) {
    HPEN raw = CreatePen(PS_SOLID, 1, RGB(0, 0, 0));
    {
        PenHandle pen(raw);
        EXPECT_EQ(pen.Release(), raw);
    }
    EXPECT_TRUE(Exists(raw));
    DeleteObject(raw);
}

TEST(GdiHandles, TheSelectionIsUndoneBeforeTheObjectIsDeleted) {
    MemoryDC dc(CreateCompatibleDC(NULL));
    ASSERT_TRUE(dc);
    HDC rawDc = dc.Get();
    HGDIOBJ before = GetCurrentObject(rawDc, OBJ_FONT);
    HFONT raw = CreateFontA(-12, 0, 0, 0, FW_NORMAL, FALSE, TRUE, FALSE, DEFAULT_CHARSET, 0, 0, 0, 0, "Arial");
    {
        FontHandle font(raw);
        SelectedObject selected(dc.Get(), font.Get());
        EXPECT_TRUE(selected.Selected());
        EXPECT_EQ(GetCurrentObject(rawDc, OBJ_FONT), raw);
    }
    EXPECT_EQ(GetCurrentObject(rawDc, OBJ_FONT), before);
    EXPECT_FALSE(Exists(raw));
}

TEST(GdiHandles, NothingSelectedIntoNoContext) {
    BrushHandle brush(CreateSolidBrush(RGB(0, 0, 0)));
    SelectedObject nothing(NULL, brush.Get());
    EXPECT_FALSE(nothing.Selected());
}

TEST(GdiHandles, AMemoryContextIsDeleted) {
    HDC raw = CreateCompatibleDC(NULL);
    { MemoryDC dc(raw); }
    EXPECT_FALSE(Exists(raw));
}

TEST(GdiHandles, AWindowContextIsGivenBack) {
    HWND window = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, NULL, NULL, GetModuleHandleA(NULL), NULL);
    ASSERT_NE(window, (HWND)NULL);
    {
        WindowDC dc(window);
        EXPECT_TRUE(dc);
        WindowDC moved(std::move(dc));
        EXPECT_FALSE(dc);
        EXPECT_TRUE(moved);
    }
    DestroyWindow(window);
}

}  // namespace
