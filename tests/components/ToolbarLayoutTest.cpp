// What the toolbar layout store writes and what a load applies, with an
// in-memory store of string values like the registry-backed one.
#include <gtest/gtest.h>

#include <map>
#include <memory>

#include "components/core/ToolbarLayout.h"
#include "runtime/core/SysUtils.h"

namespace {

// Values as text per section, and a log of every access in order.
struct MemoryStore {
    std::map<std::string, std::map<std::string, std::string>> Values;
    std::vector<std::string> Log;

    static MemoryStore& Of(void* data) { return *static_cast<MemoryStore*>(data); }
    static int ReadInt(const std::string& s, const std::string& i, int def, void* data) {
        MemoryStore& m = Of(data);
        m.Log.push_back("read " + s + "." + i);
        auto sec = m.Values.find(s);
        if (sec == m.Values.end() || !sec->second.count(i)) return def;
        return ParseLayoutInteger(sec->second[i], def);
    }
    static std::string ReadString(const std::string& s, const std::string& i, const std::string& def, void* data) {
        MemoryStore& m = Of(data);
        m.Log.push_back("read " + s + "." + i);
        auto sec = m.Values.find(s);
        if (sec == m.Values.end() || !sec->second.count(i)) return def;
        return sec->second[i];
    }
    static void WriteInt(const std::string& s, const std::string& i, int v, void* data) {
        WriteString(s, i, std::to_string(v), data);
    }
    static void WriteString(const std::string& s, const std::string& i, const std::string& v, void* data) {
        MemoryStore& m = Of(data);
        m.Log.push_back("write " + s + "." + i + "=" + v);
        m.Values[s][i] = v;
    }
};

class FakeDock : public TLayoutDock {
public:
    FakeDock(std::string name, bool allowDrag) : name_(std::move(name)), allowDrag_(allowDrag) {}
    std::string Name() const override { return name_; }
    bool AllowDrag() const override { return allowDrag_; }
    void BeginUpdate() override { ++Lock; }
    void EndUpdate() override { --Lock; }
    int Lock = 0;

private:
    std::string name_;
    bool allowDrag_;
};

class FakeToolWindow : public TLayoutToolWindow {
public:
    explicit FakeToolWindow(std::string name) : Name_(std::move(name)) {}
    std::string Name() const override { return Name_; }
    bool Visible() const override { return Visible_; }
    void SetVisible(bool v) override { Visible_ = v; }
    TLayoutDock* DockedTo() const override { return Dock; }
    int DockRow() const override { return Row; }
    void SetDockRow(int v) override { Row = v; }
    int DockPos() const override { return Pos; }
    void SetDockPos(int v) override { Pos = v; }
    int FloatLeft() const override { return Left; }
    int FloatTop() const override { return Top; }
    void PlaceLayout(TLayoutDock* dock, int left, int top) override {
        ++Placed;
        Dock = dock;
        if (!dock) {
            Left = left;
            Top = top;
        }
    }
    TBarBounds ScreenBounds() const override { return {Left, Top, 100, 50}; }
    TBarBounds WorkArea() const override { return {0, 0, 1024, 768}; }
    void MoveTo(int left, int top) override {
        Left = left;
        Top = top;
    }

    std::string Name_;
    bool Visible_ = true;
    TLayoutDock* Dock = nullptr;
    int Row = 0, Pos = 0, Left = 0, Top = 0;
    int Placed = 0;
};

struct Scene {
    FakeDock Top{"TopDock", true};
    FakeDock Fixed{"FixedDock", false};
    FakeToolWindow Tools{"Tools"};
    TLayoutForm Form{{&Top, &Fixed}, {&Tools}};
};

}  // namespace

