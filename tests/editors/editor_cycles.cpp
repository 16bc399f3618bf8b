#include "editor_cycles.h"

#include "dialog_driver.h"

const EditorKind kEditorKinds[3] = {
    {"colour picker", 1}, {"theme chooser", 3}, {"caption buttons", 10}};

bool CycleEditor(PluginApi& api, const EditorKind& kind, int cycles) {
    // Slots to read on every opening: a leak in reading them would show as well.
    Params params({"7", "0", "1", nullptr});
    for (int i = 0; i < cycles; ++i) {
        HWND dialog = nullptr;
        std::vector<Step> steps;
        if (kind.action == 1)
            steps = {WaitForColorDialog(dialog), PostTo(dialog, WM_COMMAND, IDCANCEL)};
        else
            steps = {
                WaitForEditor(kind.action == 3 ? L"Choose Theme" : L"Title Bar Buttons", dialog),
                PostTo(dialog, WM_CLOSE)};
        ScriptRun run =
            RunScripted([&] { return api.editAction(kind.action, params.data()); }, steps);
        if (!run.completed || run.result != 0 || IsWindow(dialog)) return false;
    }
    return true;
}
