// The twenty themes as the window manager receives them, and the global theme.
#include "doctest_rig.h"
#include "core_rig.h"

struct ExpectedTheme {
    const char* name;
    DWORD caption, text;
    bool lightGlyphs; // the dark-mode flag, so the caption buttons match the title text
};

// clang-format off
static const ExpectedTheme kThemes[20] = {
    {"Charcoal",      0x004F4536, 0x00FFFFFF, true},
    {"Clean White",   0x00FFFFFF, 0x00202020, false},
    {"Crimson Red",   0x003C14DC, 0x00FFFFFF, true},
    {"Cyber Purple",  0x0082004B, 0x00D355BA, true},
    {"Dark Gray",     0x00404040, 0x00F0F0F0, true},
    {"Dark Mode",     0x00202020, 0x00FFFFFF, true},
    {"Deep Teal",     0x00808000, 0x00FFFFFF, true},
    {"Electric Blue", 0x00FFBF00, 0x00000000, false},
    {"Forest Green",  0x00228B22, 0x00FFFFFF, true},
    {"Gold",          0x0000D7FF, 0x00000000, false},
    {"Hot Pink",      0x009314FF, 0x00FFFFFF, true},
    {"Light Mode",    0x00F0F0F0, 0x00000000, false},
    {"Lime Green",    0x0032CD32, 0x00000000, false},
    {"Matrix Green",  0x00006400, 0x0000FF00, true},
    {"Midnight Blue", 0x00701919, 0x00FFFFFF, true},
    {"Office Blue",   0x00D77800, 0x00FFFFFF, true},
    {"Royal Purple",  0x00993366, 0x00FFFFFF, true},
    {"Steel Blue",    0x00B48246, 0x00FFFFFF, true},
    {"Sunset Orange", 0x00008CFF, 0x00FFFFFF, true},
    {"Warm Gray",     0x00768080, 0x00FFFFFF, true},
};
// clang-format on

static std::string Components(DWORD color) {
    return std::to_string(color & 0xFF) + "," + std::to_string((color >> 8) & 0xFF) + "," +
           std::to_string((color >> 16) & 0xFF);
}

TEST_CASE("every_theme_reaches_the_window_manager_with_its_colours") {
    HWND host = MakeWindow(L"host");
    StartCore(host);
    for (int i = 0; i < 20; ++i) {
        INFO(kThemes[i].name);
        ClearHostRecords();
        std::string index = std::to_string(i + 1);
        CHECK_EQ(ExecCore(3, {index.c_str(), "0"}), 1);
        std::vector<DwmCall> calls = DwmCallsFor(host);
        REQUIRE(calls.size() == 2u * (i + 1));
        CHECK(SameCall(calls[2 * i], host, DWMWA_CAPTION_COLOR, kThemes[i].caption));
        CHECK(SameCall(calls[2 * i + 1], host, DWMWA_TEXT_COLOR, kThemes[i].text));
        CHECK_EQ(LastValue("[Zarnel.AppliedTheme]"), std::string(kThemes[i].name));
        CHECK_EQ(LastValue("[Zarnel.LastError]"),
                 "OK - Theme applied: " + std::string(kThemes[i].name));
        CHECK_EQ(LastValue("[SelectedTitlebarColor]"), Components(kThemes[i].caption));
        CHECK_EQ(LastValue("[SelectedTextColor]"), Components(kThemes[i].text));
        // The applied theme becomes the current colours, but not the global theme.
        CHECK_EQ(StoredCaption(), Components(kThemes[i].caption));
        CHECK_EQ(StoredText(), Components(kThemes[i].text));
        CHECK_EQ(g_state.globalThemeIndex, 0);
        CHECK_EQ(CountWrites("[Zarnel.GlobalTheme]") + CountWrites("[Zarnel.GlobalThemeIndex]"), 0);
        // On a fresh window, twice: the flag is written once where it turns on, never where it
        // stays off.
        HWND fresh = MakeWindow(L"fresh");
        std::string handle = HandleText(fresh);
        CHECK_EQ(ExecCore(3, {index.c_str(), handle.c_str()}), 1);
        CHECK_EQ(ExecCore(3, {index.c_str(), handle.c_str()}), 1);
        CHECK_EQ(DwmFlagWrites(fresh).size(), kThemes[i].lightGlyphs ? 1u : 0u);
        CHECK_EQ(DwmDarkMode(fresh), kThemes[i].lightGlyphs ? 1 : 0);
        DestroyWindow(fresh);
    }
    // No parameters at all: theme 1 on the host window.
    CHECK_EQ(_nbExecAction(3, nullptr), 1);
    CHECK_EQ(LastValue("[Zarnel.AppliedTheme]"), std::string("Charcoal"));
    DestroyWindow(host);
}

