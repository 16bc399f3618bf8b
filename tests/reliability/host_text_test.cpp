// Texts at the edges of what a host hands over: megabyte parameters in every action and editor,
// titles with characters the ANSI code page lacks, and blocks nobody would take. Runs once per code
// page (1252 and 932).
#include "doctest_rig.h"
#include "dialog_driver.h"
#include "host_rig.h"
#include "resources.h"

constexpr size_t kMegabyte = 1 << 20;

// A megabyte whose number shows only in its last digits: a text read short would give 0.
static std::string PaddedNumber(const char* digits) {
    std::string text(kMegabyte - strlen(digits), '0');
    return text + digits;
}

static std::string Letters() {
    std::string text(kMegabyte, 'x');
    for (size_t i = 0; i < text.size(); ++i)
        text[i] = static_cast<char>('a' + i % 26);
    return text;
}

// Every byte above 127, so a double-byte code page meets lead bytes, pairs and a lone last lead.
static std::string HighBytes() {
    std::string text(kMegabyte, 'x');
    for (size_t i = 0; i < text.size(); ++i)
        text[i] = static_cast<char>(0x80 + i % 128);
    text.back() = '\x81';
    return text;
}

struct Session {
    PluginApi api;
    HWND host = MakeWindow(L"host");
    bool ready = StartPlugin(api, host);
    ~Session() {
        UnloadPlugin(api);
        DestroyWindow(host);
    }
};

TEST_CASE("megabyte_parameter_texts_reach_every_action_whole") {
    Session s;
    REQUIRE(s.ready);
    const std::string texts[] = {PaddedNumber("5"), Letters(), HighBytes()};
    for (int action = 1; action <= 10; ++action)
        for (const std::string& text : texts) {
            ClearHostRecords();
            s.api.execAction(action,
                             Params({text.c_str(), text.c_str(), text.c_str(), "0"}).data());
            CHECK((!g_writes.empty() && g_writes.back().name == "[Zarnel.LastError]"));
            CHECK_EQ(g_badBlocks, 0);
        }
    std::string five = PaddedNumber("5"), red = PaddedNumber("200");
    CHECK_EQ(Exec(s.api, 6, {five.c_str()}), 1);
    CHECK_EQ(LastValue("[Zarnel.GlobalTheme]"), std::string("Dark Gray"));
    std::string letters = Letters(), high = HighBytes();
    CHECK_EQ(Exec(s.api, 1, {red.c_str(), letters.c_str(), high.c_str(), nullptr}), 1);
    CHECK_EQ(LastValue("[SelectedTitlebarColor]"), std::string("200,0,0"));
    Exec(s.api, 8, {});
}

static int ListSelection(HWND dialog) {
    return static_cast<int>(SendMessageW(Children(dialog).at(1), LB_GETCURSEL, 0, 0));
}

TEST_CASE("megabyte_slot_texts_are_read_whole_by_every_editor") {
    Session s;
    REQUIRE(s.ready);
    SetForegroundWindow(s.host);
    Pump(20);
    std::string five = PaddedNumber("5"), one = PaddedNumber("1"), zero = PaddedNumber("0");
    std::string red = PaddedNumber("200"), green = PaddedNumber("100"), letters = Letters(),
                high = HighBytes();
    for (int action : {3, 6}) {
        Params params({five.c_str(), letters.c_str()});
        HWND dialog = nullptr;
        int selected = -2;
        ScriptRun run = RunScripted([&] { return s.api.editAction(action, params.data()); },
                                    {WaitForEditor(L"Choose Theme", dialog),
                                     [&] {
                                         selected = ListSelection(dialog);
                                         return true;
                                     },
                                     PostTo(dialog, WM_CLOSE)});
        CHECK(run.completed);
        CHECK_EQ(selected, 4);
    }

    Params colour({red.c_str(), green.c_str(), high.c_str(), letters.c_str()});
    HWND picker = nullptr;
    int shown[3] = {-1, -1, -1};
    ScriptRun run = RunScripted([&] { return s.api.editAction(2, colour.data()); },
                                {WaitForColorDialog(picker), Pause(50),
                                 [&] {
                                     for (int i = 0; i < 3; ++i)
                                         shown[i] = GetDlgItemInt(picker, 706 + i, nullptr, 0);
                                     return true;
                                 },
                                 PostTo(picker, WM_COMMAND, IDCANCEL)});
    CHECK(run.completed);
    CHECK_EQ(shown[0], 200);
    CHECK_EQ(shown[1], 100);
    CHECK_EQ(shown[2], 0);

    Params buttons({zero.c_str(), one.c_str(), high.c_str(), letters.c_str()});
    std::vector<uintptr_t> before = buttons.slots;
    HWND dialog = nullptr;
    run = RunScripted([&] { return s.api.editAction(10, buttons.data()); },
                      {WaitForEditor(L"Title Bar Buttons", dialog), ClickChild(dialog, 5)});
    CHECK(run.completed);
    CHECK_EQ(run.result, 1);
    std::string written;
    for (int i = 0; i < 3; ++i) {
        if (buttons.slots[i] != before[i])
            written += TakeHostBlock(reinterpret_cast<char*>(buttons.slots[i]));
        written += i < 2 ? "," : "";
    }
    CHECK_EQ(written, std::string("0,1,0"));
    CHECK_EQ(g_badBlocks, 0);
}

