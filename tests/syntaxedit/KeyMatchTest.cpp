#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "KeyboardActionContoller.h"

namespace {

const char* Name(TKeyMatch m) {
    return m == TKeyMatch::None ? "none" : m == TKeyMatch::Prefix ? "prefix" : "recognised";
}

struct Stroke {
    uint16_t key;
    TShiftState shift;
};

}  // namespace

// Typed keys against the default map: the result of every stroke and the
// commands fired.
TEST(KeyMatch, SequencesAgainstTheDefaultMap) {
    struct Case {
        const char* name;
        std::vector<Stroke> strokes;
        std::vector<TKeyMatch> results;
        std::vector<int32_t> commands;
    } cases[] = {
        {"one stroke", {{vkLeft, 0}}, {TKeyMatch::Recognised}, {caLEFT}},
        {"ctrl one stroke", {{vkHome, ssCtrl}}, {TKeyMatch::Recognised}, {caDOCSTART}},
        {"unbound key", {{'A', 0}}, {TKeyMatch::None}, {}},
        {"shift is part of a first stroke", {{vkDelete, ssShift}}, {TKeyMatch::None}, {}},
        {"ctrl+shift+z", {{'Z', ssCtrl | ssShift}}, {TKeyMatch::Recognised}, {caREDO}},
        {"two strokes", {{'K', ssCtrl}, {'I', 0}}, {TKeyMatch::Prefix, TKeyMatch::Recognised}, {caBLOCKIND}},
        {"shift dropped in a sequence", {{'K', ssCtrl}, {'I', ssShift}},
         {TKeyMatch::Prefix, TKeyMatch::Recognised}, {caBLOCKIND}},
        {"ctrl dropped in a sequence", {{'Q', ssCtrl}, {'3', ssCtrl}},
         {TKeyMatch::Prefix, TKeyMatch::Recognised}, {caGOTOBOOKMARK0 + 3}},
        {"unbound second stroke ends the sequence", {{'K', ssCtrl}, {'X', 0}, {vkLeft, 0}},
         {TKeyMatch::Prefix, TKeyMatch::None, TKeyMatch::Recognised}, {caLEFT}},
        {"a prefix then another prefix", {{'K', ssCtrl}, {'K', ssCtrl}},
         {TKeyMatch::Prefix, TKeyMatch::None}, {}},
        {"after a sequence the map starts over", {{'K', ssCtrl}, {'5', 0}, {'5', 0}},
         {TKeyMatch::Prefix, TKeyMatch::Recognised, TKeyMatch::None}, {caSETBOOKMARK0 + 5}},
    };
    for (const Case& c : cases) {
        TKeyboardActionContoller map;
        map.Assign(&DefaultKeyMap());
        std::vector<int32_t> fired;
        map.OnAction = [&](TObject* sender, int32_t& code) {
            EXPECT_EQ(sender, &map) << c.name;
            fired.push_back(code);
        };
        ASSERT_EQ(c.strokes.size(), c.results.size()) << c.name;
        for (size_t i = 0; i < c.strokes.size(); i++) {
            uint16_t key = c.strokes[i].key;
            TShiftState shift = c.strokes[i].shift;
            bool handled = true;
            TKeyMatch m = map.HandleKey(key, shift, handled);
            EXPECT_STREQ(Name(m), Name(c.results[i])) << c.name << ", stroke " << i;
            bool consumed = m != TKeyMatch::None;
            EXPECT_EQ(handled, consumed) << c.name << ", stroke " << i;
            EXPECT_EQ(key, consumed ? 0 : c.strokes[i].key) << c.name << ", stroke " << i;
            EXPECT_EQ(shift, consumed ? 0 : c.strokes[i].shift) << c.name << ", stroke " << i;
        }
        EXPECT_EQ(fired, c.commands) << c.name;
        EXPECT_FALSE(map.Store->InSequence() && c.results.back() != TKeyMatch::Prefix) << c.name;
    }
}

TEST(KeyMatch, RecognisedWithoutAHandler) {
    TKeyboardActionContoller map;
    map.AddKey(vkF1, 0, caCOPY);
    uint16_t key = vkF1;
    TShiftState shift = 0;
    bool handled = false;
    EXPECT_EQ(map.HandleKey(key, shift, handled), TKeyMatch::Recognised);
    EXPECT_EQ(map.Store->LastCommand, caCOPY);
    EXPECT_TRUE(handled);
    // An empty map matches nothing.
    TKeyboardActionContoller empty;
    key = vkF1;
    EXPECT_EQ(empty.HandleKey(key, shift, handled), TKeyMatch::None);
    EXPECT_FALSE(handled);
}

TEST(KeyMatch, ShiftFreeKeysFollowTheMap) {
    EXPECT_EQ(ShiftFreeKeys(DefaultKeyMap()), DefaultShiftFreeKeys());
    TKeyboardActionContoller map;
    map.AddKey(scCtrl | 'S', 0, caLEFT);
    map.AddKey(vkF1, 0, caCOPY);
    map.AddKey(scCtrl | 'K', 'B', caBACKSPACE);
    TSet256 keys = ShiftFreeKeys(map);
    EXPECT_TRUE(keys.Has('S'));
    EXPECT_TRUE(keys.Has('K'));
    EXPECT_FALSE(keys.Has(vkF1 & 0xFF));
    EXPECT_FALSE(keys.Has(vkLeft));
}
