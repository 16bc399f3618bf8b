#include "editors/editor_dialog.h"

#include "plugin/host_bridge.h"
#include "plugin/plugin_state.h"

constexpr DWORD kDialogStyle = WS_CAPTION | WS_SYSMENU;
constexpr int kLayoutDpi = 96;
constexpr int kFirstControlId = 100;
constexpr WORD kCommandNextControl = 1;
constexpr WORD kCommandPreviousControl = 2;

struct ControlClass {
    const wchar_t* className;
    DWORD exStyle;
    DWORD style;
};

// Indexed by ControlKind.
static const ControlClass kControlClasses[] = {
    {L"Static", 0, WS_CHILD | WS_VISIBLE | WS_GROUP | SS_LEFT | SS_NOPREFIX | SS_NOTIFY},
    {L"ListBox", WS_EX_CLIENTEDGE,
     WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | WS_GROUP | WS_TABSTOP | LBS_NOTIFY |
         LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT},
    {L"Button", 0, WS_CHILD | WS_VISIBLE | WS_GROUP | WS_TABSTOP | BS_AUTOCHECKBOX},
    {L"Button", 0, WS_CHILD | WS_VISIBLE | WS_GROUP | WS_TABSTOP | BS_PUSHBUTTON},
};

int ScaleX(int value96) noexcept {
    return MulDiv(value96, g_state.dpiX, kLayoutDpi);
}

int ScaleY(int value96) noexcept {
    return MulDiv(value96, g_state.dpiY, kLayoutDpi);
}

static HINSTANCE ModuleInstance() noexcept {
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                           GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&ModuleInstance), &module);
    return module;
}

