#include "components/core/RegistryValue.h"

#include <gtest/gtest.h>

TEST(RegistryValue, PathTable) {
    struct Case {
        const char* name;
        const char* key;
        const char* value;
        const char* keyPath;
        const char* valueName;
    } cases[] = {
        {"trailing backslash", "Root\\A\\B\\", "Sub\\Left", "Root\\A\\B\\Sub", "Left"},
        {"leading backslash", "\\Root\\A\\B", "Sub\\Left", "Root\\A\\B\\Sub", "Left"},
        {"both", "\\Root\\A\\B\\", "Sub\\Left", "Root\\A\\B\\Sub", "Left"},
        {"no subkey", "Root", "Left", "Root", "Left"},
        {"double backslash in name", "Root", "Sub\\\\Left", "Root\\Sub", "Left"},
        {"empty name is the default value", "Root", "", "Root", ""},
        {"lone backslash key", "\\", "Sub\\V", "Sub", "V"},
    };
    for (const Case& c : cases) {
        const TRegValuePath p = MakeRegValuePath(c.key, c.value);
        EXPECT_EQ(p.KeyPath, c.keyPath) << c.name;
        EXPECT_EQ(p.ValueName, c.valueName) << c.name;
    }
}

TEST(RegistryValue, StringsKeepTheirTerminatingZero) {
    const TRegEncoded e = EncodeRegValue(TRegVariant::String("abc"));
    ASSERT_TRUE(e.Supported);
    EXPECT_EQ(e.RegType, kRegSz);
    EXPECT_EQ(e.Bytes, (std::vector<uint8_t>{'a', 'b', 'c', 0}));
}

TEST(RegistryValue, EncodingTable) {
    struct Case {
        const char* name;
        TRegVariant v;
        bool supported;
        uint32_t type;
        size_t size;
    } cases[] = {
        {"integer", TRegVariant::Integer(-5), true, kRegDword, 4},
        {"boolean", TRegVariant::Boolean(true), true, kRegDword, 4},
        {"double", TRegVariant::Double(1.5), true, kRegBinary, 8},
        {"currency", TRegVariant::Currency(12345), true, kRegBinary, 8},
        {"date", TRegVariant::Date(36526.5), true, kRegBinary, 8},
        {"single refused", TRegVariant::Of(rvSingle), false, 0, 0},
        {"empty refused", TRegVariant::Of(rvEmpty), false, 0, 0},
        {"null refused", TRegVariant::Of(rvNull), false, 0, 0},
        {"smallint refused", TRegVariant::Of(rvSmallint), false, 0, 0},
        {"ole string refused", TRegVariant::Of(rvOleStr), false, 0, 0},
    };
    for (const Case& c : cases) {
        const TRegEncoded e = EncodeRegValue(c.v);
        EXPECT_EQ(e.Supported, c.supported) << c.name;
        EXPECT_EQ(e.RegType, c.type) << c.name;
        EXPECT_EQ(e.Bytes.size(), c.size) << c.name;
    }
}

TEST(RegistryValue, DecodeCutsTextAtZeroAndRefusesOddSizes) {
    TRegVariant v;
    ASSERT_TRUE(DecodeRegValue(kRegSz, {'a', 'b', 0, 'c'}, v));
    EXPECT_EQ(v.Str, "ab");
    ASSERT_TRUE(DecodeRegValue(kRegDword, {1, 0, 0, 0}, v));
    EXPECT_EQ(v.Type, rvInteger);
    EXPECT_EQ(v.Int, 1);
    EXPECT_FALSE(DecodeRegValue(kRegDword, {1, 0}, v));
    EXPECT_FALSE(DecodeRegValue(kRegBinary, {1, 2, 3}, v));
    EXPECT_FALSE(DecodeRegValue(7, {}, v));
    const TRegEncoded d = EncodeRegValue(TRegVariant::Double(2.25));
    ASSERT_TRUE(DecodeRegValue(d.RegType, d.Bytes, v));
    EXPECT_EQ(v.Real, 2.25);
}
