// Session scripts run whole: documents, selections, edits, undo, files and the JSON report.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "support/host_fixture.hpp"

namespace {

using nlohmann::json;

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
  bool run(const std::string& script) { return driver().run(script); }

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
  ASSERT_TRUE(run("open out.svg\nreport report.json\n"));
  const json again = report();
  EXPECT_EQ(path(again, "wave")["segments"], wave["segments"]);
}

TEST_F(ScriptRun, FailingLineStopsTheRunWithItsNumber) {
  startHost();
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
  EXPECT_FALSE(run("open bad.svg\n"));
  EXPECT_EQ(host().documents().count(), 0u);
  EXPECT_TRUE(noted("line 2"));
}

}  // namespace
