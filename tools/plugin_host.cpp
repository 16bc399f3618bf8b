// A stand-in host: loads a plug-in DLL, shows what it offers and runs a script of its actions.
#include <windows.h>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "dialog_closer.h"
#include "fake_dwmapi.h"
#include "host_script.h"

namespace {

constexpr int kExitUsage = 2;
constexpr int kExitBadInput = 1;
constexpr int kExitExpectation = 3;
constexpr size_t kUnknownActionSlots = 4;
constexpr DWORD kCaptionColorAttribute = 35;
constexpr DWORD kTextColorAttribute = 36;
constexpr DWORD kBorderColorAttribute = 34;
const wchar_t kHostClass[] = L"ZarnelPluginHost";
const wchar_t kHostTitle[] = L"Zarnel plug-in host";

struct PluginExports {
    int(WINAPI* initPlugIn)(HWND, char**, char**, char**);
    int(WINAPI* registerPlugIn)(void*, void*, void*, void*);
    int(WINAPI* getPluginInfo)(char**, char**, void*);
    int(WINAPI* initialize)(HWND);
    int(WINAPI* message)(int, void*);
    int(WINAPI* execAction)(int, uintptr_t*);
    int(WINAPI* editAction)(int, uintptr_t*);
};

struct Registered {
    int number;
    std::string name, hint;
    int arg4, arg5, arg6;
};

std::vector<Registered> g_catalogue;
std::map<std::string, std::string> g_variables;
std::map<HWND, std::string> g_labels;
int g_dwmPrinted;

void Out(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::vfprintf(stdout, format, args);
    va_end(args);
}

int Fail(int code, const std::string& message) {
    std::fflush(stdout);
    std::fprintf(stderr, "%s\n", message.c_str());
    std::fflush(stderr);
    return code;
}

// Blocks handed over by the plug-in belong to the host: read once, then freed.
std::string TakeBlock(char* block) {
    if (!block) return "<null>";
    std::string text(block);
    GlobalFree(block);
    return text;
}

std::string Quote(const std::string& text) {
    return text == "<null>" ? text : "\"" + text + "\"";
}

std::string HandleText(HWND window) {
    return std::to_string(static_cast<int>(reinterpret_cast<intptr_t>(window)));
}

template <typename Fn> Fn Entry(HMODULE module, const char* name) {
    return reinterpret_cast<Fn>(reinterpret_cast<void (*)(void)>(GetProcAddress(module, name)));
}

// Recorded calls are printed when the recording dwmapi.dll is the one loaded.
void FlushDwmLog() {
    HMODULE dwm = GetModuleHandleW(L"dwmapi.dll");
    if (!dwm) return;
    auto count = Entry<FakeDwmCallCountFn>(dwm, "FakeDwm_CallCount");
    auto get = Entry<FakeDwmGetCallFn>(dwm, "FakeDwm_GetCall");
    if (!count || !get) return;
    for (int total = count(); g_dwmPrinted < total; ++g_dwmPrinted) {
        DwmCall call = {};
        if (!get(g_dwmPrinted, &call)) break;
        auto label = g_labels.find(call.window);
        std::string who =
            label != g_labels.end() ? label->second : "window " + HandleText(call.window);
        const char* what =
            call.attribute == kCaptionColorAttribute  ? " (caption colour)"
            : call.attribute == kTextColorAttribute   ? " (text colour)"
            : call.attribute == kBorderColorAttribute ? " (border colour)"
            : call.attribute == kDarkModeAttribute || call.attribute == kDarkModeAttributeBefore20H1
                ? " (dark mode)"
                : "";
        Out("  dwm: %s attribute %lu%s = 0x%08lX\n", who.c_str(), call.attribute, what, call.value);
    }
}

int WINAPI AddAction(int number, char* name, char* hint, int arg4, int arg5, int arg6) {
    g_catalogue.push_back({number, TakeBlock(name), TakeBlock(hint), arg4, arg5, arg6});
    return 1;
}

int WINAPI SetVariable(char* name, char* value) {
    FlushDwmLog();
    std::string n = TakeBlock(name), v = TakeBlock(value);
    Out("  %s = %s\n", n.c_str(), Quote(v).c_str());
    g_variables[n] = v;
    return 1;
}

HWND MakeWindow(const std::wstring& title, int x, int y) {
    return CreateWindowExW(0, kHostClass, title.c_str(), WS_OVERLAPPEDWINDOW, x, y, 480, 240,
                           nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
}

void Pump(DWORD milliseconds) {
    DWORD deadline = GetTickCount() + milliseconds;
    for (;;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        int left = static_cast<int>(deadline - GetTickCount());
        if (left <= 0) return;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, left, QS_ALLINPUT);
    }
}

std::wstring Widen(const std::string& text, UINT codePage = CP_ACP) {
    int n = MultiByteToWideChar(codePage, 0, text.c_str(), -1, nullptr, 0);
    std::wstring wide(n > 0 ? n - 1 : 0, L'\0');
    if (n > 1) MultiByteToWideChar(codePage, 0, text.c_str(), -1, &wide[0], n);
    return wide;
}

// Under Wine a Unix path given on the command line is turned into the matching DOS path.
std::wstring WindowsPath(const char* arg) {
    typedef WCHAR*(CDECL * DosNameFn)(const char*);
    auto dosName = Entry<DosNameFn>(GetModuleHandleW(L"kernel32.dll"), "wine_get_dos_file_name");
    if (arg[0] == '/' && dosName) {
        if (WCHAR* dos = dosName(arg)) {
            std::wstring path(dos);
            HeapFree(GetProcessHeap(), 0, dos);
            return path;
        }
    }
    return Widen(arg);
}

struct Host {
    const char* scriptName;
    PluginExports api = {};
    HWND window = nullptr;
    HWND lastWindow = nullptr;
    std::vector<HWND> created;
    long long lastResult = 0;
    bool haveResult = false;
    bool dismissArmed = false;
    int dismissMs = 0;
    bool dismissConfirm = true;
    std::string error;

