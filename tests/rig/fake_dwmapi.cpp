// Stands in for dwmapi.dll beside a test program (WINEDLLOVERRIDES=dwmapi=n): records every
// DwmSetWindowAttribute call instead of drawing, and fails on request.
#include "fake_dwmapi.h"

constexpr int kMaxCalls = 1 << 16;
constexpr int kMaxPainted = 4096;

static DwmCall g_calls[kMaxCalls];
static int g_callCount;
static DWORD g_failAttribute;
static HRESULT g_failResult;
static HWND g_painted[kMaxPainted];
static int g_paintedCount;

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
    return S_OK;
}

extern "C" __declspec(dllexport) void WINAPI FakeDwm_Reset() {
    g_callCount = 0;
    g_failAttribute = 0;
    g_failResult = S_OK;
    g_paintedCount = 0;
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
