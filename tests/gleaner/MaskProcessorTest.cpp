#include <gtest/gtest.h>

#include <algorithm>

#include "FakeSession.h"
#include "InfoDownloader.h"
#include "InfoMetaprocessor.h"
#include "MaskProcessor.h"
#include "ProtocolList.h"

namespace {

struct Found {
    std::string name, value, depend;
    long id, dependId;
    bool operator==(const Found& o) const {
        return name == o.name && value == o.value && depend == o.depend && id == o.id && dependId == o.dependId;
    }
};

std::ostream& operator<<(std::ostream& os, const Found& f) {
    return os << "{" << f.name << ", " << f.value << ", " << f.depend << ", " << f.id << ", " << f.dependId << "}";
}

class MaskProcessorTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* p : {"", "file://", "http://", "ftp://"}) protocols.AddProtocol(p);
        proc.Protocols = &protocols;
        proc.Metaprocessor = &meta;
        proc.TaskName = "task";
        proc.OnResult = [this](const InfoResult& r) {
            EXPECT_EQ(r.TaskName, "task");
            found.push_back(Found{r.PropertyName, r.Value, r.DependName, r.ResultID, r.DependID});
        };
    }

    // Runs the masks over a complete text at the given address.
    void RunOver(const std::string& text, const std::string& address = "http://h/dir/page.htm") {
        InfoDocument doc;
        doc.Begin(InfoAddress(address, protocols.Entries()));
        doc.SetText(text);
        proc.ResetMasks();
        proc.ProcessMasks(doc);
    }

    std::vector<std::string> Values(const std::string& name) const {
        std::vector<std::string> v;
        for (const Found& f : found)
            if (f.name == name) v.push_back(f.value);
        return v;
    }

    ProtocolList protocols;
    InfoMetaprocessor meta;
    MaskProcessor proc;
    std::vector<Found> found;
};

const char kLinkMask[] = "\\w-<a href=\"\\w+\\*\\w-\"";

}  // namespace

TEST_F(MaskProcessorTest, RootMasksCountAndLimit) {
    proc.AddMask("Word", "w\\?d", "", -5, 0, -2, 2, 0, 0);
    EXPECT_EQ(proc.Mask(0).Type, 0);
    EXPECT_EQ(proc.Mask(0).Priority, 0);
    proc.AddMask("Never", "\\!", "", 0, 0, 0, -1, 0, 0);
    proc.AddMask("Empty", "", "", 0, 0, 0, -1, 0, 0);
    proc.AddMask("System", "w", "", 3, 0, 0, -1, 0, 0);  // type 3 is never a root
    RunOver("wad wbd wcd");
    EXPECT_EQ(found, (std::vector<Found>{{"Word", "wad", "", 0, -1}, {"Word", "wbd", "", 1, -1}}));
    EXPECT_EQ(proc.Mask(0).FoundCount, 2);
    // A new task counts from 0 again.
    found.clear();
    RunOver("wxd");
    EXPECT_EQ(found, (std::vector<Found>{{"Word", "wxd", "", 0, -1}}));
}

// Priorities run in rising order, over the values in use only (a priority of
// two thousand million is one more level, not that many).
TEST_F(MaskProcessorTest, PrioritiesFormatAndEncoding) {
    meta.ParseTableText("BEGIN FORMAT Html &amp; & END BEGIN FORMAT Shout a A END BEGIN ENCODING e rot bcB END");
    meta.SetDefaultFormatName("Html");
    meta.SelectFormat("");
    proc.AddMask("Text", "[\\*]", "", 0, 0, 2000000000, -1, 1, 0);
    proc.AddMask("Format", "\\w-F=\\w+\\*\\w-;", "", 0, 0, 1, -1, 0, 0);
    proc.AddMask("Encoding", "\\w-E=\\w+\\*\\w-;", "", 0, 0, 0, -1, 0, 0);
    RunOver("[a&amp;b] F=Shout; E=rot;");
    EXPECT_EQ(Values("Encoding"), (std::vector<std::string>{"rot"}));
    EXPECT_EQ(Values("Format"), (std::vector<std::string>{"Shout"}));
    EXPECT_EQ(Values("Text"), (std::vector<std::string>{"[A&Amp;c]"}));
    ASSERT_EQ(found.size(), 3u);
    EXPECT_EQ(found[0].name, "Encoding");
    EXPECT_EQ(found[2].name, "Text");
    // A new task starts on the defaults again.
    EXPECT_EQ(meta.SelectedFormat(), 1);
    proc.ResetMasks();
    EXPECT_EQ(meta.SelectedFormat(), 0);
    EXPECT_EQ(meta.SelectedEncoding(), -1);
}

