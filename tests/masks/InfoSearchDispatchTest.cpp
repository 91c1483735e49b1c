// Apply against the registered engine, by member name as the window calls it;
// the engine's own GetMask shows what arrived.
#include "masks/InfoSearchDispatch.h"

#include <gtest/gtest.h>

#include "ComTest.h"
#include "masks/core/DefaultMasks.h"
#include "masks/core/MaskCollection.h"

namespace {
class InfoSearchDispatchTest : public ComTest {};
}  // namespace

TEST_F(InfoSearchDispatchTest, ApplyReachesTheEngine) {
    TDispatchDriver search = TDispatchDriver::CreateObject("Gleaner.InfoSearch");
    search.Call("Create");
    InfoSearchDispatch calls(search);
    EXPECT_EQ(0, calls.Status());

    MaskCollection masks;
    masks.Add("Old", "", 0, 0, 0, 0, false, false, -1);
    masks.Apply(calls);
    EXPECT_EQ(1, search.Get("MaskCount").AsLong());

    AddDefaultMasks(masks, calls);
    ASSERT_EQ(10, search.Get("MaskCount").AsLong());
    for (long i = 0; i < 10; ++i) {
        const DefaultMask& d = kDefaultMasks[i];
        std::string name, value, depends;
        long type = 0, dependType = 0, priority = 0, maxFound = 0, canCompile = 0;
        search.Call("GetMask", {i, Out(name), Out(value), Out(depends), Out(type), Out(dependType), Out(priority),
                                Out(maxFound), Out(canCompile)});
        SCOPED_TRACE(d.MaskName);
        EXPECT_EQ(d.MaskName, name);
        EXPECT_EQ(d.Pattern ? d.Pattern : "", value);
        EXPECT_EQ(d.DependOn, depends);
        EXPECT_EQ(d.MaskType, type);
        EXPECT_EQ(d.DependType, dependType);
        EXPECT_EQ(d.Priority, priority);
        EXPECT_EQ(d.MaxFoundCount, maxFound);
        EXPECT_EQ(d.CanCompile ? -1 : 0, canCompile);
    }
    search.Call("Destroy");
}
