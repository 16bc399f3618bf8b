#include "editors/editor_dialog.h"
#include "editors/editors.h"
#include "plugin/exports.h"
#include "plugin/host_bridge.h"
#include "plugin/plugin_state.h"

static BOOL CALLBACK FindColorDialog(HWND window, LPARAM found) noexcept {
    wchar_t className[16];
    if (!IsWindowVisible(window) || !IsWindowEnabled(window) ||
        !GetClassNameW(window, className, 16) || lstrcmpW(className, L"#32770") != 0)
        return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

static void BringOpenEditorToFront() noexcept {
    HWND editor = g_state.editorWindow;
    // The colour dialog is the one enabled dialog left: it disabled the thread's other windows.
    if (!editor)
        EnumThreadWindows(GetCurrentThreadId(), FindColorDialog, reinterpret_cast<LPARAM>(&editor));
    if (editor) SetForegroundWindow(editor);
}

static int RunEditor(int action, uintptr_t* params) noexcept {
    switch (action) {
    case 1:
    case 2:
        return ColorParamEditor(params);
    case 3:
    case 6:
        return ThemeChooserDialog(params);
    default:
        return CaptionButtonsDialog(params);
    }
}

int WINAPI _nbEditAction(int action, uintptr_t* params) noexcept {
    switch (action) {
    case 1:
    case 2:
    case 3:
    case 6:
    case 10:
        break;
    case 5:
    case 7:
    case 8:
    case 9:
        return 1;
    default:
        return 0;
    }
    // The host's windows stay enabled, so it can ask again while an editor is open.
    if (g_state.editorOpen) {
        BringOpenEditorToFront();
        return 0;
    }
    g_state.editorOpen = 1;
    int result = RunEditor(action, params);
    g_state.editorOpen = 0;
    return result;
}
