// A test fixture that runs each test inside a single-threaded apartment.
#pragma once

#include <windows.h>
#include <objbase.h>

#include <gtest/gtest.h>

class ComTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr))); }
    void TearDown() override { CoUninitialize(); }
};
