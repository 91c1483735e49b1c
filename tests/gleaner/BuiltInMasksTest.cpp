// The ten built-in masks the search window hands to the engine, run by a
// channel's mask processor over pages a hostile site serves.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "FakeSession.h"
#include "InfoDownloader.h"
#include "InfoMetaprocessor.h"
#include "MaskProcessor.h"
#include "ProtocolList.h"
#include "masks/core/DefaultMasks.h"
#include "masks/core/InfoSearchCalls.h"
#include "masks/core/MaskCollection.h"

namespace {

// The window's mask hand-over, received as the channel receives it.
class ToProcessor : public InfoSearchCalls {
public:
    explicit ToProcessor(MaskProcessor& p) : p_(p) {}
    int32_t Status() override { return 0; }
    void EmptyMasks() override { p_.EmptyMasks(); }
    void AddMask(const std::string& MaskName, const std::string& MaskValue, const std::string& DependOn,
                 int32_t MaskType, int32_t DependType, int32_t Priority, int32_t MaxFoundCount, int32_t CanCompile,
                 int32_t Hidden) override {
        p_.AddMask(MaskName, MaskValue, DependOn, MaskType, DependType, Priority, MaxFoundCount, CanCompile, Hidden);
    }

private:
    MaskProcessor& p_;
};

struct BuiltInFound {
    std::string name, value;
    long dependId;
    bool operator==(const BuiltInFound& o) const { return name == o.name && value == o.value && dependId == o.dependId; }
};

std::ostream& operator<<(std::ostream& os, const BuiltInFound& f) {
    return os << "{" << f.name << ", \"" << f.value << "\", " << f.dependId << "}";
}

const char kPage[] = "http://h/dir/page.htm";

// Links that are never closed: count "<a href>" tags and one "</a>" at the end.
std::string UnclosedLinks(int count) {
    std::string page = "<html><head><title>Unclosed</title></head><body>\n";
    for (int i = 0; i < count; ++i) {
        const std::string n = std::to_string(i);
        page += "<a href=\"page" + n + ".htm\">Page " + n + " of many\n";
    }
    return page + "</a></body></html>\n";
}

class BuiltInMasks : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* p : {"", "file://", "http://", "ftp://", "gopher://", "mailto:"}) protocols.AddProtocol(p);
        std::ifstream table("Resource/HTML.ftbl", std::ios::binary);
        std::stringstream text;
        text << table.rdbuf();
        ASSERT_EQ(meta.ParseTableText(text.str()), 1);
        meta.SetDefaultFormatName("HTML");
        meta.SetDefaultEncodingName("default");
        proc.Protocols = &protocols;
        proc.Metaprocessor = &meta;
        proc.OnResult = [this](const InfoResult& r) { found.push_back(BuiltInFound{r.PropertyName, r.Value, r.DependID}); };
        ToProcessor engine(proc);
        AddDefaultMasks(masks, engine);
        ASSERT_EQ(proc.MaskCount(), 10u);
    }

    // Runs the masks over the whole text; the steps the document spent.
    uint64_t RunWhole(const std::string& text) {
        InfoDocument doc;
        doc.Begin(InfoAddress(kPage, protocols.Entries()));
        doc.SetText(text);
        found.clear();
        proc.ResetMasks();
        proc.ProcessMasks(doc);
        lastError = doc.LastError();
        return doc.StepsSpent();
    }

    // As a channel reads it: portions of portion bytes, 512 bytes kept ahead,
    // one more run once the text is complete.
    uint64_t RunInPortions(const std::string& text, long portion) {
        auto s = std::make_shared<FakeSession::Shared>();
        s->docs[kPage] = text;
        s->piece = portion;
        InfoDownloader d(FakeSession::Factory(s));
        d.Create(&protocols);
        d.PortionSize = portion;
        InfoDocument doc;
        doc.Begin(InfoAddress(kPage, protocols.Entries()));
        EXPECT_EQ(doc.Open(d), 1);
        found.clear();
        proc.ResetMasks();
        proc.PreloadSize = 512;
        while (doc.Read() > 0) proc.ProcessMasks(doc);
        proc.ProcessMasks(doc);
        doc.Close();
        lastError = doc.LastError();
        return doc.StepsSpent();
    }

    std::vector<BuiltInFound> Named(std::initializer_list<const char*> names) const {
        std::vector<BuiltInFound> out;
        for (const BuiltInFound& f : found)
            for (const char* n : names)
                if (f.name == n) out.push_back(f);
        return out;
    }

    ProtocolList protocols;
    InfoMetaprocessor meta;
    MaskProcessor proc;
    MaskCollection masks;
    std::vector<BuiltInFound> found;
    std::string lastError;
};

}  // namespace