TEST_CASE("theme_index_out_of_range_or_not_a_number_is_refused_first") {
    HWND host = MakeWindow(L"host");
    StartCore(host);
    for (const char* index : {"0", "21", "-1", "", "abc"}) {
        ClearHostRecords();
        CHECK_EQ(ExecCore(3, {index}), 0);
        CHECK_EQ(ExecCore(6, {index}), 0);
        CHECK_EQ(g_writes.size(), 2u);
        CHECK_EQ(LastValue("[Zarnel.LastError]"), std::string("Invalid theme index. Use 1-20"));
    }
    CHECK(DwmCalls().empty());
    CHECK_EQ(g_state.globalThemeIndex, 0);
    DestroyWindow(host);
}

TEST_CASE("failed_text_step_keeps_the_caption_and_writes_no_applied_theme") {
    HWND host = MakeWindow(L"host"), other = MakeWindow(L"other");
    StartCore(host);
    REQUIRE(DwmAvailable());
    DwmFail(DWMWA_TEXT_COLOR, E_ACCESSDENIED);
    CHECK_EQ(ExecCore(3, {"7", HandleText(other).c_str()}), 0);
    CHECK_EQ(DwmCalls().size(), 2u);
    CHECK_EQ(LastValue("[SelectedTitlebarColor]"), std::string("0,128,128"));
    CHECK_EQ(CountWrites("[Zarnel.AppliedTheme]"), 0);
    CHECK_EQ(LastValue("[Zarnel.LastError]"),
             std::string("DwmSetWindowAttribute failed: -2147024891"));
    // Another window's theme never becomes the current colours.
    CHECK_EQ(StoredCaption(), std::string("0,0,0"));
    DestroyWindow(host);
    DestroyWindow(other);
}

TEST_CASE("global_theme_sets_current_colours_and_touches_no_window") {
    HWND host = MakeWindow(L"host");
    StartCore(host);
    CHECK_EQ(ExecCore(6, {"14"}), 1);
    CHECK(DwmCalls().empty());
    CHECK_EQ(StoredCaption(), std::string("0,100,0"));
    CHECK_EQ(StoredText(), std::string("0,255,0"));
    CHECK_EQ(g_state.globalThemeIndex, 14);
    REQUIRE(g_writes.size() == 3u);
    CHECK_EQ(g_writes[0].name + "=" + g_writes[0].value,
             std::string("[Zarnel.GlobalTheme]=Matrix Green"));
    CHECK_EQ(g_writes[1].name + "=" + g_writes[1].value,
             std::string("[Zarnel.GlobalThemeIndex]=14"));
    CHECK_EQ(g_writes[2].value, std::string("OK - Global theme set to: Matrix Green"));
    CHECK_EQ(_nbExecAction(6, nullptr), 1);
    CHECK_EQ(LastValue("[Zarnel.GlobalTheme]"), std::string("Charcoal"));
    // A colour on the host window ends the global theme but keeps the theme's text colour.
    ExecCore(6, {"14"});
    CHECK_EQ(ExecCore(1, {"5", "5", "5"}), 1);
    CHECK_EQ(g_state.globalThemeIndex, 0);
    CHECK_EQ(StoredText(), std::string("0,255,0"));
    DestroyWindow(host);
}

// Only the rig's own test runs it (--no-skip): its name must be in the log of the killed program.
TEST_CASE("rig_hangs" * doctest::skip()) {
    for (;;)
        Sleep(1000);
}
