#include "editors/editor_dialog.h"
#include "editors/editors.h"
#include "plugin/host_bridge.h"
#include "plugin/plugin_state.h"

enum ThemeChooserControl { kThemePrompt, kThemeList, kThemeOk, kThemeCancel, kThemeControlCount };

static const ControlRow kThemeChooserLayout[kThemeControlCount] = {
    {kLabel, 20, 20, 360, 20, L"Select a predefined theme:"},
    {kListBox, 20, 50, 360, 320, nullptr},
    {kPushButton, 220, 390, 65, 28, L"OK"},
    {kPushButton, 295, 390, 65, 28, L"Cancel"},
};

constexpr int kThemeChooserWidth96 = 400;
constexpr int kThemeChooserHeight96 = 450;

static void FillThemeList(HWND list, const uintptr_t* params) noexcept {
    for (int i = 1; i <= kThemeCount; ++i)
        AppendListItem(list, g_state.themeTable[i].name);
    if (!params || !params[0]) return;
    int theme = 0;
    ReadSlotNumbers(params, &theme, 1);
    if (theme >= 1 && theme <= kThemeCount) SelectListItem(list, theme - 1);
}

int ThemeChooserDialog(uintptr_t* params) noexcept {
    EditorDialog dialog;
    if (!OpenEditorDialog(dialog, L"Choose Theme", kThemeChooserWidth96, kThemeChooserHeight96))
        return 0;
    int result = 0;
    if (AddDialogControls(dialog, kThemeChooserLayout, kThemeControlCount)) {
        HWND list = dialog.controls[kThemeList];
        FillThemeList(list, params);
        if (WaitForOkOrCancel(dialog, dialog.controls[kThemeOk], dialog.controls[kThemeCancel])) {
            int selected = SelectedListItem(list);
            // OK with nothing selected is a cancel: there is no theme to write.
            if (selected >= 0) {
                if (params) WriteSlotNumber(params, 0, selected + 1);
                result = 1;
            }
        }
    }
    CloseEditorDialog(dialog);
    return result;
}
