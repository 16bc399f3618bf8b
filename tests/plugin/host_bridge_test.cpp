// Texts and numbers crossing the host boundary, and how the dispatcher decodes slots.
#include "doctest_rig.h"
#include "core_rig.h"

static int32_t Low32(const wchar_t* text) {
    return static_cast<int32_t>(ParseNumber(text));
}

TEST_CASE("numbers_are_read_with_blanks_signs_and_base_prefixes") {
    CHECK_EQ(Low32(L"  42"), 42);
    CHECK_EQ(Low32(L"\t\t-7"), -7);
    CHECK_EQ(Low32(L"+8"), 8);
    CHECK_EQ(Low32(L"$FF"), 255);
    CHECK_EQ(Low32(L"$ff"), 255);
    CHECK_EQ(Low32(L"-$10"), -16);
    CHECK_EQ(Low32(L"%101"), 5);
    CHECK_EQ(Low32(L"%102"), 2);
    CHECK_EQ(Low32(L"12abc"), 12);
    CHECK_EQ(Low32(L"0x1F"), 0);
    CHECK_EQ(Low32(L"- 5"), 0);
    CHECK_EQ(Low32(L"--5"), 0);
    CHECK_EQ(Low32(L" \n5"), 0);
    CHECK_EQ(Low32(L""), 0);
    CHECK_EQ(Low32(L"abc"), 0);
    CHECK_EQ(Low32(L"$"), 0);
    CHECK_EQ(Low32(L"4294967295"), -1);
    CHECK_EQ(ParseNumber(L"4294967295"), 4294967295LL);
    // Past 64 bits the value wraps instead of saturating: 2^64 + 3 reads as 3.
    CHECK_EQ(ParseNumber(L"18446744073709551619"), 3LL);
    CHECK_EQ(ParseNumber(L"$1FFFFFFFFFFFFFFFF"), -1LL);
    CHECK_EQ(ParseNumber(L"-9223372036854775808"), static_cast<int64_t>(0x8000000000000000ULL));
}

TEST_CASE("host_blocks_are_exact_ansi_copies_with_the_default_character") {
    char* empty = MakeHostString(L"");
    REQUIRE(empty);
    CHECK_EQ(GlobalSize(empty), 1u);
    CHECK_EQ(empty[0], '\0');
    GlobalFree(empty);
    // A character outside the code page becomes its default character, not a cut text.
    char* mixed = MakeHostString(L"a\x4e2d\x00e9z");
    CHECK_EQ(TakeHostBlock(mixed), std::string("a?\xe9z"));
    CHECK_EQ(g_badBlocks, 0);
    HostText wide;
    REQUIRE(ReadHostString("caf\xe9", wide));
    CHECK_EQ(std::wstring(wide.text), std::wstring(L"caf\x00e9"));
}

TEST_CASE("missing_array_or_slots_give_defaults_but_empty_text_gives_zero") {
    HWND host = MakeWindow(L"host");
    StartCore(host);
    REQUIRE(DwmAvailable());
    // Null slots fall back on the defaults: black on the host window.
    CHECK_EQ(ExecCore(1, {"255", nullptr, "0", nullptr}), 1);
    CHECK_EQ(LastValue("[SelectedTitlebarColor]"), std::string("255,0,0"));
    CHECK_EQ(ExecCore(1, {"", "x", " 7 ", ""}), 1);
    CHECK_EQ(LastValue("[SelectedTitlebarColor]"), std::string("0,0,7"));
    // An empty theme text asks for theme 0, not the default theme 1.
    CHECK_EQ(ExecCore(6, {""}), 0);
    CHECK_EQ(ExecCore(6, {nullptr}), 1);
    CHECK_EQ(LastValue("[Zarnel.GlobalThemeIndex]"), std::string("1"));
    CHECK_EQ(ExecCore(10, {"0", "1", "1", nullptr}), 1);
    CHECK_EQ(LastValue("[Zarnel.ButtonsClose]"), std::string("0"));
    DestroyWindow(host);
}

TEST_CASE("only_the_slots_an_action_reads_are_touched") {
    HWND host = MakeWindow(L"host");
    StartCore(host);
    // One readable slot followed by an unreadable address: action 6 reads slot 0 alone.
    static const char theme[] = "3";
    uintptr_t slots[2] = {reinterpret_cast<uintptr_t>(theme), 0x10};
    CHECK_EQ(_nbExecAction(6, slots), 1);
    CHECK_EQ(LastValue("[Zarnel.GlobalTheme]"), std::string("Crimson Red"));
    uintptr_t* invalid = reinterpret_cast<uintptr_t*>(static_cast<uintptr_t>(0x10));
    CHECK_EQ(_nbExecAction(9, invalid), 0);
    CHECK_EQ(_nbExecAction(8, invalid), 1);
    DestroyWindow(host);
}

TEST_CASE("a_megabyte_of_digits_is_read_without_faults") {
    HWND host = MakeWindow(L"host");
    StartCore(host);
    std::string huge(1 << 20, '9');
    huge = "  +" + huge;
    CHECK_EQ(ExecCore(6, {huge.c_str()}), 0);
    CHECK_EQ(LastValue("[Zarnel.LastError]"), std::string("Invalid theme index. Use 1-20"));
    DestroyWindow(host);
}
