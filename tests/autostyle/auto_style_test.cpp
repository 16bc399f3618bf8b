// The automatic styling monitor on real windows and real timers.
#include "doctest_rig.h"
#include "core_rig.h"
#include "autostyle/auto_style.h"

static bool ColouredWith(HWND window, DWORD caption, DWORD text) {
    std::vector<DwmCall> calls = DwmCallsFor(window);
    return calls.size() == 2 && SameCall(calls[0], window, DWMWA_CAPTION_COLOR, caption) &&
           SameCall(calls[1], window, DWMWA_TEXT_COLOR, text);
}

// A host window in front with a global theme chosen, ready to enable.
static HWND StartHost(const char* theme = "6") {
    HWND host = MakeWindow(L"host");
    StartCore(host);
    BringToFront(host);
    ExecCore(6, {theme});
    DwmAvailable();
    DwmReset();
    ClearHostRecords();
    return host;
}

TEST_CASE("enabling_needs_a_caption_colour_and_reports_status") {
    HWND host = MakeWindow(L"host");
    StartCore(host);
    CHECK_EQ(ExecCore(7, {}), 0);
    CHECK_EQ(LastValue("[Zarnel.LastError]"),
             std::string("No colors set. Use SetColor/SetTextColor or SetGlobalTheme first"));
    ExecCore(2, {"9", "9", "9"});
    CHECK_EQ(ExecCore(7, {}), 0);
    ExecCore(1, {"0", "0", "0"});
    CHECK_EQ(ExecCore(7, {}), 0);
    CHECK_EQ(g_state.timerId, 0u);
    ClearHostRecords();
    CHECK_EQ(ExecCore(9, {}), 0);
    REQUIRE(g_writes.size() == 3u);
    CHECK_EQ(g_writes[0].name + "=" + g_writes[0].value,
             std::string("[Zarnel.AutoStyleEnabled]=0"));
    CHECK_EQ(g_writes[1].name + "=" + g_writes[1].value,
             std::string("[Zarnel.GlobalThemeIndex]=0"));
    CHECK_EQ(g_writes[2].value, std::string("OK - Status retrieved"));

    ExecCore(6, {"17"});
    ClearHostRecords();
    CHECK_EQ(ExecCore(7, {}), 1);
    CHECK_EQ(LastValue("[Zarnel.AutoStyleEnabled]"), std::string("1"));
    CHECK_EQ(LastValue("[Zarnel.LastError]"), std::string("OK - Auto-styling enabled"));
    CHECK_EQ(ExecCore(9, {}), 1);
    CHECK_EQ(LastValue("[Zarnel.GlobalTheme]"), std::string("Royal Purple"));
    CHECK_EQ(LastValue("[Zarnel.GlobalThemeIndex]"), std::string("17"));
    // A colour on the host window ends the global theme: the status no longer names one.
    ExecCore(1, {"1", "2", "3"});
    ClearHostRecords();
    ExecCore(9, {});
    CHECK_EQ(CountWrites("[Zarnel.GlobalTheme]"), 0);
    CHECK_EQ(LastValue("[Zarnel.GlobalThemeIndex]"), std::string("0"));
    // Black caption while running: refused, but the monitor keeps running.
    ExecCore(1, {"0", "0", "0"});
    CHECK_EQ(ExecCore(7, {}), 0);
    CHECK_EQ(ExecCore(9, {}), 1);
    StopAutoStyle();
    DestroyWindow(host);
}

TEST_CASE("enabling_twice_keeps_one_timer_and_the_tracked_list") {
    HWND host = StartHost();
    CHECK_EQ(ExecCore(7, {}), 1);
    UINT_PTR timer = g_state.timerId;
    CHECK(timer != 0);
    HWND seen = MakeWindow(L"seen", WS_OVERLAPPEDWINDOW);
    WindowListAppend(g_state.trackedWindows, seen);
    CHECK_EQ(ExecCore(7, {}), 1);
    CHECK_EQ(g_state.timerId, timer);
    CHECK_EQ(g_state.trackedWindows.count, 1);
    // Disabling keeps the list; enabling from off empties it.
    CHECK_EQ(ExecCore(8, {}), 1);
    CHECK_EQ(g_state.timerId, 0u);
    CHECK_EQ(g_state.trackedWindows.count, 1);
    ClearHostRecords();
    CHECK_EQ(ExecCore(8, {}), 1);
    REQUIRE(g_writes.size() == 2u);
    CHECK_EQ(g_writes[0].name + "=" + g_writes[0].value,
             std::string("[Zarnel.AutoStyleEnabled]=0"));
    CHECK_EQ(g_writes[1].value, std::string("OK - Auto-styling disabled"));
    CHECK_EQ(ExecCore(7, {}), 1);
    CHECK_EQ(g_state.trackedWindows.count, 0);
    StopAutoStyle();
    DestroyWindow(seen);
    DestroyWindow(host);
}

