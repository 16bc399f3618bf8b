#pragma once
// The ways a window of the host thread becomes visible. Windows sends no WM_SHOWWINDOW on some
// of them; every one still makes the window visible only after the plug-in could colour it.
#include <windows.h>

enum ShowPath {
    kShowNormal,
    kShowMaximized,
    kShowNoActivate,
    kSetWindowPos,
    kCreatedVisible,
    kCreatedVisibleMaximized,
    kDialog,
    kMessageBox,
    kShowPathCount
};

struct ShownWindow {
    HWND window;            // a message box is closed again by the time it is returned
    bool hookGoneWhenShown; // no per-message hook left once it was coloured
};

const char* ShowPathName(ShowPath path);
// Shows a new window by the path with the global theme chosen between creation and show (or
// just before creation, for the paths that create it visible).
ShownWindow ShowBy(ShowPath path, HWND host, int theme);