TEST(ToolbarLayout, LoadRules) {
    struct Case {
        const char* Name;
        std::map<std::string, std::string> Stored;
        bool Visible;
        const char* Dock;  // "" floating, "-" left where it was (TopDock in the scene)
        int Row, Pos, Left, Top;
    };
    const Case cases[] = {
        {"a dock that allows dragging takes it", {{"Rev", "2"}, {"Visible", "0"}, {"DockedTo", "TopDock"},
                                                  {"DockRow", "3"}, {"DockPos", "0x20"}}, false, "TopDock", 3, 32, 0, 0},
        {"Rev 1 is skipped: the designed place stays", {{"Rev", "1"}, {"Visible", "0"}, {"DockedTo", "+"},
                                                         {"DockRow", "3"}}, true, "-", 1, 5, 0, 0},
        {"no Rev is skipped too", {{"Visible", "0"}, {"DockedTo", "+"}}, true, "-", 1, 5, 0, 0},
        {"an unknown dock keeps the place but the visibility is restored",
         {{"Rev", "2"}, {"Visible", "0"}, {"DockedTo", "LostDock"}, {"DockRow", "3"}}, false, "-", 1, 5, 0, 0},
        {"a dock without dragging keeps the place", {{"Rev", "2"}, {"DockedTo", "FixedDock"}, {"DockRow", "3"}},
         true, "-", 1, 5, 0, 0},
        {"dock names match case-sensitively", {{"Rev", "2"}, {"DockedTo", "topdock"}}, true, "-", 1, 5, 0, 0},
        {"an empty DockedTo skips the rest", {{"Rev", "2"}, {"Visible", "0"}, {"DockedTo", ""}, {"DockRow", "3"}},
         false, "-", 1, 5, 0, 0},
        {"a float on the screen stays where it was stored",
         {{"Rev", "2"}, {"DockedTo", "+"}, {"FloatLeft", "950"}, {"FloatTop", "-20"}}, true, "", 1, 5, 950, -20},
        {"an off-screen float is pulled back into the work area",
         {{"Rev", "2"}, {"DockedTo", "+"}, {"FloatLeft", "3000"}, {"FloatTop", "2000"}}, true, "", 1, 5, 924, 718},
        {"a float above and left of the screen comes down and right",
         {{"Rev", "2"}, {"DockedTo", "+"}, {"FloatLeft", "-500"}, {"FloatTop", "-60"}}, true, "", 1, 5, 0, 0},
        {"unreadable numbers give the defaults", {{"Rev", "2"}, {"DockedTo", "+"}, {"DockRow", "x1"},
                                                  {"DockPos", "0x"}, {"FloatLeft", "12abc"}}, true, "", 1, 5, 0, 0},
    };
    for (const Case& c : cases) {
        Scene s;
        s.Tools.Dock = &s.Top;
        s.Tools.Row = 1;
        s.Tools.Pos = 5;
        MemoryStore store;
        store.Values["Tools"] = c.Stored;
        LoadLayoutFrom(s.Form, MemoryStore::ReadInt, MemoryStore::ReadString, &store);
        EXPECT_EQ(s.Tools.Visible_, c.Visible) << c.Name;
        if (std::string(c.Dock) == "-") {
            EXPECT_EQ(s.Tools.Placed, 0) << c.Name;
            EXPECT_EQ(s.Tools.Dock, &s.Top) << c.Name;
        } else {
            EXPECT_EQ(s.Tools.Placed, 1) << c.Name;
            EXPECT_EQ(s.Tools.Dock ? s.Tools.Dock->Name() : "", c.Dock) << c.Name;
        }
        EXPECT_EQ(s.Tools.Row, c.Row) << c.Name;
        EXPECT_EQ(s.Tools.Pos, c.Pos) << c.Name;
        EXPECT_EQ(s.Tools.Left, c.Left) << c.Name;
        EXPECT_EQ(s.Tools.Top, c.Top) << c.Name;
        EXPECT_EQ(s.Top.Lock, 0) << c.Name << ": docks resumed";
    }
}

TEST(ToolbarLayout, SaveWritesTheValuesInOrder) {
    Scene s;
    s.Tools.Dock = &s.Top;
    s.Tools.Row = 2;
    s.Tools.Pos = 40;
    s.Tools.Left = 7;
    s.Tools.Top = 9;
    s.Tools.Visible_ = false;
    MemoryStore store;
    SaveLayoutTo(s.Form, MemoryStore::WriteInt, MemoryStore::WriteString, &store);
    const std::vector<std::string> expected = {
        "write Tools.Rev=2",     "write Tools.Visible=0", "write Tools.DockedTo=TopDock", "write Tools.DockRow=2",
        "write Tools.DockPos=40", "write Tools.FloatLeft=7", "write Tools.FloatTop=9",
    };
    EXPECT_EQ(store.Log, expected);

    struct Case { const char* Name; TLayoutDock* Dock; const char* DockedTo; };
    const Case cases[] = {{"floating", nullptr, "+"}, {"a dock without dragging", &s.Fixed, ""}};
    for (const Case& c : cases) {
        s.Tools.Dock = c.Dock;
        MemoryStore m;
        SaveLayoutTo(s.Form, MemoryStore::WriteInt, MemoryStore::WriteString, &m);
        EXPECT_EQ(m.Values["Tools"]["DockedTo"], c.DockedTo) << c.Name;
    }
}

