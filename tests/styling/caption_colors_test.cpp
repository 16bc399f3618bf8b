// Caption and caption-text colours through the recording window manager.
#include "doctest_rig.h"
#include "core_rig.h"

static const char kWindows11Message[] =
    "This feature requires Windows 11 Build 22000 or later. Your "
    "Windows version does not support titlebar color "
    "customization.";

TEST_CASE("colour_is_clamped_sent_once_and_stored_only_for_the_host_window") {
    HWND host = MakeWindow(L"host"), other = MakeWindow(L"other");
    StartCore(host);
    g_state.globalThemeIndex = 5;
    CHECK_EQ(ExecCore(1, {"300", "-5", "128", nullptr}), 1);
    std::vector<DwmCall> calls = DwmCalls();
    REQUIRE(calls.size() == 1u);
    CHECK(SameCall(calls[0], host, DWMWA_CAPTION_COLOR, 0x008000FF));
    CHECK_EQ(StoredCaption(), std::string("255,0,128"));
    CHECK_EQ(g_state.globalThemeIndex, 0);
    CHECK_EQ(LastValue("[SelectedTitlebarColor]"), std::string("255,0,128"));
    CHECK_EQ(LastValue("[Zarnel.LastError]"), std::string("OK"));
    CHECK_EQ(g_writes.back().name, std::string("[Zarnel.LastError]"));

    // Another window is coloured and reported, but the stored colour is the host window's.
    g_state.globalThemeIndex = 7;
    CHECK_EQ(ExecCore(1, {"1", "2", "3", HandleText(other).c_str()}), 1);
    calls = DwmCalls();
    REQUIRE(calls.size() == 2u);
    CHECK(SameCall(calls[1], other, DWMWA_CAPTION_COLOR, 0x00030201));
    CHECK_EQ(StoredCaption(), std::string("255,0,128"));
    CHECK_EQ(g_state.globalThemeIndex, 7);
    CHECK_EQ(LastValue("[SelectedTitlebarColor]"), std::string("1,2,3"));

    // The host's own handle passed explicitly counts as the host window.
    CHECK_EQ(ExecCore(1, {"9", "8", "7", HandleText(host).c_str()}), 1);
    CHECK_EQ(StoredCaption(), std::string("9,8,7"));
    DestroyWindow(host);
    DestroyWindow(other);
}

TEST_CASE("text_colour_uses_attribute_36_and_keeps_the_global_theme") {
    HWND host = MakeWindow(L"host");
    StartCore(host);
    g_state.globalThemeIndex = 4;
    CHECK_EQ(ExecCore(2, {"10", "20", "999", nullptr}), 1);
    std::vector<DwmCall> calls = DwmCalls();
    REQUIRE(calls.size() == 1u);
    CHECK(SameCall(calls[0], host, DWMWA_TEXT_COLOR, 0x00FF140A));
    CHECK_EQ(StoredText(), std::string("10,20,255"));
    CHECK_EQ(StoredCaption(), std::string("0,0,0"));
    CHECK_EQ(g_state.globalThemeIndex, 4);
    CHECK_EQ(LastValue("[SelectedTextColor]"), std::string("10,20,255"));
    CHECK_EQ(CountWrites("[SelectedTitlebarColor]"), 0);
    // Missing parameters are black on the host window.
    CHECK_EQ(_nbExecAction(2, nullptr), 1);
    CHECK(SameCall(DwmCalls().back(), host, DWMWA_TEXT_COLOR, 0));
    DestroyWindow(host);
}

