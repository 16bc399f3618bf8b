#include "autostyle/window_list.h"
#include "plugin/plugin_state.h"
#include "styling/styling.h"

// Asked each time it matters: the user may switch a contrast theme on or off at any moment.
// https://learn.microsoft.com/windows/win32/winauto/high-contrast-parameter
static bool ContrastThemeOn() noexcept {
    HIGHCONTRASTW contrast = {};
    contrast.cbSize = sizeof contrast;
    return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) &&
           (contrast.dwFlags & HCF_HIGHCONTRASTON);
}

// Called after colour calls the window manager accepted.
void NoteStyledWindow(HWND window) noexcept {
    WindowList& styled = g_state.styledWindows;
    if (WindowListContains(styled, window)) return;
    // Destroyed windows make room before the list grows, so it holds about the live ones.
    if (styled.count == styled.capacity) WindowListRemoveDestroyed(styled);
    WindowListAppend(styled, window);
}

// The colours a user chose in order to read win over a script's: every window this copy coloured
// gets the system's colours and its own glyphs back, and keeps them until a script colours it
// again.
bool YieldToContrastTheme() noexcept {
    if (!ContrastThemeOn()) return false;
    WindowList& styled = g_state.styledWindows;
    for (int i = 0; i < styled.count; ++i)
        if (IsWindow(styled.items[i])) ResetCaptionColors(styled.items[i]);
    WindowListClear(styled);
    return true;
}
