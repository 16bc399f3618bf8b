// Lies beside the test programs as a dwmapi.dll planted in a host's folder would: it records
// nothing, so a test that expects recorded calls fails if the plug-in ever loads it.
#include <windows.h>

extern "C" __declspec(dllexport) HRESULT WINAPI DwmSetWindowAttribute(HWND, DWORD, LPCVOID, DWORD) {
    return S_OK;
}
