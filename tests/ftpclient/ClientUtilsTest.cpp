#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ftpclient/core/ClientUtils.h"

TEST(ClientUtils, FormatByteCountTable) {
    const TNumberFormat german{".", ","};
    const struct {
        int64_t count;
        TNumberFormat format;
        std::string text;
    } cases[] = {
        {0, {}, "0 byte"},
        {1, {}, "1 byte"},
        {2, {}, "2 bytes"},
        {2048, {}, "2,048 bytes"},
        {2048, german, "2.048 bytes"},
        {1234567, {}, "1,234,567 bytes"},
        {5368709243LL, {}, "5,368,709,243 bytes"},
        {1234567, {"\xA0", ","}, "1\xA0" "234\xA0" "567 bytes"},
    };
    for (auto& c : cases) EXPECT_EQ(FormatByteCount(c.count, c.format), c.text) << c.count;
}

TEST(ClientUtils, FormatFileSizeTable) {
    const TNumberFormat german{".", ","};
    const struct {
        int64_t count;
        TNumberFormat format;
        std::string text;
    } cases[] = {
        {0, {}, "0 bytes"},
        {1, {}, "1 bytes"},
        {1024, {}, "1,024 bytes"},
        {1025, {}, "1 KB"},
        {1536, {}, "1.5 KB"},
        {1536, german, "1,5 KB"},
        {1048576, {}, "1,024 KB"},
        {1048576 + 10486, {}, "1.01 MB"},
        {5368709243LL, {}, "5 GB"},
        {5905580032LL, german, "5,5 GB"},
        {2199023255552LL, {}, "2,048 GB"},  // no unit above GB
    };
    for (auto& c : cases) EXPECT_EQ(FormatFileSize(c.count, c.format), c.text) << c.count;
}

namespace {

class FakeTempFolder : public TTempFolder {
public:
    std::string path = "C:\\Temp\\";
    int failures = 0;  // CreateTempFile fails this many times first
    int calls = 0;
    std::vector<std::string> deleted;

    std::string TempPath() override { return path; }
    std::string CreateTempFile(const std::string& folder, const std::string& prefix) override {
        ++calls;
        if (failures-- > 0) return "";
        return folder + prefix + "1A.tmp";
    }
    void DeleteFile(const std::string& p) override { deleted.push_back(p); }
};

}  // namespace

TEST(ClientUtils, MakeTempFileNameTable) {
    const struct {
        const char* name;
        std::string path;
        int failures;
        std::string result;
        int calls;
        bool deleted;
    } cases[] = {
        {"first try", "C:\\Temp\\", 0, "C:\\Temp\\ISW1A.tmp", 1, true},
        {"second try", "C:\\Temp\\", 1, "C:\\Temp\\ISW1A.tmp", 2, true},
        {"always failing ends", "C:\\Temp\\", 1000000, "C:\\Temp\\ISW0F1E2.TMP", TempNameTries, false},
        {"no temporary folder", "", 0, "ISW0F1E2.TMP", 0, false},
    };
    for (auto& c : cases) {
        FakeTempFolder f;
        f.path = c.path;
        f.failures = c.failures;
        EXPECT_EQ(MakeTempFileName(f), c.result) << c.name;
        EXPECT_EQ(f.calls, c.calls) << c.name;
        EXPECT_EQ(!f.deleted.empty(), c.deleted) << c.name;
        if (c.deleted) {
            EXPECT_EQ(f.deleted[0], c.result) << c.name;
        }
    }
}

