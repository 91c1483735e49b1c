// After "regsvr32 /u /s": every key Kestrel wrote is gone, the shared parents stay.
#include <gtest/gtest.h>

#include "ComTest.h"
#include "Kestrel_h.h"
#include "KeyReader.h"
#include "Registration.h"

using KestrelUnregistered = ComTest;

TEST_F(KestrelUnregistered, EveryKeyIsRemoved) {
    for (const char* key : {"Kestrel.KesClipboard", "Kestrel.KesClipboard.1", "Kestrel.KesFile", "Kestrel.KesFile.1",
                            "CLSID\\{AF33626E-59D9-11D0-85D0-D94CC816C71A}",
                            "CLSID\\{AF336270-59D9-11D0-85D0-D94CC816C71A}",
                            "TypeLib\\{AF336260-59D9-11D0-85D0-D94CC816C71A}",
                            "Interface\\{AF33626D-59D9-11D0-85D0-D94CC816C71A}",
                            "Interface\\{AF33626F-59D9-11D0-85D0-D94CC816C71A}"})
        EXPECT_FALSE(KeyExists(key)) << key;
    EXPECT_TRUE(KeyExists("CLSID"));
    IUnknown* p = nullptr;
    EXPECT_EQ(REGDB_E_CLASSNOTREG, CoCreateInstance(CLSID_KesFile, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                                                    reinterpret_cast<void**>(&p)));
    CLSID c;
    EXPECT_NE(S_OK, CLSIDFromProgID(L"Kestrel.KesFile", &c));
}
