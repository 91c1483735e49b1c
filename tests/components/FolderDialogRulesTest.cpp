#include "components/core/FolderDialogRules.h"

#include <gtest/gtest.h>

TEST(FolderDialogRules, OptionTable) {
    struct Case {
        const char* name;
        TFolderDialogOptions current, wanted, expected;
    } cases[] = {
        {"both centrings while parent is in force: screen wins", Opt(bfParentCenter),
         Opt(bfParentCenter) | Opt(bfScreenCenter), Opt(bfScreenCenter)},
        {"both centrings while screen is in force: parent wins", Opt(bfScreenCenter),
         Opt(bfParentCenter) | Opt(bfScreenCenter), Opt(bfParentCenter)},
        {"computer drops file-system and printer", 0,
         Opt(bfBrowseForComputer) | Opt(bfFileSysDirsOnly) | Opt(bfBrowseForPrinter), Opt(bfBrowseForComputer)},
        {"printer drops file-system, domain, computer", Opt(bfBrowseForComputer),
         Opt(bfBrowseForPrinter) | Opt(bfBrowseForComputer) | Opt(bfDontGoBelowDomain), Opt(bfBrowseForPrinter)},
        {"path in status brings status text", 0, Opt(bfShowPathInStatusArea),
         Opt(bfShowPathInStatusArea) | Opt(bfStatusText)},
        {"dropping status text drops path in status", Opt(bfShowPathInStatusArea) | Opt(bfStatusText),
         Opt(bfShowPathInStatusArea), 0},
    };
    for (const Case& c : cases) EXPECT_EQ(ApplyFolderOptions(c.current, c.wanted), c.expected) << c.name;
}

TEST(FolderDialogRules, TrailingDot) {
    EXPECT_EQ(TrimDotPath("X:\\."), "X:\\");
    EXPECT_EQ(TrimDotPath("C:\\a\\."), "C:\\a\\");
    EXPECT_EQ(TrimDotPath("C:\\a"), "C:\\a");
    EXPECT_EQ(TrimDotPath(""), "");
    EXPECT_EQ(TrimDotPath("."), ".");
}
