// Every Wine test program's entry: the timer that answers dialogs runs
// inside every modal loop of this thread; ctest's timeout ends a hanging
// case, and a filter that names no case fails.
#include <gtest/gtest.h>

#include "win_driver.h"

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    e2e::StartAnsweringDialogs();
    const int failed = RUN_ALL_TESTS();
    return failed || testing::UnitTest::GetInstance()->test_to_run_count() == 0;
}
