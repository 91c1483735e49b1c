// The ten built-in templates handed to the registered engine with Apply and
// run over a fixture page, read back from the engine's database by member
// name, as the window will run and read them.
#include <gtest/gtest.h>

#include <algorithm>

#include "ComTest.h"
#include "EngineClient.h"
#include "masks/InfoSearchDispatch.h"
#include "masks/core/DefaultMasks.h"
#include "masks/core/MaskCollection.h"

namespace {
class BuiltInCrawlTest : public ComTest {
protected:
    void TearDown() override {
        engine.Close();
        ComTest::TearDown();
    }

    // The values of a property of the start page's record, each with its
    // folder cut off when it names a file beside the page.
    std::vector<std::string> StartPageValues(const std::string& property, const std::string& folder) {
        std::vector<std::string> v;
        long c = engine.Database.Call("CreateCursor").AsLong();
        while (engine.Database.Call("TestCursor", {c}).AsLong()) {
            if (engine.Database.Get("Level", {c}).AsLong() == 0) v = ValuesOf(engine.Database, c, property);
            engine.Database.Call("NextRecord", {c});
        }
        engine.Database.Call("DestroyCursor", {c});
        for (std::string& s : v)
            if (s.compare(0, folder.size(), folder) == 0) s = "~/" + s.substr(folder.size());
        return v;
    }

    Engine engine;
};
}  // namespace

TEST_F(BuiltInCrawlTest, TenTemplatesOverAFixturePage) {
    engine.StartUp(2);
    MaskCollection masks;
    InfoSearchDispatch calls(engine.Search);
    AddDefaultMasks(masks, calls);
    ASSERT_EQ(10, engine.Search.Get("MaskCount").AsLong());
    engine.Search.Put("MaxLevel", {0L});

    char full[MAX_PATH];
    ASSERT_NE(0u, GetFullPathNameA("fixtures/builtin.htm", MAX_PATH, full, nullptr));
    std::string page = full;
    std::replace(page.begin(), page.end(), '\\', '/');
    ASSERT_EQ(1, engine.Start("file://" + page));
    ASSERT_TRUE(engine.WaitIdle());

    // Addresses are compared by what follows the page's folder.
    const std::string folder = "file://" + page.substr(0, page.rfind('/') + 1);
    EXPECT_EQ((std::vector<std::string>{"Fixture & page"}), StartPageValues("Page title", folder));
    EXPECT_EQ((std::vector<std::string>{"HTML"}), StartPageValues("Format", folder));
    EXPECT_EQ((std::vector<std::string>{"windows-1252"}), StartPageValues("Encoding", folder));
    EXPECT_EQ((std::vector<std::string>{"~/quoted.htm", "~/bare.htm", "~/spaced.htm"}),
              StartPageValues("Frame", folder));
    EXPECT_EQ((std::vector<std::string>{"~/q.htm", "~/b.htm", "~/c.htm", "~/i.htm"}),
              StartPageValues("Link", folder));
    // The image link's text is empty: the database keeps no empty value.
    EXPECT_EQ((std::vector<std::string>{"Quoted", "B", "C"}), StartPageValues("Link Text", folder));
    const std::vector<std::string> images = StartPageValues("Link Image", folder);
    ASSERT_FALSE(images.empty());
    EXPECT_EQ("~/i.gif", images.back());
}
