// Test entry point. On Windows, exceptions handed to the application object
// fail the running test instead of opening a message box, and a quit message
// left by one test never reaches the next.
#include <gtest/gtest.h>

#if defined(_WIN32)
#include <windows.h>

#include "Application.h"

namespace {
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
    Application->OnException = [](TObject*, const std::exception& e) {
        ADD_FAILURE() << "exception reached the application: " << e.what();
    };
    ::testing::UnitTest::GetInstance()->listeners().Append(new DrainQuit);
#endif
    return RUN_ALL_TESTS();
}
