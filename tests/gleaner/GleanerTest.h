// A test of the running Gleaner.exe from another process: a single-threaded
// apartment with one engine set up as the search window sets it up.
#pragma once

#include <gtest/gtest.h>

#include "ComTest.h"
#include "EngineClient.h"

class GleanerTest : public ComTest {
protected:
    void TearDown() override {
        engine.Close();
        ComTest::TearDown();
    }

    Engine engine;
};
