#include "app/settings_store.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

using namespace core::keys;

TEST(SettingsStore, FreshProfileReadsDefaults)
{
    testsupport::ResetProfile();
    EXPECT_EQ(SettingsStore::ReadInt(kColumns), 4);
    EXPECT_EQ(SettingsStore::ReadInt(kRows), 3);
}
