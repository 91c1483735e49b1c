// After "Gleaner.exe -UNREGSERVER" (the fixture after the server tests).
#include <gtest/gtest.h>

#include "ComTest.h"
#include "Gleaner_h.h"
#include "KeyReader.h"
#include "Registration.h"

using GleanerUnregistered = ComTest;

TEST_F(GleanerUnregistered, KeysAreGone) {
    for (const CLSID* c : {&CLSID_InfoDatabase, &CLSID_InfoSearch, &CLSID_InfoChannel})
        EXPECT_FALSE(KeyExists("CLSID\\" + GuidToString(*c)));
    for (const char* p : {"Gleaner.InfoDatabase", "Gleaner.InfoSearch", "Gleaner.InfoChannel",
                          "Gleaner.InfoDatabase.1", "Gleaner.InfoSearch.1", "Gleaner.InfoChannel.1"})
        EXPECT_FALSE(KeyExists(p)) << p;
    EXPECT_FALSE(KeyExists("AppID\\{5E8A38C1-59D4-11D0-85D0-D94CC816C71A}"));
    EXPECT_FALSE(KeyExists("AppID\\Gleaner.EXE"));
    EXPECT_FALSE(KeyExists("TypeLib\\{5E8A38C0-59D4-11D0-85D0-D94CC816C71A}"));
    EXPECT_TRUE(KeyExists("CLSID"));
    EXPECT_TRUE(KeyExists("AppID"));
    CLSID clsid;
    EXPECT_TRUE(FAILED(CLSIDFromProgID(L"Gleaner.InfoSearch", &clsid)));
}
