#pragma once
// What a host does: load the plug-in, hand it recording callbacks, own windows and pump messages.
#include <windows.h>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "fake_dwmapi.h"

struct HostWrite {
    std::string name, value;
};
struct Registration {
    int number;
    std::string name, hint;
    int arg4, arg5, arg6;
};

extern std::vector<HostWrite> g_writes;
extern std::vector<Registration> g_registrations;
extern int g_badBlocks; // host blocks whose GlobalSize was not their text length plus one

int WINAPI RecordAddAction(int number, const char* name, const char* hint, int a4, int a5, int a6);
int WINAPI RecordSetVariable(const char* name, const char* value);
void ClearHostRecords();
std::string LastValue(const char* name); // "<unset>" when never written
int CountWrites(const char* name);
std::string TakeHostBlock(char* block); // reads a block handed to the host, checks and frees it

// The seven exports of a loaded plug-in DLL.
struct PluginApi {
    HMODULE module = nullptr;
    int(WINAPI* initPlugIn)(HWND, char**, char**, char**);
    int(WINAPI* registerPlugIn)(void*, void*, void*, void*);
    int(WINAPI* getPluginInfo)(char**, char**, void*);
    int(WINAPI* initialize)(HWND);
    int(WINAPI* message)(int, void*);
    int(WINAPI* execAction)(int, uintptr_t*);
    int(WINAPI* editAction)(int, uintptr_t*);
};
bool LoadPlugin(PluginApi& api, const wchar_t* path = L"ZarnelPlugin_Enhanced.dll");
// Loads, initialises with the host window, registers the recording callbacks.
bool StartPlugin(PluginApi& api, HWND hostWindow);
void UnloadPlugin(PluginApi& api);

// Counts first-chance access violations inside the module's image, which may be unloaded by then:
// Wine swallows faults in timer and hook procedures, so surviving them proves nothing.
void WatchFaultsIn(HMODULE module);
LONG FaultsInWatchedImage();

// Parameter arrays as a host lays them out: null entries stay null slots.
struct Params {
    std::vector<std::string> texts;
    std::vector<uintptr_t> slots;
    explicit Params(std::initializer_list<const char*> values);
    uintptr_t* data() { return slots.data(); }
};
int Exec(PluginApi& api, int action, std::initializer_list<const char*> values);

// The recording dwmapi.dll, once something has loaded it.
bool DwmLoaded();
std::vector<DwmCall> DwmAllCalls();
std::vector<DwmCall> DwmCalls(); // the colour calls: all but those of the dark-mode flag
void DwmReset();
void DwmFail(DWORD attribute, HRESULT result);
void DwmNotePaint(HWND window);
std::vector<DwmCall> DwmCallsFor(HWND window);
// A window's calls in order, flag writes included, as "attribute:VALUE" words (hexadecimal).
std::string DwmLog(HWND window);
// The dark-mode flag the recording window manager keeps per window.
void DwmPresetDarkMode(HWND window, bool on);
void DwmFailReads(HRESULT result);
int DwmDarkMode(HWND window); // 1 on, 0 off, -1 unreadable
std::vector<DwmCall> DwmFlagWrites(HWND window);

// Points the module's import address table slots that hold `real` at `replacement`; how many hold
// it.
int RedirectImport(HMODULE module, void* real, void* replacement);
// Wine 8 reports no contrast theme whatever its settings and refuses to switch one on: the module's
// import of SystemParametersInfoW is pointed at one that reports a theme on, while on. False when
// the module does not import it.
bool SimulateContrastTheme(HMODULE module, bool on);
// As User Interface Privilege Isolation does on an elevated program's window: the module's import
// of SetWindowLongW answers 0 with ERROR_ACCESS_DENIED while on. In-process, so do the test's own.
bool SimulateRefusedWindowLong(HMODULE module, bool on);

// Each WM_NCACTIVATE a test window received while recording: its caption drawn active or not.
// Off by default, so long runs do not grow the heap.
struct CaptionState {
    HWND window;
    bool active;
};
extern bool g_recordCaptionStates;
extern std::vector<CaptionState> g_captionStates;

HWND MakeWindow(const wchar_t* title, DWORD style = WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                HWND owner = nullptr, DWORD exStyle = 0);
void Pump(int milliseconds);
// Asks for the window in front and pumps until it is there (or 3 s pass).
bool BringToFront(HWND window);
bool PumpUntil(const std::function<bool()>& done, int milliseconds);
// Pumps for a while and counts the timer messages for the window (null: thread timers too).
int PumpCountingTimerMessages(HWND window, int milliseconds);
std::string HandleText(HWND window); // signed 32-bit decimal, as the plug-in writes handles