TEST_CASE("border_colour_is_set_follows_the_title_bar_and_goes_with_the_style") {
    HWND host = MakeWindow(L"host"), other = MakeWindow(L"other");
    StartCore(host);
    std::string handle = HandleText(other);
    CHECK_EQ(ExecCore(11, {"300", "-5", "128", handle.c_str()}), 1);
    CHECK_EQ(LastValue("[Zarnel.BorderColor]") + " " + LastValue("[Zarnel.LastError]"),
             std::string("255,0,128 OK - Border color set"));
    CHECK_EQ(g_state.borderColor, kColorNotSet);
    // Following the title bar: the colour the plug-in set there now, and each later caption colour.
    ExecCore(3, {"6"});
    CHECK_EQ(ExecCore(11, {"-1"}), 1);
    CHECK_EQ(LastValue("[Zarnel.BorderColor]") + " " + LastValue("[Zarnel.LastError]"),
             std::string("caption OK - Border follows the title bar"));
    ExecCore(1, {"1", "2", "3"});
    ExecCore(2, {"4", "5", "6"});
    DwmFail(DWMWA_BORDER_COLOR, E_INVALIDARG);
    ClearHostRecords();
    CHECK_EQ(ExecCore(11, {"1", "1", "1"}), 0);
    CHECK_EQ(g_writes.size(), 1u);
    CHECK_EQ(LastValue("[Zarnel.LastError]"),
             std::string("DwmSetWindowAttribute failed: -2147024809"));
    CHECK_EQ(g_state.borderColor, kBorderFollowsCaption);
    // Taken back with the style only where one was set, also by a copy loaded later.
    DwmFail(0, S_OK);
    HMODULE held = nullptr;
    REQUIRE(GetModuleHandleExW(0, L"dwmapi.dll", &held));
    StartCore(host);
    for (const char* window : {handle.c_str(), "0", handle.c_str()})
        CHECK_EQ(ExecCore(5, {window}), 1);
    CHECK_EQ(DwmLog(host), "35:202020 20:1 36:FFFFFF 34:202020 35:30201 34:30201 36:60504 34:10101 "
                           "35:FFFFFFFF 36:FFFFFFFF 34:FFFFFFFF 20:0");
    CHECK_EQ(DwmLog(other),
             "34:8000FF 35:FFFFFFFF 36:FFFFFFFF 34:FFFFFFFF 35:FFFFFFFF 36:FFFFFFFF");
    FreeLibrary(held);
    DestroyWindow(host);
    DestroyWindow(other);
}

static BOOL CALLBACK CountProperty(HWND, LPWSTR, HANDLE, ULONG_PTR count) {
    return ++*reinterpret_cast<int*>(count);
}