static EditorDialog* DialogOf(HWND window) noexcept {
    return reinterpret_cast<EditorDialog*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

static int ControlIndex(const EditorDialog& dialog, HWND window) noexcept {
    for (int i = 0; i < dialog.controlCount; ++i)
        if (window && (dialog.controls[i] == window || IsChild(dialog.controls[i], window)))
            return i;
    return -1;
}

static bool CanTakeFocus(HWND control) noexcept {
    return IsWindowEnabled(control) && IsWindowVisible(control) &&
           (GetWindowLongW(control, GWL_STYLE) & WS_TABSTOP);
}

static void MoveFocus(EditorDialog& dialog, int step) noexcept {
    int count = dialog.controlCount;
    int current = ControlIndex(dialog, GetFocus());
    if (current < 0) current = step > 0 ? -1 : count;
    for (int k = 1; k <= count; ++k) {
        int i = ((current + step * k) % count + count) % count;
        if (CanTakeFocus(dialog.controls[i])) {
            SetFocus(dialog.controls[i]);
            return;
        }
    }
}

// A message sent from another thread or process (automation, a host shutting down, End task) is
// handled inside GetMessageW, which would then wait on for input: a posted one ends that wait.
static void WakeEventWait(HWND window) noexcept {
    PostMessageW(window, WM_NULL, 0, 0);
}

static void QueueControlEvent(EditorDialog& dialog, HWND control) noexcept {
    // A full queue drops the event: only a flood of notifications within one message fills it.
    if (dialog.queueCount == kMaxQueuedEvents) return;
    dialog.queue[(dialog.queueStart + dialog.queueCount++) % kMaxQueuedEvents] = control;
    WakeEventWait(dialog.window);
}

static LRESULT CALLBACK EditorDialogProc(HWND window, UINT message, WPARAM wParam,
                                         LPARAM lParam) noexcept {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    EditorDialog* dialog = DialogOf(window);
    if (!dialog) return DefWindowProcW(window, message, wParam, lParam);
    switch (message) {
    case WM_COMMAND:
        if (!lParam && HIWORD(wParam) == 1) {
            MoveFocus(*dialog, LOWORD(wParam) == kCommandNextControl ? 1 : -1);
            return 0;
        }
        if (ControlIndex(*dialog, reinterpret_cast<HWND>(lParam)) >= 0)
            QueueControlEvent(*dialog, reinterpret_cast<HWND>(lParam));
        return 0;
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) {
            HWND focus = GetFocus();
            if (ControlIndex(*dialog, focus) >= 0) dialog->savedFocus = focus;
        } else if (dialog->savedFocus && IsWindow(dialog->savedFocus)) {
            SetFocus(dialog->savedFocus);
            return 0;
        }
        break;
    case WM_CLOSE:
        dialog->closeRequested = true;
        WakeEventWait(window);
        return 0;
    case WM_NCDESTROY:
        // Destroyed by someone else: the editor's wait must still come to an end.
        dialog->window = nullptr;
        dialog->closeRequested = true;
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

static bool RegisterDialogClass() noexcept {
    if (g_state.editorClass) return true;
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = EditorDialogProc;
    wc.hInstance = ModuleInstance();
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kEditorDialogClass;
    g_state.editorClass = RegisterClassExW(&wc);
    return g_state.editorClass != 0;
}

static void UnregisterEditorDialogClass() noexcept {
    if (g_state.editorClass) UnregisterClassW(kEditorDialogClass, ModuleInstance());
    g_state.editorClass = 0;
}

bool OpenEditorDialog(EditorDialog& dialog, const wchar_t* title, int clientWidth96,
                      int clientHeight96) noexcept {
    dialog = EditorDialog{};
    if (!RegisterDialogClass()) return false;
    RECT outer = {0, 0, ScaleX(clientWidth96), ScaleY(clientHeight96)};
    AdjustWindowRectEx(&outer, kDialogStyle, FALSE, 0);
    int width = outer.right - outer.left, height = outer.bottom - outer.top;
    HWND window = CreateWindowExW(0, kEditorDialogClass, title, kDialogStyle, 0, 0, width, height,
                                  nullptr, nullptr, ModuleInstance(), &dialog);
    if (!window) return false;
    dialog.window = window;
    g_state.editorWindow = window;
    int screenWidth = GetSystemMetrics(SM_CXSCREEN), screenHeight = GetSystemMetrics(SM_CYSCREEN);
    int x = (screenWidth - (width < screenWidth ? width : screenWidth)) / 2;
    int y = (screenHeight - (height < screenHeight ? height : screenHeight)) / 2;
    SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(window, SW_SHOWNORMAL);
    return true;
}

bool AddDialogControls(EditorDialog& dialog, const ControlRow* rows, int count) noexcept {
    for (int i = 0; i < count; ++i) {
        if (dialog.controlCount == kMaxDialogControls) return false;
        const ControlRow& row = rows[i];
        const ControlClass& kind = kControlClasses[row.kind];
        HWND control = CreateWindowExW(
            kind.exStyle, kind.className, row.text ? row.text : L"", kind.style, ScaleX(row.x),
            ScaleY(row.y), ScaleX(row.width), ScaleY(row.height), dialog.window,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstControlId + dialog.controlCount)),
            ModuleInstance(), nullptr);
        if (!control) return false;
        if (g_state.dialogFont)
            SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(g_state.dialogFont), FALSE);
        dialog.controls[dialog.controlCount++] = control;
    }
    return true;
}

DialogEvent WaitForDialogEvent(EditorDialog& dialog) noexcept {
    if (dialog.queueCount) {
        HWND control = dialog.queue[dialog.queueStart];
        dialog.queueStart = (dialog.queueStart + 1) % kMaxQueuedEvents;
        --dialog.queueCount;
        return DialogEvent{kControlEvent, control};
    }
    if (dialog.closeRequested || !dialog.window) {
        dialog.closeRequested = false;
        return DialogEvent{kCloseRequest, nullptr};
    }
    MSG msg;
    BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got <= 0) {
        // The quit belongs to the host's own loop: cancel, and post it again once closed.
        if (got == 0) {
            dialog.quitReceived = true;
            dialog.quitCode = static_cast<int>(msg.wParam);
        }
        return DialogEvent{kCloseRequest, nullptr};
    }
    bool translated = dialog.window && GetActiveWindow() == dialog.window &&
                      TranslateAcceleratorW(dialog.window, g_state.dialogAccelerators, &msg);
    if (!translated) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return DialogEvent{kOtherEvent, nullptr};
}

// True when OK was pressed; Cancel or a close request end the wait with false.
bool WaitForOkOrCancel(EditorDialog& dialog, HWND ok, HWND cancel) noexcept {
    for (;;) {
        DialogEvent event = WaitForDialogEvent(dialog);
        if (event.kind == kCloseRequest) return false;
        if (event.kind != kControlEvent) continue;
        if (event.control == cancel) return false;
        if (event.control == ok) return true;
    }
}

