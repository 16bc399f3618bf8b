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

typedef int (*ParamEditor)(uintptr_t* params) noexcept;

static ParamEditor EditorFor(int action) noexcept {
    switch (action) {
    case 1:
    case 2:
    case 11:
        return ColorParamEditor;
    case 3:
    case 6:
        return ThemeChooserDialog;
    case 10:
        return CaptionButtonsDialog;
    case 12:
        return DarkModeDialog;
    default:
        return nullptr;
    }
}

int WINAPI _nbEditAction(int action, uintptr_t* params) noexcept {
    // Actions without parameters to choose need no editor, and the host may go on with them.
    if (action == 5 || action == 7 || action == 8 || action == 9) return 1;
    ParamEditor editor = EditorFor(action);
    if (!editor) return 0;
    // The host's windows stay enabled, so it can ask again while an editor is open.
    if (g_state.editorOpen) {
        BringOpenEditorToFront();
        return 0;
    }
    g_state.editorOpen = 1;
    int result = editor(params);
    g_state.editorOpen = 0;
    return result;
}
