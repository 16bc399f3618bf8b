#include "plugin/host_bridge.h"
#include "plugin/plugin_state.h"
#include "styling/styling.h"

struct ThemeRow {
    const wchar_t* name;
    int caption[3];
    int text[3];
};

// Alphabetical by name; the index a script uses is the position here plus one.
static const ThemeRow kThemeRows[kThemeCount] = {
    {L"Charcoal", {54, 69, 79}, {255, 255, 255}},
    {L"Clean White", {255, 255, 255}, {32, 32, 32}},
    {L"Crimson Red", {220, 20, 60}, {255, 255, 255}},
    {L"Cyber Purple", {75, 0, 130}, {186, 85, 211}},
    {L"Dark Gray", {64, 64, 64}, {240, 240, 240}},
    {L"Dark Mode", {32, 32, 32}, {255, 255, 255}},
    {L"Deep Teal", {0, 128, 128}, {255, 255, 255}},
    {L"Electric Blue", {0, 191, 255}, {0, 0, 0}},
    {L"Forest Green", {34, 139, 34}, {255, 255, 255}},
    {L"Gold", {255, 215, 0}, {0, 0, 0}},
    {L"Hot Pink", {255, 20, 147}, {255, 255, 255}},
    {L"Light Mode", {240, 240, 240}, {0, 0, 0}},
    {L"Lime Green", {50, 205, 50}, {0, 0, 0}},
    {L"Matrix Green", {0, 100, 0}, {0, 255, 0}},
    {L"Midnight Blue", {25, 25, 112}, {255, 255, 255}},
    {L"Office Blue", {0, 120, 215}, {255, 255, 255}},
    {L"Royal Purple", {102, 51, 153}, {255, 255, 255}},
    {L"Steel Blue", {70, 130, 180}, {255, 255, 255}},
    {L"Sunset Orange", {255, 140, 0}, {255, 255, 255}},
    {L"Warm Gray", {128, 128, 118}, {255, 255, 255}},
};

static const wchar_t kInvalidThemeIndex[] = L"Invalid theme index. Use 1-20";

void InitThemeTable() noexcept {
    for (int i = 0; i < kThemeCount; ++i) {
        const ThemeRow& row = kThemeRows[i];
        g_state.themeTable[i + 1] =
            Theme{row.name, MakeColor(row.caption[0], row.caption[1], row.caption[2]),
                  MakeColor(row.text[0], row.text[1], row.text[2])};
    }
}

static bool ValidThemeIndex(int index) noexcept {
    return index >= 1 && index <= kThemeCount;
}

int ApplyTheme(int index, int window) noexcept {
    if (!ValidThemeIndex(index)) {
        ReportLastError(kInvalidThemeIndex);
        return 0;
    }
    const Theme& theme = g_state.themeTable[index];
    COLORREF caption = theme.captionColor, text = theme.textColor;
    if (!SetCaptionColor(ColorRed(caption), ColorGreen(caption), ColorBlue(caption), window))
        return 0;
    if (!SetCaptionTextColor(ColorRed(text), ColorGreen(text), ColorBlue(text), window)) return 0;
    SetHostVariable(L"[Zarnel.AppliedTheme]", theme.name);
    wchar_t message[96];
    wsprintfW(message, L"OK - Theme applied: %s", theme.name);
    ReportLastError(message);
    return 1;
}

int SetGlobalTheme(int index) noexcept {
    if (!ValidThemeIndex(index)) {
        ReportLastError(kInvalidThemeIndex);
        return 0;
    }
    const Theme& theme = g_state.themeTable[index];
    g_state.globalThemeIndex = index;
    g_state.captionColorRed = ColorRed(theme.captionColor);
    g_state.captionColorGreen = ColorGreen(theme.captionColor);
    g_state.captionColorBlue = ColorBlue(theme.captionColor);
    g_state.textColorRed = ColorRed(theme.textColor);
    g_state.textColorGreen = ColorGreen(theme.textColor);
    g_state.textColorBlue = ColorBlue(theme.textColor);
    SetHostVariable(L"[Zarnel.GlobalTheme]", theme.name);
    SetHostVariableInt(L"[Zarnel.GlobalThemeIndex]", index);
    wchar_t message[96];
    wsprintfW(message, L"OK - Global theme set to: %s", theme.name);
    ReportLastError(message);
    return 1;
}
