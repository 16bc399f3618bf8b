// A long session as a host lives it: actions of every kind with varied parameters, automatic
// styling switched on and off while windows come and go, and every editor opened and closed with
// OK or Cancel. The host frees every block it receives. Memory and window counts are compared at
// start and end. soak [--actions N] [--editor-cycles N] [--seed N]
#include <cstdlib>
#include <deque>
#include <random>

#include "dialog_driver.h"
#include "host_rig.h"
#include "resources.h"

static std::mt19937_64 g_random;
static int g_failures;

static int Below(int bound) {
    return static_cast<int>(g_random() % bound);
}

static void Fail(const char* what, long step) {
    if (++g_failures <= 20) printf("  step %ld: %s\n", step, what);
}

// A number as a script might write it: decimal, $hex, %binary, signed, padded, or out of range.
static std::string NumberText(int value) {
    char text[48];
    switch (Below(6)) {
    case 0:
        snprintf(text, sizeof text, "$%X", value);
        break;
    case 1:
        snprintf(text, sizeof text, "  +%d", value);
        break;
    case 2:
        snprintf(text, sizeof text, "%d", value - 300 + Below(600));
        break;
    case 3:
        text[0] = '%';
        for (int bit = 7; bit >= 0; --bit)
            text[8 - bit] = ((value & 0xFF) >> bit & 1) ? '1' : '0';
        text[9] = '\0';
        break;
    default:
        snprintf(text, sizeof text, "%d", value);
        break;
    }
    return text;
}

struct Windows {
    HWND host;
    std::deque<HWND> shown;
    HWND destroyed = nullptr;
    HWND Pick() {
        switch (Below(5)) {
        case 0:
            return nullptr; // the host's main window
        case 1:
            return host;
        case 2:
            return destroyed;
        default:
            return shown.empty() ? nullptr : shown[Below(static_cast<int>(shown.size()))];
        }
    }
};

static std::string WindowParameter(HWND window) {
    return Below(20) == 0 ? "garbage" : HandleText(window);
}

static bool ResultAllowed(int action, int result) {
    switch (action) {
    case 4:
        return true;
    case 8:
        return result == 1;
    default:
        return result == 0 || result == 1;
    }
}

static void RunAction(PluginApi& api, Windows& windows, long step) {
    int action = 1 + Below(12);
    std::vector<std::string> texts;
    switch (action) {
    case 1:
    case 2:
    case 11:
        for (int i = 0; i < 3; ++i)
            texts.push_back(NumberText(Below(256)));
        texts.push_back(WindowParameter(windows.Pick()));
        if (action == 11 && Below(4) == 0) texts[0] = "-1"; // the border follows the title bar
        break;
    case 3:
        texts = {NumberText(1 + Below(20)), WindowParameter(windows.Pick())};
        break;
    case 5:
        texts = {WindowParameter(windows.Pick())};
        break;
    case 6:
        texts = {Below(10) ? std::to_string(1 + Below(20)) : NumberText(Below(25))};
        break;
    case 10:
        for (int i = 0; i < 3; ++i)
            texts.push_back(std::to_string(Below(2)));
        texts.push_back(WindowParameter(windows.Pick()));
        break;
    case 12:
        texts = {std::to_string(Below(2)), WindowParameter(windows.Pick())};
        break;
    default:
        break;
    }
    std::vector<uintptr_t> slots(4, 0);
    for (size_t i = 0; i < texts.size(); ++i)
        if (Below(12)) slots[i] = reinterpret_cast<uintptr_t>(texts[i].c_str());
    ClearHostRecords();
    int result = api.execAction(action, Below(50) ? slots.data() : nullptr);
    if (!ResultAllowed(action, result)) Fail("result out of range", step);
    if (g_writes.empty() || g_writes.back().name != "[Zarnel.LastError]")
        Fail("status line not written last", step);
    if (g_badBlocks) Fail("host block of the wrong size", step);
}

// A window appears, comes to the front for the monitor to see, and the oldest one goes.
static void ShowWindowNow(Windows& windows) {
    HWND window = Below(3)
                      ? MakeWindow(L"soak window")
                      : MakeWindow(L"soak dialog", WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE,
                                   windows.host);
    SetForegroundWindow(window);
    windows.shown.push_back(window);
    if (windows.shown.size() > 4) {
        windows.destroyed = windows.shown.front();
        DestroyWindow(windows.shown.front());
        windows.shown.pop_front();
    }
}

// The slot texts an editor wrote, each block checked and freed as the host would.
static std::string TakeWritten(std::vector<uintptr_t>& slots,
                               const std::vector<uintptr_t>& before) {
    std::string written;
    for (size_t i = 0; i < slots.size(); ++i)
        if (slots[i] != before[i]) {
            written +=
                (written.empty() ? "" : ",") + TakeHostBlock(reinterpret_cast<char*>(slots[i]));
            slots[i] = before[i];
        }
    return written;
}

enum EditorKind { kThemeChooser, kCaptionButtons, kColourPicker, kEditorKindCount };
static const char* const kEditorNames[] = {"theme chooser", "caption buttons", "colour dialog"};

