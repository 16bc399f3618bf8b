#include "editors/editor_dialog.h"
#include "editors/editors.h"

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
    static const CheckBoxEditor editor = {L"Title Bar Buttons",    kCaptionButtonsWidth96,
                                          kCaptionButtonsHeight96, kCaptionButtonsLayout,
                                          kButtonsControlCount,    kButtonsClose,
                                          kButtonBoxCount,         kButtonsOk,
                                          kButtonsCancel};
    return EditCheckBoxes(params, editor);
}
