#include <gtest/gtest.h>

#include "ui/core/AlignLayout.h"

namespace {
struct Case {
    const char* name;
    TBounds client;
    std::vector<TAlignItem> in;
    std::vector<TBounds> out;
};
}  // namespace

TEST(AlignLayout, Table) {
    const Case cases[] = {
        {"top then client", {0, 0, 200, 100},
         {{alTop, {5, 5, 10, 20}}, {alClient, {}}},
         {{0, 0, 200, 20}, {0, 20, 200, 80}}},
        {"bottom before left whatever the list order", {0, 0, 100, 100},
         {{alLeft, {0, 0, 30, 0}}, {alBottom, {0, 0, 0, 10}}},
         {{0, 0, 30, 90}, {0, 90, 100, 10}}},
        {"right edge and a client between", {0, 0, 100, 50},
         {{alRight, {0, 0, 20, 0}}, {alLeft, {0, 0, 10, 0}}, {alClient, {}}},
         {{80, 0, 20, 50}, {0, 0, 10, 50}, {10, 0, 70, 50}}},
        {"two tops stack in list order", {0, 0, 50, 50},
         {{alTop, {0, 0, 0, 10}}, {alTop, {0, 0, 0, 15}}},
         {{0, 0, 50, 10}, {0, 10, 50, 15}}},
        {"too tall a top is cut, client gets nothing", {0, 0, 50, 30},
         {{alTop, {0, 0, 0, 40}}, {alClient, {}}},
         {{0, 0, 50, 30}, {0, 30, 50, 0}}},
        {"hidden and unaligned items keep their bounds", {0, 0, 50, 30},
         {{alTop, {1, 2, 3, 4}, false}, {alNone, {7, 8, 9, 10}}},
         {{1, 2, 3, 4}, {7, 8, 9, 10}}},
        {"a negative client gives zero sizes", {0, 0, -5, -5},
         {{alClient, {}}, {alTop, {0, 0, 0, 10}}},
         {{0, 0, 0, 0}, {0, 0, 0, 0}}},
    };
    for (const Case& c : cases) {
        std::vector<TAlignItem> items = c.in;
        AlignItems(c.client, items);
        for (size_t i = 0; i < items.size(); ++i) {
            const TBounds& got = items[i].Bounds;
            const TBounds& want = c.out[i];
            EXPECT_TRUE(got == want) << c.name << ", item " << i << ": got " << got.Left << "," << got.Top << " "
                                     << got.Width << "x" << got.Height;
        }
    }
}
