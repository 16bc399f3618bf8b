#include "show_paths.h"

#include "core_rig.h"

static const char* const kShowPathNames[kShowPathCount] = {
    "ShowWindow SW_SHOW",
    "ShowWindow SW_SHOWMAXIMIZED",
    "ShowWindow SW_SHOWNOACTIVATE",
    "SetWindowPos SWP_SHOWWINDOW",
    "CreateWindowExW WS_VISIBLE",
    "CreateWindowExW WS_VISIBLE | WS_MAXIMIZE",
    "dialog",
    "message box",
};

const char* ShowPathName(ShowPath path) {
    return kShowPathNames[path];
}

static void UseTheme(int theme) {
    ExecCore(6, {std::to_string(theme).c_str()});
}

static bool g_boxHookGone;

static DWORD WINAPI CloseMessageBoxOnceColoured(void* box) {
    HWND& found = *static_cast<HWND*>(box);
    PumpUntil([&] { return (found = FindWindowW(L"#32770", L"shown")) != nullptr; }, 3000);
    PumpUntil([&] { return DwmCallsFor(found).size() >= 2; }, 3000);
    g_boxHookGone = PumpUntil([] { return g_state.showHook == nullptr; }, 1000);
    PostMessageW(found, WM_CLOSE, 0, 0);
    return 0;
}

static HWND CreateShown(ShowPath path, HWND host) {
    if (path == kCreatedVisible) return MakeWindow(L"created visible");
    if (path == kCreatedVisibleMaximized)
        return MakeWindow(L"created maximized", WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_MAXIMIZE);
    struct {
        DLGTEMPLATE frame;
        WORD menu, windowClass, title;
    } dialog = {};
    dialog.frame.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE | DS_MODALFRAME;
    dialog.frame.cx = 120;
    dialog.frame.cy = 60;
    return CreateDialogIndirectParamW(nullptr, &dialog.frame, host, nullptr, 0);
}

ShownWindow ShowBy(ShowPath path, HWND host, int theme) {
    if (path == kMessageBox) {
        UseTheme(theme);
        HWND box = nullptr;
        g_boxHookGone = false;
        HANDLE closer = CreateThread(nullptr, 0, CloseMessageBoxOnceColoured, &box, 0, nullptr);
        MessageBoxW(host, L"coloured before shown", L"shown", MB_OK);
        WaitForSingleObject(closer, 5000);
        CloseHandle(closer);
        return {box, g_boxHookGone};
    }
    HWND window;
    if (path >= kCreatedVisible) {
        UseTheme(theme);
        window = CreateShown(path, host);
    } else {
        UseTheme(theme == 1 ? 2 : 1);
        window = MakeWindow(L"shown later", WS_OVERLAPPEDWINDOW);
        UseTheme(theme);
        if (path == kSetWindowPos)
            SetWindowPos(window, nullptr, 0, 0, 0, 0,
                         SWP_SHOWWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        else
            ShowWindow(window, path == kShowMaximized    ? SW_SHOWMAXIMIZED
                               : path == kShowNoActivate ? SW_SHOWNOACTIVATE
                                                         : SW_SHOW);
    }
    return {window, g_state.showHook == nullptr};
}
