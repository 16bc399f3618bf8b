#include "styling/styling.h"

// What the plug-in set on a window is kept on the window itself, so a copy loaded later, or another
// copy in the same host, decides and restores from the same facts.
const wchar_t kCaptionProperty[] = L"Zarnel.CaptionColor";
const wchar_t kTextProperty[] = L"Zarnel.TextColor";
const wchar_t kOwnFlagProperty[] = L"Zarnel.OwnDarkMode"; // before any copy first changed it
const wchar_t kBorderProperty[] = L"Zarnel.BorderColor";  // a colour or kBorderFollowsCaption

// Stored one higher: GetPropW answers 0 for a property the window lacks.
bool SetWindowValue(HWND window, const wchar_t* name, DWORD value) noexcept {
    return SetPropW(window, name, reinterpret_cast<HANDLE>(static_cast<uintptr_t>(value) + 1));
}

DWORD WindowValue(HWND window, const wchar_t* name, DWORD missing) noexcept {
    auto value = reinterpret_cast<uintptr_t>(GetPropW(window, name));
    return value ? static_cast<DWORD>(value - 1) : missing;
}
