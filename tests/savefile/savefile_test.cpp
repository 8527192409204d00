#include <gtest/gtest.h>
#include "editor/savefile.h"
TEST(Smoke, Runs) { EXPECT_EQ(1, 1); }
