// Feeds _nbExecAction random action numbers and parameter arrays, checking after every call that
// the plug-in kept its contract. Seeded and reproducible: exec_fuzz [--seed N] [--calls N].
#include <cstdlib>
#include <random>

#include "host_rig.h"

static std::mt19937_64 g_random;

static int Below(int bound) {
    return static_cast<int>(g_random() % bound);
}

static std::string RandomText() {
    static const char kAlphabet[] = " \t+-$%0123456789abcdefABCDEFxyz,.";
    std::string text;
    switch (Below(10)) {
    case 0:
        return "";
    case 1:
        return std::string(64 * 1024, static_cast<char>('0' + Below(10)));
    case 2: // bytes above 127, some forming double-byte pairs in other code pages
        for (int i = Below(12); i >= 0; --i)
            text += static_cast<char>(128 + Below(128));
        return text;
    case 3:
        return std::to_string(static_cast<int>(g_random()));
    case 4:
        return std::to_string(1 + Below(22));
    default:
        for (int i = Below(24); i >= 0; --i)
            text += kAlphabet[Below(sizeof kAlphabet - 1)];
        return text;
    }
}

static int RandomAction() {
    switch (Below(8)) {
    case 0:
        return static_cast<int>(g_random());
    case 1:
        return Below(3) - 1;
    case 2:
        return 13 + Below(5);
    default:
        return 1 + Below(12);
    }
}

static bool ResultAllowed(int action, int result) {
    switch (action) {
    case 4:
        return true; // the foreground window's handle, or 0
    case 8:
        return result == 1;
    case 1:
    case 2:
    case 3:
    case 5:
    case 6:
    case 7:
    case 9:
    case 10:
    case 11:
    case 12:
        return result == 0 || result == 1;
    default:
        return result == 0;
    }
}

int main(int argc, char** argv) {
    unsigned long long seed = 1;
    long calls = 20000;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (strcmp(argv[i], "--seed") == 0) seed = strtoull(argv[i + 1], nullptr, 10);
        if (strcmp(argv[i], "--calls") == 0) calls = strtol(argv[i + 1], nullptr, 10);
    }
    g_random.seed(seed);
    HWND host = MakeWindow(L"fuzz host");
    PluginApi api;
    if (!StartPlugin(api, host)) {
        printf("could not load the plug-in\n");
        return 1;
    }
    int failures = 0;
    LARGE_INTEGER start, end, frequency;
    QueryPerformanceCounter(&start);
    for (long call = 0; call < calls && failures < 10; ++call) {
        int action = RandomAction();
        std::vector<std::string> texts(4);
        std::vector<uintptr_t> slots(4, 0);
        for (int i = 0; i < 4; ++i) {
            texts[i] = RandomText();
            if (Below(5)) slots[i] = reinterpret_cast<uintptr_t>(texts[i].c_str());
        }
        bool nullArray = Below(10) == 0;
        ClearHostRecords();
        int result = api.execAction(action, nullArray ? nullptr : slots.data());
        bool known = action >= 1 && action <= 12;
        const char* broken = nullptr;
        if (!ResultAllowed(action, result))
            broken = "result out of range";
        else if (!known && !g_writes.empty())
            broken = "wrote for an unknown action";
        else if (known && (g_writes.empty() || g_writes.back().name != "[Zarnel.LastError]"))
            broken = "status line not written last";
        else if (g_badBlocks)
            broken = "host block of the wrong size";
        if (broken) {
            ++failures;
            printf("seed %llu call %ld: action %d -> %d: %s\n", seed, call, action, result, broken);
        }
        if (call % 512 == 0) Pump(0);
        if (Below(200) == 0) Exec(api, 8, {}); // keep the monitor's timer from running all along
    }
    QueryPerformanceCounter(&end);
    QueryPerformanceFrequency(&frequency);
    double seconds = static_cast<double>(end.QuadPart - start.QuadPart) / frequency.QuadPart;
    printf("exec_fuzz seed %llu: %ld calls in %.1f s (%.0f calls/s), %d failures\n", seed, calls,
           seconds, calls / seconds, failures);
    printf("%d passed, %d failed\n", failures ? 0 : 1, failures ? 1 : 0);
    UnloadPlugin(api);
    DestroyWindow(host);
    return failures ? 1 : 0;
}
