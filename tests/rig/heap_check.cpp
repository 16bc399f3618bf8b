// Linked into the programs run under Wine's heap checking. An overwritten block tail makes Wine
// raise an assertion that hangs the process on its way to the debugger: it ends at once instead.
#include <windows.h>

constexpr DWORD kWineAssertion = 0x80000101;
constexpr UINT kHeapFaultExitCode = 3;

static LONG CALLBACK EndOnWineAssertion(EXCEPTION_POINTERS* info) {
    if (info->ExceptionRecord->ExceptionCode == kWineAssertion)
        TerminateProcess(GetCurrentProcess(), kHeapFaultExitCode);
    return EXCEPTION_CONTINUE_SEARCH;
}

static const PVOID g_wineAssertionHandler = AddVectoredExceptionHandler(1, EndOnWineAssertion);