TEST_F(MaskProcessorTest, DependentMasks) {
    // DependType 1 searches on after the parent's match up to where the
    // parent's next match begins (the last one to the end), DependType 2 only inside it.
    proc.AddMask("Row", "<tr>\\*</tr>", "", 0, 0, 0, -1, 0, 0);
    proc.AddMask("After", "<td>\\?", "Row", 0, 1, 0, 1, 0, 0);
    proc.AddMask("Inside", "<td>\\?", "Row", 0, 2, 0, -1, 0, 0);
    proc.AddMask("Never", "x", "Row", 0, 0, 0, -1, 0, 0);
    RunOver("<tr><td>a<td>b</tr> <tr></tr> <td>c<");
    EXPECT_EQ(found, (std::vector<Found>{
                         {"Row", "<tr><td>a<td>b</tr>", "", 0, -1},
                         {"Inside", "<td>a", "Row", 0, 0},
                         {"Inside", "<td>b", "Row", 1, 0},
                         {"Row", "<tr></tr>", "", 1, -1},
                         {"After", "<td>c", "Row", 0, 1},
                     }));
    // A match may not run into the next parent: "<td>" and the next row's "<" is not a cell.
    found.clear();
    RunOver("<tr>1</tr><td><tr>2</tr>x<td>d");
    EXPECT_EQ(found, (std::vector<Found>{
                         {"Row", "<tr>1</tr>", "", 0, -1},
                         {"Row", "<tr>2</tr>", "", 1, -1},
                         {"After", "<td>d", "Row", 0, 1},
                     }));
}

// Masks that depend on each other would start each other without end.
TEST_F(MaskProcessorTest, DependencyCycleEnds) {
    proc.AddMask("A", "a", "", 0, 0, 0, -1, 0, 0);
    proc.AddMask("B", "b", "A", 0, 1, 0, -1, 0, 0);
    proc.AddMask("A", "x", "B", 0, 1, 0, -1, 0, 0);
    proc.AddMask("C", "\\*", "C", 0, 2, 0, -1, 0, 0);
    std::string text;
    for (int i = 0; i < 200; ++i) text += "abx";
    RunOver(text);
    // Each "a" starts "B", each "B" the second "A", which does not start "B" again.
    std::vector<std::string> a = Values("A");
    EXPECT_EQ(std::count(a.begin(), a.end(), "a"), 200);
    EXPECT_EQ(std::count(a.begin(), a.end(), "x"), 200);
    EXPECT_EQ(Values("B").size(), 200u);
}

TEST_F(MaskProcessorTest, LinkMasksResolveAgainstTheTask) {
    proc.AddMask("Link", kLinkMask, "", 1, 0, 0, -1, 0, 0);
    proc.AddMask("Image", "\\w-<img src=\"\\w+\\*\\w-\"", "", 2, 0, 0, -1, 0, 0);
    RunOver(
        "<a href=\"a.htm\"> <a href=\"/b.htm\"> <a href=\"../c.htm\"> <a href=\"//o.example/d\">"
        " <a href=\"?q=1\"> <a href=\"#f\"> <a href=\"ftp://f.example/x\"> <img src=\"i/p.gif\">"
        " <a href=\"file:///etc/passwd\"> <a href=\"FILE://C:\\boot.ini\"> <a href=\"https://s.example/\">");
    EXPECT_EQ(Values("Link"), (std::vector<std::string>{"http://h/dir/a.htm", "http://h/b.htm", "http://h/c.htm",
                                                        "http://o.example/d", "http://h/dir/page.htm?q=1",
                                                        "http://h/dir/page.htm#f", "ftp://f.example/x",
                                                        "https://s.example/"}));
    EXPECT_EQ(Values("Image"), (std::vector<std::string>{"http://h/dir/i/p.gif"}));
    // Result ids count only the links that were kept.
    EXPECT_EQ(found[found.size() - 2].name, "Link");
    EXPECT_EQ(found[found.size() - 2].id, 7);
}