TEST(ToolbarLayout, RoundTrip) {
    Scene saved;
    saved.Tools.Dock = &saved.Top;
    saved.Tools.Row = 4;
    saved.Tools.Pos = 120;
    saved.Tools.Left = 300;
    saved.Tools.Top = 200;
    FakeToolWindow floater("Floater");
    floater.Left = 640;
    floater.Top = 480;
    floater.Visible_ = false;
    saved.Form.ToolWindows.push_back(&floater);
    MemoryStore store;
    SaveLayoutTo(saved.Form, MemoryStore::WriteInt, MemoryStore::WriteString, &store);

    Scene loaded;
    FakeToolWindow floater2("Floater");
    floater2.Dock = &loaded.Top;
    loaded.Form.ToolWindows.push_back(&floater2);
    LoadLayoutFrom(loaded.Form, MemoryStore::ReadInt, MemoryStore::ReadString, &store);
    EXPECT_EQ(loaded.Tools.Dock, &loaded.Top);
    EXPECT_EQ(loaded.Tools.Row, 4);
    EXPECT_EQ(loaded.Tools.Pos, 120);
    EXPECT_EQ(floater2.Dock, nullptr);
    EXPECT_EQ(floater2.Left, 640);
    EXPECT_EQ(floater2.Top, 480);
    EXPECT_FALSE(floater2.Visible_);
}

TEST(ToolbarLayout, AFormWithoutToolWindowsReadsAndWritesNothing) {
    FakeDock dock("TopDock", true);
    TLayoutForm form{{&dock}, {}};
    MemoryStore store;
    LoadLayoutFrom(form, MemoryStore::ReadInt, MemoryStore::ReadString, &store);
    SaveLayoutTo(form, MemoryStore::WriteInt, MemoryStore::WriteString, &store);
    EXPECT_TRUE(store.Log.empty());
    EXPECT_EQ(dock.Lock, 0);
}

TEST(ToolbarLayout, NamesMustBeSet) {
    struct Case { const char* Name; const char* Window; const char* Dock; bool Load; const char* Message; };
    const Case cases[] = {
        {"load, nameless window", "", "TopDock", true,
         "Cannot save tool window's position because Name property is not set"},
        {"save, nameless window", "", "TopDock", false,
         "Cannot save tool window's position because Name property is not set"},
        {"save, nameless dock", "Tools", "", false,
         "Cannot save tool window's position because DockedTo's Name property not set"},
    };
    for (const Case& c : cases) {
        FakeDock dock(c.Dock, true);
        FakeToolWindow first("First"), w(c.Window);
        w.Dock = &dock;
        TLayoutForm form{{&dock}, {&first, &w}};
        MemoryStore store;
        store.Values["First"] = {{"Rev", "2"}, {"Visible", "0"}};
        try {
            if (c.Load)
                LoadLayoutFrom(form, MemoryStore::ReadInt, MemoryStore::ReadString, &store);
            else
                SaveLayoutTo(form, MemoryStore::WriteInt, MemoryStore::WriteString, &store);
            ADD_FAILURE() << c.Name << ": no exception";
        } catch (const Exception& e) {
            EXPECT_EQ(e.Message(), c.Message) << c.Name;
        }
        EXPECT_EQ(dock.Lock, 0) << c.Name << ": docks resumed";
        // What came before the failing window stays done.
        if (c.Load) {
            EXPECT_FALSE(first.Visible_) << c.Name;
        } else {
            EXPECT_EQ(store.Values["First"]["Rev"], "2") << c.Name;
        }
    }
}

TEST(ToolbarLayout, StoredIntegers) {
    struct Case { const char* Text; int Value; };
    const Case cases[] = {
        {"12", 12}, {"-7", -7}, {" 3 ", 3}, {"0x1F", 31}, {"0XfF", 255}, {"0xFFFFFFFF", -1},
        {"", 99}, {"abc", 99}, {"0x", 99}, {"0xg", 99}, {"1.5", 99}, {"99999999999", 99}, {"0x100000000", 99},
    };
    for (const Case& c : cases) EXPECT_EQ(ParseLayoutInteger(c.Text, 99), c.Value) << "\"" << c.Text << "\"";
}

TEST(ToolbarLayout, MoveOnScreen) {
    struct Case { const char* Name; TBarBounds In, Out; };
    const TBarBounds work{0, 30, 800, 570};  // a task bar above
    const Case cases[] = {
        {"inside", {10, 40, 100, 50}, {10, 40, 100, 50}},
        {"one pixel in at the right", {799, 40, 100, 50}, {799, 40, 100, 50}},
        {"beyond the right", {800, 40, 100, 50}, {700, 40, 100, 50}},
        {"beyond the bottom", {10, 600, 100, 50}, {10, 550, 100, 50}},
        {"above, behind the task bar", {10, -50, 100, 50}, {10, 30, 100, 50}},
        {"left and below", {-300, 900, 100, 50}, {0, 550, 100, 50}},
        {"wider than the area", {900, 40, 1000, 50}, {0, 40, 1000, 50}},
    };
    for (const Case& c : cases) {
        TBarBounds r = MoveOnScreen(c.In, work);
        EXPECT_TRUE(r == c.Out) << c.Name << ": " << r.Left << "," << r.Top;
    }
}
