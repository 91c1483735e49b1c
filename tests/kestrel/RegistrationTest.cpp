// Kestrel's registration by "regsvr32 /s" (the fixture before these tests)
// and its removal by "regsvr32 /u /s" (the fixture after them).
#include <gtest/gtest.h>

#include "ComTest.h"
#include "Kestrel_h.h"
#include "KeyReader.h"
#include "Registration.h"

namespace {
const char* const kClip = "{AF33626E-59D9-11D0-85D0-D94CC816C71A}";
const char* const kFile = "{AF336270-59D9-11D0-85D0-D94CC816C71A}";
const char* const kLib = "{AF336260-59D9-11D0-85D0-D94CC816C71A}";
}  // namespace

using KestrelRegistered = ComTest;

TEST_F(KestrelRegistered, ClassesProgIdsAndTypeLibraryAreRegistered) {
    EXPECT_EQ(kClip, GuidToString(CLSID_KesClipboard));
    EXPECT_EQ(kFile, GuidToString(CLSID_KesFile));
    struct Class {
        const char* clsid;
        const char* prog;
        const char* desc;
    } classes[] = {{kClip, "Kestrel.KesClipboard", "KesClipboard Class"}, {kFile, "Kestrel.KesFile", "KesFile Class"}};
    std::string server;
    for (const Class& c : classes) {
        SCOPED_TRACE(c.prog);
        const std::string v = std::string(c.prog) + ".1", k = std::string("CLSID\\") + c.clsid;
        EXPECT_EQ(c.desc, ReadKey(v));
        EXPECT_EQ(c.clsid, ReadKey(v + "\\CLSID"));
        EXPECT_EQ(c.desc, ReadKey(c.prog));
        EXPECT_EQ(c.clsid, ReadKey(std::string(c.prog) + "\\CLSID"));
        EXPECT_EQ(v, ReadKey(std::string(c.prog) + "\\CurVer"));
        EXPECT_EQ(c.desc, ReadKey(k));
        EXPECT_EQ(v, ReadKey(k + "\\ProgID"));
        EXPECT_EQ(c.prog, ReadKey(k + "\\VersionIndependentProgID"));
        EXPECT_TRUE(KeyExists(k + "\\Programmable"));
        EXPECT_EQ(kLib, ReadKey(k + "\\TypeLib"));
        EXPECT_EQ(kNoValue, ReadKey(k + "\\InprocServer32", "ThreadingModel"));
        EXPECT_FALSE(KeyExists(k + "\\LocalServer32"));
        server = ReadKey(k + "\\InprocServer32");
        EXPECT_TRUE(server.size() > 12 && SameText(server.substr(server.size() - 12), "\\Kestrel.dll")) << server;
    }
    // InprocServer32 names the file that COM then loads.
    IKesFile* f = nullptr;
    ASSERT_EQ(S_OK, CoCreateInstance(CLSID_KesFile, nullptr, CLSCTX_INPROC_SERVER, IID_IKesFile,
                                     reinterpret_cast<void**>(&f)));
    char loaded[MAX_PATH];
    GetModuleFileNameA(GetModuleHandleA("Kestrel.dll"), loaded, MAX_PATH);
    EXPECT_TRUE(SameText(server, loaded)) << server << " / " << loaded;
    f->Release();

    const std::string lib = std::string("TypeLib\\") + kLib + "\\1.0";
    EXPECT_EQ("Kestrel 1.0 Type Library", ReadKey(lib));
    EXPECT_TRUE(SameText(server, ReadKey(lib + "\\409\\" + kTypeLibPlatform)));
    ITypeLib* tl = nullptr;
    ASSERT_EQ(S_OK, LoadRegTypeLib(LIBID_KESTRELLib, 1, 0, 0x409, &tl));
    tl->Release();
    EXPECT_EQ(kLib, ReadKey(std::string("Interface\\") + GuidToString(IID_IKesFile) + "\\TypeLib"));
}
