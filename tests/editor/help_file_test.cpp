// The built HTML Help file, read back with 7z: each topic of the source is a
// page of it, listed in its contents file, and F1 opens the topic on each
// kind of control.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>

#include "help_topics.h"

TEST(HelpFile, EveryTopicIsAListedPage)
{
    auto text = [](const std::string& path) { std::stringstream all; all << std::ifstream(path).rdbuf(); return all.str(); };
    ASSERT_EQ(std::system("rm -rf " HELP_EXTRACTED " && 7z x -o" HELP_EXTRACTED " " HELP_CHM " >/dev/null"), 0);
    const std::string contents = text(HELP_EXTRACTED "/contents.hhc");
    auto value = [&](const std::string& key, size_t& at) {  // of the next parameter named key
        at = contents.find("\"" + key + "\" VALUE=\"", at);
        at = at == std::string::npos ? contents.size() : at + key.size() + 10;
        return contents.substr(at, contents.find('"', at) - at);
    };
    std::map<std::string, std::string> pages;  // the contents' titles and their pages
    for (size_t at = 0; contents.find("\"Name\"", at) != std::string::npos;) {
        const std::string title = value("Name", at);
        pages[title] = value("Local", at);
    }
    std::istringstream source(text(HELP_SOURCE));
    for (std::string line; std::getline(source, line);)
        if (line.rfind("\\title ", 0) == 0 || line.rfind("\\U ", 0) == 0) {
            const std::string title = line.substr(line.find(' ') + 1);
            EXPECT_NE(text(HELP_EXTRACTED "/" + pages[title]).find(title + "</h1>"), std::string::npos) << title;
        }
    for (int control : {IDC_PIECE_LIST, IDC_PIECE_PITCH, IDC_PIECE_TYPE, IDC_MATTERHORN})
        EXPECT_EQ(pages[control == IDC_PIECE_LIST ? "The piece list and the current piece" : "The fields of the main window"],
                  HelpPageOfControl(control) ? HelpPageOfControl(control) : "") << control;
}
