#include "host_rig.h"

#include <psapi.h>

#include "resources.h"

std::vector<HostWrite> g_writes;
std::vector<Registration> g_registrations;
int g_badBlocks;

std::string TakeHostBlock(char* block) {
    if (!block) return "<null>";
    std::string text(block);
    if (GlobalSize(block) != text.size() + 1) ++g_badBlocks;
    ForgetAllocation(block);
    GlobalFree(block);
    return text;
}

int WINAPI RecordAddAction(int number, const char* name, const char* hint, int a4, int a5, int a6) {
    g_registrations.push_back({number, TakeHostBlock(const_cast<char*>(name)),
                               TakeHostBlock(const_cast<char*>(hint)), a4, a5, a6});
    return 1;
}

int WINAPI RecordSetVariable(const char* name, const char* value) {
    g_writes.push_back(
        {TakeHostBlock(const_cast<char*>(name)), TakeHostBlock(const_cast<char*>(value))});
    return 1;
}

void ClearHostRecords() {
    g_writes.clear();
    g_registrations.clear();
    g_badBlocks = 0;
}

std::string LastValue(const char* name) {
    for (auto it = g_writes.rbegin(); it != g_writes.rend(); ++it)
        if (it->name == name) return it->value;
    return "<unset>";
}

int CountWrites(const char* name) {
    int count = 0;
    for (const HostWrite& write : g_writes)
        count += write.name == name;
    return count;
}

template <typename Fn> static void Resolve(HMODULE module, Fn& fn, const char* name) {
    fn = reinterpret_cast<Fn>(reinterpret_cast<void (*)(void)>(GetProcAddress(module, name)));
}

bool LoadPlugin(PluginApi& api, const wchar_t* path) {
    api.module = LoadLibraryW(path);
    if (!api.module) return false;
    TrackAllocations(api.module);
    Resolve(api.module, api.initPlugIn, "_nbInitPlugIn");
    Resolve(api.module, api.registerPlugIn, "_nbRegisterPlugIn");
    Resolve(api.module, api.getPluginInfo, "_nbGetPluginInfo");
    Resolve(api.module, api.initialize, "_nbInitialize");
    Resolve(api.module, api.message, "_nbMessage");
    Resolve(api.module, api.execAction, "_nbExecAction");
    Resolve(api.module, api.editAction, "_nbEditAction");
    return api.initPlugIn && api.registerPlugIn && api.getPluginInfo && api.initialize &&
           api.message && api.execAction && api.editAction;
}

bool StartPlugin(PluginApi& api, HWND hostWindow) {
    if (!LoadPlugin(api)) return false;
    api.initPlugIn(hostWindow, nullptr, nullptr, nullptr);
    api.registerPlugIn(reinterpret_cast<void*>(RecordAddAction), nullptr, nullptr,
                       reinterpret_cast<void*>(RecordSetVariable));
    api.initialize(hostWindow);
    ClearHostRecords();
    return true;
}

void UnloadPlugin(PluginApi& api) {
    if (api.module) FreeLibrary(api.module);
    api.module = nullptr;
}

static uintptr_t g_watchedBase, g_watchedEnd;
static volatile LONG g_watchedFaults;

static LONG CALLBACK CountFaultInWatchedImage(EXCEPTION_POINTERS* info) {
    uintptr_t at = reinterpret_cast<uintptr_t>(info->ExceptionRecord->ExceptionAddress);
    if (info->ExceptionRecord->ExceptionCode == EXCEPTION_ACCESS_VIOLATION && at >= g_watchedBase &&
        at < g_watchedEnd)
        InterlockedIncrement(&g_watchedFaults);
    return EXCEPTION_CONTINUE_SEARCH;
}

void WatchFaultsIn(HMODULE module) {
    static PVOID handler = AddVectoredExceptionHandler(1, CountFaultInWatchedImage);
    (void)handler;
    MODULEINFO info = {};
    GetModuleInformation(GetCurrentProcess(), module, &info, sizeof(info));
    g_watchedBase = reinterpret_cast<uintptr_t>(info.lpBaseOfDll);
    g_watchedEnd = g_watchedBase + info.SizeOfImage;
}