void CloseEditorDialog(EditorDialog& dialog) noexcept {
    HWND window = dialog.window;
    if (window) DestroyWindow(window);
    dialog.window = nullptr;
    g_state.editorWindow = nullptr;
    if (dialog.quitReceived) PostQuitMessage(dialog.quitCode);
}

int EditCheckBoxes(uintptr_t* params, const CheckBoxEditor& editor) noexcept {
    int values[kMaxParameterSlots] = {1, 1, 1, 1};
    if (params) ReadSlotNumbers(params, values, editor.boxCount);
    EditorDialog dialog;
    if (!OpenEditorDialog(dialog, editor.title, editor.width96, editor.height96)) return 0;
    int result = 0;
    if (AddDialogControls(dialog, editor.layout, editor.controlCount)) {
        HWND* boxes = &dialog.controls[editor.firstBox];
        for (int i = 0; i < editor.boxCount; ++i)
            SetChecked(boxes[i], values[i] != 0);
        if (WaitForOkOrCancel(dialog, dialog.controls[editor.ok], dialog.controls[editor.cancel])) {
            if (params)
                for (int i = 0; i < editor.boxCount; ++i)
                    WriteSlotNumber(params, i, IsChecked(boxes[i]) ? 1 : 0);
            result = 1;
        }
    }
    CloseEditorDialog(dialog);
    return result;
}

void AppendListItem(HWND list, const wchar_t* text) noexcept {
    SendMessageW(list, LB_INSERTSTRING, static_cast<WPARAM>(-1),
                 reinterpret_cast<LPARAM>(text ? text : L""));
}

void SelectListItem(HWND list, int index) noexcept {
    SendMessageW(list, LB_SETCURSEL, index, 0);
}

int SelectedListItem(HWND list) noexcept {
    return static_cast<int>(SendMessageW(list, LB_GETCURSEL, 0, 0));
}

void SetChecked(HWND box, bool checked) noexcept {
    SendMessageW(box, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool IsChecked(HWND box) noexcept {
    return SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void InitEditorResources() noexcept {
    g_state.dpiX = g_state.dpiY = kLayoutDpi;
    if (HDC screen = GetDC(nullptr)) {
        int dpiX = GetDeviceCaps(screen, LOGPIXELSX), dpiY = GetDeviceCaps(screen, LOGPIXELSY);
        if (dpiX > 0) g_state.dpiX = dpiX;
        if (dpiY > 0) g_state.dpiY = dpiY;
        ReleaseDC(nullptr, screen);
    }
    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = sizeof metrics;
    g_state.dialogFont = nullptr;
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
        g_state.dialogFont = CreateFontIndirectW(&metrics.lfMessageFont);
    g_state.dialogFontOwned = g_state.dialogFont != nullptr;
    if (!g_state.dialogFont)
        g_state.dialogFont = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    for (COLORREF& color : g_state.customColors)
        color = 0;
    ACCEL keys[] = {{FVIRTKEY, VK_TAB, kCommandNextControl},
                    {FVIRTKEY | FSHIFT, VK_TAB, kCommandPreviousControl}};
    g_state.dialogAccelerators = CreateAcceleratorTableW(keys, 2);
    g_state.editorClass = 0;
    g_state.editorWindow = nullptr;
    g_state.editorOpen = 0;
}

void ReleaseEditorResources() noexcept {
    // A class left registered would point at code that is about to be unmapped.
    UnregisterEditorDialogClass();
    if (g_state.dialogAccelerators) DestroyAcceleratorTable(g_state.dialogAccelerators);
    g_state.dialogAccelerators = nullptr;
    if (g_state.dialogFont && g_state.dialogFontOwned) DeleteObject(g_state.dialogFont);
    g_state.dialogFont = nullptr;
    g_state.dialogFontOwned = false;
    // Through the handle loaded, so a copy the host loaded itself stays.
    HMODULE comdlg = g_state.comdlgLibrary;
    g_state.comdlgLibrary = nullptr;
    g_state.chooseColor = nullptr;
    if (comdlg) FreeLibrary(comdlg);
}
