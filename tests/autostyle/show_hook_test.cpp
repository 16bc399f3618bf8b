// Windows of the host thread are coloured as they are shown, before their first paint.
#include "doctest_rig.h"
#include "core_rig.h"
#include "autostyle/auto_style.h"
#include "autostyle/show_hook.h"
#include "show_paths.h"

#include <commctrl.h>

// Exactly the two caption calls with the theme's colours, and the dark-mode flag where the theme
// wants it, made before the window was visible.
static bool ColouredBeforeShown(HWND window, int theme = 7) {
    const Theme& colours = g_state.themeTable[theme];
    std::vector<DwmCall> calls = DwmCallsFor(window), flag = DwmFlagWrites(window);
    bool lightGlyphs = WantsDarkMode(colours.captionColor, colours.textColor);
    return calls.size() == 2 &&
           SameCall(calls[0], window, DWMWA_CAPTION_COLOR, colours.captionColor) &&
           SameCall(calls[1], window, DWMWA_TEXT_COLOR, colours.textColor) && !calls[0].visible &&
           !calls[1].visible && !calls[0].painted && flag.size() == (lightGlyphs ? 1u : 0u) &&
           (flag.empty() || (!flag[0].visible && !flag[0].painted));
}

static HWND StartStyling() {
    HWND host = MakeWindow(L"host");
    StartCore(host);
    SetForegroundWindow(host);
    ExecCore(6, {"7"});
    ExecCore(7, {});
    DwmReset();
    return host;
}

TEST_CASE("every_way_of_showing_colours_before_the_first_paint_once") {
    HWND host = StartStyling();
    for (int path = 0; path < kShowPathCount; ++path) {
        int theme = 2 + path;
        ShownWindow shown = ShowBy(static_cast<ShowPath>(path), host, theme);
        HWND window = shown.window;
        REQUIRE(window != nullptr);
        INFO(ShowPathName(static_cast<ShowPath>(path)));
        CHECK(ColouredBeforeShown(window, theme));
        CHECK(WindowListContains(g_state.trackedWindows, window));
        CHECK(g_state.lastHandledWindow == window);
        CHECK(shown.hookGoneWhenShown);
        // Shown again and in front: the tick passes over it.
        ShowWindow(window, SW_HIDE);
        ShowWindow(window, SW_SHOW);
        SetForegroundWindow(window);
        Pump(250);
        CHECK_EQ(DwmCallsFor(window).size(), 2u);
        DestroyWindow(window);
    }
    StopAutoStyle();
    DestroyWindow(host);
}

TEST_CASE("hidden_captionless_and_child_windows_wait_or_are_left_alone") {
    HWND host = StartStyling();
    HWND hidden = MakeWindow(L"hidden", WS_OVERLAPPEDWINDOW);
    HWND child = MakeWindow(L"child", WS_CHILD | WS_CAPTION | WS_VISIBLE, host);
    HWND popup = MakeWindow(L"popup", WS_POPUP | WS_VISIBLE);
    Pump(150);
    CHECK(DwmCallsFor(hidden).empty());
    CHECK(DwmCallsFor(child).empty());
    CHECK(DwmCallsFor(popup).empty());
    ShowWindow(hidden, SW_SHOW);
    CHECK(ColouredBeforeShown(hidden));
    // Its caption taken away before the show (a splash screen), a window is left alone.
    HWND splash = MakeWindow(L"splash", WS_OVERLAPPEDWINDOW);
    SetWindowLongW(splash, GWL_STYLE, GetWindowLongW(splash, GWL_STYLE) & ~WS_CAPTION);
    ShowWindow(splash, SW_SHOWNOACTIVATE);
    CHECK(DwmCallsFor(splash).empty());
    DestroyWindow(splash);
    // A caption gained later is the tick's to find, on a window already visible.
    SetWindowLongW(popup, GWL_STYLE, GetWindowLongW(popup, GWL_STYLE) | WS_CAPTION);
    SetForegroundWindow(popup);
    CHECK(PumpUntil([&] { return DwmCallsFor(popup).size() == 2; }, 2000));
    CHECK(DwmCallsFor(popup)[0].visible);
    CHECK(DwmCallsFor(child).empty());
    DestroyWindow(hidden);
    DestroyWindow(popup);
    StopAutoStyle();
    DestroyWindow(host);
}

static bool g_menuShown, g_hookedDuringMenu;

static void CALLBACK InspectOpenMenu(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    g_menuShown = IsWindowVisible(FindWindowW(L"#32768", nullptr)) != FALSE;
    g_hookedDuringMenu = g_state.showHook != nullptr;
    EndMenu();
}