// The caption buttons' glyphs: light where the title text is lighter than the caption, or, with no
// text colour set on that window, where the caption is dark.
TEST_CASE("dark_mode_flag_follows_the_colours_set_on_each_window") {
    HWND host = MakeWindow(L"host"), other = MakeWindow(L"other"), self = MakeWindow(L"self");
    StartCore(host);
    std::string otherText = HandleText(other), selfText = HandleText(self);
    const char* otherHandle = otherText.c_str();
    // A text colour alone leaves the flag alone; the caption colour after it decides with it.
    CHECK_EQ(ExecCore(2, {"255", "255", "255", otherHandle}), 1);
    CHECK(DwmFlagWrites(other).empty());
    CHECK_EQ(ExecCore(1, {"200", "200", "200", otherHandle}), 1);
    std::vector<DwmCall> calls = DwmAllCalls();
    REQUIRE(calls.size() == 3u);
    CHECK(SameCall(calls[1], other, DWMWA_CAPTION_COLOR, 0x00C8C8C8));
    CHECK(SameCall(calls[2], other, kDarkModeAttribute, 1));
    // The same colour again: the flag is already right.
    CHECK_EQ(ExecCore(1, {"200", "200", "200", otherHandle}), 1);
    CHECK_EQ(DwmFlagWrites(other).size(), 1u);
    // Text as light as the caption is not lighter.
    CHECK_EQ(ExecCore(1, {"255", "255", "255", otherHandle}), 1);
    CHECK_EQ(DwmDarkMode(other), 0);
    // Caption alone: dark turns it on, white on a dark window off again.
    CHECK_EQ(ExecCore(1, {"45", "45", "45"}), 1);
    // The window turns it off itself, as a dialog following a light system theme does: read again.
    DwmPresetDarkMode(host, false);
    CHECK_EQ(ExecCore(1, {"45", "45", "45"}), 1);
    CHECK_EQ(DwmDarkMode(host), 1);
    CHECK_EQ(ExecCore(1, {"255", "255", "255"}), 1);
    CHECK_EQ(DwmDarkMode(host), 0);
    CHECK_EQ(DwmFlagWrites(host).size(), 3u);

    // A window that turned its own flag on gets it back when its style is removed, and only then,
    // also from copies of the plug-in loaded after the one that coloured it.
    DwmPresetDarkMode(self, true);
    int properties = 0, left = 0;
    EnumPropsExW(self, CountProperty, reinterpret_cast<LPARAM>(&properties));
    CHECK_EQ(ExecCore(3, {"15", selfText.c_str()}), 1);
    HMODULE held = nullptr; // the window manager keeps its flags while the plug-in is reloaded
    REQUIRE(GetModuleHandleExW(0, L"dwmapi.dll", &held));
    StartCore(host);
    // Black text on the caption colour the first copy set there.
    CHECK_EQ(ExecCore(2, {"0", "0", "0", selfText.c_str()}), 1);
    CHECK_EQ(DwmDarkMode(self), 0);
    StartCore(host);
    CHECK_EQ(ExecCore(5, {selfText.c_str()}), 1);
    CHECK_EQ(DwmDarkMode(self), 1);
    CHECK_EQ(DwmFlagWrites(self).size(), 2u);
    EnumPropsExW(self, CountProperty, reinterpret_cast<LPARAM>(&left));
    CHECK_EQ(left, properties);
    FreeLibrary(held);
    // Forgotten with its colours: a light caption alone turns its own flag off again.
    CHECK_EQ(ExecCore(1, {"255", "255", "255", selfText.c_str()}), 1);
    CHECK_EQ(DwmFlagWrites(self).size(), 3u);
    CHECK_EQ(DwmDarkMode(self), 0);
    // Back to what it was on its own, so there is nothing to put back.
    CHECK_EQ(ExecCore(5, {otherHandle}), 1);
    CHECK_EQ(DwmFlagWrites(other).size(), 2u);
    CHECK_EQ(g_writes.back().value, std::string("OK - Style removed"));
    // Forgotten as well: a dark caption alone turns it on, and RemoveStyle off again.
    CHECK_EQ(ExecCore(1, {"45", "45", "45", otherHandle}), 1);
    CHECK_EQ(ExecCore(5, {otherHandle}), 1);
    CHECK_EQ(DwmDarkMode(other), 0);
    DestroyWindow(host);
    DestroyWindow(other);
    DestroyWindow(self);
}

// The title bar's own mode: written at once, unless a caption colour of the plug-in decides the
// glyphs; RemoveStyle puts the chosen mode back.
TEST_CASE("dark_mode_chosen_by_the_script_becomes_the_window_own") {
    HWND host = MakeWindow(L"host"), other = MakeWindow(L"other");
    StartCore(host);
    std::string handle = HandleText(other), flags;
    g_recordCaptionStates = true;
    g_captionStates.clear();
    for (auto step :
         {std::pair<int, const char*>{12, "1"}, {3, "2"}, {12, "1"}, {5, nullptr}, {12, "$0"}}) {
        CHECK_EQ(step.second ? ExecCore(step.first, {step.second, handle.c_str()})
                             : ExecCore(step.first, {handle.c_str()}),
                 1);
        flags += std::to_string(DwmDarkMode(other));
    }
    CHECK_EQ(flags, "10010");
    CHECK_EQ(LastValue("[Zarnel.DarkMode]") + " " + LastValue("[Zarnel.LastError]"),
             std::string("0 OK - Dark mode off"));
    CHECK(g_captionStates.empty()); // Windows 11 redraws by itself
    // On the host window it is also the mode of new windows.
    CHECK_EQ(g_state.darkModeForNewWindows, 0);
    CHECK_EQ(ExecCore(12, {}), 1);
    CHECK_EQ(LastValue("[Zarnel.DarkMode]") + " " + LastValue("[Zarnel.LastError]"),
             std::string("1 OK - Dark mode on"));
    CHECK_EQ(g_state.darkModeForNewWindows, 1);
    // Refused: nothing written, the setting for new windows kept.
    DwmFail(kDarkModeAttribute, E_ACCESSDENIED);
    ClearHostRecords();
    CHECK_EQ(ExecCore(12, {"0"}), 0);
    g_state.windowsBuild = kDarkModeBuild - 1;
    CHECK_EQ(ExecCore(12, {"0"}), 0);
    REQUIRE(g_writes.size() == 2u);
    CHECK_EQ(g_writes[0].value + " / " + g_writes[1].value,
             "DwmSetWindowAttribute failed: -2147024891 / This feature requires Windows 10 version "
             "1809 (build 17763) or later.");
    CHECK_EQ(g_state.darkModeForNewWindows, 1);
    DestroyWindow(host);
    DestroyWindow(other);
}

