#include <gtest/gtest.h>

#include <vector>

#include "ColorArrayClass.h"
#include "PaletteLayout.h"

namespace {

std::string ErrorOf(const std::function<void()>& f) {
    try {
        f();
        return "";
    } catch (const std::exception& e) {
        return e.what();
    }
}

TEST(ColorArray, IndexesOutsideTheArrayAreRefused) {
    TColorArrayClass a(4, 5);
    struct Case {
        const char* name;
        int x, y;
        bool ok;
    } cases[] = {
        {"first", 1, 1, true}, {"last", 4, 5, true},   {"x zero", 0, 1, false}, {"y zero", 1, 0, false},
        {"x past", 5, 1, false}, {"y past", 1, 6, false}, {"negative", -1, -1, false},
    };
    for (const Case& c : cases) {
        std::string want = c.ok ? "" : "Array index out of bounds";
        EXPECT_EQ(want, ErrorOf([&] { a.Get(c.x, c.y); })) << c.name;
        EXPECT_EQ(want, ErrorOf([&] { a.Set(c.x, c.y, 7); })) << c.name;
    }
}

TEST(ColorArray, ElementsLieRowByRowAndTheListIsColumnByColumn) {
    TColorArrayClass a(2, 3);
    for (int x = 1; x <= 2; x++)
        for (int y = 1; y <= 3; y++) a.Set(x, y, 10 * x + y);
    EXPECT_EQ((std::vector<int32_t>{11, 12, 13, 21, 22, 23}), a.ColorsList());
    TColorArrayClass b(1, 1);
    EXPECT_FALSE(b.Equals(&a));
    EXPECT_FALSE(b.Equals(nullptr));
    b.Assign(a);
    EXPECT_TRUE(b.Equals(&a));
    EXPECT_EQ(23, b.Get(2, 3));
    // A new size drops the contents.
    b.SetXSize(3);
    EXPECT_EQ(0, b.Get(2, 3));
    b.SetXSize(3);
    b.Set(3, 3, 9);
    b.SetYSize(3);
    EXPECT_EQ(9, b.Get(3, 3));
}

TEST(ColorArray, ReadingTooManyColorsIsRefused) {
    TColorArrayClass a(2, 2);
    a.ReadColors({1, 2, 3, 4});
    EXPECT_EQ(2, a.Get(1, 2));
    EXPECT_EQ(3, a.Get(2, 1));
    EXPECT_EQ("Array index out of bounds", ErrorOf([&] { a.ReadColors({1, 2, 3, 4, 5}); }));
}

TEST(PaletteLayout, HitTests) {
    struct Case {
        const char* name;
        int x, y;
        TPaletteCell want;
    } cases[] = {
        {"top-left pixel", 0, 0, {1, 1}},
        {"end of first pitch", 17, 17, {1, 1}},
        {"second column", 18, 0, {2, 1}},
        {"last cell", 4 * 18 - 1, 5 * 18 - 1, {4, 5}},
        {"past the columns", 72, 10, {}},
        {"below the rows", 10, 90, {}},
        {"other swatch start", 72 - 19, 96, {0, 0}},
        {"other swatch end", 71, 113, {0, 0}},
        {"left of other swatch", 52, 100, {}},
        {"below other swatch", 60, 114, {}},
        {"negative", -1, 5, {}},
    };
    for (const Case& c : cases) {
        TPaletteCell got = TPaletteLayout::HitTest(c.x, c.y);
        EXPECT_TRUE(got == c.want) << c.name << ": (" << got.X << ", " << got.Y << ")";
    }
}

TEST(PaletteLayout, CellsAndDefaultColours) {
    EXPECT_TRUE((TPaletteRect{1, 1, 17, 17}) == TPaletteLayout::CellRect({1, 1}));
    EXPECT_TRUE((TPaletteRect{55, 73, 71, 89}) == TPaletteLayout::CellRect({4, 5}));
    EXPECT_TRUE((TPaletteRect{54, 101, 70, 117}) == TPaletteLayout::CellRect({0, 0}));
    EXPECT_EQ(0xFFFFFF, TPaletteLayout::DefaultColor(1, 1));
    EXPECT_EQ(0x0000FF, TPaletteLayout::DefaultColor(1, 2));  // red as 0x00BBGGRR
    EXPECT_EQ(0xEFF7FF, TPaletteLayout::DefaultColor(3, 5));
}

TEST(PaletteLayout, ASixteenColourScreensPensFillTheGridColumnByColumn) {
    std::vector<TColor> pens;
    for (int i = 0; i < 20; i++) pens.push_back(0x010000 * i);
    std::vector<TColor> few(pens.begin(), pens.begin() + 7);
    struct Case {
        const char* name;
        const std::vector<TColor>* pens;
        int x, y;
        TColor want;
    } cases[] = {
        {"first pen, first cell", &pens, 1, 1, 0},
        {"down the first column", &pens, 1, 5, 0x040000},
        {"the second column goes on", &pens, 2, 1, 0x050000},
        {"last pen, last cell", &pens, 4, 5, 0x130000},
        {"no pens: the defaults", nullptr, 1, 2, 0x0000FF},
        {"too few pens: the rest keep theirs", &few, 2, 3, TPaletteLayout::DefaultColor(2, 3)},
        {"too few pens: those there count", &few, 2, 2, 0x060000},
    };
    const std::vector<TColor> none;
    for (const Case& c : cases)
        EXPECT_EQ(c.want, TPaletteLayout::GridColor(c.x, c.y, c.pens ? *c.pens : none)) << c.name;
}

TEST(PaletteLayout, OpensBelowOrAboveItsButtonInsideTheWorkArea) {
    TPaletteRect work{0, 0, 800, 600};
    struct Case {
        const char* name;
        TPaletteRect button;
        int left, top;
    } cases[] = {
        {"below", {100, 100, 145, 122}, 100, 122},
        {"above near the bottom", {100, 550, 145, 572}, 100, 550 - 121},
        {"left edge", {-20, 100, 25, 122}, 0, 122},
        {"right edge", {780, 100, 825, 122}, 800 - 78, 122},
    };
    for (const Case& c : cases) {
        int left = 0, top = 0;
        TPaletteLayout::OpenPosition(c.button, work, left, top);
        EXPECT_EQ(c.left, left) << c.name;
        EXPECT_EQ(c.top, top) << c.name;
    }
}

}  // namespace
