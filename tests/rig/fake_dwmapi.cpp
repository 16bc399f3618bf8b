// Stands in for dwmapi.dll beside a test program (WINEDLLOVERRIDES=dwmapi=n): records every
// DwmSetWindowAttribute call instead of drawing, and fails on request. It keeps each window's
// dark-mode flag as Windows 11 does: off until written, read back by DwmGetWindowAttribute.
#include "fake_dwmapi.h"

constexpr int kMaxCalls = 1 << 16;
constexpr int kMaxPainted = 4096;
constexpr int kMaxFlags = 4096;

struct DarkModeFlag {
    HWND window;
    BOOL on;
};

static DwmCall g_calls[kMaxCalls];
static int g_callCount;
static DWORD g_failAttribute;
static HRESULT g_failResult;
static HWND g_painted[kMaxPainted];
static int g_paintedCount;
static DarkModeFlag g_flags[kMaxFlags];
static int g_flagCount;
static HRESULT g_failReads;

static DarkModeFlag* FindFlag(HWND window) {
    for (int i = 0; i < g_flagCount; ++i)
        if (g_flags[i].window == window) return &g_flags[i];
    return nullptr;
}

static void StoreFlag(HWND window, BOOL on) {
    if (DarkModeFlag* flag = FindFlag(window))
        flag->on = on;
    else if (g_flagCount < kMaxFlags)
        g_flags[g_flagCount++] = DarkModeFlag{window, on};
}

static DWORD FlagAttribute() {
    static DWORD attribute;
    if (!attribute) {
        OSVERSIONINFOEXW info = {};
        info.dwOSVersionInfoSize = sizeof info;
        auto rtlGetVersion =
            reinterpret_cast<LONG(WINAPI*)(OSVERSIONINFOEXW*)>(reinterpret_cast<void (*)(void)>(
                GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "RtlGetVersion")));
        if (rtlGetVersion) rtlGetVersion(&info);
        attribute = info.dwBuildNumber < 18985 ? kDarkModeAttributeBefore20H1 : kDarkModeAttribute;
    }
    return attribute;
}

static BOOL WasPainted(HWND window) {
    for (int i = 0; i < g_paintedCount; ++i)
        if (g_painted[i] == window) return TRUE;
    return FALSE;
}

extern "C" __declspec(dllexport) HRESULT WINAPI
    DwmSetWindowAttribute(HWND window, DWORD attribute, LPCVOID value, DWORD size) {
    if (g_callCount < kMaxCalls) {
        DwmCall& call = g_calls[g_callCount++];
        call.window = window;
        call.attribute = attribute;
        call.value = value && size >= 4 ? *static_cast<const DWORD*>(value) : 0;
        call.size = size;
        call.visible = IsWindowVisible(window);
        call.painted = WasPainted(window);
        LARGE_INTEGER now;
        QueryPerformanceCounter(&now);
        call.counter = now.QuadPart;
    }
    if (g_failResult != S_OK && (g_failAttribute == 0 || g_failAttribute == attribute))
        return g_failResult;
    if (attribute == kDarkModeAttribute || attribute == kDarkModeAttributeBefore20H1) {
        if (attribute != FlagAttribute() || !value || size != sizeof(BOOL)) return E_INVALIDARG;
        StoreFlag(window, *static_cast<const BOOL*>(value) != FALSE);
    }
    return S_OK;
}

extern "C" __declspec(dllexport) HRESULT WINAPI
    DwmGetWindowAttribute(HWND window, DWORD attribute, PVOID value, DWORD size) {
    if (g_failReads != S_OK) return g_failReads;
    if (attribute != FlagAttribute() || !value || size != sizeof(BOOL)) return E_INVALIDARG;
    const DarkModeFlag* flag = FindFlag(window);
    *static_cast<BOOL*>(value) = flag ? flag->on : FALSE;
    return S_OK;
}

extern "C" __declspec(dllexport) void WINAPI FakeDwm_Reset() {
    g_callCount = 0;
    g_failAttribute = 0;
    g_failResult = S_OK;
    g_paintedCount = 0;
    g_flagCount = 0;
    g_failReads = S_OK;
}

extern "C" __declspec(dllexport) int WINAPI FakeDwm_CallCount() {
    return g_callCount;
}

extern "C" __declspec(dllexport) BOOL WINAPI FakeDwm_GetCall(int index, DwmCall* call) {
    if (index < 0 || index >= g_callCount) return FALSE;
    *call = g_calls[index];
    return TRUE;
}

extern "C" __declspec(dllexport) void WINAPI FakeDwm_Fail(DWORD attribute, HRESULT result) {
    g_failAttribute = attribute;
    g_failResult = result;
}

extern "C" __declspec(dllexport) void WINAPI FakeDwm_NotePaint(HWND window) {
    if (!WasPainted(window) && g_paintedCount < kMaxPainted) g_painted[g_paintedCount++] = window;
}

// As a window that switched its own flag before the plug-in saw it.
extern "C" __declspec(dllexport) void WINAPI FakeDwm_PresetDarkMode(HWND window, BOOL on) {
    StoreFlag(window, on);
}

// Makes every later DwmGetWindowAttribute call return the result (S_OK: read again).
extern "C" __declspec(dllexport) void WINAPI FakeDwm_FailReads(HRESULT result) {
    g_failReads = result;
}