TEST(ClientUtils, RemoteNamesThatCannotBeLocalNames) {
    const struct {
        std::string name;
        bool ok;
    } cases[] = {
        {"file.txt", true},      {"my file", true},       {" lead", true},     {"...", false},
        {"..\\x", false},        {"..\\..\\win.ini", false}, {"a\\b", false}, {"a/b", false},
        {"../x", false},         {"C:x", false},          {"c:\\boot.ini", false}, {".", false},
        {"..", false},           {"", false},             {"a\tb", false},     {std::string("a\0b", 3), false},
        // Names the platform turns into a device or into another name.
        {"nul", false},          {"NUL", false},          {"CON", false},      {"aux.txt", false},
        {"COM1", false},         {"com9.log", false},     {"Lpt1", false},     {"prn.tar.gz", false},
        {"nul .txt", false},     {"conin$", false},       {"report.", false},  {"trail ", false},
        {"a?b", false},          {"a*b", false},          {"say \"hi\"", false}, {"a<b", false},
        {"a>b", false},          {"a|b", false},
        // Near misses that are ordinary names.
        {"COM10", true},         {"COM0", true},          {"LPT", true},       {"console.txt", true},
        {"nullable", true},      {"auxiliary.doc", true}, {".hidden", true},   {"report.txt", true},
        {"a .b", true},
    };
    for (auto& c : cases) {
        std::string msg;
        EXPECT_EQ(CheckRemoteNameForLocal(c.name, msg), c.ok) << "'" << c.name << "'";
        EXPECT_EQ(msg.empty(), c.ok) << "'" << c.name << "'";
    }
}

TEST(ClientUtils, NewFolderNameValidatedOnOk) {
    const struct {
        std::string name;
        bool allowEmpty;
        bool ok;
    } cases[] = {
        {"new folder", false, true}, {"", false, false},   {"", true, true},       {"..\\x", false, false},
        {"a/b", false, false},       {"a:b", false, false}, {"a*", false, false},  {"a?", false, false},
        {"\"a\"", false, false},     {"<a>", false, false}, {"a|b", false, false}, {"..", false, false},
        {".", false, false},         {"a\r\nb", false, false},
    };
    for (auto& c : cases) EXPECT_EQ(IsValidNewFolderName(c.name, c.allowEmpty), c.ok) << "'" << c.name << "'";
    for (char k : std::string("\\/:*?\"<>|")) EXPECT_FALSE(IsFolderNameKey(k)) << k;
    EXPECT_TRUE(IsFolderNameKey('a'));
}

TEST(ClientUtils, TimeOfDayParts) {
    const double second = 1.0 / 86400;
    EXPECT_EQ(TimeToSeconds(0), 0);
    EXPECT_EQ(TimeToSeconds(3661 * second), 3661);
    EXPECT_EQ(TimeToSeconds(1 + 5 * second), 5);  // only the time of day counts
    EXPECT_EQ(FormatTimeOfDay(3661 * second), "01:01:01");
    EXPECT_EQ(FormatTimeOfDay(0.1 * second), "00:00:00");
}

TEST(ClientUtils, PropertiesSizeTextTable) {
    const TNumberFormat german{".", ","};
    const struct {
        std::string size;
        TNumberFormat format;
        std::string text;
    } cases[] = {
        {"0", {}, "0 byte"},
        {"1024", {}, "1,024 bytes"},
        {"1536", {}, "1.5 KB (1,536 bytes)"},
        {"1536", german, "1,5 KB (1.536 bytes)"},
        {"5368709243", {}, "5 GB (5,368,709,243 bytes)"},  // above 4 GiB
        {"", {}, " bytes"},
        {"12a", {}, "12a bytes"},
        {"-5", {}, "-5 bytes"},
        {"99999999999999999999999", {}, "99999999999999999999999 bytes"},  // too large to convert
    };
    for (auto& c : cases) EXPECT_EQ(PropertiesSizeText(c.size, c.format), c.text) << c.size;
}

TEST(ClientUtils, AttributesTextTable) {
    const struct {
        bool archive, readOnly, hidden, system;
        std::string text;
    } cases[] = {
        {false, false, false, false, ""},
        {true, false, false, false, "Archive "},
        {true, true, true, true, "Archive / Read-Only / Hidden / System "},
        {false, true, false, true, "Read-Only / System "},
        {false, false, true, false, "Hidden "},
    };
    for (auto& c : cases)
        EXPECT_EQ(AttributesText(c.archive, c.readOnly, c.hidden, c.system), c.text) << c.text;
}