// Honoured as Microsoft asks:
// https://learn.microsoft.com/windows/win32/winauto/high-contrast-parameter
TEST_CASE("a_contrast_theme_refuses_colours_and_takes_back_every_coloured_window") {
    HWND host = MakeWindow(L"host"), other = MakeWindow(L"other");
    StartCore(host);
    std::string handle = HandleText(other);
    REQUIRE(ExecCore(3, {"15"}) + ExecCore(3, {"2", handle.c_str()}) == 2);
    // Destroyed windows make room before the list of windows to take back grows.
    for (int i = 0; i < 40; ++i) {
        HWND gone = MakeWindow(L"gone");
        ExecCore(1, {"9", "9", "9", HandleText(gone).c_str()});
        DestroyWindow(gone);
    }
    CHECK(g_state.styledWindows.capacity < 40);
    ClearHostRecords();
    size_t before = DwmCalls().size();
    REQUIRE(SimulateContrastTheme(GetModuleHandleW(nullptr), true));
    for (int action : {2, 1, 3})
        CHECK_EQ(ExecCore(action, {"6", "6", "6"}), 0);
    CHECK_EQ(g_writes.size(), 3u);
    CHECK_EQ(LastValue("[Zarnel.LastError]"),
             std::string("A contrast theme is on: title bar colours are left to Windows."));
    CHECK_EQ(StoredCaption(), std::string("25,25,112"));
    CHECK_EQ(ExecCore(11, {"1"}) + ExecCore(12, {}), 0);
    CHECK_EQ(LastValue("[Zarnel.LastError]"),
             std::string("A contrast theme is on: title bar colours are left to Windows."));
    // Taken back at once: the system's colours, and the glyphs each window had of its own.
    std::vector<DwmCall> calls = DwmCalls();
    CHECK_EQ(calls.size(), before + 4);
    for (size_t i = before; i < calls.size(); ++i)
        CHECK(SameCall(calls[i], i < before + 2 ? host : other,
                       (i - before) % 2 ? DWMWA_TEXT_COLOR : DWMWA_CAPTION_COLOR,
                       DWMWA_COLOR_DEFAULT));
    CHECK_EQ(DwmDarkMode(host), 0);
    CHECK_EQ(ExecCore(6, {"9"}) + ExecCore(5, {}), 2);
    // Off again: colours are taken, and a window taken back stays as it is.
    SimulateContrastTheme(GetModuleHandleW(nullptr), false);
    CHECK_EQ(ExecCore(1, {"1", "2", "3"}), 1);
    CHECK_EQ(DwmCallsFor(other).size(), 4u);
    // Followed the moment Windows announces it, with no action at all, borders included.
    HWND framed = MakeWindow(L"framed");
    REQUIRE(ExecCore(11, {"1", "2", "3", HandleText(framed).c_str()}) == 1);
    SimulateContrastTheme(GetModuleHandleW(nullptr), true);
    SendMessageTimeoutW(HWND_BROADCAST, WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0, SMTO_ABORTIFHUNG,
                        2000, nullptr);
    CHECK_EQ(DwmCallsFor(host).size(), 9u);
    CHECK_EQ(DwmLog(framed), "34:30201 35:FFFFFFFF 36:FFFFFFFF 34:FFFFFFFF");
    SimulateContrastTheme(GetModuleHandleW(nullptr), false);
    DestroyWindow(framed);
    DestroyWindow(host);
    DestroyWindow(other);
}

