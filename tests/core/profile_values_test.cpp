#include "core/profile_values.h"

#include <gtest/gtest.h>

TEST(ProfileValues, Placeholder) { EXPECT_EQ(core::ParseInt32(L"12"), 12); }
