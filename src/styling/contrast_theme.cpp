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

constexpr wchar_t kWatcherTitle[] = L"Zarnel contrast theme watcher";

static LRESULT CALLBACK WatchContrastTheme(HWND window, UINT message, WPARAM wParam,
                                           LPARAM lParam) noexcept {
    WNDPROC next = g_state.watcherNextProc;
    if (message == WM_SETTINGCHANGE && wParam == SPI_SETHIGHCONTRAST) YieldToContrastTheme();
    if (message == WM_NCDESTROY) g_state.contrastWatcher = nullptr;
    return CallWindowProcW(next, window, message, wParam, lParam);
}

// Windows announces a contrast theme to top-level windows only, hidden ones included; a window of
// a system class keeps no procedure or class of this module once its own procedure is back:
// https://learn.microsoft.com/windows/win32/winmsg/wm-settingchange
static void WatchForContrastTheme() noexcept {
    if (g_state.contrastWatcher) return;
    HWND watcher = CreateWindowExW(WS_EX_TOOLWINDOW, L"Static", kWatcherTitle, WS_POPUP, 0, 0, 0, 0,
                                   nullptr, nullptr, nullptr, nullptr);
    if (!watcher) return;
    g_state.watcherNextProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(watcher, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(WatchContrastTheme)));
    if (g_state.watcherNextProc)
        g_state.contrastWatcher = watcher;
    else
        DestroyWindow(watcher);
}

// Called after colour calls the window manager accepted.
void NoteStyledWindow(HWND window) noexcept {
    WindowList& styled = g_state.styledWindows;
    if (!WindowListContains(styled, window)) {
        // Destroyed windows make room before the list grows, so it holds about the live ones.
        if (styled.count == styled.capacity) WindowListRemoveDestroyed(styled);
        WindowListAppend(styled, window);
    }
    WatchForContrastTheme();
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

// Also at process exit: user32 is unloaded only after this module, which imports it.
void SilenceContrastWatcher() noexcept {
    HWND watcher = g_state.contrastWatcher;
    if (watcher && IsWindow(watcher))
        SetWindowLongPtrW(watcher, GWLP_WNDPROC,
                          reinterpret_cast<LONG_PTR>(g_state.watcherNextProc));
}

// Unloaded from another thread, DestroyWindow cannot destroy the watcher: it closes on its own
// thread, as the system's window it now is.
void ReleaseContrastTheme() noexcept {
    SilenceContrastWatcher();
    HWND watcher = g_state.contrastWatcher;
    g_state.contrastWatcher = nullptr;
    if (watcher && IsWindow(watcher) && !DestroyWindow(watcher))
        PostMessageW(watcher, WM_CLOSE, 0, 0);
    WindowListFree(g_state.styledWindows);
}