TEST_CASE("a_new_window_in_front_is_coloured_once_with_the_colours_of_that_moment") {
    HWND host = StartHost("3");
    REQUIRE(ExecCore(7, {}) == 1);
    ExecCore(2, {"1", "2", "3"});
    HWND first = MakeWindow(L"first");
    REQUIRE(BringToFront(first));
    CHECK(PumpUntil([&] { return DwmCallsFor(first).size() >= 2; }, 2000));
    CHECK(ColouredWith(first, 0x003C14DC, 0x00030201));
    // The title text is darker than the caption: the buttons keep their dark glyphs.
    CHECK(DwmFlagWrites(first).empty());
    // Back and forth: neither the host nor the window already coloured is coloured again.
    ExecCore(6, {"14"});
    BringToFront(host);
    Pump(250);
    BringToFront(first);
    Pump(250);
    CHECK_EQ(DwmCallsFor(first).size(), 2u);
    for (const DwmCall& call : DwmCallsFor(host))
        CHECK(call.attribute != DWMWA_CAPTION_COLOR);
    HWND second = MakeWindow(L"second");
    REQUIRE(BringToFront(second));
    CHECK(PumpUntil([&] { return DwmCallsFor(second).size() >= 2; }, 2000));
    CHECK(ColouredWith(second, 0x00006400, 0x0000FF00));
    CHECK_EQ(DwmDarkMode(second), 1);
    // The first window in front again, after another: still coloured only once.
    BringToFront(first);
    Pump(250);
    CHECK_EQ(DwmCallsFor(first).size(), 2u);
    BringToFront(second);
    // Off and on again with the same window in front: it is not coloured a second time.
    ExecCore(8, {});
    REQUIRE(ExecCore(7, {}) == 1);
    Pump(250);
    CHECK_EQ(DwmCallsFor(second).size(), 2u);
    // A contrast theme takes both back at the next tick, and no new window is coloured until it
    // is off; then a new one is, and those taken back stay as they are.
    REQUIRE(SimulateContrastTheme(GetModuleHandleW(nullptr), true));
    CHECK(PumpUntil([&] { return DwmCallsFor(second).size() == 4; }, 2000));
    CHECK_EQ(DwmCallsFor(first).size(), 4u);
    HWND third = MakeWindow(L"third");
    REQUIRE(BringToFront(third));
    Pump(300);
    CHECK(DwmCallsFor(third).empty());
    SimulateContrastTheme(GetModuleHandleW(nullptr), false);
    CHECK(PumpUntil([&] { return DwmCallsFor(third).size() == 2; }, 2000));
    CHECK_EQ(DwmCallsFor(second).size(), 4u);
    StopAutoStyle();
    DestroyWindow(first);
    DestroyWindow(second);
    DestroyWindow(third);
    DestroyWindow(host);
}

TEST_CASE("new_windows_get_the_dark_mode_and_the_border_of_the_host_window") {
    HWND host = StartHost();
    g_state.captionColorRed = g_state.captionColorGreen = g_state.captionColorBlue = 0;
    // Dark mode alone enables, and gives the system's dark title bar rather than a black one.
    CHECK_EQ(ExecCore(12, {}), 1);
    CHECK_EQ(ExecCore(7, {}), 1);
    HWND dark = MakeWindow(L"dark");
    ExecCore(11, {"10", "20", "30"});
    HWND framed = MakeWindow(L"framed");
    // A border following light colours: the glyphs stay readable, and the own mode comes back
    // with the style removed.
    ExecCore(6, {"2"});
    ExecCore(11, {"-1"});
    HWND light = MakeWindow(L"light");
    ExecCore(5, {HandleText(light).c_str()});
    // Off on the host window: new windows keep their own flag.
    ExecCore(12, {"0"});
    HWND plain = MakeWindow(L"plain");
    // A contrast theme takes back the border, and leaves the window that only got a mode alone.
    SimulateContrastTheme(GetModuleHandleW(nullptr), true);
    CHECK(PumpUntil([&] { return DwmCallsFor(framed).size() == 4; }, 2000));
    SimulateContrastTheme(GetModuleHandleW(nullptr), false);
    CHECK_EQ(DwmLog(dark), "20:1");
    CHECK_EQ(DwmLog(framed), "34:1E140A 20:1 35:FFFFFFFF 36:FFFFFFFF 34:FFFFFFFF");
    CHECK_EQ(DwmLog(light),
             "35:FFFFFF 36:202020 34:FFFFFF 35:FFFFFFFF 36:FFFFFFFF 34:FFFFFFFF 20:1 "
             "35:FFFFFFFF 36:FFFFFFFF");
    CHECK_EQ(DwmLog(plain), "35:FFFFFF 36:202020 34:FFFFFF 35:FFFFFFFF 36:FFFFFFFF 34:FFFFFFFF");
    StopAutoStyle();
    for (HWND window : {dark, framed, light, plain, host})
        DestroyWindow(window);
}

