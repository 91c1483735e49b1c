#include <gtest/gtest.h>

#include "WindowDriver.h"
#include "masks/BasicForm.h"
#include "ui/Form.h"

// Change comes once for every text set by the program, with or without a
// window, and once for every edit by the user.
TEST(BasicTextBox, ChangeOnceForEverySetText) {
    TForm form;
    auto* box = new TBasicTextBox(&form);
    int changes = 0;
    box->OnChange = [&](TObject*) { ++changes; };
    box->SetText("before the window");
    EXPECT_EQ(1, changes);
    form.Show();
    box->SetText("with the window");
    EXPECT_EQ(2, changes);
    EXPECT_EQ("with the window", box->Text());
    TypeText(*box, "typed");
    EXPECT_EQ(3, changes);
}

TEST(BasicForm, GeometryInTwips) {
    TForm form;
    auto* box = new TBasicTextBox(&form);
    SetBoundsTwips(*box, 960, 150, 1440, 300);
    EXPECT_EQ(TwipsToPixels(960, ScreenDpi()), box->Left());
    EXPECT_EQ(ScreenDpi(), box->Width()) << "an inch";
    SetLeftTwips(*box, 360);
    EXPECT_EQ(TwipsToPixels(360, ScreenDpi()), box->Left());
    EXPECT_EQ(ScreenDpi(), box->Width());
    SetClientSizeTwips(form, 4320, 2880);
    EXPECT_EQ(3 * ScreenDpi(), form.ClientWidth());
    EXPECT_EQ(2 * ScreenDpi(), form.ClientHeight());
}