TEST_CASE("the_per_message_hook_waits_only_for_title_bars_and_not_for_long") {
    HWND host = StartStyling();
    // Menus and tooltips are bordered popups shown without WM_SHOWWINDOW.
    HMENU menu = CreatePopupMenu();
    AppendMenuW(menu, MF_STRING, 1, L"item");
    SetTimer(nullptr, 0, 300, InspectOpenMenu);
    TrackPopupMenu(menu, TPM_RETURNCMD, 60, 60, 0, host, nullptr);
    DestroyMenu(menu);
    CHECK(g_menuShown);
    CHECK(!g_hookedDuringMenu);
    HWND tip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                               WS_POPUP | WS_BORDER | TTS_ALWAYSTIP, 0, 0, 0, 0, host, nullptr,
                               nullptr, nullptr);
    REQUIRE(tip != nullptr);
    // Hidden children and message-only windows never get a title bar either, whatever their style.
    HWND child = MakeWindow(L"child", WS_CHILD | WS_CAPTION, host);
    HWND messageOnly = CreateWindowExW(0, L"Static", nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                       nullptr, nullptr);
    CHECK(g_state.showHook == nullptr);
    SetWindowPos(tip, nullptr, 60, 60, 80, 20, SWP_SHOWWINDOW | SWP_NOZORDER | SWP_NOACTIVATE);
    CHECK(DwmCallsFor(tip).empty());
    for (HWND window : {tip, child, messageOnly})
        DestroyWindow(window);

    // A hidden window destroyed before its show takes the hook with it.
    HWND unshown = MakeWindow(L"never shown", WS_OVERLAPPEDWINDOW);
    CHECK(g_state.showHook != nullptr);
    DestroyWindow(unshown);
    CHECK(g_state.showHook == nullptr);
    // More hidden windows than the wait list holds: the one past it is left to the timer.
    std::vector<HWND> waiting;
    for (int i = 0; i <= kMaxPendingShows; ++i)
        waiting.push_back(MakeWindow(L"waiting", WS_OVERLAPPEDWINDOW));
    CHECK_EQ(g_state.pendingShowCount, kMaxPendingShows);
    ShowWindow(waiting.back(), SW_SHOWNOACTIVATE);
    CHECK(DwmCallsFor(waiting.back()).empty());
    ShowWindow(waiting.front(), SW_SHOWNOACTIVATE);
    CHECK(ColouredBeforeShown(waiting.front()));
    for (HWND window : waiting)
        DestroyWindow(window);
    CHECK(g_state.showHook == nullptr);

    // A window that stays hidden is waited for a while, then left to the timer.
    DWORD created = GetTickCount();
    HWND hidden = MakeWindow(L"kept hidden", WS_OVERLAPPEDWINDOW);
    CHECK(g_state.showHook != nullptr);
    CHECK(PumpUntil([] { return g_state.showHook == nullptr; }, 3000));
    CHECK(GetTickCount() - created >= kShowWaitMs);
    ShowWindow(hidden, SW_SHOW);
    SetForegroundWindow(hidden);
    CHECK(PumpUntil([&] { return DwmCallsFor(hidden).size() == 2; }, 2000));
    CHECK((!DwmCallsFor(hidden).empty() && DwmCallsFor(hidden)[0].visible));
    DestroyWindow(hidden);
    StopAutoStyle();
    DestroyWindow(host);
}

static DWORD WINAPI ShowWorkerWindow(void* result) {
    HWND window = MakeWindow(L"worker");
    SetForegroundWindow(window);
    PumpUntil([&] { return DwmCallsFor(window).size() == 2; }, 3000);
    std::vector<DwmCall> calls = DwmCallsFor(window);
    *static_cast<bool*>(result) = calls.size() == 2 && calls[0].visible;
    DestroyWindow(window);
    return 0;
}

TEST_CASE("windows_of_other_threads_are_left_to_the_tick") {
    HWND host = StartStyling();
    bool colouredByTick = false;
    HANDLE worker = CreateThread(nullptr, 0, ShowWorkerWindow, &colouredByTick, 0, nullptr);
    PumpUntil([&] { return WaitForSingleObject(worker, 0) == WAIT_OBJECT_0; }, 5000);
    CloseHandle(worker);
    CHECK(colouredByTick);
    StopAutoStyle();
    DestroyWindow(host);
}

TEST_CASE("no_window_is_hooked_after_disable_or_message_2") {
    for (int stop = 0; stop < 2; ++stop) {
        HWND host = StartStyling();
        CHECK(g_state.createHook != nullptr);
        if (stop)
            _nbMessage(2, nullptr);
        else
            ExecCore(8, {});
        CHECK((g_state.createHook == nullptr && g_state.showHook == nullptr));
        HWND late = MakeWindow(L"late");
        CHECK(DwmCallsFor(late).empty());
        DestroyWindow(late);
        DestroyWindow(host);
    }
}
