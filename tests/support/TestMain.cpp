// Test entry point. On Windows, exceptions handed to the application object
// fail the running test instead of opening a message box, a quit message
// left by one test never reaches the next, and a test that waits for
// something that never comes fails early, saying what it waits on.
#include <gtest/gtest.h>

#if defined(_WIN32)
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "Application.h"

namespace {

// Nobody answers a dialog in a test run: one left open this long (a message
// box or common dialog nobody scripted) ends the run. A test running past the
// second limit, below the run's own time-out, ends it too, listing the windows
// open. The environment shortens both for the watchdog's own test.
DWORD LimitMs(const char* name, unsigned seconds) {
    const char* s = std::getenv(name);
    return (s && *s ? static_cast<DWORD>(std::atoi(s)) : seconds) * 1000u;
}

// Read without messages: the window's thread may be the one that is stuck.
std::string WindowText(HWND w) {
    wchar_t text[512];
    int n = InternalGetWindowText(w, text, 512);
    char out[1024];
    int m = WideCharToMultiByte(CP_UTF8, 0, text, n, out, sizeof out, nullptr, nullptr);
    return std::string(out, m > 0 ? m : 0);
}

std::string ClassOf(HWND w) {
    char name[128];
    int n = GetClassNameA(w, name, sizeof name);
    return std::string(name, n > 0 ? n : 0);
}

// "class "caption": child texts" of a window.
std::string Describe(HWND w) {
    std::string out = ClassOf(w) + " \"" + WindowText(w) + "\"";
    EnumChildWindows(
        w,
        [](HWND c, LPARAM p) -> BOOL {
            std::string t = WindowText(c);
            if (!t.empty() && IsWindowVisible(c)) *reinterpret_cast<std::string*>(p) += " | " + t;
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&out));
    return out;
}

std::vector<HWND> OwnVisibleWindows() {
    std::vector<HWND> out;
    EnumWindows(
        [](HWND w, LPARAM p) -> BOOL {
            DWORD pid = 0;
            GetWindowThreadProcessId(w, &pid);
            if (pid == GetCurrentProcessId() && IsWindowVisible(w)) reinterpret_cast<std::vector<HWND>*>(p)->push_back(w);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&out));
    return out;
}

#if defined(_WIN64)
// " module+offset" for each caller of the faulting frame, for addr2line.
std::string Backtrace(CONTEXT ctx) {
    std::string out;
    for (int i = 0; i < 24 && ctx.Rip; ++i) {
        HMODULE m = nullptr;
        char name[MAX_PATH] = "?";
        if (GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                               reinterpret_cast<LPCSTR>(ctx.Rip), &m)) {
            GetModuleFileNameA(m, name, MAX_PATH);
        }
        const char* base = std::strrchr(name, '\\');
        char frame[MAX_PATH + 64];
        std::snprintf(frame, sizeof frame, "\n  %s+0x%llx", base ? base + 1 : name,
                      static_cast<unsigned long long>(ctx.Rip - reinterpret_cast<DWORD64>(m)));
        out += frame;
        DWORD64 image = 0;
        PRUNTIME_FUNCTION fn = RtlLookupFunctionEntry(ctx.Rip, &image, nullptr);
        if (!fn) {  // a leaf: the return address is on top of the stack
            ctx.Rip = *reinterpret_cast<DWORD64*>(ctx.Rsp);
            ctx.Rsp += 8;
            continue;
        }
        void* data = nullptr;
        DWORD64 frameBase = 0;
        RtlVirtualUnwind(UNW_FLAG_NHANDLER, image, ctx.Rip, fn, &ctx, &data, &frameBase, nullptr);
    }
    return out;
}
#else
std::string Backtrace(const CONTEXT&) { return std::string(); }
#endif

// A crash ends the run at once with the test's name and where it happened;
// otherwise Wine starts its debugger, which waits for nobody until the time-out.
LONG WINAPI ReportCrash(EXCEPTION_POINTERS* e) {
    const ::testing::TestInfo* t = ::testing::UnitTest::GetInstance()->current_test_info();
    std::fprintf(stdout, "\n[  CRASH   ] %s%s%s: exception 0x%08lX at %p%s\n", t ? t->test_suite_name() : "(between tests)",
                 t ? "." : "", t ? t->name() : "", static_cast<unsigned long>(e->ExceptionRecord->ExceptionCode),
                 e->ExceptionRecord->ExceptionAddress, Backtrace(*e->ContextRecord).c_str());
    std::fflush(stdout);
    TerminateProcess(GetCurrentProcess(), 3);
    return EXCEPTION_EXECUTE_HANDLER;
}

