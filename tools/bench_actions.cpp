// Times what a host pays for the plug-in: loading it, running two actions, and its own callbacks.
//   bench_actions [--quick] [PLUGIN.dll]
#include <windows.h>
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <vector>

namespace {

constexpr int kRepeats = 5;
constexpr int kActionSetGlobalTheme = 6;
constexpr int kActionApplyTheme = 3;

struct Counts {
    int attach, actions, callbacks;
};

typedef int(WINAPI* InitPlugInFn)(HWND, char**, char**, char**);
typedef int(WINAPI* RegisterPlugInFn)(void*, void*, void*, void*);
typedef int(WINAPI* ExecActionFn)(int, uintptr_t*);
typedef int(WINAPI* SetVariableFn)(char*, char*);

int WINAPI FreeingSetVariable(char* name, char* value) {
    GlobalFree(name);
    GlobalFree(value);
    return 1;
}

int WINAPI IgnoringSetVariable(char*, char*) {
    return 1;
}

int WINAPI IgnoringAddAction(int, char* name, char* hint, int, int, int) {
    GlobalFree(name);
    GlobalFree(hint);
    return 1;
}

template <typename Fn> Fn Entry(HMODULE module, const char* name) {
    return reinterpret_cast<Fn>(reinterpret_cast<void (*)(void)>(GetProcAddress(module, name)));
}

double Now() {
    static LARGE_INTEGER frequency;
    if (!frequency.QuadPart) QueryPerformanceFrequency(&frequency);
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) * 1e6 / static_cast<double>(frequency.QuadPart);
}

// Median over several rounds of the mean cost of one run, in microseconds.
double Measure(int runs, const std::function<void(int)>& body,
               const std::function<void()>& setup = nullptr) {
    std::vector<double> rounds;
    for (int r = 0; r < kRepeats; ++r) {
        if (setup) setup();
        double start = Now();
        for (int i = 0; i < runs; ++i)
            body(i);
        rounds.push_back((Now() - start) / runs);
    }
    std::sort(rounds.begin(), rounds.end());
    return rounds[kRepeats / 2];
}

void Report(const char* what, double microseconds, int runs) {
    std::printf("%-52s %10.3f us  (%d runs, median of %d rounds)\n", what, microseconds, runs,
                kRepeats);
}

} // namespace

int main(int argc, char** argv) {
    Counts counts = {200, 20000, 200000};
    const char* plugin = "ZarnelPlugin_Enhanced.dll";
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--quick"))
            counts = {5, 50, 500};
        else
            plugin = argv[i];
    }
    wchar_t path[MAX_PATH];
    MultiByteToWideChar(CP_ACP, 0, plugin, -1, path, MAX_PATH);

    auto measureAttach = [&] {
        return Measure(counts.attach, [&](int) {
            HMODULE module = LoadLibraryW(path);
            if (module) FreeLibrary(module);
        });
    };
    // A GUI host that has ever shown a common dialog holds comdlg32.dll; a script runner may not.
    bool comdlgAtStart = GetModuleHandleW(L"comdlg32.dll") != nullptr;
    double attachAlone = measureAttach();
    HMODULE comdlg = LoadLibraryW(L"comdlg32.dll");
    double attachHeld = measureAttach();
    if (comdlg) FreeLibrary(comdlg);
    HMODULE module = LoadLibraryW(path);
    if (!module) {
        std::fprintf(stderr, "bench_actions: cannot load %s (error %lu)\n", plugin, GetLastError());
        return 1;
    }
    auto initPlugIn = Entry<InitPlugInFn>(module, "_nbInitPlugIn");
    auto registerPlugIn = Entry<RegisterPlugInFn>(module, "_nbRegisterPlugIn");
    auto execAction = Entry<ExecActionFn>(module, "_nbExecAction");
    if (!initPlugIn || !registerPlugIn || !execAction) {
        std::fprintf(stderr, "bench_actions: %s lacks the plug-in exports\n", plugin);
        return 1;
    }
    HWND host = CreateWindowExW(0, L"STATIC", L"bench host", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100,
                                nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    initPlugIn(host, nullptr, nullptr, nullptr);
    auto useCallback = [&](SetVariableFn callback) {
        registerPlugIn(reinterpret_cast<void*>(IgnoringAddAction), nullptr, nullptr,
                       reinterpret_cast<void*>(callback));
    };
    const char* theme = "6";
    uintptr_t globalSlots[1] = {reinterpret_cast<uintptr_t>(theme)};
    uintptr_t applySlots[2] = {reinterpret_cast<uintptr_t>(theme), 0};

    useCallback(FreeingSetVariable);
    double globalFreeing =
        Measure(counts.actions, [&](int) { execAction(kActionSetGlobalTheme, globalSlots); });
    double apply = Measure(counts.actions, [&](int) { execAction(kActionApplyTheme, applySlots); });
    bool applied = execAction(kActionApplyTheme, applySlots) == 1;
    // The plug-in's blocks are left unfreed here: the host's part is then nothing at all.
    useCallback(IgnoringSetVariable);
    double globalIgnoring =
        Measure(counts.actions, [&](int) { execAction(kActionSetGlobalTheme, globalSlots); });

    volatile SetVariableFn ignoring = IgnoringSetVariable;
    double callbackIgnoring = Measure(counts.callbacks, [&](int) { ignoring(nullptr, nullptr); });
    std::vector<char*> blocks(2 * static_cast<size_t>(counts.callbacks));
    volatile SetVariableFn freeing = FreeingSetVariable;
    double callbackFreeing = Measure(
        counts.callbacks,
        [&](int i) { freeing(blocks[2 * static_cast<size_t>(i)], blocks[2 * i + 1]); },
        [&]() {
            for (char*& block : blocks)
                block = static_cast<char*>(GlobalAlloc(GMEM_ZEROINIT, 20));
        });

    HMODULE dwm = GetModuleHandleW(L"dwmapi.dll");
    std::printf("bench_actions: %s, %d-bit, dwmapi: %s\n", plugin,
                static_cast<int>(sizeof(void*) * 8),
                !dwm                                       ? "not loaded"
                : GetProcAddress(dwm, "FakeDwm_CallCount") ? "recording stand-in"
                                                           : "system");
    Report(comdlgAtStart ? "attach, comdlg32.dll loaded before the run"
                         : "attach, comdlg32.dll not loaded",
           attachAlone, counts.attach);
    Report("attach, comdlg32.dll held by the process", attachHeld, counts.attach);
    Report("zrnZarnel_SetGlobalTheme, callback frees blocks", globalFreeing, counts.actions);
    Report("zrnZarnel_SetGlobalTheme, callback does nothing", globalIgnoring, counts.actions);
    Report(applied ? "zrnZarnel_ApplyTheme (2 window-manager calls)"
                   : "zrnZarnel_ApplyTheme (refused, see its status line)",
           apply, counts.actions);
    Report("set-variable callback alone, does nothing", callbackIgnoring, counts.callbacks);
    Report("set-variable callback alone, 2 x GlobalFree", callbackFreeing, counts.callbacks);
    FreeLibrary(module);
    DestroyWindow(host);
    return 0;
}