LONG FaultsInWatchedImage() {
    return g_watchedFaults;
}

Params::Params(std::initializer_list<const char*> values) {
    texts.reserve(values.size());
    for (const char* value : values)
        texts.push_back(value ? value : "");
    size_t i = 0;
    for (const char* value : values) {
        slots.push_back(value ? reinterpret_cast<uintptr_t>(texts[i].c_str()) : 0);
        ++i;
    }
    // The plug-in reads as many slots as it registered for the action, four at most.
    while (slots.size() < 4)
        slots.push_back(0);
}

int Exec(PluginApi& api, int action, std::initializer_list<const char*> values) {
    Params params(values);
    return api.execAction(action, params.data());
}

template <typename Fn> static Fn DwmEntry(const char* name) {
    HMODULE dwm = GetModuleHandleW(L"dwmapi.dll");
    if (!dwm) return nullptr;
    return reinterpret_cast<Fn>(reinterpret_cast<void (*)(void)>(GetProcAddress(dwm, name)));
}

bool DwmLoaded() {
    return GetModuleHandleW(L"dwmapi.dll") != nullptr;
}

std::vector<DwmCall> DwmAllCalls() {
    std::vector<DwmCall> calls;
    auto count = DwmEntry<FakeDwmCallCountFn>("FakeDwm_CallCount");
    auto get = DwmEntry<FakeDwmGetCallFn>("FakeDwm_GetCall");
    if (!count || !get) return calls;
    calls.resize(count());
    for (size_t i = 0; i < calls.size(); ++i)
        get(static_cast<int>(i), &calls[i]);
    return calls;
}

std::vector<DwmCall> DwmCalls() {
    std::vector<DwmCall> calls;
    for (const DwmCall& call : DwmAllCalls())
        if (call.attribute != kDarkModeAttribute) calls.push_back(call);
    return calls;
}

std::string DwmLog(HWND window) {
    std::string log;
    char word[32];
    for (const DwmCall& call : DwmAllCalls()) {
        if (call.window != window) continue;
        snprintf(word, sizeof word, "%s%lu:%lX", log.empty() ? "" : " ", call.attribute,
                 call.value);
        log += word;
    }
    return log;
}

std::vector<DwmCall> DwmCallsFor(HWND window) {
    std::vector<DwmCall> mine;
    for (const DwmCall& call : DwmCalls())
        if (call.window == window) mine.push_back(call);
    return mine;
}

void DwmReset() {
    if (auto reset = DwmEntry<FakeDwmResetFn>("FakeDwm_Reset")) reset();
}

void DwmFail(DWORD attribute, HRESULT result) {
    if (auto fail = DwmEntry<FakeDwmFailFn>("FakeDwm_Fail")) fail(attribute, result);
}

void DwmPresetDarkMode(HWND window, bool on) {
    if (auto preset = DwmEntry<FakeDwmPresetDarkModeFn>("FakeDwm_PresetDarkMode"))
        preset(window, on);
}

void DwmFailReads(HRESULT result) {
    if (auto fail = DwmEntry<FakeDwmFailReadsFn>("FakeDwm_FailReads")) fail(result);
}

int DwmDarkMode(HWND window) {
    auto read = DwmEntry<DwmGetWindowAttributeFn>("DwmGetWindowAttribute");
    BOOL on = FALSE;
    if (!read || read(window, kDarkModeAttribute, &on, sizeof on) != S_OK) return -1;
    return on ? 1 : 0;
}

std::vector<DwmCall> DwmFlagWrites(HWND window) {
    std::vector<DwmCall> writes;
    for (const DwmCall& call : DwmAllCalls())
        if (call.window == window && call.attribute == kDarkModeAttribute) writes.push_back(call);
    return writes;
}

void DwmNotePaint(HWND window) {
    if (auto note = DwmEntry<FakeDwmNotePaintFn>("FakeDwm_NotePaint")) note(window);
}

