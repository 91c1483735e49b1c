// The 3-D label's pixels, the wave player's flags and the hint window.
#include <gtest/gtest.h>
#include <windows.h>

#include <mmsystem.h>

#include "ComponentTestSupport.h"
#include "components/ComboBox98.h"
#include "components/Hint95.h"
#include "components/Label3D.h"
#include "components/PlayerWave.h"
#include "runtime/Application.h"
#include "ui/Form.h"

TEST(Label3D, ShadowsByStyle) {
    // Plain (unsmoothed) glyphs, so the one-pixel copies show in pure colours.
    BOOL smoothing = FALSE;
    SystemParametersInfoA(SPI_GETFONTSMOOTHING, 0, &smoothing, 0);
    SystemParametersInfoA(SPI_SETFONTSMOOTHING, FALSE, nullptr, 0);
    TForm f;
    f.SetBounds(20, 20, 200, 100);
    TLabel3D l(&f);
    l.SetBounds(10, 10, 60, 30);
    l.SetCaption("HH");
    l.Font().SetName("System");  // a bitmap font: no smoothed edges
    l.Font().SetHeight(16);
    l.Font().SetStyle(fsBold);
    l.Font().SetColor(clBlack);
    f.Show();
    const uint32_t hi = SysRGB(COLOR_BTNHIGHLIGHT), sh = SysRGB(COLOR_BTNSHADOW);
    // Where each colour lies against the black caption: -1 left and up, +1 right
    // and down, 0 absent (text edges may be smoothed; the stems' cores are pure).
    struct Case {
        const char* name;
        TCaptionStyle style;
        int highlight, shadow;
    } cases[] = {
        {"none", csNone, 0, 0},
        {"raised", csRaised, -1, 0},
        {"heavy raised", csHeavyRaised, -1, +1},
        {"recessed", csRecessed, +1, 0},
        {"heavy recessed", csHeavyRecessed, +1, -1},
    };
    for (const Case& c : cases) {
        l.SetCaptionStyle(c.style);
        TBitmap shot;
        Snapshot(l, shot);
        long sx[3] = {0, 0, 0}, n[3] = {0, 0, 0};  // black, highlight, shadow
        for (int y = 0; y < shot.Height(); ++y)
            for (int x = 0; x < shot.Width(); ++x) {
                const uint32_t p = shot.PixelRGB(x, y);
                const int k = p == 0 ? 0 : p == hi ? 1 : p == sh ? 2 : -1;
                if (k >= 0) {
                    sx[k] += x + y;
                    ++n[k];
                }
            }
        ASSERT_GT(n[0], 0) << c.name;
        auto side = [&](int k) {
            if (n[k] < 3) return 0;
            const double d = double(sx[k]) / n[k] - double(sx[0]) / n[0];
            return d < 0 ? -1 : +1;
        };
        EXPECT_EQ(side(1), c.highlight) << c.name << ": highlight";
        EXPECT_EQ(side(2), c.shadow) << c.name << ": shadow";
    }
    l.SetCaptionStyle(csNone);
    l.SetEnabled(false);
    TBitmap shot;
    Snapshot(l, shot);
    bool gray = false;
    for (int y = 0; y < shot.Height(); ++y)
        for (int x = 0; x < shot.Width(); ++x)
            if (shot.PixelRGB(x, y) == SysRGB(COLOR_GRAYTEXT)) gray = true;
    EXPECT_TRUE(gray) << "disabled csNone draws in gray text";
    SystemParametersInfoA(SPI_SETFONTSMOOTHING, smoothing, nullptr, 0);
}

TEST(PlayerWave, FlagsPassedToThePlatform) {
    struct Call {
        std::string sound;
        HMODULE module;
        DWORD flags;
    } last{};
    auto old = SetPlaySoundFunc([&](LPCSTR s, HMODULE m, DWORD f) {
        last = {s ? s : "", m, f};
        return TRUE;
    });
    struct Case {
        const char* name;
        TWhereWave where;
        bool loop, async;
        DWORD flags;
        bool module;
    } cases[] = {
        {"file, once, waiting", wwInFile, false, false, SND_FILENAME, false},
        {"file, async", wwInFile, false, true, SND_FILENAME | SND_ASYNC, false},
        {"loop forces async", wwInFile, true, false, SND_FILENAME | SND_LOOP | SND_ASYNC, false},
        {"resource with the module", wwInResource, false, false, SND_RESOURCE, true},
        {"memory", wwInRAM, false, false, SND_MEMORY, false},
    };
    static const char image[] = "RIFF";
    for (const Case& c : cases) {
        TPlayerWave w;
        w.WaveName = "blip.wav";
        w.WaveMemory = image;
        w.WhereWave = c.where;
        w.Loop = c.loop;
        w.Async = c.async;
        EXPECT_TRUE(w.Play()) << c.name;
        EXPECT_EQ(last.flags, c.flags) << c.name;
        EXPECT_EQ(last.module, c.module ? GetModuleHandleA(nullptr) : nullptr) << c.name;
        EXPECT_EQ(last.sound, c.where == wwInRAM ? "RIFF" : "blip.wav") << c.name;
    }
    SetPlaySoundFunc(old);
    // The real call with no sound device fails quietly and quickly.
    TPlayerWave w;
    w.WaveName = "no-such-file.wav";
    EXPECT_FALSE(w.Play());
}

