#include "plugin/exports.h"

#include "autostyle/auto_style.h"
#include "plugin/catalogue.h"
#include "plugin/host_bridge.h"
#include "plugin/plugin_state.h"
#include "styling/styling.h"

constexpr int kMessageStopAutoStyle = 2;

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID reserved) noexcept {
    if (reason == DLL_PROCESS_ATTACH) InitPluginState();
    // At process exit other DLLs may already be gone: calling into them could crash the host.
    if (reason == DLL_PROCESS_DETACH && !reserved) ReleasePluginState();
    return TRUE;
}

int WINAPI _nbInitPlugIn(HWND hostWindow, char** name, char** author, char** description) noexcept {
    g_state.hostWindow = hostWindow;
    InitThemeTable();
    char* nameBlock = MakeHostString(L"Zarnel Plugin Enhanced");
    char* authorBlock = MakeHostString(L"By the Zarnel Plugin Enhanced authors");
    char* descriptionBlock =
        MakeHostString(L"Customize Windows title bar with auto-styling for child windows");
    if (name) *name = nameBlock;
    if (author) *author = authorBlock;
    if (description) *description = descriptionBlock;
    return 0;
}

int WINAPI _nbRegisterPlugIn(void* addAction, void*, void*, void* setVariable) noexcept {
    g_state.addActionCallback = reinterpret_cast<AddActionCallback>(addAction);
    g_state.setVariableCallback = reinterpret_cast<SetVariableCallback>(setVariable);
    InitThemeTable();
    RegisterActions();
    return 0;
}

int WINAPI _nbGetPluginInfo(char** name, char** description, void*) noexcept {
    char* nameBlock = MakeHostString(L"ZarnelPlugin_Enhanced");
    if (name) *name = nameBlock;
    char* descriptionBlock = MakeHostString(
        L"Windows 10/11 Title Bar customization with auto-styling for child windows");
    if (description) *description = descriptionBlock;
    return 0;
}

int WINAPI _nbInitialize(HWND hostWindow) noexcept {
    g_state.hostWindow = hostWindow;
    g_state.processId = GetCurrentProcessId();
    return 0;
}

int WINAPI _nbMessage(int code, void*) noexcept {
    if (code == kMessageStopAutoStyle) StopAutoStyle();
    return 0;
}