// A flag that cannot be read or written changes nothing the host sees.
TEST_CASE("refusal_of_the_dark_mode_flag_is_never_reported") {
    HWND host = MakeWindow(L"host");
    StartCore(host);
    std::vector<std::string> seen[2];
    std::vector<DWORD> values[2];
    for (int failing = 0; failing < 2; ++failing) {
        HWND window = MakeWindow(L"window");
        std::string handle = HandleText(window);
        ClearHostRecords();
        DwmReset();
        if (failing) {
            DwmFail(kDarkModeAttribute, E_ACCESSDENIED);
            DwmFailReads(E_FAIL);
        }
        ExecCore(1, {"20", "20", "20", handle.c_str()});
        ExecCore(3, {"6", handle.c_str()});
        ExecCore(3, {"2", handle.c_str()});
        ExecCore(5, {handle.c_str()});
        for (const HostWrite& write : g_writes)
            seen[failing].push_back(write.name + "=" + write.value);
        for (const DwmCall& call : DwmCalls())
            values[failing].push_back(call.value);
        if (failing) CHECK_EQ(DwmFlagWrites(window).size(), 3u);
        DestroyWindow(window);
    }
    CHECK_EQ(seen[1], seen[0]);
    CHECK_EQ(values[1], values[0]);
    DestroyWindow(host);
}

TEST_CASE("refusal_by_the_window_manager_reports_the_signed_code_and_changes_nothing") {
    HWND host = MakeWindow(L"host");
    StartCore(host);
    ExecCore(1, {"1", "1", "1"});
    ClearHostRecords();
    DwmFail(0, E_INVALIDARG);
    g_state.globalThemeIndex = 3;
    CHECK_EQ(ExecCore(1, {"200", "100", "50"}), 0);
    CHECK_EQ(ExecCore(2, {"200", "100", "50"}), 0);
    CHECK_EQ(LastValue("[Zarnel.LastError]"),
             std::string("DwmSetWindowAttribute failed: -2147024809"));
    CHECK_EQ(CountWrites("[Zarnel.LastError]"), 2);
    CHECK_EQ(CountWrites("[SelectedTitlebarColor]") + CountWrites("[SelectedTextColor]"), 0);
    CHECK_EQ(StoredCaption(), std::string("1,1,1"));
    CHECK_EQ(StoredText(), std::string("255,255,255"));
    CHECK_EQ(g_state.globalThemeIndex, 3);
    DestroyWindow(host);
}

TEST_CASE("no_host_window_is_reported_before_any_window_manager_call") {
    StartCore(nullptr);
    CHECK_EQ(ExecCore(1, {"1", "2", "3"}), 0);
    CHECK_EQ(LastValue("[Zarnel.LastError]"), std::string("No window handle available"));
    CHECK_EQ(ExecCore(5, {}), 0);
    CHECK_EQ(LastValue("[Zarnel.LastError]"), std::string("No window handle available"));
    CHECK(DwmCalls().empty());
    CHECK_EQ(g_writes.size(), 2u);
}

