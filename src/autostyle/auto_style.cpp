#include "autostyle/auto_style.h"

#include "autostyle/show_hook.h"
#include "plugin/host_bridge.h"
#include "plugin/plugin_state.h"
#include "styling/styling.h"

bool QualifiesForAutoStyle(HWND window) noexcept {
    return window && window != g_state.hostWindow &&
           (GetWindowLongW(window, GWL_STYLE) & WS_CAPTION) != 0 &&
           !WindowListContains(g_state.trackedWindows, window);
}

// Black counts as no colour chosen, as EnableAutoStyle has always read it.
static bool CaptionColorChosen() noexcept {
    return g_state.captionColorRed || g_state.captionColorGreen || g_state.captionColorBlue;
}

void ColorAndTrack(HWND window) noexcept {
    // Left to the system, and so still new once the contrast theme is off again.
    if (YieldToContrastTheme()) return;
    COLORREF caption =
        MakeColor(g_state.captionColorRed, g_state.captionColorGreen, g_state.captionColorBlue);
    COLORREF text = MakeColor(g_state.textColorRed, g_state.textColorGreen, g_state.textColorBlue);
    // A refusal by the window manager is not retried: the window still counts as coloured.
    bool captionSet = false, textSet = false;
    // Dark mode alone gives new windows the system's dark title bar, not a black one.
    if (CaptionColorChosen() || !g_state.darkModeForNewWindows) {
        captionSet = g_state.dwmSetWindowAttribute(window, DWMWA_CAPTION_COLOR, &caption,
                                                   sizeof(caption)) == S_OK;
        textSet =
            g_state.dwmSetWindowAttribute(window, DWMWA_TEXT_COLOR, &text, sizeof(text)) == S_OK;
    }
    bool borderSet = GiveNewWindowBorder(window, captionSet ? caption : kColorNotSet);
    // Both colours first, so the flag is decided once.
    if (captionSet || textSet || borderSet) {
        NoteStyledWindow(window);
        MatchDarkMode(window, captionSet ? caption : kColorNotSet, textSet ? text : kColorNotSet);
    }
    if (g_state.darkModeForNewWindows) GiveOwnDarkMode(window, 1);
    g_state.lastHandledWindow = window;
    // Out of memory the window stays untracked and may be coloured once more later.
    WindowListAppend(g_state.trackedWindows, window);
}

int IsOwnProcessWindow(HWND window) noexcept {
    if (!window) return 0;
    if (!g_state.processId) g_state.processId = GetCurrentProcessId();
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    return owner == g_state.processId;
}

void CALLBACK AutoStyleTick(HWND, UINT, UINT_PTR, DWORD) noexcept {
    if (!g_state.autoStyleEnabled) return;
    if (g_state.pendingShowCount) ExpirePendingShows();
    if (!DwmAvailable()) return;
    // A contrast theme switched on takes back what was coloured at once, not at the next window.
    if (g_state.styledWindows.count) YieldToContrastTheme();
    HWND foreground = GetForegroundWindow();
    if (foreground && foreground != g_state.lastHandledWindow && foreground != g_state.hostWindow) {
        if (!IsOwnProcessWindow(foreground)) {
            g_state.lastHandledWindow = foreground;
            return;
        }
        if (IsWindowVisible(foreground) && QualifiesForAutoStyle(foreground))
            ColorAndTrack(foreground);
    }
    if (++g_state.tickCounter > kPruneEveryTicks) {
        g_state.tickCounter = 0;
        WindowListRemoveDestroyed(g_state.trackedWindows);
        WindowListRemoveDestroyed(g_state.styledWindows);
    }
}

static bool TimerStillFires() noexcept {
    // A timer whose window is gone, or that belongs to a replaced host window, never ticks again.
    if (g_state.timerWindow != g_state.hostWindow) return false;
    return !g_state.timerWindow || IsWindow(g_state.timerWindow);
}

int StopAutoStyle() noexcept {
    RemoveShowHook();
    if (g_state.timerId) {
        KillTimer(g_state.timerWindow, g_state.timerId);
        g_state.timerId = 0;
        g_state.timerWindow = nullptr;
    }
    g_state.autoStyleEnabled = 0;
    return 0;
}

void ReleaseAutoStyle() noexcept {
    StopAutoStyle();
    WindowListFree(g_state.trackedWindows);
}

static void ReportEnabled() noexcept {
    g_state.autoStyleEnabled = 1;
    SetHostVariable(L"[Zarnel.AutoStyleEnabled]", L"1");
    ReportLastError(L"OK - Auto-styling enabled");
}

// A timer on another thread's window would tick there, beside the actions on this thread;
// Windows refuses it, and Wine makes some other timer instead.
static UINT_PTR MakeTimer() noexcept {
    DWORD owner = g_state.hostWindow ? GetWindowThreadProcessId(g_state.hostWindow, nullptr) : 0;
    if (owner && owner != GetCurrentThreadId()) {
        SetLastError(ERROR_WINDOW_OF_OTHER_THREAD);
        return 0;
    }
    // With no host window SetTimer makes a thread timer and picks the identifier itself.
    return SetTimer(g_state.hostWindow, kAutoStyleTimerId, kAutoStyleIntervalMs, AutoStyleTick);
}

int EnableAutoStyle() noexcept {
    if (!DwmAvailable()) {
        ReportLastError(L"DWM API not available - cannot enable auto-styling");
        return 0;
    }
    if (!CaptionColorChosen() && !g_state.darkModeForNewWindows) {
        ReportLastError(L"No colors set. Use SetColor/SetTextColor or SetGlobalTheme first");
        return 0;
    }
    if (g_state.timerId && TimerStillFires()) {
        ReportEnabled();
        return 1;
    }
    // The running timer is only replaced once a new one exists: a refusal leaves the monitor on.
    UINT_PTR timer = MakeTimer();
    if (!timer) {
        wchar_t message[64];
        wsprintfW(message, L"Failed to create timer - Error: %lu", GetLastError());
        ReportLastError(message);
        return 0;
    }
    bool restart = g_state.timerId != 0;
    if (restart) {
        if (g_state.timerWindow != g_state.hostWindow || g_state.timerId != timer)
            KillTimer(g_state.timerWindow, g_state.timerId);
        // The hooks belong on the thread that owns the new timer.
        RemoveShowHook();
    }
    g_state.timerId = timer;
    g_state.timerWindow = g_state.hostWindow;
    InstallShowHook();
    // A restart keeps the list: the monitor was on, and its windows are coloured already.
    if (!restart) WindowListClear(g_state.trackedWindows);
    ReportEnabled();
    return 1;
}

int DisableAutoStyle() noexcept {
    StopAutoStyle();
    SetHostVariable(L"[Zarnel.AutoStyleEnabled]", L"0");
    ReportLastError(L"OK - Auto-styling disabled");
    return 1;
}

int GetAutoStyleStatus() noexcept {
    SetHostVariableInt(L"[Zarnel.AutoStyleEnabled]", g_state.autoStyleEnabled);
    SetHostVariableInt(L"[Zarnel.GlobalThemeIndex]", g_state.globalThemeIndex);
    if (g_state.globalThemeIndex > 0)
        SetHostVariable(L"[Zarnel.GlobalTheme]", g_state.themeTable[g_state.globalThemeIndex].name);
    ReportLastError(L"OK - Status retrieved");
    return g_state.autoStyleEnabled;
}
