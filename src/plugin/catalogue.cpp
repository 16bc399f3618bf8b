#include "plugin/catalogue.h"

#include "autostyle/auto_style.h"
#include "plugin/host_bridge.h"
#include "plugin/plugin_state.h"
#include "styling/styling.h"

static int RunSetColor(const int* a) {
    return SetCaptionColor(a[0], a[1], a[2], a[3]);
}
static int RunSetTextColor(const int* a) {
    return SetCaptionTextColor(a[0], a[1], a[2], a[3]);
}
static int RunApplyTheme(const int* a) {
    return ApplyTheme(a[0], a[1]);
}
static int RunGetActiveWindow(const int*) {
    return GetActiveWindowInfo();
}
static int RunRemoveStyle(const int* a) {
    return RemoveStyle(a[0]);
}
static int RunSetGlobalTheme(const int* a) {
    return SetGlobalTheme(a[0]);
}
static int RunEnableAutoStyle(const int*) {
    return EnableAutoStyle();
}
static int RunDisableAutoStyle(const int*) {
    return DisableAutoStyle();
}
static int RunGetAutoStyleStatus(const int*) {
    return GetAutoStyleStatus();
}
static int RunSetButtons(const int* a) {
    return SetButtons(a[0], a[1], a[2], a[3]);
}
static int RunSetBorderColor(const int* a) {
    return SetBorderColor(a[0], a[1], a[2], a[3]);
}
static int RunSetDarkMode(const int* a) {
    return SetDarkMode(a[0], a[1]);
}

// One action per row: number, name, hint, editor kind, -1, slots read, defaults, runner.
// clang-format off
const ActionEntry kActions[kActionCount] = {
    {1,  L"zrnZarnel_SetColor",           L"Set title bar background color using color picker",                 2, -1, 4, {0, 0, 0, 0}, RunSetColor},
    {2,  L"zrnZarnel_SetTextColor",       L"Set title bar text color using color picker",                       2, -1, 4, {0, 0, 0, 0}, RunSetTextColor},
    {3,  L"zrnZarnel_ApplyTheme",         L"Apply a predefined theme to title bar",                             2, -1, 2, {1, 0},       RunApplyTheme},
    {4,  L"zrnZarnel_GetActiveWindow",    L"Get active window title and handle",                                0, -1, 0, {},           RunGetActiveWindow},
    {5,  L"zrnZarnel_RemoveStyle",        L"Reset title bar to Windows default appearance",                     0, -1, 1, {0},          RunRemoveStyle},
    {6,  L"zrnZarnel_SetGlobalTheme",     L"Set global theme for automatic child window styling",               2, -1, 1, {1},          RunSetGlobalTheme},
    {7,  L"zrnZarnel_EnableAutoStyle",    L"Enable automatic styling of child windows (dialogs, alerts, etc.)", 0, -1, 0, {},           RunEnableAutoStyle},
    {8,  L"zrnZarnel_DisableAutoStyle",   L"Disable automatic styling of child windows",                        0, -1, 0, {},           RunDisableAutoStyle},
    {9,  L"zrnZarnel_GetAutoStyleStatus", L"Get current auto-styling status and global theme info",             0, -1, 0, {},           RunGetAutoStyleStatus},
    {10, L"zrnZarnel_SetButtons",         L"Show or hide title bar Close / Minimize / Maximize buttons",        2, -1, 4, {1, 1, 1, 0}, RunSetButtons},
    {11, L"zrnZarnel_SetBorderColor",     L"Set window border color using color picker (red -1: as the title bar)", 2, -1, 4, {0, 0, 0, 0}, RunSetBorderColor},
    {12, L"zrnZarnel_SetDarkMode",        L"Give a window the dark (1) or light (0) title bar of Windows",       2, -1, 2, {1, 0},       RunSetDarkMode},
};
// clang-format on

const ActionEntry* FindAction(int number) noexcept {
    for (const ActionEntry& entry : kActions)
        if (entry.number == number) return &entry;
    return nullptr;
}

void RegisterActions() noexcept {
    if (!g_state.addActionCallback) return;
    for (const ActionEntry& entry : kActions) {
        char* name = MakeHostString(entry.name);
        char* hint = MakeHostString(entry.hint);
        g_state.addActionCallback(entry.number, name, hint, entry.editorKind, entry.unusedMinus1,
                                  entry.slotCount);
    }
}