TEST_CASE("remove_style_makes_both_calls_even_when_the_first_fails") {
    HWND host = MakeWindow(L"host");
    StartCore(host);
    ExecCore(6, {"9"});
    CHECK_EQ(ExecCore(5, {nullptr}), 1);
    CHECK_EQ(LastValue("[Zarnel.LastError]"), std::string("OK - Style removed"));
    DwmFail(DWMWA_CAPTION_COLOR, E_FAIL);
    CHECK_EQ(ExecCore(5, {"0"}), 0);
    CHECK_EQ(LastValue("[Zarnel.LastError]"), std::string("Failed to remove style"));
    std::vector<DwmCall> calls = DwmCalls();
    REQUIRE(calls.size() == 4u);
    for (int i = 0; i < 4; ++i)
        CHECK(SameCall(calls[i], host, i % 2 ? DWMWA_TEXT_COLOR : DWMWA_CAPTION_COLOR, 0xFFFFFFFF));
    DwmFail(DWMWA_TEXT_COLOR, E_FAIL);
    CHECK_EQ(ExecCore(5, {}), 0);
    // The stored colours and the global theme survive, so automatic styling keeps using them.
    CHECK_EQ(StoredCaption(), std::string("34,139,34"));
    CHECK_EQ(g_state.globalThemeIndex, 9);
    DestroyWindow(host);
}

TEST_CASE("window_handles_are_read_as_32_bit_values_in_any_notation") {
    HWND host = MakeWindow(L"host"), other = MakeWindow(L"other");
    StartCore(host);
    char hex[16];
    snprintf(hex, sizeof hex, "$%X", static_cast<unsigned>(reinterpret_cast<uintptr_t>(other)));
    CHECK_EQ(ExecCore(1, {"255", "0", "0", HandleText(other).c_str()}), 1);
    CHECK_EQ(ExecCore(1, {"255", "0", "0", hex}), 1);
    CHECK_EQ(ExecCore(1, {"255", "0", "0", "4294967295"}), 1);
    std::vector<DwmCall> calls = DwmCalls();
    REQUIRE(calls.size() == 3u);
    CHECK((calls[0].window == other && calls[1].window == other));
    // All 32 bits set is the handle -1, sign-extended as 64-bit Windows does with handles.
    CHECK_EQ(reinterpret_cast<intptr_t>(calls[2].window), static_cast<intptr_t>(-1));
    DestroyWindow(host);
    DestroyWindow(other);
}

// Run on build 21999.
TEST_CASE("older_build_refuses_colours_without_loading_the_window_manager") {
    HWND host = MakeWindow(L"host");
    StartCore(host);
    CHECK_EQ(IsWindows11OrLater(), 0);
    // Windows 10 keeps its own message under a contrast theme.
    REQUIRE(SimulateContrastTheme(GetModuleHandleW(nullptr), true));
    CHECK_EQ(ExecCore(1, {"1", "2", "3"}), 0);
    CHECK_EQ(LastValue("[Zarnel.LastError]"), std::string(kWindows11Message));
    SimulateContrastTheme(GetModuleHandleW(nullptr), false);
    CHECK_EQ(ExecCore(2, {"1", "2", "3"}), 0);
    CHECK_EQ(ExecCore(3, {"4"}), 0);
    CHECK_EQ(LastValue("[Zarnel.LastError]"), std::string(kWindows11Message));
    CHECK_EQ(g_writes.size(), 3u);
    CHECK(!DwmLoaded());
    CHECK(g_state.dwmapiLibrary == nullptr);
    CHECK_EQ(ExecCore(11, {"1", "2", "3"}), 0);
    CHECK_EQ(LastValue("[Zarnel.LastError]"), std::string(kWindows11Message));
    // An invalid theme is refused before the build is looked at.
    CHECK_EQ(ExecCore(3, {"21"}), 0);
    CHECK_EQ(LastValue("[Zarnel.LastError]"), std::string("Invalid theme index. Use 1-20"));
    // Neither resetting the style nor choosing a global theme needs Windows 11.
    CHECK_EQ(ExecCore(5, {}), 1);
    CHECK_EQ(DwmCalls().size(), 2u);
    CHECK_EQ(ExecCore(6, {"6"}), 1);
    // Automatic styling colours without the build check, but leaves the glyphs to the system.
    CHECK_EQ(ExecCore(7, {}), 1);
    HWND shown = MakeWindow(L"shown");
    CHECK_EQ(DwmCallsFor(shown).size(), 2u);
    CHECK(DwmFlagWrites(shown).empty());
    ExecCore(8, {});
    DestroyWindow(shown);
    DestroyWindow(host);
}

