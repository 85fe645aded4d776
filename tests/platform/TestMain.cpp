// The main of every test program: the tests run inside a folder of their
// own, removed when they end, so any number of test programs can run at once
// and none writes into the user's folders.
#include "tests/platform/TestProcessFolder.h"

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    Lumo::Platform::Testing::TestProcessFolder folder;
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
