#include <gtest/gtest.h>

#include "Application.h"
#include "HiddenWindow.h"
#include "TestSupport.h"

TEST(Application, ExceptionInWindowProcedureReachesHandleException) {
    std::string seen;
    auto saved = Application->OnException;
    Application->OnException = [&](TObject*, const std::exception& e) { seen = e.what(); };
    THiddenWindow w("QfTestWindow", [](UINT msg, WPARAM, LPARAM, LRESULT&) -> bool {
        if (msg == WM_USER + 1) throw Exception("boom");
        return false;
    });
    ASSERT_TRUE(w.Post(WM_USER + 1, 0, 0));
    EXPECT_TRUE(qftest::PumpUntil([&] { return !seen.empty(); }, 2000));
    EXPECT_EQ(seen, "boom");
    Application->OnException = saved;
}

TEST(Application, ProcessMessagesSeesQuit) {
    Application->ResetTerminated();
    Application->Terminate();
    Application->ProcessMessages();
    EXPECT_TRUE(Application->Terminated());
    Application->ResetTerminated();
}

TEST(Application, HiddenWindowsShareOneClass) {
    int hits = 0;
    THiddenWindow a("QfTestWindow2", [&](UINT m, WPARAM, LPARAM, LRESULT&) { hits += m == WM_USER; return m == WM_USER; });
    THiddenWindow b("QfTestWindow2", [&](UINT m, WPARAM, LPARAM, LRESULT&) { hits += 10 * (m == WM_USER); return m == WM_USER; });
    SendMessageA(a.Handle(), WM_USER, 0, 0);
    SendMessageA(b.Handle(), WM_USER, 0, 0);
    EXPECT_EQ(hits, 11);
}