TEST_CASE("a_window_is_coloured_once_it_gains_a_caption") {
    HWND host = StartHost();
    REQUIRE(ExecCore(7, {}) == 1);
    HWND popup = MakeWindow(L"popup", WS_POPUP | WS_VISIBLE);
    REQUIRE(BringToFront(popup));
    Pump(350);
    CHECK(DwmCallsFor(popup).empty());
    // Text refused: the dark caption alone decides the buttons.
    DwmFail(DWMWA_TEXT_COLOR, E_FAIL);
    SetWindowLongW(popup, GWL_STYLE, GetWindowLongW(popup, GWL_STYLE) | WS_CAPTION);
    CHECK(PumpUntil([&] { return DwmCallsFor(popup).size() >= 2; }, 2000));
    CHECK(ColouredWith(popup, 0x00202020, 0x00FFFFFF));
    CHECK_EQ(DwmDarkMode(popup), 1);
    StopAutoStyle();
    DestroyWindow(popup);
    DestroyWindow(host);
}

TEST_CASE("destroyed_windows_are_pruned_from_the_tracked_list") {
    HWND host = StartHost();
    REQUIRE(ExecCore(7, {}) == 1);
    HWND kept = MakeWindow(L"kept", WS_OVERLAPPEDWINDOW);
    // The live window moves forward, so the slot past the new count still names it. Coloured by
    // the script too, so the dark-mode flag remembers them as well.
    for (int i = 0; i < 6; ++i) {
        HWND window = i == 1 ? kept : MakeWindow(L"gone", WS_OVERLAPPEDWINDOW);
        WindowListAppend(g_state.trackedWindows, window);
        ExecCore(1, {"9", "9", "9", HandleText(window).c_str()});
    }
    CHECK_EQ(g_state.styledWindows.count, 6);
    for (int i = 0; i < 6; ++i)
        if (i != 1) DestroyWindow(g_state.trackedWindows.items[i]);
    CHECK(PumpUntil(
        [] { return g_state.trackedWindows.count == 1 && g_state.styledWindows.count == 1; },
        3000));
    CHECK(g_state.trackedWindows.items[0] == kept);
    CHECK(g_state.styledWindows.items[0] == kept);
    // The next prune keeps it once.
    PumpUntil([] { return g_state.tickCounter == kPruneEveryTicks; }, 3000);
    CHECK(PumpUntil([] { return g_state.tickCounter == 0; }, 3000));
    CHECK_EQ(g_state.trackedWindows.count, 1);
    StopAutoStyle();
    DestroyWindow(kept);
    DestroyWindow(host);
}

TEST_CASE("message_code_2_stops_the_monitor_silently") {
    HWND host = StartHost();
    REQUIRE(ExecCore(7, {}) == 1);
    ClearHostRecords();
    CHECK_EQ(_nbMessage(2, nullptr), 0);
    CHECK(g_writes.empty());
    CHECK_EQ(g_state.autoStyleEnabled, 0);
    CHECK_EQ(g_state.timerId, 0u);
    CHECK_EQ(PumpCountingTimerMessages(host, 350), 0);
    HWND late = MakeWindow(L"late");
    BringToFront(late);
    Pump(300);
    CHECK(DwmCallsFor(late).empty());
    DestroyWindow(late);
    DestroyWindow(host);
}

TEST_CASE("a_thread_timer_made_without_a_host_window_is_stopped") {
    StartCore(nullptr);
    ExecCore(6, {"6"});
    REQUIRE(ExecCore(7, {}) == 1);
    CHECK(g_state.timerId != 0);
    CHECK(PumpCountingTimerMessages(nullptr, 300) > 0);
    ExecCore(8, {});
    CHECK_EQ(PumpCountingTimerMessages(nullptr, 400), 0);
}

static DWORD WINAPI HoldWindowOfThisThread(void* stop) {
    HWND window = MakeWindow(L"other thread", WS_OVERLAPPEDWINDOW);
    PumpUntil([&] { return WaitForSingleObject(stop, 0) == WAIT_OBJECT_0; }, 10000);
    DestroyWindow(window);
    return 0;
}

