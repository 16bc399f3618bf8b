// Draws the twenty caption themes from the module's own theme table: one bar per theme, its number
// and name in its text colour on its caption colour, and the minimize, maximize and close glyphs in
// the colour Windows 11 draws them under the module's dark-mode rule; saved as a 24-bit BMP.
//   theme_swatches OUT.bmp
#include <windows.h>
#include <cstdio>

#include "bitmap_file.h"
#include "plugin/plugin_state.h"
#include "styling/styling.h"

namespace {

constexpr int kColumns = 2;
constexpr int kRows = (kThemeCount + kColumns - 1) / kColumns;
constexpr int kBarWidth = 330;
constexpr int kBarHeight = 36;
constexpr int kGap = 6;
constexpr int kNumberWidth = 32;
constexpr int kNameIndent = 48;
constexpr int kFontHeight = 17;
constexpr int kGlyphSize = 10;
constexpr int kButtonWidth = 30; // from the bar's right edge: close, maximize, minimize
// Windows 11's light and dark glyph sets, as drawn on a coloured caption.
constexpr COLORREF kLightGlyph = RGB(255, 255, 255);
constexpr COLORREF kDarkGlyph = RGB(0, 0, 0);
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

void DrawLine(HDC dc, int x1, int y1, int x2, int y2) {
    MoveToEx(dc, x1, y1, nullptr);
    LineTo(dc, x2, y2);
}

void DrawCaptionButtons(HDC dc, const RECT& caption, COLORREF glyph) {
    SetDCPenColor(dc, glyph);
    HGDIOBJ previousPen = SelectObject(dc, GetStockObject(DC_PEN));
    int top = (caption.top + caption.bottom - kGlyphSize) / 2, bottom = top + kGlyphSize;
    int left = caption.right - 3 * kButtonWidth + (kButtonWidth - kGlyphSize) / 2;
    DrawLine(dc, left, (top + bottom) / 2, left + kGlyphSize + 1, (top + bottom) / 2);
    left += kButtonWidth;
    SelectObject(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, left, top, left + kGlyphSize + 1, bottom + 1);
    left += kButtonWidth;
    DrawLine(dc, left, top, left + kGlyphSize + 1, bottom + 1);
    DrawLine(dc, left, bottom, left + kGlyphSize + 1, top - 1);
    SelectObject(dc, previousPen);
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
    bool lightGlyphs = WantsDarkMode(theme.captionColor, theme.textColor);
    DrawCaptionButtons(dc, inside, lightGlyphs ? kLightGlyph : kDarkGlyph);
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