// The title variable as the script receives it, its block's size checked.
static std::string TitleVariable(PluginApi& api, HWND window, const std::wstring& title) {
    SetWindowTextW(window, title.c_str());
    SetForegroundWindow(window);
    if (!PumpUntil([&] { return GetForegroundWindow() == window; }, 3000)) return "<not in front>";
    ClearHostRecords();
    if (Exec(api, 4, {}) != static_cast<int>(reinterpret_cast<intptr_t>(window)))
        return "<refused>";
    return g_badBlocks ? "<bad block>" : LastValue("[Zarnel.ActiveWindowTitle]");
}

static std::wstring Repeat(const wchar_t* piece, int times) {
    std::wstring text;
    for (int i = 0; i < times; ++i)
        text += piece;
    return text;
}

struct TitleCase {
    std::wstring title;
    std::string in1252, in932;
};

TEST_CASE("each_character_outside_the_code_page_becomes_one_default_character") {
    Session s;
    REQUIRE(s.ready);
    UINT codePage = GetACP();
    REQUIRE((codePage == 1252 || codePage == 932));
    printf("  ANSI code page %u\n", codePage);
    HWND front = MakeWindow(L"front");
    const TitleCase cases[] = {
        // Best fit would turn fullwidth quote, percent and bracket into script syntax.
        {L"a\xFF02\xFF05\xFF3D\x0100z", "a????z", "a\xFA\x57\x81\x93\x81\x6E?z"},
        {L"x\xD83D\xDE00y\xD83C\xDF89", "x?y?", "x?y?"},
        {L"\x4E2D\x6587 caf\x00E9", "?? caf\xE9", "\x92\x86\x95\xB6 caf?"},
        // Halves without a partner are characters of their own.
        {L"\xDE00\xD83D", "??", "??"},
        {L"a\xDE00\xD83D\xDE00", "a??", "a??"},
    };
    for (const TitleCase& c : cases)
        CHECK_EQ(TitleVariable(s.api, front, c.title), codePage == 1252 ? c.in1252 : c.in932);

    // A full buffer: 511 UTF-16 units, so the 256th pair would be cut in half.
    CHECK_EQ(TitleVariable(s.api, front, Repeat(L"\xD83D\xDE00", 300)), std::string(255, '?'));
    CHECK_EQ(TitleVariable(s.api, front, L"a" + Repeat(L"\xD83D\xDE00", 300)),
             "a" + std::string(255, '?'));
    std::string cjk = codePage == 1252 ? std::string(511, '?') : Narrow(L"");
    if (codePage == 932)
        for (int i = 0; i < 511; ++i)
            cjk += "\x92\x86";
    CHECK_EQ(TitleVariable(s.api, front, Repeat(L"\x4E2D", 600)), cjk);
    DestroyWindow(front);
}

TEST_CASE("no_block_is_made_for_a_null_out_pointer") {
    Session s;
    REQUIRE(s.ready);
    auto heldAfterCalls = [&] {
        for (int i = 0; i < 100; ++i) {
            s.api.initPlugIn(s.host, nullptr, nullptr, nullptr);
            s.api.getPluginInfo(nullptr, nullptr, nullptr);
        }
        return CountResources().heldBytes;
    };
    heldAfterCalls();
    SIZE_T before = heldAfterCalls(), after = heldAfterCalls();
    // A host that never asks for the texts cannot free them: 222 bytes a pair of calls was lost.
    CHECK(after <= before + 1024);
    // The measure sees a handed-over block from its making until the host frees it.
    char *name = nullptr, *author = nullptr, *description = nullptr;
    s.api.initPlugIn(s.host, &name, &author, &description);
    REQUIRE((name && author && description));
    CHECK_EQ(CountResources().heldBytes,
             after + strlen(name) + strlen(author) + strlen(description) + 3);
    for (char* block : {name, author, description})
        TakeHostBlock(block);
    CHECK_EQ(CountResources().heldBytes, after);
}
