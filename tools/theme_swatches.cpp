// Draws the twenty caption themes from the module's own theme table: one bar per theme, its number
// and name in its text colour on its caption colour, saved as a 24-bit BMP.
//   theme_swatches OUT.bmp
#include <windows.h>
#include <cstdio>

#include "bitmap_file.h"
#include "plugin/plugin_state.h"
#include "styling/styling.h"

namespace {

constexpr int kColumns = 2;
constexpr int kRows = (kThemeCount + kColumns - 1) / kColumns;
constexpr int kBarWidth = 260;
constexpr int kBarHeight = 36;
constexpr int kGap = 6;
constexpr int kNumberWidth = 32;
constexpr int kNameIndent = 48;
constexpr int kFontHeight = 17;
constexpr COLORREF kBackground = RGB(224, 224, 224);
// Light captions (Clean White, Light Mode) still need an edge against the background.
constexpr COLORREF kBarEdge = RGB(150, 150, 150);

struct Font {
    HFONT handle;
    explicit Font(HFONT font) : handle(font) {}
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;
    ~Font() {
        if (handle) DeleteObject(handle);
    }
};

void FillRectColor(HDC dc, const RECT& rect, COLORREF color) {
    SetDCBrushColor(dc, color);
    FillRect(dc, &rect, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

void DrawThemeBar(HDC dc, int index, const RECT& bar) {
    const Theme& theme = g_state.themeTable[index];
    FillRectColor(dc, bar, kBarEdge);
    RECT inside = {bar.left + 1, bar.top + 1, bar.right - 1, bar.bottom - 1};
    FillRectColor(dc, inside, theme.captionColor);
    wchar_t number[8];
    wsprintfW(number, L"%d", index);
    const UINT flags = DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX;
    RECT numberBox = {inside.left, inside.top, inside.left + kNumberWidth, inside.bottom};
    RECT nameBox = {inside.left + kNameIndent, inside.top, inside.right, inside.bottom};
    SetTextColor(dc, theme.textColor);
    DrawTextW(dc, number, -1, &numberBox, flags | DT_RIGHT);
    DrawTextW(dc, theme.name, -1, &nameBox, flags | DT_LEFT);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: theme_swatches OUT.bmp\n");
        return 2;
    }
    InitThemeTable();
    Canvas canvas;
    if (!canvas.Create(kGap + kColumns * (kBarWidth + kGap), kGap + kRows * (kBarHeight + kGap))) {
        std::fprintf(stderr, "theme_swatches: cannot create the bitmap\n");
        return 1;
    }
    HDC dc = canvas.dc;
    RECT all = {0, 0, canvas.width, canvas.height};
    FillRectColor(dc, all, kBackground);
    Font font(CreateFontW(-kFontHeight, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                          OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY,
                          DEFAULT_PITCH | FF_SWISS, L"Tahoma"));
    HGDIOBJ previousFont =
        SelectObject(dc, font.handle ? font.handle : GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    for (int index = 1; index <= kThemeCount; ++index) {
        int column = (index - 1) / kRows, row = (index - 1) % kRows;
        int left = kGap + column * (kBarWidth + kGap), top = kGap + row * (kBarHeight + kGap);
        RECT bar = {left, top, left + kBarWidth, top + kBarHeight};
        DrawThemeBar(dc, index, bar);
    }
    SelectObject(dc, previousFont);
    if (!canvas.Save(argv[1])) {
        std::fprintf(stderr, "theme_swatches: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
