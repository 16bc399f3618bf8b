#include "editors/editor_dialog.h"
#include "editors/editors.h"

enum DarkModeControl { kDarkModeBox, kDarkModeOk, kDarkModeCancel, kDarkModeControlCount };

static const ControlRow kDarkModeLayout[kDarkModeControlCount] = {
    {kCheckBox, 30, 20, 260, 22, L"Dark title bar"},
    {kPushButton, 145, 62, 70, 28, L"OK"},
    {kPushButton, 225, 62, 70, 28, L"Cancel"},
};

constexpr int kDarkModeWidth96 = 320;
constexpr int kDarkModeHeight96 = 104;

// Slot 1, the window, is the script's to fill.
int DarkModeDialog(uintptr_t* params) noexcept {
    static const CheckBoxEditor editor = {L"Title Bar Mode",
                                          kDarkModeWidth96,
                                          kDarkModeHeight96,
                                          kDarkModeLayout,
                                          kDarkModeControlCount,
                                          kDarkModeBox,
                                          1,
                                          kDarkModeOk,
                                          kDarkModeCancel};
    return EditCheckBoxes(params, editor);
}
