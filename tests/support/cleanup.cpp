// Linked into every test program: its scratch folders go once all its tests
// passed, and stay for a look when one failed.
#include <gtest/gtest.h>

#include "support/model.h"

namespace {

struct RemoveScratchWhenPassed : ::testing::Environment {
  void TearDown() override {
    if (::testing::UnitTest::GetInstance()->Passed()) RemoveScratchDirs();
  }
};

const ::testing::Environment* const Registered =
    ::testing::AddGlobalTestEnvironment(new RemoveScratchWhenPassed);

}  // namespace