    std::string Where(const ScriptStep& step) const {
        return std::string(scriptName) + ":" + std::to_string(step.line) + ": ";
    }
    size_t SlotCount(int action, size_t given) const {
        size_t slots = kUnknownActionSlots;
        for (const Registered& r : g_catalogue)
            if (r.number == action) slots = r.arg6 > 0 ? static_cast<size_t>(r.arg6) : 0;
        return given > slots ? given : slots;
    }
    bool Resolve(const ScriptStep& step, std::vector<std::string>& texts, std::vector<bool>& nulls);
    int RunStep(const ScriptStep& step);
    int RunCall(const ScriptStep& step);
    std::vector<HWND> OwnWindows() const {
        std::vector<HWND> own = created;
        own.push_back(window);
        return own;
    }
};

bool Host::Resolve(const ScriptStep& step, std::vector<std::string>& texts,
                   std::vector<bool>& nulls) {
    for (const ScriptParam& p : step.params) {
        std::string text = p.text;
        switch (p.kind) {
        case ScriptParam::Text:
        case ScriptParam::Null:
            break;
        case ScriptParam::Host:
            text = HandleText(window);
            break;
        case ScriptParam::Window:
            if (!lastWindow) return error = "{window} used before any window line", false;
            text = HandleText(lastWindow);
            break;
        case ScriptParam::Result:
            if (!haveResult) return error = "{result} used before any result", false;
            text = std::to_string(lastResult);
            break;
        case ScriptParam::Variable: {
            auto it = g_variables.find(p.text);
            if (it == g_variables.end())
                return error = "host variable " + p.text + " has not been written", false;
            text = it->second;
            break;
        }
        }
        texts.push_back(text);
        nulls.push_back(p.kind == ScriptParam::Null);
    }
    return true;
}

std::string SlotText(uintptr_t slot) {
    return slot ? "\"" + std::string(reinterpret_cast<const char*>(slot)) + "\"" : "-";
}

// A slot an editor rewrote holds a block of its own, which the host owns and frees.
std::string TakeEditedSlot(uintptr_t slot) {
    if (!slot) return "-";
    char* block = reinterpret_cast<char*>(slot);
    SIZE_T size = GlobalSize(block);
    if (size == 0) return "<not a memory block>";
    std::string text(block, strnlen(block, size));
    GlobalFree(block);
    return "\"" + text + "\" (new)";
}

int Host::RunCall(const ScriptStep& step) {
    std::vector<std::string> texts;
    std::vector<bool> nulls;
    if (!Resolve(step, texts, nulls)) return Fail(kExitBadInput, Where(step) + error);
    bool edit = step.kind == StepKind::Edit;
    if (edit && !api.editAction)
        return Fail(kExitBadInput, Where(step) + "the plug-in has no _nbEditAction export");
    std::vector<uintptr_t> slots(SlotCount(step.action, texts.size()), 0);
    for (size_t i = 0; i < texts.size(); ++i)
        if (!nulls[i]) slots[i] = reinterpret_cast<uintptr_t>(texts[i].c_str());
    bool substituted = false;
    for (const ScriptParam& p : step.params)
        substituted |= p.kind != ScriptParam::Text && p.kind != ScriptParam::Null;
    if (substituted || edit) {
        Out(edit ? "  before:" : "  params:");
        for (size_t i = 0; i < slots.size(); ++i)
            Out(" [%u] %s", static_cast<unsigned>(i), SlotText(slots[i]).c_str());
        Out("\n");
    }
    std::vector<uintptr_t> before = slots;
    DialogCloser closer;
    if (dismissArmed) closer.Start(dismissMs, dismissConfirm, GetCurrentThreadId(), OwnWindows());
    int result = edit ? api.editAction(step.action, slots.data())
                      : api.execAction(step.action, slots.data());
    HWND dismissed = closer.Finish();
    if (dismissArmed) Out("  dismissed: %s\n", dismissed ? "yes" : "no window appeared");
    dismissArmed = false;
    FlushDwmLog();
    if (edit) {
        Out("  after:");
        for (size_t i = 0; i < slots.size(); ++i)
            Out(" [%u] %s", static_cast<unsigned>(i),
                slots[i] == before[i] ? SlotText(slots[i]).c_str()
                                      : TakeEditedSlot(slots[i]).c_str());
        Out("\n");
    }
    Out("  result: %d\n", result);
    lastResult = result;
    haveResult = true;
    return 0;
}

int Host::RunStep(const ScriptStep& step) {
    switch (step.kind) {
    case StepKind::Action:
    case StepKind::Edit:
        return RunCall(step);
    case StepKind::Wait:
        Pump(static_cast<DWORD>(step.value));
        return 0;
    case StepKind::Message:
        lastResult = api.message(static_cast<int>(step.value), nullptr);
        haveResult = true;
        FlushDwmLog();
        Out("  result: %lld\n", lastResult);
        return 0;
    case StepKind::MsgBox: {
        DialogCloser closer;
        closer.Start(static_cast<int>(step.value), true, GetCurrentThreadId(), OwnWindows());
        int answer = MessageBoxW(window, Widen(step.text).c_str(), kHostTitle, MB_OK);
        if (HWND box = closer.Finish()) g_labels[box] = "message box";
        FlushDwmLog();
        Out("  message box closed: %d\n", answer);
        return 0;
    }
    case StepKind::Dismiss:
        dismissArmed = true;
        dismissMs = static_cast<int>(step.value);
        dismissConfirm = step.confirm;
        return 0;
    case StepKind::Window: {
        HWND w = MakeWindow(Widen(step.text), 120, 160);
        if (!w) return Fail(kExitBadInput, Where(step) + "cannot create a window");
        ShowWindow(w, SW_SHOW);
        g_labels[w] = "\"" + step.text + "\"";
        lastWindow = w;
        created.push_back(w);
        Out("  window: %s\n", HandleText(w).c_str());
        return 0;
    }
    case StepKind::ExpectResult:
        if (!haveResult || lastResult != step.value)
            return Fail(kExitExpectation,
                        Where(step) + "expected result " + std::to_string(step.value) + ", got " +
                            (haveResult ? std::to_string(lastResult) : "no result yet"));
        return 0;
    case StepKind::ExpectVar: {
        auto it = g_variables.find(step.text);
        if (it == g_variables.end() || it->second != step.expected)
            return Fail(kExitExpectation,
                        Where(step) + "expected " + step.text + " = \"" + step.expected +
                            "\", got " +
                            (it == g_variables.end() ? "no write" : "\"" + it->second + "\""));
        return 0;
    }
    }
    return 0;
}

const char kUsage[] =
    "usage: plugin_host [--hidden] [--quiet] PLUGIN.dll SCRIPT\n"
    "  --hidden  do not show the host window\n"
    "  --quiet   do not print the plug-in's names and action catalogue\n"
    "script lines ('#' starts a comment):\n"
    "  ACTION [PARAM...]         run an action, by registered name or number\n"
    "  edit ACTION [PARAM...]    open the action's editor, print the slots before and after\n"
    "  wait MS | message CODE | msgbox MS TEXT | dismiss MS ok|cancel | window TITLE\n"
    "  expect result N | expect [VARIABLE] TEXT\n"
    "params: \"quoted text\", \"\" empty, - null slot, {host} {window} {result} {[VARIABLE]}\n";

bool LoadExports(HMODULE module, PluginExports& api, std::string& missing) {
    api.initPlugIn = Entry<decltype(api.initPlugIn)>(module, "_nbInitPlugIn");
    api.registerPlugIn = Entry<decltype(api.registerPlugIn)>(module, "_nbRegisterPlugIn");
    api.getPluginInfo = Entry<decltype(api.getPluginInfo)>(module, "_nbGetPluginInfo");
    api.initialize = Entry<decltype(api.initialize)>(module, "_nbInitialize");
    api.message = Entry<decltype(api.message)>(module, "_nbMessage");
    api.execAction = Entry<decltype(api.execAction)>(module, "_nbExecAction");
    // Without editors the plug-in still runs; only an edit line needs this one.
    api.editAction = Entry<decltype(api.editAction)>(module, "_nbEditAction");
    const std::pair<bool, const char*> required[] = {
        {api.initPlugIn != nullptr, "_nbInitPlugIn"},
        {api.registerPlugIn != nullptr, "_nbRegisterPlugIn"},
        {api.getPluginInfo != nullptr, "_nbGetPluginInfo"},
        {api.initialize != nullptr, "_nbInitialize"},
        {api.message != nullptr, "_nbMessage"},
        {api.execAction != nullptr, "_nbExecAction"},
    };
    for (const auto& r : required)
        if (!r.first) missing += (missing.empty() ? "" : ", ") + std::string(r.second);
    return missing.empty();
}

} // namespace

