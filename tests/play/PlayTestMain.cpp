// The play tests' program. It leaves without the C runtime's exit handlers:
// the main window ends worker threads by force at shutdown when they do not
// stop in time, and a thread ended that way while it was leaving can keep the
// runtime's thread-key lock, so that the exit handlers would wait for ever
// after every test has already reported.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    int result = RUN_ALL_TESTS();
    std::fflush(stdout);
    std::fflush(stderr);
    std::_Exit(result);
}