// A local page may link to local files; a page from the network may not.
TEST_F(MaskProcessorTest, LocalPagesKeepLocalLinks) {
    proc.AddMask("Link", kLinkMask, "", 1, 0, 0, -1, 0, 0);
    RunOver("<a href=\"file:///etc/hosts\"> <a href=\"x.htm\">", "file:///site/page.htm");
    EXPECT_EQ(Values("Link"), (std::vector<std::string>{"file:///etc/hosts", "file:///site/x.htm"}));
}

// A document read portion by portion gives the same results as the whole
// text, also for links cut at a portion boundary.
TEST_F(MaskProcessorTest, LinkSplitAcrossPortions) {
    std::string page = "<html><title>Split</title>";
    for (int i = 0; i < 30; ++i) page += "<p>text <a href=\"page" + std::to_string(i) + ".htm\">x</a></p>";
    proc.AddMask("Link", kLinkMask, "", 1, 0, 0, -1, 0, 0);
    proc.AddMask("Page title", "\\w-<title>\\w+\\*\\w-<", "", 0, 0, 1, -1, 0, 0);
    RunOver(page);
    std::vector<Found> whole = found;
    std::stable_sort(whole.begin(), whole.end(), [](const Found& a, const Found& b) { return a.name < b.name; });
    ASSERT_EQ(whole.size(), 31u);

    for (long portion : {1L, 5L, 16L, 33L}) {
        auto s = std::make_shared<FakeSession::Shared>();
        s->docs["http://h/dir/page.htm"] = page;
        s->piece = 3;
        InfoDownloader d(FakeSession::Factory(s));
        d.Create(&protocols);
        d.PortionSize = portion;
        InfoDocument doc;
        doc.Begin(InfoAddress("http://h/dir/page.htm", protocols.Entries()));
        ASSERT_EQ(doc.Open(d), 1);
        found.clear();
        proc.ResetMasks();
        proc.PreloadSize = 32;
        int portions = 0;
        while (doc.Read() > 0) {
            ++portions;
            proc.ProcessMasks(doc);
        }
        doc.Close();
        EXPECT_GT(portions, 1);
        // Masks of different priorities interleave by portion; each mask's own results match.
        std::stable_sort(found.begin(), found.end(), [](const Found& a, const Found& b) { return a.name < b.name; });
        EXPECT_EQ(found, whole) << "portion size " << portion;
    }
}

// A match that runs into the end of what has arrived waits at its start:
// a shorter match further on, complete already, is not taken before it
// (here "x", then "y" and four more characters or any one other character).
TEST_F(MaskProcessorTest, MatchWaitingForMoreTextKeepsItsPlace) {
    proc.AddMask("Item", "x\\s\\cy:y\\?\\?\\?\\?\\e\\d:\\?\\e", "", 0, 0, 0, -1, 0, 0);
    proc.AddMask("After", "\\?", "Item", 0, 1, 0, 1, 0, 0);
    const std::string page = "xa_xyxb12 xc";
    RunOver(page);
    EXPECT_EQ(Values("Item"), (std::vector<std::string>{"xa", "xyxb12", "xc"}));
    for (long portion : {1L, 3L, 7L}) {
        auto s = std::make_shared<FakeSession::Shared>();
        s->docs["http://h/dir/page.htm"] = page;
        s->piece = portion;
        InfoDownloader d(FakeSession::Factory(s));
        d.Create(&protocols);
        d.PortionSize = portion;
        InfoDocument doc;
        doc.Begin(InfoAddress("http://h/dir/page.htm", protocols.Entries()));
        ASSERT_EQ(doc.Open(d), 1);
        found.clear();
        proc.ResetMasks();
        proc.PreloadSize = 1;
        while (doc.Read() > 0) proc.ProcessMasks(doc);
        proc.ProcessMasks(doc);
        doc.Close();
        EXPECT_EQ(Values("Item"), (std::vector<std::string>{"xa", "xyxb12", "xc"})) << "portion size " << portion;
    }
}

TEST_F(MaskProcessorTest, StopFlagEndsProcessing) {
    proc.AddMask("Any", "\\?", "", 0, 0, 0, -1, 0, 0);
    proc.OnResult = [this](const InfoResult& r) { found.push_back(Found{r.PropertyName, r.Value, "", 0, 0}); };
    InfoDocument doc;
    doc.Begin(InfoAddress("http://h/", protocols.Entries()));
    doc.SetText("abcdef");
    doc.StopFlag = 1;
    proc.ProcessMasks(doc);
    EXPECT_TRUE(found.empty());
}