TEST_CASE("build_22000_counts_as_windows_11") {
    StartCore(nullptr);
    CHECK_EQ(IsWindows11OrLater(), 1);
    g_state.windows11Check = 0;
    CHECK_EQ(IsWindows11OrLater(), 0);
}

TEST_CASE("window_manager_comes_from_the_system_directory_only") {
    StartCore(nullptr);
    wchar_t beside[MAX_PATH], system[MAX_PATH], loaded[MAX_PATH] = L"";
    GetModuleFileNameW(nullptr, beside, MAX_PATH);
    lstrcpyW(wcsrchr(beside, L'\\') + 1, L"dwmapi.dll");
    // Without a planted copy beside this program the case would prove nothing.
    REQUIRE(GetFileAttributesW(beside) != INVALID_FILE_ATTRIBUTES);
    REQUIRE(DwmAvailable());
    GetModuleFileNameW(g_state.dwmapiLibrary, loaded, MAX_PATH);
    GetSystemDirectoryW(system, MAX_PATH);
    lstrcatW(system, L"\\dwmapi.dll");
    CHECK_EQ(std::wstring(CharLowerW(loaded)), std::wstring(CharLowerW(system)));
}

// Run with dwmapi.dll disabled.
TEST_CASE("missing_window_manager_is_reported_and_retried") {
    HWND host = MakeWindow(L"host");
    StartCore(host);
    CHECK_EQ(ExecCore(1, {"1", "2", "3"}), 0);
    CHECK_EQ(LastValue("[Zarnel.LastError]"), std::string("DWM API not available"));
    CHECK_EQ(ExecCore(6, {"2"}), 1);
    CHECK_EQ(LastValue("[Zarnel.LastError]"), std::string("OK - Global theme set to: Clean White"));
    CHECK_EQ(ExecCore(5, {}), 0);
    CHECK_EQ(LastValue("[Zarnel.LastError]"), std::string("DWM API not available"));
    CHECK_EQ(ExecCore(7, {}), 0);
    CHECK_EQ(LastValue("[Zarnel.LastError]"),
             std::string("DWM API not available - cannot enable auto-styling"));
    CHECK_EQ(ExecCore(12, {}), 0);
    CHECK_EQ(LastValue("[Zarnel.LastError]"), std::string("DWM API not available"));
    CHECK(!DwmAvailable());
    DestroyWindow(host);
}

// Run on builds 17763 (1809, attribute 19) and 18985 (the first with attribute 20).
TEST_CASE("windows_10_gives_a_dark_title_bar_and_redraws_it_where_it_stands") {
    HWND host = MakeWindow(L"host"), other = MakeWindow(L"other");
    StartCore(host);
    REQUIRE(BringToFront(host));
    std::string flag = WindowsBuild() < 18985 ? "19:1" : "20:1";
    g_recordCaptionStates = true;
    // Drawn the other way and back as it stands: active for the window in front only.
    for (HWND window : {host, other}) {
        g_captionStates.clear();
        CHECK_EQ(ExecCore(12, {"1", HandleText(window).c_str()}), 1);
        CHECK_EQ(DwmLog(window), flag);
        std::string drawn;
        for (const CaptionState& state : g_captionStates)
            drawn += state.window != window ? '?' : state.active ? 'A' : 'i';
        CHECK_EQ(drawn, window == host ? "iA" : "Ai");
    }
    CHECK(GetForegroundWindow() == host);
    // Dark mode alone is enough for new windows, which get no colour calls; one not shown yet needs
    // no redraw.
    CHECK_EQ(ExecCore(7, {}), 1);
    HWND shown = MakeWindow(L"shown", WS_OVERLAPPEDWINDOW);
    ShowWindow(shown, SW_SHOWNOACTIVATE);
    CHECK_EQ(DwmLog(shown), flag);
    for (const CaptionState& state : g_captionStates)
        CHECK(state.window != shown);
    ExecCore(8, {});
    for (HWND window : {shown, host, other})
        DestroyWindow(window);
}