// 3,000 links, one "</a>" at the end: every link is found, each "Link Text"
// reads only up to the next link (so only the last one has a text), and the
// work grows with the page, not with its square.
TEST_F(BuiltInMasks, UnclosedLinksAreAllFound) {
    const std::string page = UnclosedLinks(3000);
    struct Row {
        const char* how;
        long portion;  // 0: the whole text at once
    };
    for (const Row& row : {Row{"whole text", 0}, Row{"512-byte portions", 512}}) {
        SCOPED_TRACE(row.how);
        const uint64_t steps = row.portion ? RunInPortions(page, row.portion) : RunWhole(page);
        EXPECT_EQ(lastError, "");
        std::vector<BuiltInFound> links = Named({"Link"});
        ASSERT_EQ(links.size(), 3000u);
        for (long i = 0; i < 3000; ++i) {
            const BuiltInFound want{"Link", "http://h/dir/page" + std::to_string(i) + ".htm", -1};
            if (!(links[static_cast<size_t>(i)] == want)) {
                EXPECT_EQ(links[static_cast<size_t>(i)], want) << "link " << i;
                break;
            }
        }
        EXPECT_EQ(Named({"Link Text", "Link Image"}), (std::vector<BuiltInFound>{{"Link Text", "Page 2999 of many\n", 2999}}));
        EXPECT_EQ(Named({"Page title"}), (std::vector<BuiltInFound>{{"Page title", "Unclosed", -1}}));
        // Twice the links, about twice the work.
        const std::string twice = UnclosedLinks(6000);
        const uint64_t more = row.portion ? RunInPortions(twice, row.portion) : RunWhole(twice);
        EXPECT_EQ(Named({"Link"}).size(), 6000u);
        EXPECT_LT(static_cast<double>(more), 2.3 * static_cast<double>(steps)) << steps << " then " << more;
    }
}

// A link's text and picture are looked for between its tag and the next
// link; the last link's reach to the end of the page.
TEST_F(BuiltInMasks, LinkTextAndImageStayWithTheirLink) {
    RunWhole("<a href=\"a.htm\">Alpha</a> <img src=\"between.gif\"> "
             "<a href=\"b.htm\"><img src=\"b.gif\">Beta</a> "
             "<a href=\"c.htm\">Gamma "
             "<a href=\"d.htm\">Delta</a> <img src=\"late.gif\">");
    EXPECT_EQ(Named({"Link", "Link Text", "Link Image"}), (std::vector<BuiltInFound>{
                                                              {"Link", "http://h/dir/a.htm", -1},
                                                              {"Link Text", "Alpha", 0},
                                                              {"Link Image", "http://h/dir/between.gif", 0},
                                                              {"Link", "http://h/dir/b.htm", -1},
                                                              {"Link Text", "Beta", 1},
                                                              {"Link Image", "http://h/dir/b.gif", 1},
                                                              {"Link", "http://h/dir/c.htm", -1},
                                                              {"Link", "http://h/dir/d.htm", -1},
                                                              {"Link Text", "Delta", 3},
                                                              {"Link Image", "http://h/dir/late.gif", 3},
                                                          }));
}

// Links longer than a portion (over 10,000 characters of path or query, and
// one of 300,000) arrive in 512-byte portions, 512 bytes kept ahead: each is
// found whole once its end has come, and the links after them too. A link
// that waits for its end is not searched again for every portion.
TEST_F(BuiltInMasks, LinksLongerThanAPortion) {
    const std::string pad(10250, 'p'), huge(300000, 'x');
    const std::string page = "<html><body><a href=\"/echo/" + pad + "\">long path</a>\n<a href=\"next.htm\">next</a>\n"
                             "<a href=\"q.htm?k=" + pad + "\">long query</a>\n<a href=\"" + huge +
                             ".htm\">huge</a> <a href=\"last.htm\">last</a></body></html>\n";
    const uint64_t steps = RunInPortions(page, 512);
    EXPECT_EQ(lastError, "");
    const std::vector<BuiltInFound> want = {
        {"Link", "http://h/echo/" + pad, -1},       {"Link Text", "long path", 0},
        {"Link", "http://h/dir/next.htm", -1},      {"Link Text", "next", 1},
        {"Link", "http://h/dir/q.htm?k=" + pad, -1}, {"Link Text", "long query", 2},
        {"Link", "http://h/dir/" + huge + ".htm", -1}, {"Link Text", "huge", 3},
        {"Link", "http://h/dir/last.htm", -1},      {"Link Text", "last", 4},
    };
    const std::vector<BuiltInFound> got = Named({"Link", "Link Text"});
    ASSERT_EQ(got.size(), want.size());
    for (size_t i = 0; i < want.size(); ++i)
        EXPECT_TRUE(got[i] == want[i]) << "finding " << i << ": " << got[i].name << " of " << got[i].value.size()
                                       << " characters, dependent on " << got[i].dependId;
    EXPECT_LT(steps, 40 * page.size());
}
