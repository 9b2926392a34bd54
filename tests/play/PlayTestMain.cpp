// The play tests' program. It leaves without the C runtime's exit handlers:
// the main window ends worker threads by force at shutdown when they do not
// stop in time, and a thread ended that way while it was leaving can keep the
// runtime's thread-key lock, so that the exit handlers would wait for ever
// after every test has already reported.
//
// The same program drives the second client of the two-client road from a
// Wine prefix of its own: started there with YEB_ROAD_SIDE set, it runs only
// that side's steps; otherwise those steps are neither listed nor run.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    const char* side = std::getenv("YEB_ROAD_SIDE");
    std::string filter = ::testing::GTEST_FLAG(filter);
    if (side && *side)
        filter = "TwoClientRoadSide.*";
    else
        filter += filter.find('-') == std::string::npos ? "-TwoClientRoadSide.*" : ":TwoClientRoadSide.*";
    ::testing::GTEST_FLAG(filter) = filter;
    int result = RUN_ALL_TESTS();
    std::fflush(stdout);
    std::fflush(stderr);
    std::_Exit(result);
}
