// Caption buttons on real windows: style bits and the Close item of the window menu.
#include "doctest_rig.h"
#include "core_rig.h"

constexpr LONG kBoxes = WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;

static bool CloseGrayed(HWND window) {
    HMENU menu = GetSystemMenu(window, FALSE);
    return menu && (GetMenuState(menu, SC_CLOSE, MF_BYCOMMAND) & MF_GRAYED);
}

static WNDPROC g_windowProc;
static int g_frameChanges;

static LRESULT CALLBACK CountFrameChanges(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCALCSIZE && wParam) ++g_frameChanges;
    return CallWindowProcW(g_windowProc, window, message, wParam, lParam);
}

TEST_CASE("flags_set_and_clear_the_caption_button_bits") {
    HWND host = MakeWindow(L"host");
    StartCore(host);
    // The title bar is laid out again at once, so the buttons change on screen without a resize.
    g_windowProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(host, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CountFrameChanges)));
    struct Case {
        const char *close, *minimize, *maximize;
        LONG bits;
        bool grayed;
    } cases[] = {
        {"0", "1", "1", kBoxes, true},      {"1", "0", "1", WS_SYSMENU | WS_MAXIMIZEBOX, false},
        {"1", "0", "0", WS_SYSMENU, false}, {"0", "1", "0", WS_SYSMENU | WS_MINIMIZEBOX, true},
        {"1", "1", "1", kBoxes, false},
    };
    for (const Case& c : cases) {
        ClearHostRecords();
        g_frameChanges = 0;
        CHECK_EQ(ExecCore(10, {c.close, c.minimize, c.maximize, nullptr}), 1);
        CHECK_EQ(g_frameChanges, 1);
        CHECK_EQ(GetWindowLongW(host, GWL_STYLE) & kBoxes, c.bits);
        CHECK_EQ(CloseGrayed(host), c.grayed);
        REQUIRE(g_writes.size() == 4u);
        CHECK_EQ(g_writes[0].name + "=" + g_writes[0].value,
                 "[Zarnel.ButtonsClose]=" + std::string(c.close));
        CHECK_EQ(g_writes[1].name + "=" + g_writes[1].value,
                 "[Zarnel.ButtonsMin]=" + std::string(c.minimize));
        CHECK_EQ(g_writes[2].name + "=" + g_writes[2].value,
                 "[Zarnel.ButtonsMax]=" + std::string(c.maximize));
        CHECK_EQ(g_writes[3].value, std::string("OK - Button visibility applied"));
    }
    CHECK(DwmCalls().empty());
    DestroyWindow(host);
}

TEST_CASE("all_flags_off_removes_only_the_window_menu_and_a_later_call_restores_it") {
    HWND host = MakeWindow(L"host");
    StartCore(host);
    ExecCore(10, {"1", "0", "1"});
    CHECK_EQ(ExecCore(10, {"0", "0", "0"}), 1);
    // The box bits stay as they were; without the window menu no button is drawn anyway.
    CHECK_EQ(GetWindowLongW(host, GWL_STYLE) & kBoxes, WS_MAXIMIZEBOX);
    CHECK_EQ(ExecCore(10, {"2", "-1", "0"}), 1);
    CHECK_EQ(GetWindowLongW(host, GWL_STYLE) & kBoxes, WS_SYSMENU | WS_MINIMIZEBOX);
    CHECK(!CloseGrayed(host));
    // Flags are written back as they came, not normalised.
    CHECK_EQ(LastValue("[Zarnel.ButtonsClose]"), std::string("2"));
    CHECK_EQ(LastValue("[Zarnel.ButtonsMin]"), std::string("-1"));
    // No parameters at all: every button shown on the host window.
    CHECK_EQ(_nbExecAction(10, nullptr), 1);
    CHECK_EQ(GetWindowLongW(host, GWL_STYLE) & kBoxes, kBoxes);
    DestroyWindow(host);
}

