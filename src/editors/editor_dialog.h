#pragma once
#include <windows.h>

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

void AppendListItem(HWND list, const wchar_t* text) noexcept;
void SelectListItem(HWND list, int index) noexcept;
int SelectedListItem(HWND list) noexcept;
void SetChecked(HWND box, bool checked) noexcept;
bool IsChecked(HWND box) noexcept;
