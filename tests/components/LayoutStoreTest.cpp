// The toolbar layout store through the registry: one subkey per tool window
// below the caller's key, values as text.
#include <gtest/gtest.h>

#include <string>

#include "TestToolWindow.h"
#include "components/LayoutStore97.h"

namespace {

// A key of its own per test, removed afterwards.
class LayoutKey {
public:
    explicit LayoutKey(const char* test)
        : path_(std::string("Software\\QfTests\\Layout\\") + test + "-" + std::to_string(GetCurrentProcessId())) {
        DeleteTree(HKEY_CURRENT_USER, path_);
    }
    ~LayoutKey() { DeleteTree(HKEY_CURRENT_USER, path_); }
    const std::string& Path() const { return path_; }
    std::string Read(const std::string& section, const std::string& ident) const {
        char buf[256] = {};
        DWORD size = sizeof buf - 1;
        HKEY k;
        std::string sub = path_ + "\\" + section;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, sub.c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS) return "<none>";
        LONG rc = RegQueryValueExA(k, ident.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(buf), &size);
        RegCloseKey(k);
        return rc == ERROR_SUCCESS ? buf : "<none>";
    }
    void Write(const std::string& section, const std::string& ident, const std::string& value) const {
        std::string sub = path_ + "\\" + section;
        HKEY k;
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, sub.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &k, nullptr),
                  ERROR_SUCCESS);
        RegSetValueExA(k, ident.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>(value.size() + 1));
        RegCloseKey(k);
    }
    int SubKeys() const {
        HKEY k;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, path_.c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS) return 0;
        DWORD n = 0;
        RegQueryInfoKeyA(k, nullptr, nullptr, nullptr, &n, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
        RegCloseKey(k);
        return static_cast<int>(n);
    }

private:
    static void DeleteTree(HKEY parent, const std::string& path) {
        HKEY k;
        if (RegOpenKeyExA(parent, path.c_str(), 0, KEY_READ | KEY_WRITE, &k) != ERROR_SUCCESS) return;
        char name[256];
        DWORD n = sizeof name;
        while (RegEnumKeyExA(k, 0, name, &n, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS) {
            DeleteTree(k, name);
            n = sizeof name;
        }
        RegCloseKey(k);
        RegDeleteKeyA(parent, path.c_str());
    }
    std::string path_;
};

struct LayoutForm {
    LayoutForm() {
        form.SetBounds(0, 0, 600, 400);
        form.Handle();
        top = new TDock97(&form, dpTop);
        top->SetName("TopDock");
        bottom = new TDock97(&form, dpBottom);
        bottom->SetName("BottomDock");
        a = new TTestToolWindow(&form, "tbA", 100);
        b = new TTestToolWindow(&form, "tbB", 80);
        a->SetDockedTo(top);
        b->DockRow = 1;
        b->SetDockedTo(top);
        form.Show();
    }
    TFixedActivation active;  // floating windows show whatever the desktop's activation
    TForm form;
    TDock97 *top, *bottom;
    TTestToolWindow *a, *b;
};

}  // namespace

TEST(LayoutStore, RoundTripThroughTheRegistry) {
    LayoutKey key("RoundTrip");
    {
        LayoutForm f;
        f.a->DockRow = 0;
        f.a->SetDockPos(30);
        f.b->PlaceFloating(150, 160);
        f.b->SetVisible(false);
        SaveToolbarLayout(f.form, key.Path());
    }
    EXPECT_EQ(key.Read("tbA", "Rev"), "2");
    EXPECT_EQ(key.Read("tbA", "DockedTo"), "TopDock");
    EXPECT_EQ(key.Read("tbA", "DockPos"), "30");
    EXPECT_EQ(key.Read("tbB", "DockedTo"), "+");
    EXPECT_EQ(key.Read("tbB", "Visible"), "0");
    EXPECT_EQ(key.Read("tbB", "FloatLeft"), "150");
    EXPECT_EQ(key.Read("tbB", "FloatTop"), "160");

    LayoutForm g;  // as designed: both in the top dock
    key.Write("tbA", "DockedTo", "BottomDock");  // moved since
    LoadToolbarLayout(g.form, key.Path());
    EXPECT_EQ(g.a->DockedTo(), g.bottom);
    EXPECT_EQ(GetParent(g.a->Handle()), g.bottom->Handle());
    EXPECT_EQ(g.a->DockPos, 30);
    EXPECT_FALSE(g.b->Docked());
    EXPECT_FALSE(g.b->Visible());
    RECT r;
    GetWindowRect(g.b->Handle(), &r);
    EXPECT_EQ(r.left, 150);
    EXPECT_EQ(r.top, 160);
    EXPECT_EQ(g.top->ToolWindowCount(), 0);
    EXPECT_EQ(g.top->Height(), 0) << "the emptied dock shrank once the load ended";
}

TEST(LayoutStore, RevisionOneIsSkippedAndAnUnknownDockKeepsThePlace) {
    LayoutKey key("Skips");
    key.Write("tbA", "Rev", "1");
    key.Write("tbA", "DockedTo", "+");
    key.Write("tbA", "Visible", "0");
    key.Write("tbB", "Rev", "2");
    key.Write("tbB", "Visible", "0");
    key.Write("tbB", "DockedTo", "NoSuchDock");
    key.Write("tbB", "DockRow", "0");
    LayoutForm f;
    LoadToolbarLayout(f.form, key.Path());
    EXPECT_TRUE(f.a->Docked()) << "Rev 1: the designed place stays";
    EXPECT_TRUE(f.a->Visible());
    EXPECT_EQ(f.b->DockedTo(), f.top) << "an unknown dock: the place stays";
    EXPECT_EQ(f.b->DockRow, 1);
    EXPECT_FALSE(f.b->Visible()) << "but the visibility is restored";
}

TEST(LayoutStore, AnOffScreenFloatIsPulledBack) {
    LayoutKey key("OffScreen");
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    key.Write("tbA", "Rev", "2");
    key.Write("tbA", "Visible", "1");
    key.Write("tbA", "DockedTo", "+");
    key.Write("tbA", "FloatLeft", std::to_string(screenWidth + 500));
    key.Write("tbA", "FloatTop", "0x40");
    LayoutForm f;
    LoadToolbarLayout(f.form, key.Path());
    ASSERT_FALSE(f.a->Docked());
    RECT r, work;
    GetWindowRect(f.a->Handle(), &r);
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_EQ(r.right, work.right) << "moved left by its overhang";
    EXPECT_EQ(r.top, 64) << "hexadecimal text reads too";
    EXPECT_EQ(f.a->FloatLeft, r.left);
}

TEST(LayoutStore, AFormWithoutToolWindowsWritesNothing) {
    LayoutKey key("Empty");
    TForm form;
    new TDock97(&form, dpTop);
    SaveToolbarLayout(form, key.Path());
    LoadToolbarLayout(form, key.Path());
    EXPECT_EQ(key.SubKeys(), 0);
}

TEST(LayoutStore, ANamelessToolWindowIsRefused) {
    LayoutKey key("Nameless");
    LayoutForm f;
    f.b->SetName("");
    try {
        SaveToolbarLayout(f.form, key.Path());
        FAIL() << "no exception";
    } catch (const Exception& e) {
        EXPECT_STREQ(e.what(), "Cannot save tool window's position because Name property is not set");
    }
    EXPECT_EQ(key.Read("tbA", "Rev"), "2") << "values written before stay written";
}
