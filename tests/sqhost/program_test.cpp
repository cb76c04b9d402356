// The sqhost program: running a script, and refusing a bad one with its line number.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "support/test_files.hpp"

namespace {

TEST(SqhostProgram, RunsAScriptAndReportsBadLinesWithTheirNumber) {
  sqtest::TempDir dir;
  sqtest::writeFile(dir.path() / "ok.sqs", "about\ndialog press 1\n");
  sqtest::writeFile(dir.path() / "bad.sqs", "about\nwiggle\n");
  const std::string sqhost = SQ_SQHOST_PATH;
  const std::string prefs = " --prefs " + (dir.path() / "p.json").string();
  const std::string out = " > " + (dir.path() / "out.txt").string() + " 2>&1";
  EXPECT_EQ(
      std::system((sqhost + " run " + (dir.path() / "ok.sqs").string() + prefs + out).c_str()), 0);
  EXPECT_NE(sqtest::readFile(dir.path() / "out.txt").find("closed with item 1"), std::string::npos);
  const int bad =
      std::system((sqhost + " run " + (dir.path() / "bad.sqs").string() + prefs + out).c_str());
  EXPECT_EQ(WEXITSTATUS(bad), 2);
  EXPECT_NE(sqtest::readFile(dir.path() / "out.txt").find("line 2: unknown command \"wiggle\""),
            std::string::npos);
  EXPECT_EQ(std::system((sqhost + " run --help > /dev/null").c_str()), 0);
}

}  // namespace
