// The registry value component and the form position store against the real
// (Wine) registry, with the raw stored type and size checked.
#include <gtest/gtest.h>

#include <shlwapi.h>

#include "ComponentTestSupport.h"
#include "components/RePosApp.h"
#include "components/RegistryEnhanced.h"

namespace {

const char* kBase = "Software\\QfComponentTests";

struct Raw {
    LONG rc;
    DWORD type, size;
    std::string bytes;
};

Raw QueryRaw(const std::string& key, const std::string& value) {
    Raw r{0, 0, 0, {}};
    HKEY k;
    r.rc = RegOpenKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &k);
    if (r.rc != ERROR_SUCCESS) return r;
    char buf[256];
    r.size = sizeof buf;
    r.rc = RegQueryValueExA(k, value.c_str(), nullptr, &r.type, reinterpret_cast<BYTE*>(buf), &r.size);
    if (r.rc == ERROR_SUCCESS) r.bytes.assign(buf, r.size);
    RegCloseKey(k);
    return r;
}

void SetRawString(const std::string& key, const std::string& value, const std::string& text) {
    HKEY k;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(k, value.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>(text.size() + 1));
    RegCloseKey(k);
}

}  // namespace

TEST(RegistryEnhanced, RoundTripsWithRawTypeAndSize) {
    TRegistryEnhanced reg;
    reg.Key = std::string("\\") + kBase + "\\Round\\";  // leading and trailing backslash
    struct Case {
        const char* name;
        const char* path;
        TRegVariant value;
        DWORD type, size;
    } cases[] = {
        {"string with its zero", "Sub\\Text", TRegVariant::String("hello"), REG_SZ, 6},
        {"integer", "Int", TRegVariant::Integer(-7), REG_DWORD, 4},
        {"boolean", "Sub\\\\Flag", TRegVariant::Boolean(true), REG_DWORD, 4},
        {"double", "Real", TRegVariant::Double(2.5), REG_BINARY, 8},
    };
    for (const Case& c : cases) {
        reg.WriteValue(c.path, c.value);
        const TRegValuePath p = MakeRegValuePath(reg.Key, c.path);
        const Raw raw = QueryRaw(p.KeyPath, p.ValueName);
        ASSERT_EQ(raw.rc, ERROR_SUCCESS) << c.name;
        EXPECT_EQ(raw.type, c.type) << c.name;
        EXPECT_EQ(raw.size, c.size) << c.name;
    }
    EXPECT_EQ(QueryRaw(std::string(kBase) + "\\Round\\Sub", "Text").bytes, std::string("hello", 6));
    reg.Access = kRead;
    EXPECT_EQ(reg.ReadValue("Sub\\Text", TRegVariant::String("x")).Str, "hello");
    EXPECT_EQ(reg.ReadValue("Int", TRegVariant::Integer(0)).Int, -7);
    EXPECT_EQ(reg.ReadValue("Sub\\Flag", TRegVariant::Integer(0)).Int, 1) << "a flag reads back as 1";
    EXPECT_EQ(reg.ReadValue("Real", TRegVariant::Integer(0)).Real, 2.5);
    EXPECT_EQ(reg.ReadValue("Missing", TRegVariant::String("dflt")).Str, "dflt");
    reg.Key = "";
    EXPECT_EQ(reg.ReadValue("Int", TRegVariant::String("none")).Str, "none");
    EXPECT_NO_THROW(reg.WriteValue("Int", TRegVariant::Integer(1))) << "empty key: nothing, no error";
}

// What cannot be written is left alone without a word; only a value the
// registry refuses to set is reported.
TEST(RegistryEnhanced, UnsupportedTypeAndUnopenableKeyWriteNothingSilently) {
    TRegistryEnhanced reg;
    reg.Key = std::string(kBase) + "\\Refuse";
    for (TRegVarType t : {rvSingle, rvEmpty}) {
        EXPECT_NO_THROW(reg.WriteValue("Single", TRegVariant::Of(t))) << "type " << t;
        EXPECT_EQ(QueryRaw(reg.Key, "Single").rc, ERROR_FILE_NOT_FOUND) << "type " << t;
    }
    EXPECT_EQ(reg.ReadValue("Single", TRegVariant::String("d")).Str, "d");
    // A key the registry cannot create (a name past its 255-character limit).
    reg.Key = std::string(kBase) + "\\" + std::string(300, 'k');
    EXPECT_NO_THROW(reg.WriteValue("V", TRegVariant::Integer(1)));
    EXPECT_EQ(reg.ReadValue("V", TRegVariant::Integer(-1)).Int, -1);
}

TEST(RegistryEnhanced, StringCutAtItsZeroByte) {
    HKEY k;
    const std::string key = std::string(kBase) + "\\Zero";
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(k, "V", 0, REG_SZ, reinterpret_cast<const BYTE*>("ab\0cd"), 5);
    RegCloseKey(k);
    TRegistryEnhanced reg;
    reg.Key = key;
    EXPECT_EQ(reg.ReadValue("V", TRegVariant::String("")).Str, "ab");
}