static void CycleEditor(PluginApi& api, EditorKind kind, bool ok, long step) {
    int theme = 1 + Below(20), red = Below(256), green = Below(256), blue = Below(256);
    int boxes[3] = {Below(2), Below(2), Below(2)};
    Params params({"0", "0", "0", nullptr});
    int action = 0;
    std::string expected;
    HWND dialog = nullptr;
    std::vector<Step> steps;
    if (kind == kThemeChooser) {
        action = Below(2) ? 3 : 6;
        params = Params({std::to_string(theme).c_str(), "0"});
        expected = std::to_string(theme);
        steps = {WaitForEditor(L"Choose Theme", dialog), ok         ? ClickChild(dialog, 2)
                                                         : Below(2) ? ClickChild(dialog, 3)
                                                                    : PostTo(dialog, WM_CLOSE)};
    } else if (kind == kCaptionButtons) {
        action = 10;
        params = Params({std::to_string(boxes[0]).c_str(), std::to_string(boxes[1]).c_str(),
                         std::to_string(boxes[2]).c_str(), "0"});
        expected = std::to_string(boxes[0]) + "," + std::to_string(boxes[1]) + "," +
                   std::to_string(boxes[2]);
        steps = {WaitForEditor(L"Title Bar Buttons", dialog), ok ? ClickChild(dialog, 5)
                                                              : Below(2)
                                                                  ? ClickChild(dialog, 6)
                                                                  : PostTo(dialog, WM_CLOSE)};
    } else {
        action = Below(2) ? 1 : 2;
        params = Params({std::to_string(red).c_str(), std::to_string(green).c_str(),
                         std::to_string(blue).c_str(), nullptr});
        expected = std::to_string(red) + "," + std::to_string(green) + "," + std::to_string(blue);
        steps = {WaitForColorDialog(dialog), PostTo(dialog, WM_COMMAND, ok ? IDOK : IDCANCEL)};
    }
    std::vector<uintptr_t> before = params.slots;
    ScriptRun run = RunScripted([&] { return api.editAction(action, params.data()); }, steps);
    std::string written = TakeWritten(params.slots, before);
    if (!run.completed) Fail(kEditorNames[kind], step);
    if (run.result != (ok ? 1 : 0) || written != (ok ? expected : "") || IsWindow(dialog)) {
        char what[200];
        snprintf(what, sizeof what, "%s %s: result %d, slots \"%s\", want \"%s\"",
                 kEditorNames[kind], ok ? "OK" : "cancel", run.result, written.c_str(),
                 ok ? expected.c_str() : "");
        Fail(what, step);
    }
    if (g_badBlocks) Fail("editor block of the wrong size", step);
    ClearHostRecords();
}

// Styling off, the soak's windows gone, messages pumped: the state counted at start and end.
static ResourceCounts SettleAndCount(PluginApi& api, Windows& windows) {
    Exec(api, 8, {});
    while (!windows.shown.empty()) {
        DestroyWindow(windows.shown.front());
        windows.shown.pop_front();
    }
    Pump(200);
    ClearHostRecords();
    return CountResources();
}

int main(int argc, char** argv) {
    long actions = 100000;
    int editorCycles = 200;
    unsigned long long seed = 1;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (strcmp(argv[i], "--actions") == 0) actions = strtol(argv[i + 1], nullptr, 10);
        if (strcmp(argv[i], "--editor-cycles") == 0) editorCycles = atoi(argv[i + 1]);
        if (strcmp(argv[i], "--seed") == 0) seed = strtoull(argv[i + 1], nullptr, 10);
    }
    g_random.seed(seed);
    Windows windows;
    windows.host = MakeWindow(L"soak host");
    SetForegroundWindow(windows.host);
    PluginApi api;
    if (!StartPlugin(api, windows.host)) {
        printf("could not load the plug-in\n");
        return 1;
    }
    // First use of every path: caches, classes and the window manager's library settle here.
    for (long i = 0; i < 500; ++i)
        RunAction(api, windows, -1);
    for (int kind = 0; kind < kEditorKindCount; ++kind)
        for (int i = 0; i < 4; ++i)
            CycleEditor(api, static_cast<EditorKind>(kind), i % 2 == 0, -1);
    ResourceCounts start = SettleAndCount(api, windows);

    DWORD began = GetTickCount();
    long totalCycles = static_cast<long>(editorCycles) * kEditorKindCount;
    long cyclesDone = 0;
    for (long step = 0; step < actions || cyclesDone < totalCycles; ++step) {
        if (step < actions) RunAction(api, windows, step);
        // Editor cycles spread over the run, each kind in turn, OK and Cancel alternating.
        if (cyclesDone < totalCycles &&
            (step >= actions || step * totalCycles >= cyclesDone * actions)) {
            CycleEditor(api, static_cast<EditorKind>(cyclesDone % kEditorKindCount),
                        cyclesDone / kEditorKindCount % 2 == 0, step);
            ++cyclesDone;
        }
        if (Below(400) == 0) ShowWindowNow(windows);
        if (Below(500) == 0) api.message(2, nullptr); // the host's stop
        if (step % 64 == 0) Pump(step % 2048 == 0 ? 30 : 0);
    }
    DWORD seconds = (GetTickCount() - began) / 1000;

    ResourceCounts end = SettleAndCount(api, windows);
    printf("soak seed %llu: %ld actions and %d open/close cycles of each editor in %lu s\n", seed,
           actions, editorCycles, seconds);
    printf("  start %s\n", Describe(start).c_str());
    printf("  end   %s\n", Describe(end).c_str());
    printf("  (Wine 8 reads 0 for GDI, USER and handle counts)\n");
    // Noise is a few allocator pages; one leaked block per action or a dialog per cycle is far
    // more.
    bool grew = end.windows > start.windows || end.heldBytes > start.heldBytes + 8 * 1024 ||
                end.privateBytes > start.privateBytes + 2 * 1024 * 1024 ||
                end.gdiObjects > start.gdiObjects + 4 || end.userObjects > start.userObjects + 4 ||
                end.handles > start.handles + 8;
    if (grew) Fail("resources grew", actions);
    printf("  failures %d\n", g_failures);
    UnloadPlugin(api);
    DestroyWindow(windows.host);
    printf("%d passed, %d failed\n", g_failures ? 0 : 1, g_failures ? 1 : 0);
    return g_failures ? 1 : 0;
}
