// The options' time-out: a digits-only box with up-down buttons, held to
// 1..32768 seconds, kept in the registry.
#include <gtest/gtest.h>

#include "MainWindowSupport.h"

#include <commctrl.h>

#include "ui/ComCtrls.h"

using namespace qfclient;

namespace {
int Buddy(TSpinEdit& e) { return static_cast<int>(SendMessageA(e.Buttons()->Handle(), UDM_GETPOS32, 0, 0)); }
void PressArrow(TSpinEdit& e, WORD key) {
    SendMessageA(e.Handle(), WM_KEYDOWN, key, 1);
    SendMessageA(e.Handle(), WM_KEYUP, key, 0xC0000001);
}
}  // namespace

TEST(OptionsDialog, TimeOutBoxIsASpinEditWithItsBounds) {
    Program prog;
    TfrmMain m(prog.Settings());
    TSpinEdit& e = *m.frmOptions->sedtTimeOut;
    // The platform's own parts: a number-only edit, the up-down as its buddy, the range.
    EXPECT_TRUE(GetWindowLongA(e.Handle(), GWL_STYLE) & ES_NUMBER);
    EXPECT_EQ(reinterpret_cast<HWND>(SendMessageA(e.Buttons()->Handle(), UDM_GETBUDDY, 0, 0)), e.Handle());
    int lo = 0, hi = 0;
    SendMessageA(e.Buttons()->Handle(), UDM_GETRANGE32, reinterpret_cast<WPARAM>(&lo), reinterpret_cast<LPARAM>(&hi));
    EXPECT_EQ(lo, 1);
    EXPECT_EQ(hi, 32768);
    EXPECT_EQ(e.Text(), "120");
    // Side by side, the buttons right of the box and inside the width it was given.
    EXPECT_EQ(e.Buttons()->Left(), e.Left() + e.Width());
    EXPECT_EQ(e.Left() + e.Width() + e.Buttons()->Width(), 150 + 80);

    const struct {
        const char* text;  // put into the box as a paste would
        const char* shown;  // what the box keeps
        int value;
    } rows[] = {
        {"45", "45", 45},
        {"1", "1", 1},
        {"0", "0", 1},
        {"32768", "32768", 32768},
        {"32769", "32769", 32768},
        {"99999999999999999999", "99999999999999999999", 32768},
        {"", "", 1},
        {"4a5", "45", 45},
        {"-7", "7", 7},
        {" 1,000 ", "1000", 1000},
    };
    for (auto& r : rows) {
        SCOPED_TRACE(std::string("text \"") + r.text + "\"");
        SetWindowTextA(e.Handle(), r.text);
        EXPECT_EQ(e.Text(), r.shown);
        EXPECT_EQ(e.Value(), r.value);
        EXPECT_EQ(m.frmOptions->TimeOut(), r.value);
    }

    // The arrow keys step through the up-down and stop at the bounds.
    const struct {
        int from;
        WORD key;
        int to;
    } steps[] = {{120, VK_UP, 121}, {120, VK_DOWN, 119}, {32768, VK_UP, 32768}, {1, VK_DOWN, 1}, {32767, VK_UP, 32768}};
    for (auto& s : steps) {
        SCOPED_TRACE("from " + std::to_string(s.from) + (s.key == VK_UP ? " up" : " down"));
        e.SetValue(s.from);
        PressArrow(e, s.key);
        EXPECT_EQ(e.Value(), s.to);
        EXPECT_EQ(e.Text(), std::to_string(s.to));  // no thousands separator
        EXPECT_EQ(Buddy(e), s.to);
    }
    if (!qftest::Env("QF_CLIENT_SHOTS").empty()) {
        m.frmOptions->pcOptions->SetActivePageIndex(2);
        m.frmOptions->Show();
        MaybeSaveShot(m.frmOptions->Handle(), "options-timeout");
        m.frmOptions->pcOptions->SetActivePageIndex(0);
        MaybeSaveShot(m.frmOptions->Handle(), "options-general");
        m.frmOptions->Hide();
    }
}

TEST(OptionsDialog, TimeOutReadFromTheRegistryIsHeldToItsBounds) {
    const struct {
        int stored;
        int shown;
    } rows[] = {{300, 300}, {0, 1}, {-5, 1}, {50000, 32768}, {32768, 32768}};
    for (auto& r : rows) {
        SCOPED_TRACE("stored " + std::to_string(r.stored));
        Program prog;
        StoredKey(prog, "Options\\").WriteInt("FTPTimeOut", r.stored);
        TfrmMain m(prog.Settings());
        EXPECT_EQ(m.frmOptions->sedtTimeOut->Text(), std::to_string(r.shown));
        EXPECT_EQ(m.frmOptions->TimeOut(), r.shown);
        // Saved back as the number shown.
        m.frmOptions->SaveOptions();
        EXPECT_EQ(StoredKey(prog, "Options\\").Int("FTPTimeOut"), r.shown);
    }
}
