#pragma once
#include <windows.h>
#include <cstdint>

enum ControlKind { kLabel, kListBox, kCheckBox, kPushButton };

// One row of a dialog layout, in 96-DPI units.
struct ControlRow {
    ControlKind kind;
    int x, y, width, height;
    const wchar_t* text;
};

enum DialogEventKind { kOtherEvent, kControlEvent, kCloseRequest };

struct DialogEvent {
    DialogEventKind kind;
    HWND control;
};

constexpr int kMaxDialogControls = 12;
constexpr int kMaxQueuedEvents = 16;

struct EditorDialog {
    HWND window;
    HWND controls[kMaxDialogControls];
    int controlCount;
    HWND savedFocus;
    HWND queue[kMaxQueuedEvents];
    int queueStart, queueCount;
    bool closeRequested;
    bool quitReceived;
    int quitCode;
};

constexpr wchar_t kEditorDialogClass[] = L"ZarnelEditorDialog";

int ScaleX(int value96) noexcept;
int ScaleY(int value96) noexcept;

bool OpenEditorDialog(EditorDialog& dialog, const wchar_t* title, int clientWidth96,
                      int clientHeight96) noexcept;
bool AddDialogControls(EditorDialog& dialog, const ControlRow* rows, int count) noexcept;
DialogEvent WaitForDialogEvent(EditorDialog& dialog) noexcept;
bool WaitForOkOrCancel(EditorDialog& dialog, HWND ok, HWND cancel) noexcept;
void CloseEditorDialog(EditorDialog& dialog) noexcept;

// A dialog whose check boxes stand for parameter slots 0 up: checked for a non-zero value, a
// missing one counting as 1, as the run-time actions default it; OK writes 1 or 0 back.
struct CheckBoxEditor {
    const wchar_t* title;
    int width96, height96;
    const ControlRow* layout;
    int controlCount;
    int firstBox, boxCount, ok, cancel; // rows of the layout
};
int EditCheckBoxes(uintptr_t* params, const CheckBoxEditor& editor) noexcept;

void AppendListItem(HWND list, const wchar_t* text) noexcept;
void SelectListItem(HWND list, int index) noexcept;
int SelectedListItem(HWND list) noexcept;
void SetChecked(HWND box, bool checked) noexcept;
bool IsChecked(HWND box) noexcept;