class Watchdog : public ::testing::EmptyTestEventListener {
public:
    Watchdog()
        : dialogLimit_(LimitMs("QF_TEST_DIALOG_SECONDS", 30)), testLimit_(LimitMs("QF_TEST_SECONDS", 240)) {
        InitializeCriticalSection(&lock_);
        stop_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        thread_ = CreateThread(nullptr, 0, Run, this, 0, nullptr);
    }
    // Ends the watching thread before the process exits: the framework
    // deletes its listeners at exit, and a thread still reading this object,
    // or killed by the exit while it holds the heap lock, fails or hangs a
    // run that passed.
    void Stop() {
        SetEvent(stop_);
        if (thread_) WaitForSingleObject(thread_, 10000);
    }
    // The test framework deletes its listeners when the process exits.
    ~Watchdog() override { Stop(); }

private:
    void OnTestStart(const ::testing::TestInfo& t) override {
        EnterCriticalSection(&lock_);
        test_ = std::string(t.test_suite_name()) + "." + t.name();
        start_ = GetTickCount();
        LeaveCriticalSection(&lock_);
    }
    void OnTestEnd(const ::testing::TestInfo&) override {
        EnterCriticalSection(&lock_);
        test_.clear();
        LeaveCriticalSection(&lock_);
    }

    static DWORD WINAPI Run(LPVOID p) {
        static_cast<Watchdog*>(p)->Watch();
        return 0;
    }

    void Watch() {
        std::map<HWND, DWORD> seen;  // dialog -> when first seen
        while (WaitForSingleObject(stop_, 250) == WAIT_TIMEOUT) {
            EnterCriticalSection(&lock_);
            const std::string test = test_;
            const DWORD start = start_;
            LeaveCriticalSection(&lock_);
            const DWORD now = GetTickCount();
            std::map<HWND, DWORD> still;
            for (HWND w : OwnVisibleWindows()) {
                if (ClassOf(w) != "#32770") continue;
                auto it = seen.find(w);
                const DWORD since = it == seen.end() ? now : it->second;
                still[w] = since;
                if (now - since >= dialogLimit_)
                    Fail(test, "a dialog nobody answers: " + Describe(w));
            }
            seen.swap(still);
            if (!test.empty() && now - start >= testLimit_) {
                std::string open;
                for (HWND w : OwnVisibleWindows()) open += "\n  " + Describe(w);
                Fail(test, "still running after " + std::to_string(testLimit_ / 1000) + " s; windows open:" +
                               (open.empty() ? std::string(" none") : open));
            }
        }
    }

    [[noreturn]] static void Fail(const std::string& test, const std::string& why) {
        std::fprintf(stdout, "\n[  HANG    ] %s: %s\n", test.empty() ? "(between tests)" : test.c_str(), why.c_str());
        std::fflush(stdout);
        std::fflush(stderr);
        // The main thread is stuck: no orderly exit through it.
        TerminateProcess(GetCurrentProcess(), 3);
        for (;;) Sleep(INFINITE);
    }

    CRITICAL_SECTION lock_;
    HANDLE stop_ = nullptr, thread_ = nullptr;
    std::string test_;
    DWORD start_ = 0;
    const DWORD dialogLimit_, testLimit_;
};

class DrainQuit : public ::testing::EmptyTestEventListener {
    void OnTestEnd(const ::testing::TestInfo&) override {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
        Application->ResetTerminated();
    }
};
}  // namespace
#endif

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
#if defined(_WIN32)
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    SetUnhandledExceptionFilter(ReportCrash);
    Application->OnException = [](TObject*, const std::exception& e) {
        ADD_FAILURE() << "exception reached the application: " << e.what();
    };
    ::testing::UnitTest::GetInstance()->listeners().Append(new DrainQuit);
    auto* watchdog = new Watchdog;
    ::testing::UnitTest::GetInstance()->listeners().Append(watchdog);
    int result = RUN_ALL_TESTS();
    watchdog->Stop();
    return result;
#else
    return RUN_ALL_TESTS();
#endif
}
