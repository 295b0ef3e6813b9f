// A test fixture that puts a fake host behind every image made without one
// and takes it away again, so no test sees another test's images.
#pragma once

#include <gtest/gtest.h>

#include "graphics/image/FakeImageHost.h"
#include "graphics/image/ImageHost.h"

namespace TandryTest {

class FakeHostTest : public ::testing::Test {
protected:
    void SetUp() override { Tandry::SetImageHost(&mHost); }
    void TearDown() override { Tandry::SetImageHost(nullptr); }

    FakeImageHost mHost;
};

} // namespace TandryTest
