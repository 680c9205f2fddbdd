// The settings tests' main: also the second program of the cross-process
// store tests (see RegistryHelper.h).

#include "RegistryHelper.h"

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    const int helper = tollivex::test::RunRegistryHelper(argc, argv);
    if (helper >= 0)
        return helper;
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
