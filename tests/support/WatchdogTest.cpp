// The test runner's watchdog: a run stuck on a dialog nobody answers, on a
// wait that never ends, or crashed, stops early and names the test and why.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "TestSupport.h"

namespace {

const char kChildMode[] = "QF_WATCHDOG_CHILD";

// Runs this program again on one test, in the child mode, with short limits.
// Returns its exit code (-1: it did not end) and its output.
int RunChild(const std::string& test, const std::string& outFile, std::string& output) {
    char exe[MAX_PATH];
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    std::string cmd = "\"" + std::string(exe) + "\" --gtest_filter=" + test;
    SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, TRUE};
    HANDLE out = CreateFileA(outFile.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &sa, CREATE_ALWAYS, 0, nullptr);
    if (out == INVALID_HANDLE_VALUE) return -2;
    SetEnvironmentVariableA(kChildMode, "1");
    SetEnvironmentVariableA("QF_TEST_DIALOG_SECONDS", "1");
    SetEnvironmentVariableA("QF_TEST_SECONDS", "3");
    STARTUPINFOA si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    si.hStdOutput = si.hStdError = out;
    PROCESS_INFORMATION pi{};
    BOOL started = CreateProcessA(nullptr, &cmd[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi);
    SetEnvironmentVariableA(kChildMode, nullptr);
    SetEnvironmentVariableA("QF_TEST_DIALOG_SECONDS", nullptr);
    SetEnvironmentVariableA("QF_TEST_SECONDS", nullptr);
    CloseHandle(out);
    if (!started) return -2;
    DWORD code = static_cast<DWORD>(-1);
    if (WaitForSingleObject(pi.hProcess, 60000) == WAIT_OBJECT_0) {
        GetExitCodeProcess(pi.hProcess, &code);
    } else {
        TerminateProcess(pi.hProcess, 1);
    }
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    output = qftest::ReadFileBytes(outFile);
    return static_cast<int>(code);
}

bool ChildMode() { return std::getenv(kChildMode) != nullptr; }

}  // namespace

// In the child these wait for ever; the parent checks how the watchdog ends them.
TEST(Watchdog, StuckOnAMessageBox) {
    if (!ChildMode()) GTEST_SKIP() << "run by Watchdog.EndsAStuckRunAndSaysWhy";
    MessageBoxA(nullptr, "Nobody clicks this", "Stuck", MB_OK);
}

TEST(Watchdog, StuckInAWait) {
    if (!ChildMode()) GTEST_SKIP() << "run by Watchdog.EndsAStuckRunAndSaysWhy";
    HANDLE never = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    WaitForSingleObject(never, INFINITE);
}

TEST(Watchdog, Crashing) {
    if (!ChildMode()) GTEST_SKIP() << "run by Watchdog.EndsAStuckRunAndSaysWhy";
    *static_cast<volatile int*>(nullptr) = 1;
}

TEST(Watchdog, EndsAStuckRunAndSaysWhy) {
    if (ChildMode()) return;
    const struct {
        const char* test;
        std::vector<std::string> report;  // each in the output
    } cases[] = {
        {"Watchdog.StuckOnAMessageBox",
         {"[  HANG    ] Watchdog.StuckOnAMessageBox: a dialog nobody answers: #32770 \"Stuck\"", "Nobody clicks this"}},
        {"Watchdog.StuckInAWait", {"[  HANG    ] Watchdog.StuckInAWait: still running after 3 s; windows open: none"}},
        {"Watchdog.Crashing", {"[  CRASH   ] Watchdog.Crashing: exception 0xC0000005 at ", "\n  support_watchdog_tests.exe+0x"}},
    };
    qftest::TempDir dir;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.test);
        std::string output;
        const DWORD start = GetTickCount();
        EXPECT_EQ(RunChild(c.test, dir.File("out.txt"), output), 3);
        EXPECT_LT(GetTickCount() - start, 30000u);
        for (const std::string& part : c.report) EXPECT_NE(output.find(part), std::string::npos) << output;
    }
}
