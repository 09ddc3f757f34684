// The opening lines of calibration matches: the repository's file and bad files.
#include "openings.h"

#include <cstdio>
#include <fstream>
#include <gtest/gtest.h>
#include <set>
#include <unistd.h>

namespace {

std::string write_temp(const std::string &text) {
    char name[] = "/tmp/vartok-openings-XXXXXX";
    const int fd = mkstemp(name);
    EXPECT_GE(fd, 0);
    close(fd);
    std::ofstream(name) << text;
    return name;
}

} // namespace

// A mistyped move in the file would stop every calibration match at its start.
TEST(Openings, TheCalibrationLinesAreLegalAndDistinct) {
    std::vector<opening_line> lines;
    std::string error;
    ASSERT_TRUE(load_openings(VARTOK_OPENINGS_FILE, &lines, &error)) << error;
    EXPECT_EQ(lines.size(), 40u);
    std::set<opening_line> distinct(lines.begin(), lines.end());
    EXPECT_EQ(distinct.size(), lines.size());
    for (const opening_line &line : lines) EXPECT_EQ(line.size(), 4u);
}

TEST(Openings, BadFilesAreRefusedWithTheLine) {
    std::vector<opening_line> lines;
    std::string error;
    const std::string path = write_temp("# comment\n\ne2e4 e7e5\nd2d4 d7d5 d4d5\n");
    EXPECT_FALSE(load_openings(path, &lines, &error));
    EXPECT_NE(error.find("line 4: d4d5"), std::string::npos) << error;

    const std::string only_comments = write_temp("# nothing\n\n");
    EXPECT_FALSE(load_openings(only_comments, &lines, &error));
    EXPECT_NE(error.find("no opening"), std::string::npos) << error;

    EXPECT_FALSE(load_openings("/nonexistent/openings.txt", &lines, &error));

    const std::string good = write_temp("# two lines\ne2e4 e7e5\n\ng1f3\n");
    ASSERT_TRUE(load_openings(good, &lines, &error)) << error;
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], (opening_line{"e2e4", "e7e5"}));
    EXPECT_EQ(lines[1], (opening_line{"g1f3"}));
    for (const std::string &p : {path, only_comments, good}) std::remove(p.c_str());
}
