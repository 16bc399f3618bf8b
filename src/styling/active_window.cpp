#include "plugin/host_bridge.h"
#include "plugin/plugin_state.h"
#include "styling/styling.h"

constexpr int kTitleBufferChars = 512;

int GetActiveWindowInfo() noexcept {
    HWND foreground = GetForegroundWindow();
    if (!foreground) {
        ReportLastError(L"No active window found");
        return 0;
    }
    wchar_t title[kTitleBufferChars];
    // GetWindowTextW sends WM_GETTEXT to our own windows, which a hung thread never answers.
    int length = NotResponding(foreground)
                     ? InternalGetWindowText(foreground, title, kTitleBufferChars)
                     : GetWindowTextW(foreground, title, kTitleBufferChars);
    // A full buffer may end in the first half of a pair: the cut character is left out whole.
    if (length == kTitleBufferChars - 1 && IS_HIGH_SURROGATE(title[length - 1]))
        title[--length] = L'\0';
    // The handle travels as a 32-bit value: the top bit makes it a negative number.
    int handle = static_cast<int>(reinterpret_cast<intptr_t>(foreground));
    SetHostVariableInt(L"[Zarnel.ActiveWindowHandle]", handle);
    SetHostVariable(L"[Zarnel.ActiveWindowTitle]", length > 0 ? title : L"(No Title)");
    ReportLastError(L"OK - Active window info retrieved");
    return handle;
}
