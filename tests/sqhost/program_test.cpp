// The sqhost program: running a script, refusing a bad one with its line number, its exit
// status, the warnings it prints and the preference file it writes.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <nlohmann/json.hpp>
#include <string>

#include "support/test_files.hpp"

namespace {

namespace fs = std::filesystem;

// Runs sqhost with these arguments in a folder of its own; the exit status, and what it printed
// on each stream.
struct ProgramRun {
  int status = -1;
  std::string out;
  std::string err;
};

ProgramRun sqhost(const fs::path& dir, const std::string& arguments) {
  const std::string command = std::string(SQ_SQHOST_PATH) + " " + arguments + " > " +
                              (dir / "stdout.txt").string() + " 2> " +
                              (dir / "stderr.txt").string();
  const int status = std::system(command.c_str());
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, sqtest::readFile(dir / "stdout.txt"),
          sqtest::readFile(dir / "stderr.txt")};
}

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

TEST(SqhostProgram, AScriptThatCannotBeReadExitsWithTwoAndRunsNothing) {
  sqtest::TempDir dir;
  const std::string prefs = " --prefs " + (dir.path() / "p.json").string();
  const ProgramRun missing =
      sqhost(dir.path(), "run " + (dir.path() / "nowhere.sqs").string() + prefs);
  EXPECT_EQ(missing.status, 2);
  EXPECT_NE(missing.err.find("cannot read script " + (dir.path() / "nowhere.sqs").string() +
                             ": there is no such file"),
            std::string::npos)
      << missing.err;
  const ProgramRun folder = sqhost(dir.path(), "run " + dir.path().string() + prefs);
  EXPECT_EQ(folder.status, 2);
  EXPECT_NE(folder.err.find("it is not a regular file"), std::string::npos) << folder.err;
  EXPECT_EQ(missing.out.find("plug-in started"), std::string::npos);
  EXPECT_FALSE(fs::exists(dir.path() / "p.json"));
}

TEST(SqhostProgram, AFailingLineInsideAModalDialogStopsTheRunWithOne) {
  sqtest::TempDir dir;
  sqtest::writeFile(dir.path() / "dialog.sqs",
                    "new\nabout\ndialog press 99\ndialog press 1\nreport after.json\n");
  const ProgramRun run =
      sqhost(dir.path(), "run " + (dir.path() / "dialog.sqs").string() + " --prefs " +
                             (dir.path() / "p.json").string() + " --out " + dir.path().string());
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.out.find("line 3: "), std::string::npos) << run.out;
  EXPECT_NE(run.err.find("the script stopped on an error"), std::string::npos) << run.err;
  // Nothing after the failing line ran: the dialog closed unanswered, not with OK.
  EXPECT_EQ(run.out.find("closed with item 1"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("dialog \"SpindlequiverAboutDialog\" cancelled"), std::string::npos)
      << run.out;
  EXPECT_FALSE(fs::exists(dir.path() / "after.json"));
  EXPECT_NE(run.out.find("plug-in shut down"), std::string::npos);
}

TEST(SqhostProgram, OpenPrintsEachWarningOnceAndTheReportListsThem) {
  sqtest::TempDir dir;
  const fs::path drawing = dir.path() / "bad.svg";
  sqtest::writeFile(drawing,
                    "<svg xmlns=\"http://www.w3.org/2000/svg\">\n"
                    "<path id=\"one\" d=\"M 0 0 L 10 0 L 10 x\"/>\n"
                    "<path id=\"fine\" d=\"M 0 0 L 5 5\"/>\n"
                    "<path id=\"two\" d=\"M 1 1 L 2 2 Q\"/></svg>\n");
  sqtest::writeFile(dir.path() / "open.sqs", "open bad.svg\nreport r.json\n");
  const ProgramRun run =
      sqhost(dir.path(), "run --quiet " + (dir.path() / "open.sqs").string() + " --prefs " +
                             (dir.path() / "p.json").string() + " --out " + dir.path().string());
  EXPECT_EQ(run.status, 0) << run.err;
  const std::string first = "sqhost: warning: " + drawing.string() +
                            ": line 2: <path id=\"one\"> attribute 'd': malformed path data";
  const std::string second =
      "sqhost: warning: " + drawing.string() + ": line 4: <path id=\"two\"> attribute 'd'";
  EXPECT_NE(run.err.find(first), std::string::npos) << run.err;
  EXPECT_NE(run.err.find(second), std::string::npos) << run.err;
  // One line each, and the file named once in each.
  std::size_t lines = 0;
  for (std::size_t at = run.err.find('\n'); at != std::string::npos;
       at = run.err.find('\n', at + 1)) {
    ++lines;
  }
  EXPECT_EQ(lines, 2u) << run.err;
  EXPECT_EQ(run.err.find(drawing.string()), run.err.rfind(drawing.string(), run.err.find('\n')));

  const auto report = nlohmann::json::parse(sqtest::readFile(dir.path() / "r.json"));
  const auto& warnings = report["documents"][0]["warnings"];
  ASSERT_EQ(warnings.size(), 2u) << warnings;
  EXPECT_EQ("sqhost: warning: " + warnings[0].get<std::string>(),
            run.err.substr(0, run.err.find('\n')));
}

TEST(SqhostProgram, APreferencePathThatIsALinkIsWrittenThroughToItsTarget) {
  sqtest::TempDir dir;
  fs::create_directory(dir.path() / "real");
  const fs::path target = dir.path() / "real" / "preferences.json";
  const fs::path link = dir.path() / "preferences.json";
  fs::create_symlink(fs::path("real") / "preferences.json", link);
  sqtest::writeFile(dir.path() / "pref.sqs", "pref selectionTolerance 4\n");
  const ProgramRun run = sqhost(dir.path(), "run --quiet " + (dir.path() / "pref.sqs").string() +
                                                " --prefs " + link.string());
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(fs::read_symlink(link), fs::path("real") / "preferences.json");
  const auto stored = nlohmann::json::parse(sqtest::readFile(target));
  EXPECT_EQ(stored["sections"][""]["selectionTolerance"]["value"], 4) << stored;
}

}  // namespace