namespace {

struct PosFixture : ::testing::Test {
    void SetUp() override {
        SHDeleteKeyA(HKEY_CURRENT_USER, (std::string(kBase) + "\\Pos.INI").c_str());
        pos = std::make_unique<TRePosApp>(&form);
        pos->InifileName = std::string(kBase) + "\\Pos";
        pos->SectionName = "frmMain";
        form.SetBounds(120, 110, 400, 300);
        form.Show();
    }
    std::string Stored(const char* name) {
        return QueryRaw(std::string(kBase) + "\\Pos.INI\\frmMain", name).bytes.c_str();
    }
    TForm form;
    std::unique_ptr<TRePosApp> pos;
};

}  // namespace

TEST_F(PosFixture, SaveAndLoadRoundTrip) {
    pos->SaveAppPosition();
    EXPECT_EQ(Stored("MyWindowState"), "False");
    EXPECT_EQ(Stored("Left"), "120");
    EXPECT_EQ(Stored("Top"), "110");
    EXPECT_EQ(Stored("Width"), "400");
    EXPECT_EQ(QueryRaw(std::string(kBase) + "\\Pos.INI\\frmMain", "Left").type, static_cast<DWORD>(REG_SZ));
    form.SetBounds(0, 0, 200, 200);
    pos->LoadAppPosition();
    EXPECT_EQ(form.Left(), 120);
    EXPECT_EQ(form.Top(), 110);
    EXPECT_EQ(form.Width(), 400);
    EXPECT_EQ(form.Height(), 300);
}

TEST_F(PosFixture, HexNumberAndEmptyStore) {
    pos->Top = 33;
    pos->LoadAppPosition();
    EXPECT_EQ(form.Top(), 33) << "empty store: the defaults";
    EXPECT_EQ(form.Width(), 300);
    SetRawString(std::string(kBase) + "\\Pos.INI\\frmMain", "Top", "0x64");
    pos->LoadAppPosition();
    EXPECT_EQ(form.Top(), 100);
}

TEST_F(PosFixture, MaximisedSaveKeepsTheNumbers) {
    pos->SaveAppPosition();
    ShowWindow(form.Handle(), SW_SHOWMAXIMIZED);
    ASSERT_TRUE(IsZoomed(form.Handle()));
    pos->SaveAppPosition();
    EXPECT_EQ(Stored("MyWindowState"), "True");
    EXPECT_EQ(Stored("Left"), "120");
    EXPECT_EQ(Stored("Width"), "400");
    ShowWindow(form.Handle(), SW_RESTORE);
    form.SetBounds(0, 0, 100, 100);
    SetRawString(std::string(kBase) + "\\Pos.INI\\frmMain", "MyWindowState", "tRUE");
    pos->LoadAppPosition();
    EXPECT_TRUE(IsZoomed(form.Handle()));
    ShowWindow(form.Handle(), SW_RESTORE);
    EXPECT_EQ(form.Left(), 120) << "restores to the stored normal place";
}

TEST_F(PosFixture, MinimisedFormSavesItsNormalPlaceAndLoadStaysOnScreen) {
    ShowWindow(form.Handle(), SW_MINIMIZE);
    ASSERT_TRUE(IsIconic(form.Handle()));
    pos->SaveAppPosition();
    EXPECT_EQ(Stored("Left"), "120") << "not -32000";
    EXPECT_EQ(Stored("Top"), "110");
    EXPECT_EQ(Stored("Width"), "400");
    // A store written by an older version with the minimised marker.
    SetRawString(std::string(kBase) + "\\Pos.INI\\frmMain", "Left", "-32000");
    SetRawString(std::string(kBase) + "\\Pos.INI\\frmMain", "Top", "-32000");
    pos->LoadAppPosition();
    RECT area;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    EXPECT_GE(form.Left(), area.left);
    EXPECT_GE(form.Top(), area.top);
    EXPECT_FALSE(IsIconic(form.Handle()));
}

TEST(RePosApp, IniFileStore) {
    char dir[MAX_PATH];
    GetTempPathA(sizeof dir, dir);
    const std::string base = std::string(dir) + "QfPosTest";
    DeleteFileA((base + ".INI").c_str());
    TForm form;
    form.SetBounds(140, 130, 420, 310);
    form.Show();
    TRePosApp pos(&form);
    pos.ForceINIFile = true;
    pos.InifileName = base;
    pos.SaveAppPosition();
    char buf[64];
    GetPrivateProfileStringA("Dimensions", "Left", "", buf, sizeof buf, (base + ".INI").c_str());
    EXPECT_STREQ(buf, "140");
    GetPrivateProfileStringA("Dimensions", "MyWindowState", "", buf, sizeof buf, (base + ".INI").c_str());
    EXPECT_STREQ(buf, "False");
    WritePrivateProfileStringA("Dimensions", "Top", "0x64", (base + ".INI").c_str());
    form.SetBounds(0, 0, 100, 100);
    pos.LoadAppPosition();
    EXPECT_EQ(form.Left(), 140);
    EXPECT_EQ(form.Top(), 100);
    EXPECT_EQ(form.Width(), 420);
    DeleteFileA((base + ".INI").c_str());
}
