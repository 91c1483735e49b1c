// The 3-D label's pixels, the wave player's flags and the hint window.
#include <gtest/gtest.h>
#include <windows.h>

#include <mmsystem.h>

#include "ComponentTestSupport.h"
#include "components/Hint95.h"
#include "components/Label3D.h"
#include "components/PlayerWave.h"
#include "ui/Form.h"

TEST(Label3D, ShadowsByStyle) {
    TForm f;
    f.SetBounds(20, 20, 200, 100);
    TLabel3D l(&f);
    l.SetBounds(10, 10, 60, 30);
    l.SetCaption("I");
    l.Font().SetHeight(-24);
    l.Font().SetColor(clBlack);
    f.Show();
    const uint32_t hi = SysRGB(COLOR_BTNHIGHLIGHT), sh = SysRGB(COLOR_BTNSHADOW), face = SysRGB(COLOR_BTNFACE);
    struct Case {
        const char* name;
        TCaptionStyle style;
        uint32_t rightDown, leftUp;  // face = none
    } cases[] = {
        {"none", csNone, face, face},
        {"raised", csRaised, face, hi},
        {"heavy raised", csHeavyRaised, sh, hi},
        {"recessed", csRecessed, hi, face},
        {"heavy recessed", csHeavyRecessed, hi, sh},
    };
    for (const Case& c : cases) {
        l.SetCaptionStyle(c.style);
        TBitmap shot;
        Snapshot(l, shot);
        // The left-most black column of the "I" and the columns either side of it.
        int x0 = -1, yMid = -1;
        for (int x = 0; x < shot.Width() && x0 < 0; ++x)
            for (int y = 0; y < shot.Height(); ++y)
                if (shot.PixelRGB(x, y) == 0) {
                    x0 = x;
                    yMid = y + 3;
                    break;
                }
        ASSERT_GT(x0, 0) << c.name;
        // Left of the stem: the up-left copy; right of the stem's right edge: the down-right copy.
        int x1 = x0;
        while (shot.PixelRGB(x1 + 1, yMid) == 0) ++x1;
        EXPECT_EQ(shot.PixelRGB(x0 - 1, yMid), c.leftUp) << c.name;
        EXPECT_EQ(shot.PixelRGB(x1 + 1, yMid), c.rightDown) << c.name;
    }
    l.SetCaptionStyle(csNone);
    l.SetEnabled(false);
    TBitmap shot;
    Snapshot(l, shot);
    bool gray = false;
    for (int x = 0; x < shot.Width(); ++x)
        if (shot.PixelRGB(x, 15) == SysRGB(COLOR_GRAYTEXT)) gray = true;
    EXPECT_TRUE(gray) << "disabled csNone draws in gray text";
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
    SetHintMainForm(nullptr);
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
    SetHintMainForm(&main);
    const int screenW = GetSystemMetrics(SM_CXSCREEN);
    SetCursorPos(screenW - 5, 100);
    hint.ActivateHint(RECT{0, 0, 0, 0}, "Transfer files as binary.\nsecond line");
    EXPECT_EQ(hint.Style(), hsOffice97);
    EXPECT_EQ(hint.Left() + hint.Width(), screenW) << "ends at the right edge";
    EXPECT_GT(hint.Height(), 2 * 10) << "two lines";
    SetHintMainForm(nullptr);
}
