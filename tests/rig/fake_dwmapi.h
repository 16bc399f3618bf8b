#pragma once
// The recording stand-in for dwmapi.dll: what tests can ask of it.
#include <windows.h>

struct DwmCall {
    HWND window;
    DWORD attribute;
    DWORD value;
    DWORD size;
    BOOL visible;     // IsWindowVisible at the moment of the call
    BOOL painted;     // the window had been sent WM_PAINT before (see FakeDwm_NotePaint)
    LONGLONG counter; // QueryPerformanceCounter at the call
};

typedef void(WINAPI* FakeDwmResetFn)();
typedef int(WINAPI* FakeDwmCallCountFn)();
typedef BOOL(WINAPI* FakeDwmGetCallFn)(int index, DwmCall* call);
// Makes every later call for the attribute (or for any attribute with 0) return the result.
typedef void(WINAPI* FakeDwmFailFn)(DWORD attribute, HRESULT result);
typedef void(WINAPI* FakeDwmNotePaintFn)(HWND window);
typedef void(WINAPI* FakeDwmPresetDarkModeFn)(HWND window, BOOL on);
typedef void(WINAPI* FakeDwmFailReadsFn)(HRESULT result);
typedef HRESULT(WINAPI* DwmGetWindowAttributeFn)(HWND, DWORD, PVOID, DWORD);

// DWMWA_USE_IMMERSIVE_DARK_MODE: the flag the stand-in keeps per window. Windows 10 took it as 19
// before build 18985 (20H1); the stand-in keeps it under the number of the prefix's build only.
constexpr DWORD kDarkModeAttribute = 20;
constexpr DWORD kDarkModeAttributeBefore20H1 = 19;
