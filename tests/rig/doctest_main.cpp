// The runner of every test program: doctest's options and report, and a run in which no case
// passed the filters fails, so a mistyped filter cannot pass unnoticed.
#define DOCTEST_CONFIG_IMPLEMENT
#include "doctest_rig.h"

#include <iostream>

std::string Narrow(const std::wstring& text) {
    int bytes = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(bytes > 0 ? bytes - 1 : 0, '\0');
    if (bytes > 1)
        WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, &out[0], bytes, nullptr, nullptr);
    return out;
}

static unsigned g_casesRun;

// doctest's own exit code is 0 when the filters selected nothing; and a program killed by its
// time limit names the case that hung, since each case names itself in the log as it starts.
struct CaseCounter : doctest::IReporter {
    explicit CaseCounter(const doctest::ContextOptions&) {}
    void test_run_end(const doctest::TestRunStats& stats) override {
        g_casesRun = stats.numTestCasesPassingFilters;
    }
    void report_query(const doctest::QueryData&) override {}
    void test_run_start() override {}
    void test_case_start(const doctest::TestCaseData& data) override {
        std::cout << "[case] " << data.m_name << "\n";
    }
    void test_case_reenter(const doctest::TestCaseData&) override {}
    void test_case_end(const doctest::CurrentTestCaseStats&) override {}
    void test_case_exception(const doctest::TestCaseException&) override {}
    void subcase_start(const doctest::SubcaseSignature&) override {}
    void subcase_end() override {}
    void log_assert(const doctest::AssertData&) override {}
    void log_message(const doctest::MessageData&) override {}
    void test_case_skipped(const doctest::TestCaseData&) override {}
};
REGISTER_LISTENER("case_counter", 1, CaseCounter);

int main(int argc, char** argv) {
    // A case that hangs until the time limit has still shown the failures it reported.
    std::cout << std::unitbuf;
    doctest::Context context;
    context.setOption("no-intro", true);
    context.applyCommandLine(argc, argv);
    int result = context.run();
    if (context.shouldExit() || result != 0) return result;
    if (g_casesRun == 0) {
        std::cout << "[doctest] no test case passed the filters\n";
        return 1;
    }
    return 0;
}
