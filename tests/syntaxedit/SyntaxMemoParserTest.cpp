#include "SyntaxMemoParser.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "ModalAnswer.h"
#include "ScriptedPrompter.h"
#include "SchemeTestUtil.h"
#include "syntaxedit/SyntaxMemo.h"
#include "syntaxedit/core/SyntaxMemoErrors.h"

namespace {

std::string ErrorOf(const std::function<void()>& f) {
    try {
        f();
        return "";
    } catch (const std::exception& e) {
        return e.what();
    }
}

TEST(SyntaxMemoParser, Version48StreamIsReportedThroughThePrompter) {
    TSyntaxMemoParser p;
    p.Highlighter().CompileScript(ReadFixture("clike.sch"));
    TMemoryStream s;
    uint16_t version = 48;
    s.Write(&version, 2);
    s.SetPosition(0);
    TScriptedPrompter prompter;
    prompter.AnswerMessage(IDOK);
    EXPECT_FALSE(p.ReadParser(s));
    ASSERT_EQ(1u, prompter.Log().size());
    EXPECT_EQ("SyntaxMemoParser1: DFM file saved by different version of TSyntaxMemoParser.\n\r"
              "Recompile script to update DFM file.\n\r"
              "Expected version was 49 read version was 48",
              prompter.Log()[0].Text);
    EXPECT_EQ(static_cast<unsigned>(MB_OK | MB_ICONINFORMATION), prompter.Log()[0].Flags);
    // Empty tables: everything scans as token 0.
    EXPECT_EQ("0:1 0:1 0:1", ScanText(p.Highlighter(), "int"));
}

TEST(SyntaxMemoParser, AssignCopiesThroughTheParserStream) {
    TSyntaxMemoParser a, b;
    a.Highlighter().CompileScript(ReadFixture("clike.sch"));
    b.Assign(&a);
    EXPECT_EQ(a.Highlighter().StyleString(), b.Highlighter().StyleString());
    const char* text = "int x = 1; /* c */ // d\nwhile (NULL) { break; }";
    EXPECT_EQ(ScanText(a.Highlighter(), text), ScanText(b.Highlighter(), text));
    // Anything else is refused with its own class named.
    TSyntaxMemo memo(nullptr);
    TSM_Settings settings;
    struct Row {
        const char* name;
        TObject* source;
        const char* message;
    } rows[] = {
        {"an editor", &memo, "Cannot assign a TSyntaxMemo to TSyntaxMemoParser"},
        {"settings", &settings, "Cannot assign a TSM_Settings to TSyntaxMemoParser"},
    };
    for (const Row& r : rows) EXPECT_EQ(r.message, ErrorOf([&] { b.Assign(r.source); })) << "row: " << r.name;
}

TEST(SyntaxMemoParser, OnCustomParseIsTheComponentsEventAndRestsWhileDesigning) {
    TSyntaxMemoParser p;
    p.Highlighter().CompileScript("%%tokens 1 '#' match(7)");
    TObject* sender = nullptr;
    int32_t parseId = -1;
    p.OnCustomParse = [&](TObject* Sender, int32_t ParseID, TEdStream& IStream, int32_t& kLength, int32_t& kValue) {
        sender = Sender;
        parseId = ParseID;
        while (!IStream.AtEnd() && IStream.CurChar() >= '0' && IStream.CurChar() <= '9') {
            IStream.Next();
            kLength++;
        }
        kValue = 9;
        return true;
    };
    EXPECT_EQ("9:3 0:1", ScanText(p.Highlighter(), "#12 "));
    EXPECT_EQ(sender, &p);
    EXPECT_EQ(parseId, 7);
    sender = nullptr;
    p.Designing = true;
    EXPECT_EQ("0:1 0:1 0:1 0:1", ScanText(p.Highlighter(), "#12 "));
    EXPECT_EQ(sender, nullptr);
}

std::string ReadValue(const char* key, const std::string& name, DWORD& type) {
    HKEY k;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, key, 0, KEY_READ, &k) != ERROR_SUCCESS) return "<no key>";
    char buf[4096];
    DWORD size = sizeof buf;
    LONG rc = RegQueryValueExA(k, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buf), &size);
    RegCloseKey(k);
    return rc == ERROR_SUCCESS ? std::string(buf, size) : "<no value>";
}

TEST(SyntaxMemoParser, SaveToRegistryWritesBothValues) {
    const char* key = "Software\\QuillonTests\\Highlighter";
    RegDeleteKeyA(HKEY_CURRENT_USER, key);
    TSyntaxMemoParser p;
    p.Highlighter().CompileScript(ReadFixture("clike.sch"));
    EXPECT_EQ("Registry interface disabled in: SyntaxMemoParser1", ErrorOf([&] { p.SaveToRegistry(); }));
    p.UseRegistry = true;
    EXPECT_EQ("Registry interface disabled in: SyntaxMemoParser1", ErrorOf([&] { p.SaveToRegistry(); }));
    p.RegistryKey = key;
    ASSERT_EQ("", ErrorOf([&] { p.SaveToRegistry(); }));

    DWORD type = 0;
    std::string style = ReadValue(key, "Highlighting - CLike", type);
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), type);
    EXPECT_EQ(std::string("Morvex6:OPT#8#67099632GWD#2#34GCL#11#-2147483633WRC#1#0IDS#1#1WRO#3#>|:"
                          "FON#11#Courier NewFOS#2#10STC#11#-2147483634STB#11#-2147483635TBC#3#5 9TBD#1#4"
                          "EFF#136#7,0,0,16777215,;2,8388608,16777215,B;3,8421376,16777215,X;4,128,16777215,;"
                          "5,32768,16777215,YI;6,32768,16777215,I;11,8388736,16777215,BU;#END#") +
                  '\0',
              style);
    std::string keys = ReadValue(key, "Key Assignments - CLike", type);
    EXPECT_EQ(static_cast<DWORD>(REG_BINARY), type);
    EXPECT_EQ(std::string("\x08Morvex6:"), keys.substr(0, 9));
    EXPECT_EQ(p.Highlighter().KeyAssignmentsData(), keys);
    RegDeleteKeyA(HKEY_CURRENT_USER, key);
}

