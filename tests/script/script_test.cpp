// Session scripts: parsing with line numbers, and whole runs checked through the JSON report.
#include <gtest/gtest.h>

#include <cstdlib>
#include <nlohmann/json.hpp>

#include "script/report.hpp"
#include "script/script_parser.hpp"
#include "support/host_fixture.hpp"

namespace {

using nlohmann::json;
using sqhost::parseScript;

TEST(ScriptParser, BadLinesAreNamedAndNothingRuns) {
  struct Case {
    const char* script;
    const char* message;
  };
  const Case cases[] = {
      {"about\nfrobnicate 3\n", "line 2: unknown command \"frobnicate\""},
      {"# comment\n\nmove 1\n", "line 3: expected two numbers"},
      {"down 1 2 hyper\n", "line 1: unknown modifier \"hyper\""},
      {"key down f13\n", "line 1: unknown key \"f13\""},
      {"view zoom -2\n", "line 1: the zoom is a positive number"},
      {"select point p x\n", "line 1: usage: select point"},
      {"dialog press\n", "line 1: expected an item number"},
      {"open \"unterminated\n", "line 1: a quoted text is not closed"},
      {"pref selectionTolerance nan\n", "line 1: a preference value is"},
  };
  for (const Case& c : cases) {
    const auto parsed = parseScript(c.script);
    EXPECT_FALSE(parsed.ok()) << c.script;
    EXPECT_EQ(parsed.error.rfind(c.message, 0), 0u) << parsed.error;
    EXPECT_TRUE(parsed.events.empty());
  }
}

TEST(ScriptParser, CommandsBecomeEvents) {
  const auto parsed = parseScript(
      "open \"my file.svg\"  # a comment\n"
      "down 10 -20.5 shift alt\n"
      "key down space\n"
      "select point wave 2 4\n"
      "dialog \"Panel\" value 12 3.5\n");
  ASSERT_TRUE(parsed.ok()) << parsed.error;
  ASSERT_EQ(parsed.events.size(), 5u);
  EXPECT_EQ(parsed.events[0].text, "my file.svg");
  EXPECT_EQ(parsed.events[1].kind, sqhost::Event::Kind::MouseDown);
  EXPECT_EQ(parsed.events[1].point.v, -20.5f);
  EXPECT_EQ(parsed.events[1].modifiers, 0x20 | 0x80);
  EXPECT_EQ(parsed.events[2].item, 0x20);
  EXPECT_EQ(parsed.events[3].number, 4);
  EXPECT_EQ(parsed.events[4].dialog, "Panel");
  EXPECT_EQ(parsed.events[4].line, 5);
}

class ScriptRun : public sqtest::HostTest {
 protected:
  void SetUp() override {
    sqtest::writeFile(dir_.path() / "drawing.svg", R"(<svg xmlns="http://www.w3.org/2000/svg"
        xmlns:sq="urn:spindlequiver:host" viewBox="0 0 200 100">
      <path id="wave" d="M 10 50 C 30 10 60 10 80 50 C 100 90 130 90 150 50"/>
      <path id="box" d="M 160 10 L 190 10 L 190 40 L 160 40 Z" sq:selection="1 0 0 0"/>
    </svg>)");
  }

  // Runs a script on a started host; returns whether every line ran.
  bool run(const std::string& script) {
    const auto parsed = parseScript(script);
    EXPECT_TRUE(parsed.ok()) << parsed.error;
    for (const auto& e : parsed.events) host().events().post(e);
    return host().runEvents();
  }

  json report() { return json::parse(sqtest::readFile(dir_.path() / "report.json")); }

  static const json& path(const json& r, const std::string& name) {
    for (const auto& art : r["documents"][0]["layers"][0]["art"]) {
      if (art.value("name", "") == name) return art;
    }
    static const json none;
    ADD_FAILURE() << "no path " << name;
    return none;
  }
};

TEST_F(ScriptRun, OpenSelectEditUndoRedoSaveAndReport) {
  startHost();
  host().setFileBase(dir_.path());
  host().setOutputBase(dir_.path());
  ASSERT_TRUE(
      run("open drawing.svg\n"
          "view size 300 200\n"
          "view zoom 2\n"
          "select none\n"
          "select point wave 1 4\n"
          "move-point wave 1 5 -5\n"
          "undo\n"
          "redo\n"
          "save out.svg\n"
          "report report.json\n"));
  const json r = report();
  ASSERT_EQ(r["documents"].size(), 1u);
  EXPECT_EQ(r["documents"][0]["view"]["zoom"], 2.0);
  EXPECT_EQ(r["documents"][0]["view"]["size"], json::array({300, 200}));
  const json& wave = path(r, "wave");
  EXPECT_EQ(wave["closed"], false);
  EXPECT_EQ(wave["segments"][1]["selection"], 4);
  EXPECT_EQ(wave["segments"][1]["anchor"], json::array({85.0, -55.0}));
  EXPECT_EQ(wave["selected"], true);
  EXPECT_EQ(path(r, "box")["selected"], false);
  EXPECT_EQ(r["undo"]["undo"], 3);
  EXPECT_EQ(r["undo"]["undoText"], "Move Point");

  // The saved file opens again to the same geometry and selection.
  stopHost();
  startHost();
  host().setFileBase(dir_.path());
  host().setOutputBase(dir_.path());
  ASSERT_TRUE(run("open out.svg\nreport report.json\n"));
  const json again = report();
  EXPECT_EQ(path(again, "wave")["segments"], wave["segments"]);
}

TEST_F(ScriptRun, FailingLineStopsTheRunWithItsNumber) {
  startHost();
  host().setFileBase(dir_.path());
  EXPECT_FALSE(run("open drawing.svg\nselect point wave 9\nundo\n"));
  EXPECT_TRUE(noted("line 2: path \"wave\" has 3 points; there is no point 9"));
  EXPECT_TRUE(host().events().empty());
  EXPECT_FALSE(run("open missing.svg\n"));
  EXPECT_TRUE(noted("line 1: cannot open"));
  EXPECT_FALSE(run("drag 1 2\n"));
  EXPECT_TRUE(noted("line 1: drag without a button down"));
}

TEST_F(ScriptRun, MalformedSvgOpensNothing) {
  sqtest::writeFile(dir_.path() / "bad.svg",
                    "<svg xmlns=\"http://www.w3.org/2000/svg\">\n"
                    "<rect width=\"10qq\" height=\"5\"/>\n</svg>\n");
  startHost();
  host().setFileBase(dir_.path());
  EXPECT_FALSE(run("open bad.svg\n"));
  EXPECT_EQ(host().documents().count(), 0u);
  EXPECT_TRUE(noted("line 2"));
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

}  // namespace
