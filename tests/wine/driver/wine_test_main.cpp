// Every Wine test program's entry: the timer that answers dialogs runs
// inside every modal loop of this thread; ctest's timeout ends a hanging case.
#include <gtest/gtest.h>

#include "win_driver.h"

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    e2e::StartAnsweringDialogs();
    return RUN_ALL_TESTS();
}