struct FakeEditor : ISyntaxMemoClient {
    explicit FakeEditor(bool fail = false) : fail(fail) {}
    TComponent* ClientComponent() override { return component; }
    void ParserChanged(TSyntaxMemoParser&) override {
        changed++;
        if (fail) throw Exception("no");
    }
    void ParserDetached(TSyntaxMemoParser&) override { detached++; }
    TComponent* component = nullptr;
    bool fail;
    int changed = 0, detached = 0;
};

TEST(SyntaxMemoParser, EditorsAreListedOnceAndRefreshedPastAFailure) {
    FakeEditor a, bad(true), c;
    auto* p = new TSyntaxMemoParser;
    p->AttachEditor(&a);
    p->AttachEditor(&a);
    p->AttachEditor(&bad);
    p->AttachEditor(&c);
    EXPECT_EQ(3u, p->Editors().size());
    p->RefreshEditors();
    EXPECT_EQ(0, p->AllEditorsUpdated);
    EXPECT_EQ(1, a.changed);
    EXPECT_EQ(1, c.changed);
    p->DetachEditor(&bad);
    EXPECT_EQ(1, bad.detached);
    p->RefreshEditors();
    EXPECT_EQ(1, p->AllEditorsUpdated);
    delete p;
    EXPECT_EQ(1, a.detached);
    EXPECT_EQ(1, c.detached);
}

TEST(SyntaxMemoParser, AnEditorThatGoesAwayLeavesTheList) {
    TSyntaxMemoParser p;
    FakeEditor e;
    e.component = new TComponent;
    p.AttachEditor(&e);
    delete e.component;
    EXPECT_TRUE(p.Editors().empty());
    EXPECT_EQ(1, e.detached);
}

TEST(SyntaxMemoParser, LoadingWaitsForLoaded) {
    TSyntaxMemoParser p;
    FakeEditor e;
    p.AttachEditor(&e);
    p.Loading = true;
    p.RefreshEditors();
    EXPECT_EQ(0, e.changed);
    p.Script = std::string(SCHEME_FIXTURES) + "/clike.sch";
    p.AutoScriptUpdate = true;
    p.Loaded();
    EXPECT_EQ(1, e.changed);
    EXPECT_EQ("CLike", p.LanguageSettings().LanguageName);
}

TEST(SyntaxMemoParser, ScriptSetAtDesignTimeIsCompiledAndTheEditorsTakeIt) {
    const std::string clike = std::string(SCHEME_FIXTURES) + "/clike.sch";
    struct Row {
        const char* name;
        bool designing, loading;
        std::string script;
        int refreshed;
        const char* language;
    } rows[] = {
        {"at run time: stored only", false, false, clike, 0, "<Custom language>"},
        {"at design time: compiled, editors refreshed", true, false, clike, 1, "CLike"},
        {"while the form loads: left for Loaded", true, true, clike, 0, "<Custom language>"},
        {"a missing file: nothing", true, false, clike + ".none", 0, "<Custom language>"},
    };
    for (const Row& r : rows) {
        TSyntaxMemoParser p;
        FakeEditor e;
        p.AttachEditor(&e);
        p.Designing = r.designing;
        p.Loading = r.loading;
        p.SetScript(r.script);
        EXPECT_EQ(r.script, p.Script) << r.name;
        EXPECT_EQ(r.refreshed, e.changed) << r.name;
        EXPECT_EQ(r.language, p.LanguageSettings().LanguageName) << r.name;
    }
}

}  // namespace

TEST(SyntaxMemoParser, ShowOptionsRunsTheDialogOrTheApplicationsHandler) {
    struct Case {
        const char* name;
        bool handler;
        int answer;  // 1 OK, 2 Cancel
        bool result;
        int refreshed, shown;
    } cases[] = {
        {"OK refreshes the editors", false, 1, true, 1, 1},
        {"Cancel changes nothing", false, 2, false, 0, 1},
        {"the application's handler instead", true, 1, false, 0, 0},
    };
    for (const Case& c : cases) {
        FakeEditor editor;
        TSyntaxMemoParser p;
        p.AttachEditor(&editor);
        int handled = 0;
        if (c.handler) p.OnModifyProperties = [&](TObject*) { handled++; };
        ModalAnswer answer("OptionsDialog", c.answer);
        EXPECT_EQ(p.ShowOptions(), c.result) << c.name;
        EXPECT_EQ(editor.changed, c.refreshed) << c.name;
        EXPECT_EQ(answer.Shown(), c.shown) << c.name;
        EXPECT_EQ(handled, c.handler ? 1 : 0) << c.name;
        p.DetachEditor(&editor);
    }
}