// From user32 itself: the address of an import is a stub that jumps through the patched slot.
template <typename Fn> static Fn User32Entry(const char* name) {
    return reinterpret_cast<Fn>(
        reinterpret_cast<void (*)(void)>(GetProcAddress(GetModuleHandleW(L"user32"), name)));
}
static auto g_systemParametersInfo =
    User32Entry<decltype(&SystemParametersInfoW)>("SystemParametersInfoW");
static auto g_setWindowLong = User32Entry<decltype(&SetWindowLongW)>("SetWindowLongW");

int RedirectImport(HMODULE module, void* real, void* replacement) {
    auto* base = reinterpret_cast<BYTE*>(module);
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(
        base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
    const IMAGE_DATA_DIRECTORY& iat = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IAT];
    auto** slot = reinterpret_cast<void**>(base + iat.VirtualAddress);
    int redirected = 0;
    DWORD protection;
    for (auto** end = slot + iat.Size / sizeof *slot; slot < end; ++slot)
        if (*slot == replacement ||
            (*slot == real && VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &protection) &&
             (*slot = replacement)))
            ++redirected;
    return redirected;
}

// Points the module's import of real at fake while on, and back at real after.
static bool Substitute(HMODULE module, void* real, void* fake, bool on) {
    return RedirectImport(module, on ? real : fake, on ? fake : real) > 0;
}

static BOOL WINAPI ReportContrastTheme(UINT action, UINT param, PVOID data, UINT update) {
    BOOL done = g_systemParametersInfo(action, param, data, update);
    if (done && action == SPI_GETHIGHCONTRAST)
        static_cast<HIGHCONTRASTW*>(data)->dwFlags = HCF_HIGHCONTRASTON;
    return done;
}

bool SimulateContrastTheme(HMODULE module, bool on) {
    return Substitute(module, reinterpret_cast<void*>(g_systemParametersInfo),
                      reinterpret_cast<void*>(ReportContrastTheme), on);
}

static LONG WINAPI RefuseWindowLong(HWND, int, LONG) {
    SetLastError(ERROR_ACCESS_DENIED);
    return 0;
}

bool SimulateRefusedWindowLong(HMODULE module, bool on) {
    return Substitute(module, reinterpret_cast<void*>(g_setWindowLong),
                      reinterpret_cast<void*>(RefuseWindowLong), on);
}

bool g_recordCaptionStates;
std::vector<CaptionState> g_captionStates;

// Test windows tell the recording window manager when they first paint.
static LRESULT CALLBACK TestWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT || message == WM_NCPAINT || message == WM_ERASEBKGND)
        DwmNotePaint(window);
    if (message == WM_NCACTIVATE && g_recordCaptionStates)
        g_captionStates.push_back({window, wParam != 0});
    return DefWindowProcW(window, message, wParam, lParam);
}

HWND MakeWindow(const wchar_t* title, DWORD style, HWND owner, DWORD exStyle) {
    static ATOM atom;
    if (!atom) {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = TestWindowProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"ZarnelTestWindow";
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        atom = RegisterClassW(&wc);
    }
    return CreateWindowExW(exStyle, L"ZarnelTestWindow", title, style, 40, 40, 320, 200, owner,
                           nullptr, GetModuleHandleW(nullptr), nullptr);
}

void Pump(int milliseconds) {
    PumpUntil([] { return false; }, milliseconds);
}

bool BringToFront(HWND window) {
    SetForegroundWindow(window);
    return PumpUntil([&] { return GetForegroundWindow() == window; }, 3000);
}

bool PumpUntil(const std::function<bool()>& done, int milliseconds) {
    DWORD deadline = GetTickCount() + milliseconds;
    for (;;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (done()) return true;
        if (static_cast<int>(deadline - GetTickCount()) <= 0) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
}

int PumpCountingTimerMessages(HWND window, int milliseconds) {
    int timerMessages = 0;
    DWORD deadline = GetTickCount() + milliseconds;
    while (static_cast<int>(deadline - GetTickCount()) > 0) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_TIMER && (msg.hwnd == window || msg.hwnd == nullptr))
                ++timerMessages;
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
    return timerMessages;
}

std::string HandleText(HWND window) {
    return std::to_string(static_cast<int>(reinterpret_cast<intptr_t>(window)));
}
