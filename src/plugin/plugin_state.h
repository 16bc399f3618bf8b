#pragma once
#include <windows.h>
#include <cstdint>

#include "autostyle/window_list.h"
#include "plugin/host_bridge.h"

typedef HRESULT(WINAPI* DwmSetWindowAttributeFn)(HWND, DWORD, LPCVOID, DWORD);
typedef HRESULT(WINAPI* DwmGetWindowAttributeFn)(HWND, DWORD, PVOID, DWORD);
typedef BOOL(WINAPI* ChooseColorFn)(struct tagCHOOSECOLORW*);

struct Theme {
    const wchar_t* name;
    COLORREF captionColor;
    COLORREF textColor;
};

constexpr int kThemeCount = 20;

// A window of the host thread that will have a title bar, created and not yet shown.
struct PendingShow {
    HWND window;
    DWORD createdAt; // GetTickCount at its creation
};

// More windows than this waiting for their show at once are left to the timer.
constexpr int kMaxPendingShows = 32;

struct PluginState {
    HWND hostWindow;
    DWORD processId;
    AddActionCallback addActionCallback;
    SetVariableCallback setVariableCallback;

    int captionColorRed, captionColorGreen, captionColorBlue;
    int textColorRed, textColorGreen, textColorBlue;
    int globalThemeIndex;
    COLORREF borderColor;      // for new windows: kColorNotSet, a colour, or kBorderFollowsCaption
    int darkModeForNewWindows; // new windows get the dark flag as their own mode

    int autoStyleEnabled;
    UINT_PTR timerId;
    HWND timerWindow;
    HHOOK createHook;
    HHOOK showHook;
    PendingShow pendingShows[kMaxPendingShows];
    int pendingShowCount;
    HWND lastHandledWindow;
    int tickCounter;
    WindowList trackedWindows;

    Theme themeTable[kThemeCount + 1];

    HMODULE dwmapiLibrary;
    DwmSetWindowAttributeFn dwmSetWindowAttribute;
    DwmGetWindowAttributeFn dwmGetWindowAttribute;
    WindowList styledWindows; // coloured by this copy, for a contrast theme to take back
    HWND contrastWatcher;     // hears a contrast theme come on; a system window we subclassed
    WNDPROC watcherNextProc;
    DWORD windowsBuild; // 0 until read
    int windows11Check;

    int dpiX, dpiY;
    HFONT dialogFont;
    bool dialogFontOwned; // false for the stock fallback, which is never deleted
    HACCEL dialogAccelerators;
    ATOM editorClass;
    HWND editorWindow; // the open editor dialog, null while the colour dialog is shown
    int editorOpen;
    COLORREF customColors[16];
    HMODULE comdlgLibrary;
    ChooseColorFn chooseColor;
};

extern PluginState g_state;

void InitPluginState() noexcept;
