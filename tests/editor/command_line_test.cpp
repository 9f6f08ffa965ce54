// What the editor takes from its command line as the track's path.
#include <gtest/gtest.h>

#include <string>

#include "command_line.h"
#include "track_document.h"

TEST(CommandLine, OnePairOfWrappingQuotesIsDropped)
{
    const std::string longest(259, 'x');
    std::string greek, emoji;
    for (int i = 0; i < 259; ++i)
        greek += "\u03A9";
    for (int i = 0; i < 129; ++i)
        emoji += "\U0001F3CE";
    const struct { std::string commandLine; bool accepted; std::string path; } cases[] = {
        {"", true, ""},
        {"D:\\My Tracks\\x.tra", true, "D:\\My Tracks\\x.tra"},      // the association's form
        {"\"D:\\My Tracks\\x.tra\"", true, "D:\\My Tracks\\x.tra"},  // a dropped file
        {"\"", true, "\""},
        {"\"a.tra\" \"b.tra\"", true, "\"a.tra\" \"b.tra\""},        // not one pair
        {longest, true, longest},
        {"\"" + longest + "\"", true, longest},
        {longest + "y", false, ""},
        {greek, true, greek},                                      // 259 characters of two bytes
        {greek + "\u03A9", false, ""},                              // 260
        {emoji + "x", true, emoji + "x"},                          // two characters each, as Windows counts
        {emoji + "xy", false, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.commandLine);
        char path[TRACK_PATH_SIZE] = "previous";
        EXPECT_EQ(TrackPathFromCommandLine(c.commandLine.c_str(), path, sizeof path), c.accepted);
        EXPECT_EQ(path, c.path);
    }
}
