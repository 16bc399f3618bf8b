// A host process that ends while the plug-in styles and an editor is open: by a quit message its
// own loop receives, or by ExitProcess from inside the editor. Each case runs in a child process.
#include "doctest_rig.h"
#include "host_rig.h"

constexpr int kQuitCode = 7, kExitCode = 9;
constexpr int kEditorKept = 3, kStartFailed = 2, kQuitSwallowed = 99;

struct ChildRun {
    DWORD code;
    bool finished;
};

static ChildRun RunChild(const std::string& arguments) {
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string command = std::string("\"") + path + "\" " + arguments;
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                        &pi))
        return {0, false};
    ChildRun run = {0, WaitForSingleObject(pi.hProcess, 20000) == WAIT_OBJECT_0};
    if (run.finished)
        GetExitCodeProcess(pi.hProcess, &run.code);
    else
        TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return run;
}

static const int kEditorActions[] = {3, 1, 10}; // theme chooser, colour dialog, caption buttons

TEST_CASE("a_quit_message_ends_the_editor_and_reaches_the_host_loop_with_its_code") {
    for (int action : kEditorActions) {
        ChildRun run = RunChild("--child-quit " + std::to_string(action));
        printf("  editor of action %d, quit %d: exit code %lu%s\n", action, kQuitCode, run.code,
               run.finished ? "" : " (hung)");
        CHECK(run.finished);
        CHECK_EQ(run.code, static_cast<DWORD>(kQuitCode));
    }
}

TEST_CASE("exit_process_from_inside_an_editor_keeps_the_exit_code") {
    for (int action : kEditorActions) {
        ChildRun run = RunChild("--child-exit " + std::to_string(action));
        printf("  editor of action %d, ExitProcess(%d): exit code %lu%s\n", action, kExitCode,
               run.code, run.finished ? "" : " (hung)");
        CHECK(run.finished);
        CHECK_EQ(run.code, static_cast<DWORD>(kExitCode));
    }
}

// Child side.
static DWORD g_hostThread;

static BOOL CALLBACK FindEditorWindow(HWND window, LPARAM found) {
    wchar_t name[32] = {};
    GetClassNameW(window, name, 32);
    if (IsWindowVisible(window) && IsWindowEnabled(window) &&
        (lstrcmpW(name, L"#32770") == 0 || lstrcmpW(name, L"ZarnelEditorDialog") == 0)) {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

static HWND OpenEditor() {
    HWND found = nullptr;
    EnumThreadWindows(g_hostThread, FindEditorWindow, reinterpret_cast<LPARAM>(&found));
    return found;
}

// From another thread, as a host's worker would end the program.
static DWORD WINAPI PostQuitOnceOpen(LPVOID) {
    for (int i = 0; i < 1000 && !OpenEditor(); ++i)
        Sleep(10);
    Sleep(100);
    PostThreadMessageW(g_hostThread, WM_QUIT, kQuitCode, 0);
    return 0;
}

static void CALLBACK ExitOnceOpen(HWND, UINT, UINT_PTR, DWORD) {
    if (OpenEditor()) ExitProcess(kExitCode);
}

static void CALLBACK GiveUp(HWND, UINT, UINT_PTR, DWORD) {
    PostQuitMessage(kQuitSwallowed);
}

static int ChildMain(const char* mode, int action) {
    g_hostThread = GetCurrentThreadId();
    HWND host = MakeWindow(L"child host");
    SetForegroundWindow(host);
    PluginApi api;
    if (!StartPlugin(api, host) || Exec(api, 6, {"6"}) != 1 || Exec(api, 7, {}) != 1)
        return kStartFailed;
    Pump(100);
    Params params({"5", "1", "0", nullptr});
    if (strcmp(mode, "--child-quit") == 0)
        CloseHandle(CreateThread(nullptr, 0, PostQuitOnceOpen, nullptr, 0, nullptr));
    else
        SetTimer(nullptr, 0, 50, ExitOnceOpen);
    // A quit is a cancel: the editor returns 0 and writes no slot.
    std::vector<uintptr_t> before = params.slots;
    if (api.editAction(action, params.data()) != 0 || params.slots != before) return kEditorKept;
    // A quit the editor kept to itself would leave this loop waiting for ever.
    SetTimer(nullptr, 0, 3000, GiveUp);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0)
        DispatchMessageW(&msg);
    return static_cast<int>(msg.wParam);
}

struct ChildSwitch {
    ChildSwitch() {
        if (__argc > 2 && strncmp(__argv[1], "--child-", 8) == 0)
            exit(ChildMain(__argv[1], atoi(__argv[2])));
    }
} g_childSwitch;