// A mask with two values arrives as two entries of one name: their findings
// are numbered together, so what depends on each reaches its own parent.
TEST_F(MaskProcessorTest, ValuesOfOneMaskNameShareTheirNumbers) {
    proc.AddMask("Link", "<a href=\"\\*\">\\*</a>", "", 0, 0, 0, -1, 0, 0);
    proc.AddMask("Link", "<area href=\"\\*\">\\*</area>", "", 0, 0, 0, -1, 0, 0);
    proc.AddMask("Text", ">\\*<", "Link", 0, 2, 0, -1, 0, 0);
    proc.AddMask("Other", "<\\?", "", 0, 0, 1, 1, 0, 0);
    RunOver("<a href=\"x\">first</a> <area href=\"y\">second</area> <a href=\"z\">third</a>");
    EXPECT_EQ(found, (std::vector<Found>{
                         {"Link", "<a href=\"x\">first</a>", "", 0, -1},
                         {"Text", ">first<", "Link", 0, 0},
                         {"Link", "<a href=\"z\">third</a>", "", 1, -1},
                         {"Text", ">third<", "Link", 1, 1},
                         {"Link", "<area href=\"y\">second</area>", "", 2, -1},
                         {"Text", ">second<", "Link", 2, 2},
                         {"Other", "<a", "", 0, -1},
                     }));
    // A new task numbers from 0 again.
    found.clear();
    RunOver("<area href=\"y\">again</area>");
    ASSERT_FALSE(found.empty());
    EXPECT_EQ(found[0], (Found{"Link", "<area href=\"y\">again</area>", "", 0, -1}));
}

// A page of 3,000 unclosed links: the dependent masks of each link read
// only up to the next link, so every link is found for a small part of the
// page's budget (each link's text would need its "</a>" before the next link).
TEST_F(MaskProcessorTest, ManyUnclosedLinksCostBoundedWork) {
    proc.AddMask("Link", "\\w-<a href=\"\\w+\\*\\w-\">", "", 0, 0, 0, -1, 0, 0);
    proc.AddMask("Link Text", "\\w-\\*>\\w+\\*\\w-</a>", "Link", 0, 1, 0, -1, 0, 0);
    proc.AddMask("Costly", "\\*\\*</b>", "Link", 0, 1, 0, -1, 0, 0);
    std::string page;
    for (int i = 0; i < 3000; ++i) page += "<a href=\"p" + std::to_string(i) + "\">x ";
    page += "</a>";
    InfoDocument doc;
    doc.Begin(InfoAddress("http://h/p.htm", protocols.Entries()));
    doc.SetText(page);
    proc.ResetMasks();
    proc.ProcessMasks(doc);
    EXPECT_LT(doc.StepsSpent(), doc.DocumentBudget() / 8);
    EXPECT_EQ(doc.LastError(), "");
    std::vector<std::string> links = Values("Link");
    ASSERT_EQ(links.size(), 3000u);
    for (size_t i = 0; i < links.size(); ++i) EXPECT_EQ(links[i], "p" + std::to_string(i));
    EXPECT_TRUE(Values("Link Text").empty());
    EXPECT_TRUE(Values("Costly").empty());
}

// A mask too costly for the page spends the document's budget: what was
// found before stays found, and the masks after it find nothing more.
TEST_F(MaskProcessorTest, SpentBudgetKeepsWhatWasFound) {
    proc.AddMask("Link", "\\w-<a href=\"\\w+\\*\\w-\">", "", 0, 0, 0, -1, 0, 0);
    proc.AddMask("Costly", "\\*\\*\\*</b>", "", 0, 0, 1, -1, 0, 0);
    proc.AddMask("Later", "x", "", 0, 0, 2, -1, 0, 0);
    std::string page;
    for (int i = 0; i < 3000; ++i) page += "<a href=\"p" + std::to_string(i) + "\">x ";
    InfoDocument doc;
    doc.Begin(InfoAddress("http://h/p.htm", protocols.Entries()));
    doc.SetText(page);
    doc.StepBudget = uint64_t(1) << 40;  // no lower limit for one search than the document's
    proc.ResetMasks();
    proc.ProcessMasks(doc);
    EXPECT_LE(doc.StepsSpent(), doc.DocumentBudget());
    EXPECT_EQ(doc.LastError(), InfoDocument::kBudgetSpent);
    EXPECT_EQ(Values("Link").size(), 3000u);
    EXPECT_TRUE(Values("Costly").empty());
    EXPECT_TRUE(Values("Later").empty());
}
