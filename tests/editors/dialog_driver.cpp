#include "dialog_driver.h"

#include <cstdio>
#include <memory>

static std::vector<Step> g_steps;
static size_t g_next;
static DWORD g_deadline;
static int g_stepTimeout;
static bool g_timedOut, g_inTick;

static BOOL CALLBACK CancelOpenDialog(HWND window, LPARAM) {
    wchar_t name[32] = {};
    GetClassNameW(window, name, 32);
    if (lstrcmpW(name, L"#32770") == 0) PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
    if (lstrcmpW(name, L"ZarnelEditorDialog") == 0) PostMessageW(window, WM_CLOSE, 0, 0);
    return TRUE;
}

static void CALLBACK Tick(HWND, UINT, UINT_PTR timer, DWORD) {
    if (g_inTick) return;
    g_inTick = true;
    if (g_next < g_steps.size()) {
        if (g_steps[g_next]()) {
            ++g_next;
            g_deadline = GetTickCount() + g_stepTimeout;
        } else if (static_cast<int>(GetTickCount() - g_deadline) > 0) {
            printf("  step %d timed out\n", static_cast<int>(g_next));
            g_timedOut = true;
            g_next = g_steps.size();
        }
    }
    if (g_timedOut) EnumThreadWindows(GetCurrentThreadId(), CancelOpenDialog, 0);
    // Done: no tick may wake the editor's wait from here on.
    if (g_next == g_steps.size() && !g_timedOut) KillTimer(nullptr, timer);
    g_inTick = false;
}

ScriptRun RunScripted(const std::function<int()>& openEditor, const std::vector<Step>& steps,
                      int stepTimeoutMs) {
    g_steps = steps;
    g_next = 0;
    g_stepTimeout = stepTimeoutMs;
    g_deadline = GetTickCount() + stepTimeoutMs;
    g_timedOut = false;
    UINT_PTR timer = SetTimer(nullptr, 0, 10, Tick);
    int result = openEditor();
    KillTimer(nullptr, timer);
    bool completed = !g_timedOut && g_next == g_steps.size();
    if (!completed) printf("  script stopped at step %d\n", static_cast<int>(g_next));
    g_steps.clear();
    return {result, completed};
}

struct FindRequest {
    const wchar_t* title;
    HWND found;
};

static BOOL CALLBACK MatchTitle(HWND window, LPARAM context) {
    auto* request = reinterpret_cast<FindRequest*>(context);
    if (IsWindowVisible(window) && WindowText(window) == request->title) {
        request->found = window;
        return FALSE;
    }
    return TRUE;
}

HWND FindEditor(const wchar_t* title) {
    FindRequest request = {title, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), MatchTitle, reinterpret_cast<LPARAM>(&request));
    return request.found;
}

static BOOL CALLBACK MatchColorDialog(HWND window, LPARAM context) {
    wchar_t name[16] = {};
    GetClassNameW(window, name, 16);
    if (IsWindowVisible(window) && IsWindowEnabled(window) && lstrcmpW(name, L"#32770") == 0) {
        *reinterpret_cast<HWND*>(context) = window;
        return FALSE;
    }
    return TRUE;
}

HWND FindColorDialog() {
    HWND found = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), MatchColorDialog, reinterpret_cast<LPARAM>(&found));
    return found;
}

std::vector<HWND> Children(HWND dialog) {
    std::vector<HWND> children;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);
    return children;
}

std::wstring WindowText(HWND window) {
    wchar_t text[512] = {};
    InternalGetWindowText(window, text, 512);
    return text;
}

static BOOL CALLBACK CountWindow(HWND, LPARAM context) {
    ++*reinterpret_cast<int*>(context);
    return TRUE;
}

static BOOL CALLBACK CountWithChildren(HWND window, LPARAM context) {
    ++*reinterpret_cast<int*>(context);
    EnumChildWindows(window, CountWindow, context);
    return TRUE;
}

int CountThreadWindows() {
    int count = 0;
    EnumThreadWindows(GetCurrentThreadId(), CountWithChildren, reinterpret_cast<LPARAM>(&count));
    return count;
}

Step WaitForEditor(const wchar_t* title, HWND& found) {
    return [title, &found] { return (found = FindEditor(title)) != nullptr; };
}

Step WaitForColorDialog(HWND& found) {
    return [&found] { return (found = FindColorDialog()) != nullptr; };
}

Step Pause(int milliseconds) {
    auto until = std::make_shared<DWORD>(0);
    return [milliseconds, until] {
        if (!*until) *until = GetTickCount() + milliseconds;
        return static_cast<int>(GetTickCount() - *until) >= 0;
    };
}

Step PostTo(const HWND& window, UINT message, WPARAM wParam, LPARAM lParam) {
    return [&window, message, wParam, lParam] {
        PostMessageW(window, message, wParam, lParam);
        return true;
    };
}

Step ClickChild(const HWND& dialog, int index) {
    return [&dialog, index] {
        PostMessageW(Children(dialog).at(index), BM_CLICK, 0, 0);
        return true;
    };
}

static void SetShift(bool down) {
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_SHIFT] = keys[VK_LSHIFT] = down ? 0x80 : 0;
    SetKeyboardState(keys);
}

Step PressKey(const HWND& dialog, WORD key, bool shift) {
    // Two phases: post the key, then let the editor's loop take it before the shift goes up.
    auto posted = std::make_shared<bool>(false);
    return [&dialog, key, shift, posted] {
        if (*posted) {
            SetShift(false);
            return true;
        }
        HWND target = GetFocus() ? GetFocus() : dialog;
        SetShift(shift);
        PostMessageW(target, WM_KEYDOWN, key, 1);
        PostMessageW(target, WM_KEYUP, key, 0xC0000001);
        *posted = true;
        return !shift;
    };
}
