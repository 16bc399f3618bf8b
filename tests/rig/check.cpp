#include "check.h"

#include <vector>

struct TestEntry {
    const char* name;
    TestFn fn;
};

static std::vector<TestEntry>& Tests() {
    static std::vector<TestEntry> tests;
    return tests;
}
static int g_failuresInCase;

void RegisterTest(const char* name, TestFn fn) {
    Tests().push_back({name, fn});
}

void ReportFailure(const char* file, int line, const std::string& what) {
    ++g_failuresInCase;
    printf("  %s:%d: %s\n", file, line, what.c_str());
    fflush(stdout);
}

std::string Narrow(const std::wstring& text) {
    int bytes = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(bytes > 0 ? bytes - 1 : 0, '\0');
    if (bytes > 1)
        WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, &out[0], bytes, nullptr, nullptr);
    return out;
}

// Runs every case, or those whose names start with one of the arguments.
int main(int argc, char** argv) {
    int passed = 0, failed = 0;
    for (const TestEntry& test : Tests()) {
        bool selected = argc < 2;
        for (int i = 1; i < argc; ++i)
            if (strncmp(test.name, argv[i], strlen(argv[i])) == 0) selected = true;
        if (!selected) continue;
        g_failuresInCase = 0;
        printf("[ RUN  ] %s\n", test.name);
        fflush(stdout);
        test.fn();
        printf("[ %s ] %s\n", g_failuresInCase ? "FAIL" : "  OK", test.name);
        (g_failuresInCase ? failed : passed)++;
    }
    printf("%d passed, %d failed\n", passed, failed);
    fflush(stdout);
    return failed || passed == 0 ? 1 : 0;
}
