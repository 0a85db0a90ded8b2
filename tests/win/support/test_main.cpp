// Entry of every test program that runs under Wine: OLE for the process,
// an application object with a profile of the test's own, then GoogleTest.
#include "support/test_support.h"

#include <gtest/gtest.h>
#include <ole2.h>

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    ::OleInitialize(nullptr);
    testsupport::TestApp app;
    const int result = RUN_ALL_TESTS();
    ::OleUninitialize();
    return result;
}