int main(int argc, char** argv) {
    bool hidden = false, quiet = false;
    int arg = 1;
    for (; arg < argc && argv[arg][0] == '-' && argv[arg][1] == '-'; ++arg) {
        if (!std::strcmp(argv[arg], "--hidden")) {
            hidden = true;
        } else if (!std::strcmp(argv[arg], "--quiet")) {
            quiet = true;
        } else if (!std::strcmp(argv[arg], "--help")) {
            Out("%s", kUsage);
            return 0;
        } else {
            return Fail(kExitUsage,
                        std::string("plugin_host: unknown option ") + argv[arg] + "\n" + kUsage);
        }
    }
    if (argc - arg != 2) return Fail(kExitUsage, kUsage);
    const char* pluginArg = argv[arg];
    Host host;
    host.scriptName = argv[arg + 1];

    std::vector<std::string> lines;
    if (!ReadScriptLines(WindowsPath(host.scriptName).c_str(), lines))
        return Fail(kExitBadInput, std::string(host.scriptName) + ": cannot read the script");

    HMODULE module = LoadLibraryW(WindowsPath(pluginArg).c_str());
    if (!module)
        return Fail(kExitBadInput, std::string(pluginArg) + ": cannot load the plug-in (error " +
                                       std::to_string(GetLastError()) + ")");
    std::string missing;
    if (!LoadExports(module, host.api, missing)) {
        FreeLibrary(module);
        return Fail(kExitBadInput, std::string(pluginArg) + ": missing export " + missing);
    }

    WNDCLASSW wc = {};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kHostClass;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    RegisterClassW(&wc);
    host.window = MakeWindow(kHostTitle, 60, 60);
    if (!host.window) {
        FreeLibrary(module);
        return Fail(kExitBadInput, "plugin_host: cannot create the host window");
    }
    g_labels[host.window] = "host window";
    if (!hidden) {
        ShowWindow(host.window, SW_SHOW);
        SetForegroundWindow(host.window);
    }
    Pump(0);

    char *name = nullptr, *author = nullptr, *description = nullptr;
    host.api.initPlugIn(host.window, &name, &author, &description);
    std::string info[5] = {TakeBlock(name), TakeBlock(author), TakeBlock(description)};
    host.api.registerPlugIn(reinterpret_cast<void*>(AddAction), nullptr, nullptr,
                            reinterpret_cast<void*>(SetVariable));
    char *internalName = nullptr, *secondDescription = nullptr;
    host.api.getPluginInfo(&internalName, &secondDescription, nullptr);
    info[3] = TakeBlock(internalName);
    info[4] = TakeBlock(secondDescription);
    host.api.initialize(host.window);
    if (!quiet) {
        const char* labels[5] = {"display name", "author", "description", "internal name",
                                 "second description"};
        for (int i = 0; i < 5; ++i)
            Out("%s: %s\n", labels[i], Quote(info[i]).c_str());
        for (const Registered& r : g_catalogue)
            Out("action %d %s %s %d %d %d\n", r.number, Quote(r.name).c_str(),
                Quote(r.hint).c_str(), r.arg4, r.arg5, r.arg6);
        Out("host window: %s\n", HandleText(host.window).c_str());
    }

    std::vector<RegisteredAction> names;
    for (const Registered& r : g_catalogue)
        names.push_back({r.number, r.name});
    std::vector<ScriptStep> steps;
    std::string error;
    int rc = 0;
    if (!ParseScript(lines, names, steps, error))
        rc = Fail(kExitBadInput, host.scriptName + (":" + error));
    for (size_t i = 0; rc == 0 && i < steps.size(); ++i) {
        std::string line = lines[steps[i].line - 1];
        while (!line.empty() && (line.back() == '\r' || line.back() == ' '))
            line.pop_back();
        Out("%s:%d: %s\n", host.scriptName, steps[i].line, line.c_str());
        rc = host.RunStep(steps[i]);
        Pump(0);
        std::fflush(stdout);
    }
    if (rc == 0) Out("done: %u steps\n", static_cast<unsigned>(steps.size()));
    // Unloading stops the plug-in's timer before its window goes.
    FreeLibrary(module);
    for (HWND w : host.OwnWindows())
        DestroyWindow(w);
    std::fflush(stdout);
    return rc;
}