TEST(Hint95, NoStyleComponentMeansWindows95AndTheTipSitsUnderTheCursor) {
    TComponent* mainWas = Application->MainForm();
    Application->SetMainForm(nullptr);
    THintWindow95 hint;
    SetCursorPos(100, 100);
    hint.ActivateHint(RECT{0, 0, 0, 0}, "Connect.");
    EXPECT_EQ(hint.Style(), hsWindows95);
    EXPECT_EQ(hint.Left(), 100);
    EXPECT_GT(hint.Top(), 100);
    EXPECT_TRUE(IsWindowVisible(hint.Handle()));
    // With the main form's THint95 in the Office 97 style.
    TForm main;
    THint95 style(&main);
    style.SetHintStyle(hsOffice97);
    Application->SetMainForm(&main);
    const int screenW = GetSystemMetrics(SM_CXSCREEN);
    SetCursorPos(screenW - 5, 100);
    hint.ActivateHint(RECT{0, 0, 0, 0}, "Transfer files as binary.\nsecond line");
    EXPECT_EQ(hint.Style(), hsOffice97);
    EXPECT_EQ(hint.Left() + hint.Width(), screenW) << "ends at the right edge";
    EXPECT_GT(hint.Height(), 2 * 10) << "two lines";
    // A change of the system's settings reloads the hint font at once.
    const std::string face = style.HintFont().Name();
    style.HintFontForTest().SetName("Courier New");
    SendMessageA(style.UtilityWindow(), WM_SETTINGCHANGE, SPI_SETNONCLIENTMETRICS, 0);
    EXPECT_EQ(style.HintFont().Name(), face);
    Application->SetMainForm(mainWas);
}

namespace {

// Types like a user: WM_KEYDOWN to the edit (the last key), then WM_CHAR.
void TypeKey(HWND edit, WORD vk, char ch) {
    SendMessageA(edit, WM_KEYDOWN, vk, 0);
    if (ch) SendMessageA(edit, WM_CHAR, static_cast<unsigned char>(ch), 0);
}

}  // namespace

TEST(ComboBox98, CompletionTable) {
    struct Case {
        const char* name;
        const char* keys;      // typed characters; '\b' = Backspace
        unsigned minLength;
        bool veto;
        const char* text;
        int selStart, selEnd;
    } cases[] = {
        {"first item wins, typed case kept", "al", 0, false, "alpha", 2, 5},
        {"longer prefix", "alphab", 0, false, "alphabet", 6, 8},
        {"backspace does not complete", "al\b", 0, false, "al", 2, 2},
        {"typing after a deletion does", "al\bp", 0, false, "alpha", 3, 5},
        {"under MinLengthComplete", "al", 3, false, "al", 2, 2},
        {"at MinLengthComplete", "alp", 3, false, "alpha", 3, 5},
        {"OnComplete vetoes", "al", 0, true, "al", 2, 2},
        {"no item", "zz", 0, false, "zz", 2, 2},
    };
    for (const Case& c : cases) {
        TForm f;
        f.SetBounds(10, 10, 200, 100);
        TComboBox98 cb(&f);
        cb.SetBounds(10, 10, 150, 21);
        f.Show();
        cb.Items().Add("Alpha");
        cb.Items().Add("alphabet");
        cb.MinLengthComplete = c.minLength;
        WORD seenKey = 0;
        cb.OnComplete = [&](TObject*, WORD key, std::string&, bool& doIt) {
            seenKey = key;
            if (c.veto) doIt = false;
        };
        HWND edit = GetWindow(cb.Handle(), GW_CHILD);
        ASSERT_NE(edit, nullptr) << c.name;
        for (const char* k = c.keys; *k; ++k) {
            if (*k == '\b') {
                // Backspace removes the selected, completed part.
                TypeKey(edit, VK_BACK, '\b');
            } else {
                TypeKey(edit, static_cast<WORD>(toupper(*k)), *k);
            }
        }
        EXPECT_EQ(cb.Text(), c.text) << c.name;
        DWORD s = 0, e = 0;
        SendMessageA(cb.Handle(), CB_GETEDITSEL, reinterpret_cast<WPARAM>(&s), reinterpret_cast<LPARAM>(&e));
        EXPECT_EQ(static_cast<int>(s), c.selStart) << c.name;
        EXPECT_EQ(static_cast<int>(e), c.selEnd) << c.name;
        if (c.veto) {
            EXPECT_EQ(seenKey, 'L') << c.name;
        }
    }
}

TEST(Hint95, TheComponentSetsTheApplicationsHintWindowClassAndDelays) {
    Application->SetShowHint(true);
    const int pause = Application->HintPause, hide = Application->HintHidePause, next = Application->HintShortPause;
    SetHintWindowClass(nullptr);
    Application->SetShowHint(false);
    Application->SetShowHint(true);
    ASSERT_NE(ApplicationHintWindow(), nullptr) << "the window layer's own plain tip";
    EXPECT_EQ(dynamic_cast<THintWindow95*>(ApplicationHintWindow()), nullptr);
    TForm main;
    auto* style = new THint95(&main);
    EXPECT_TRUE(Application->ShowHint()) << "switched off and on again";
    EXPECT_NE(dynamic_cast<THintWindow95*>(ApplicationHintWindow()), nullptr) << "remade in the new class";
    EXPECT_EQ(Application->HintPause, 500);
    EXPECT_EQ(Application->HintHidePause, 5000);
    EXPECT_EQ(Application->HintShortPause, 25);
    Application->SetShowHint(false);
    EXPECT_EQ(ApplicationHintWindow(), nullptr);
    Application->SetShowHint(true);
    EXPECT_NE(dynamic_cast<THintWindow95*>(ApplicationHintWindow()), nullptr);
    // Freeing the component leaves the class in force.
    delete style;
    EXPECT_NE(dynamic_cast<THintWindow95*>(ApplicationHintWindow()), nullptr);
    SetHintWindowClass(nullptr);
    Application->SetShowHint(false);
    Application->SetShowHint(true);
    Application->HintPause = pause;
    Application->HintHidePause = hide;
    Application->HintShortPause = next;
}