TEST_CASE("explicit_window_is_used_and_bad_windows_are_refused_without_writes") {
    HWND host = MakeWindow(L"host"), other = MakeWindow(L"other");
    StartCore(host);
    CHECK_EQ(ExecCore(10, {"1", "0", "0", HandleText(other).c_str()}), 1);
    CHECK_EQ(GetWindowLongW(other, GWL_STYLE) & kBoxes, WS_SYSMENU);
    CHECK_EQ(GetWindowLongW(host, GWL_STYLE) & kBoxes, kBoxes);
    // The window stays where it was: only its frame is redrawn.
    RECT before, after;
    GetWindowRect(other, &before);
    ExecCore(10, {"1", "1", "1", HandleText(other).c_str()});
    GetWindowRect(other, &after);
    CHECK(EqualRect(&before, &after));
    // Windows refuses to restyle an elevated program's window: then nothing else is done either.
    ClearHostRecords();
    REQUIRE(SimulateRefusedWindowLong(GetModuleHandleW(nullptr), true));
    int refused = ExecCore(10, {"0", "1", "1", HandleText(other).c_str()});
    SimulateRefusedWindowLong(GetModuleHandleW(nullptr), false);
    CHECK_EQ(refused, 0);
    CHECK_EQ(LastValue("[Zarnel.LastError]"),
             std::string("Failed to apply button visibility - Error: 5"));
    CHECK_EQ(g_writes.size(), 1u);
    CHECK(!CloseGrayed(other));
    // A style of 0 before is no refusal, whatever error was left over from earlier calls.
    HWND bare = MakeWindow(L"", WS_CHILD, other);
    SetWindowLongW(bare, GWL_STYLE, 0);
    SetLastError(ERROR_ACCESS_DENIED);
    CHECK_EQ(ExecCore(10, {"1", "1", "1", HandleText(bare).c_str()}), 1);
    DestroyWindow(other);
    ClearHostRecords();
    CHECK_EQ(ExecCore(10, {"1", "1", "1", HandleText(other).c_str()}), 0);
    CHECK_EQ(LastValue("[Zarnel.LastError]"), std::string("Invalid window handle"));
    CHECK_EQ(g_writes.size(), 1u);
    StartCore(nullptr);
    CHECK_EQ(ExecCore(10, {}), 0);
    CHECK_EQ(LastValue("[Zarnel.LastError]"), std::string("No window handle available"));
    CHECK_EQ(g_writes.size(), 1u);
    DestroyWindow(host);
}

constexpr DWORD kHungWaitMs = 60000;

// In front, then deaf to messages until released: an action that sends its window a message holds
// the release back until the wait times out, which the exit code reports.
static DWORD WINAPI HangInFront(void* release) {
    HWND window = MakeWindow(L"hung window");
    BringToFront(window);
    // Not a message wait: Wine does not count a thread waiting in one as hung.
    DWORD timedOut = WaitForSingleObject(release, kHungWaitMs) == WAIT_TIMEOUT;
    PumpUntil([&] { return WaitForSingleObject(release, 0) == WAIT_OBJECT_0; }, kHungWaitMs);
    DestroyWindow(window);
    return timedOut;
}

TEST_CASE("a_hung_window_is_never_sent_a_message") {
    HWND host = MakeWindow(L"host"), hung = nullptr;
    StartCore(host);
    HANDLE release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE thread = CreateThread(nullptr, 0, HangInFront, release, 0, nullptr);
    CHECK(PumpUntil(
        [&] {
            return (hung = FindWindowW(nullptr, L"hung window")) && hung == GetForegroundWindow();
        },
        20000));
    // Windows calls a window hung once its thread has taken no message for 5 s: this thread's own
    // too, which answer at once all the same.
    for (int i = 0; i < 80 && !IsHungAppWindow(hung); ++i)
        Sleep(250);
    CHECK((IsHungAppWindow(hung) && IsHungAppWindow(host)));
    LONG style = GetWindowLongW(hung, GWL_STYLE);
    std::string handle = HandleText(hung);
    ClearHostRecords();
    CHECK_EQ(ExecCore(10, {"0", "0", "0", handle.c_str()}), 0);
    CHECK_EQ(LastValue("[Zarnel.LastError]"), std::string("Window not responding"));
    CHECK_EQ(g_writes.size(), 1u);
    CHECK_EQ(ExecCore(12, {"1", handle.c_str()}), 0);
    CHECK_EQ(g_writes.back().value, std::string("Window not responding"));
    CHECK((g_writes.size() == 2u && DwmFlagWrites(hung).empty()));
    CHECK_EQ(ExecCore(4, {}), atoi(handle.c_str()));
    CHECK_EQ(LastValue("[Zarnel.ActiveWindowTitle]"), std::string("hung window"));
    CHECK_EQ(GetWindowLongW(hung, GWL_STYLE), style);
    CHECK_EQ(ExecCore(10, {"1", "0", "0"}) + ExecCore(12, {}), 2);
    SetEvent(release);
    WaitForSingleObject(thread, kHungWaitMs);
    DWORD timedOut = 1;
    GetExitCodeThread(thread, &timedOut);
    CHECK_EQ(timedOut, 0u);
    CloseHandle(thread);
    CloseHandle(release);
    DestroyWindow(host);
}
