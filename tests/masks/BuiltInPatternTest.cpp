// The built-in templates run through the engine's own matcher, as the window
// hands them over with Apply. The engine is linked here for the test only.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "InfoDocument.h"
#include "InfoMetaprocessor.h"
#include "MaskProcessor.h"
#include "ProtocolList.h"
#include "masks/core/DefaultMasks.h"
#include "masks/core/InfoSearchCalls.h"
#include "masks/core/MaskCollection.h"

namespace {
std::string ReadFile(const char* path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// Apply's calls land in the engine's mask list.
class EngineMasks : public InfoSearchCalls {
public:
    explicit EngineMasks(MaskProcessor& p) : proc_(p) {}
    int32_t Status() override { return 0; }
    void EmptyMasks() override { proc_.EmptyMasks(); }
    void AddMask(const std::string& MaskName, const std::string& MaskValue, const std::string& DependOn,
                 int32_t MaskType, int32_t DependType, int32_t Priority, int32_t MaxFoundCount, int32_t CanCompile,
                 int32_t Hidden) override {
        proc_.AddMask(MaskName, MaskValue, DependOn, MaskType, DependType, Priority, MaxFoundCount, CanCompile,
                      Hidden);
    }

private:
    MaskProcessor& proc_;
};

class BuiltInPatternTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* p : {"", "file://", "http://", "ftp://"}) protocols.AddProtocol(p);
        ASSERT_EQ(1, meta.ParseTableText(ReadFile("Resource/HTML.ftbl")));
        proc.Protocols = &protocols;
        proc.Metaprocessor = &meta;
        proc.TaskName = "task";
        proc.OnResult = [this](const InfoResult& r) { found.push_back(r); };
    }

    void RunOver(const std::string& text) {
        InfoDocument doc;
        doc.Begin(InfoAddress("http://h/dir/page.htm", protocols.Entries()));
        doc.SetText(text);
        proc.ResetMasks();
        proc.ProcessMasks(doc);
    }

    std::vector<std::string> Values(const std::string& name) const {
        std::vector<std::string> v;
        for (const InfoResult& r : found)
            if (r.PropertyName == name) v.push_back(r.Value);
        return v;
    }

    // The first capture of a bare pattern over a text.
    static std::string Capture(const std::string& pattern, const std::string& text) {
        InfoDocument doc;
        doc.SetText(text);
        std::string cap;
        return doc.FindNext(pattern, cap) ? cap : "<none>";
    }

    ProtocolList protocols;
    InfoMetaprocessor meta;
    MaskProcessor proc;
    std::vector<InfoResult> found;
};

const char* Pattern(const char* name) {
    for (const DefaultMask& d : kDefaultMasks)
        if (std::string(d.MaskName) == name) return d.Pattern;
    return "";
}
}  // namespace

// The frame pattern as first written had no step over the opening quote, and
// the unquoted link forms ran on to the next blank.
TEST_F(BuiltInPatternTest, MendedFramePatternAndLinkForms) {
    const std::string frameBefore =
        R"(\w-\al>:!\e<\# FRAME\*\al>!SRC\# =\# \s\c":\w+\*\w-"\e\d:\w+\*\w- \e)";
    const std::string linkBefore =
        R"(\w-\al>:!\e<\# A\*\al>!HREF\# =\# \s\c":\~\w+\*\w-"\e\d:\w+\*\w- \e\*>)";
    EXPECT_EQ("", Capture(frameBefore, R"(<FRAME SRC="a.htm">)"));
    EXPECT_EQ("b.htm>B</A>", Capture(linkBefore, "<A HREF=b.htm>B</A> <BR>"));

    struct Case {
        const char* mask;
        const char* text;
        const char* capture;
    } cases[] = {
        {"Frame", R"(<FRAME SRC="a.htm">)", "a.htm"},
        {"Frame", R"(<frame name=x src = "a b.htm" >)", "a b.htm"},
        {"Frame", "<FRAME SRC=a.htm>", "a.htm"},
        {"Frame", "<FRAME SRC=a.htm NAME=x>", "a.htm"},
        {"Frame", "<FRAME NAME=x>", "<none>"},
        {"Link", "<A HREF=b.htm>B</A> <BR>", "b.htm"},
        {"Link", "<A HREF=b.htm>B</A>", "b.htm"},
        {"Link", "<A HREF=b.htm TARGET=t>B</A>", "b.htm"},
        {"Link", R"(<A HREF="b.htm">B</A>)", "b.htm"},
        {"Link", R"(<A HREF="x>y.htm">B</A>)", "x>y.htm"},
        {"Link", "<A NAME=n>B</A>", "<none>"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.capture, Capture(Pattern(c.mask), c.text)) << c.mask << " over " << c.text;
}

TEST_F(BuiltInPatternTest, TenTemplatesOverAFixturePage) {
    MaskCollection masks;
    EngineMasks engine(proc);
    AddDefaultMasks(masks, engine);
    ASSERT_EQ(10u, proc.MaskCount());
    RunOver(ReadFile("fixtures/builtin.htm"));

    EXPECT_EQ((std::vector<std::string>{"HTML"}), Values("Format"));
    EXPECT_EQ((std::vector<std::string>{"windows-1252"}), Values("Encoding"));
    EXPECT_EQ((std::vector<std::string>{"Fixture & page"}), Values("Page title"));
    EXPECT_EQ((std::vector<std::string>{"http://h/dir/quoted.htm", "http://h/dir/bare.htm",
                                        "http://h/dir/spaced.htm"}),
              Values("Frame"));
    EXPECT_EQ((std::vector<std::string>{"http://h/dir/q.htm", "http://h/dir/b.htm", "http://h/dir/c.htm",
                                        "http://h/dir/i.htm"}),
              Values("Link"));
    EXPECT_EQ((std::vector<std::string>{"Quoted", "B", "C", ""}), Values("Link Text"));
    // A link's picture is looked for up to the next link: only the image link has one.
    EXPECT_EQ((std::vector<std::string>{"http://h/dir/i.gif"}), Values("Link Image"));
    EXPECT_TRUE(Values("Address").empty());  // filled by the engine itself, never searched
}
