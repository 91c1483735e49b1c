#include <gtest/gtest.h>

#include <string>

#include "ftpclient/core/Permissions.h"

namespace {

TPermissions Boxes(const char* nine) {  // "rwxr-x--x"
    TPermissions p;
    for (int i = 0; i < 9; ++i) p.Flags[i / 3][i % 3] = nine[i] != '-';
    return p;
}

}  // namespace

TEST(Permissions, ModeTextAlwaysThreeDigits) {
    const struct {
        const char* boxes;
        const char* mode;
    } cases[] = {
        {"rwxr-x--x", "751"}, {"---------", "000"}, {"---r--r--", "044"}, {"rw-r--r--", "644"},
        {"rwxrwxrwx", "777"}, {"------rwx", "007"},
    };
    for (auto& c : cases) EXPECT_EQ(Boxes(c.boxes).ModeText(), c.mode) << c.boxes;
    EXPECT_EQ(ChModCommand("name", Boxes("rwxr-x--x")), "SITE CHMOD 751 name");
    EXPECT_EQ(ChModCommand("my file", Boxes("---------")), "SITE CHMOD 000 my file");
}

TEST(Permissions, BoxesFromThePermissionString) {
    const struct {
        const char* perm;
        const char* mode;
        bool special;
    } cases[] = {
        {"-rwxr-x--x", "751", false}, {"-rwsr-xr-x", "655", true}, {"drwxrwxrwt", "776", true},
        {"-rwSr--r--", "644", true},  {"-rw-r-sr--", "644", true}, {"-RWXRWXRWX", "777", false},
        {"-rw", "000", false},        {"-rwx", "700", false},      {"-rwxr-x", "750", false},
        {"", "000", false},
    };
    for (auto& c : cases) {
        EXPECT_EQ(TPermissions::FromString(c.perm).ModeText(), c.mode) << c.perm;
        EXPECT_EQ(HasSpecialBits(c.perm), c.special) << c.perm;
    }
}

TEST(Permissions, OkWithoutChangesSendsNothing) {
    const struct {
        const char* name;
        const char* perm;
        const char* boxes;
        bool send;
        std::string command;
        bool note;
    } cases[] = {
        {"unchanged", "-rw-r--r--", "rw-r--r--", false, "", false},
        {"unchanged setuid keeps its bit", "-rwsr-xr-x", "rw-r-xr-x", false, "", false},
        {"unchanged sticky folder", "drwxrwxrwt", "rwxrwxrw-", false, "", false},
        {"changed", "-rw-r--r--", "rw-------", true, "SITE CHMOD 600 f", false},
        {"changed setuid says so", "-rwsr-xr-x", "rwxr-xr-x", true, "SITE CHMOD 755 f", true},
    };
    for (auto& c : cases) {
        TChModPlan plan = PlanChMod("f", c.perm, Boxes(c.boxes));
        EXPECT_EQ(plan.Send, c.send) << c.name;
        EXPECT_EQ(plan.Command, c.command) << c.name;
        EXPECT_EQ(!plan.Note.empty(), c.note) << c.name;
    }
}