TEST_CASE("enabling_again_after_the_host_window_changed_makes_a_timer_that_fires") {
    HWND first = StartHost();
    REQUIRE(ExecCore(7, {}) == 1);
    HWND second = MakeWindow(L"second host");
    _nbInitialize(second);
    CHECK_EQ(ExecCore(7, {}), 1);
    CHECK(g_state.timerWindow == second);
    CHECK_EQ(PumpCountingTimerMessages(first, 350), 0);
    // The timer on the old window is gone: destroying it leaves the monitor ticking.
    DestroyWindow(first);
    int ticks = g_state.tickCounter;
    CHECK(PumpUntil([&] { return g_state.tickCounter != ticks; }, 2000));
    // A host window of another thread cannot carry the timer: refused, the running one kept.
    HANDLE stop = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE owner = CreateThread(nullptr, 0, HoldWindowOfThisThread, stop, 0, nullptr);
    HWND foreign = nullptr;
    PumpUntil([&] { return (foreign = FindWindowW(nullptr, L"other thread")) != nullptr; }, 3000);
    REQUIRE(foreign != nullptr);
    _nbInitialize(foreign);
    CHECK_EQ(ExecCore(7, {}), 0);
    CHECK_EQ(LastValue("[Zarnel.LastError]"), std::string("Failed to create timer - Error: 1408"));
    CHECK(PumpCountingTimerMessages(second, 350) > 0);
    CHECK_EQ(ExecCore(9, {}), 1);
    SetEvent(stop);
    WaitForSingleObject(owner, 5000);
    CloseHandle(owner);
    CloseHandle(stop);
    // The timer's window destroyed and not replaced: an honest failure, the state left as it was.
    _nbInitialize(second);
    DestroyWindow(second);
    CHECK_EQ(ExecCore(7, {}), 0);
    std::string failure = LastValue("[Zarnel.LastError]");
    CHECK_EQ(failure.substr(0, 32), std::string("Failed to create timer - Error: "));
    CHECK(atoi(failure.c_str() + 32) != 0);
    CHECK_EQ(ExecCore(9, {}), 1);
    StopAutoStyle();
}

static HWND g_modalBox;

// Once the host thread sits in its message box, shows a window of this thread in front.
static DWORD WINAPI ShowWindowOfAnotherThread(void* done) {
    PumpUntil([] { return IsWindowVisible(FindWindowW(L"#32770", L"modal")) != FALSE; }, 3000);
    HWND window = MakeWindow(L"worker window");
    SetForegroundWindow(window);
    PumpUntil([&] { return DwmCallsFor(window).size() >= 2 || *static_cast<bool*>(done); }, 3000);
    bool coloured = DwmCallsFor(window).size() == 2;
    DestroyWindow(window);
    g_modalBox = FindWindowW(L"#32770", L"modal");
    PostMessageW(g_modalBox, WM_CLOSE, 0, 0);
    return coloured;
}

TEST_CASE("ticks_go_on_inside_a_modal_message_box_of_the_host_thread") {
    HWND host = StartHost();
    REQUIRE(ExecCore(7, {}) == 1);
    bool done = false;
    HANDLE worker = CreateThread(nullptr, 0, ShowWindowOfAnotherThread, &done, 0, nullptr);
    MessageBoxW(host, L"the monitor keeps running", L"modal", MB_OK);
    done = true;
    WaitForSingleObject(worker, 5000);
    DWORD coloured = 0;
    GetExitCodeThread(worker, &coloured);
    CloseHandle(worker);
    CHECK_EQ(coloured, 1u);
    // The message box itself was coloured too, once.
    CHECK(g_modalBox != nullptr);
    CHECK(ColouredWith(g_modalBox, 0x00202020, 0x00FFFFFF));
    CHECK_EQ(DwmDarkMode(g_modalBox), 1);
    StopAutoStyle();
    DestroyWindow(host);
}

TEST_CASE("a_window_of_another_process_is_never_coloured") {
    HWND host = StartHost();
    REQUIRE(ExecCore(7, {}) == 1);
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string command = std::string("\"") + path + "\" --child-window";
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    REQUIRE(CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                           &pi));
    HWND foreign = nullptr;
    PumpUntil([&] { return (foreign = FindWindowW(nullptr, L"other process")) != nullptr; }, 10000);
    CHECK(foreign != nullptr);
    CHECK(BringToFront(foreign));
    CHECK(PumpUntil([&] { return g_state.lastHandledWindow == foreign; }, 2000));
    Pump(300);
    CHECK(DwmCallsFor(foreign).empty());
    PostMessageW(foreign, WM_CLOSE, 0, 0);
    WaitForSingleObject(pi.hProcess, 10000);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    StopAutoStyle();
    DestroyWindow(host);
}

// Child mode: a captioned window of another process that lives until it is closed.
struct ChildSwitch {
    ChildSwitch() {
        if (__argc < 2 || strcmp(__argv[1], "--child-window") != 0) return;
        HWND window = MakeWindow(L"other process");
        PumpUntil([&] { return !IsWindow(window); }, 15000);
        exit(0);
    }
} g_childSwitch;
