#include "editors/editor_dialog.h"
#include "editors/editors.h"
#include "plugin/host_bridge.h"

enum CaptionButtonsControl {
    kButtonsPrompt,
    kButtonsClose,
    kButtonsMinimize,
    kButtonsMaximize,
    kButtonsNote,
    kButtonsOk,
    kButtonsCancel,
    kButtonsControlCount
};

static const ControlRow kCaptionButtonsLayout[kButtonsControlCount] = {
    {kLabel, 20, 18, 280, 20, L"Choose which caption buttons to show:"},
    {kCheckBox, 30, 50, 240, 22, L"Close button"},
    {kCheckBox, 30, 78, 240, 22, L"Minimize button"},
    {kCheckBox, 30, 106, 240, 22, L"Maximize button"},
    {kLabel, 20, 138, 280, 32,
     L"Note: unchecking Min/Max grays them; unchecking all three removes the whole system menu."},
    {kPushButton, 145, 188, 70, 28, L"OK"},
    {kPushButton, 225, 188, 70, 28, L"Cancel"},
};

constexpr int kCaptionButtonsWidth96 = 320;
constexpr int kCaptionButtonsHeight96 = 230;
constexpr int kButtonBoxCount = 3;

int CaptionButtonsDialog(uintptr_t* params) noexcept {
    // A missing value means shown, as the run-time action defaults it.
    int shown[kButtonBoxCount] = {1, 1, 1};
    if (params) ReadSlotNumbers(params, shown, kButtonBoxCount);
    EditorDialog dialog;
    if (!OpenEditorDialog(dialog, L"Title Bar Buttons", kCaptionButtonsWidth96,
                          kCaptionButtonsHeight96))
        return 0;
    int result = 0;
    if (AddDialogControls(dialog, kCaptionButtonsLayout, kButtonsControlCount)) {
        HWND* boxes = &dialog.controls[kButtonsClose];
        for (int i = 0; i < kButtonBoxCount; ++i)
            SetChecked(boxes[i], shown[i] != 0);
        if (WaitForOkOrCancel(dialog, dialog.controls[kButtonsOk],
                              dialog.controls[kButtonsCancel])) {
            if (params)
                for (int i = 0; i < kButtonBoxCount; ++i)
                    WriteSlotNumber(params, i, IsChecked(boxes[i]) ? 1 : 0);
            result = 1;
        }
    }
    CloseEditorDialog(dialog);
    return result;
}
