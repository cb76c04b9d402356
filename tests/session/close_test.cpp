// Closing documents from a session: the report lists only the open ones, the plug-in goes on.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>

#include "support/host_fixture.hpp"

namespace {

using nlohmann::json;

class CloseDocument : public sqtest::HostTest {
 protected:
  void SetUp() override {
    for (const char* name : {"a", "b"}) {
      sqtest::writeFile(folder() / (std::string(name) + ".svg"),
                        R"(<svg xmlns="http://www.w3.org/2000/svg" viewBox="0 0 400 400">
                             <path id=")" +
                            std::string(name) +
                            R"(" d="M 100 100 C 150 50 250 50 300 100"/></svg>)");
    }
    startHost();
  }

  // The names of the documents the report lists, current first.
  std::vector<std::string> listed() {
    std::vector<std::string> names;
    const json report = driver().report();
    for (const auto& d : report["documents"]) {
      names.push_back(std::filesystem::path(d["name"].get<std::string>()).filename().string());
    }
    return names;
  }
};

TEST_F(CloseDocument, TheReportListsOnlyOpenDocumentsAndTheOneBehindBecomesCurrent) {
  ASSERT_TRUE(driver().run("open a.svg\nopen b.svg\nselect path b\n"));
  EXPECT_EQ(listed(), (std::vector<std::string>{"b.svg", "a.svg"}));
  const std::size_t entries = host().undo().undoCount();

  ASSERT_TRUE(driver().run("close\n"));
  const json report = driver().report();
  ASSERT_EQ(report["documents"].size(), 1u);
  EXPECT_EQ(report["documents"][0]["current"], true);
  EXPECT_EQ(report["documents"][0]["layers"][0]["art"][0]["name"], "a");
  // The closed document's undo entries went with it.
  EXPECT_LT(host().undo().undoCount(), entries);
  EXPECT_TRUE(noted("closed " + (folder() / "b.svg").string()));

  ASSERT_TRUE(driver().run("close\nreport r.json\n"));
  EXPECT_TRUE(json::parse(sqtest::readFile(folder() / "r.json"))["documents"].empty());
  EXPECT_EQ(host().currentView(), nullptr);

  // With nothing open, close is an error of its line and stops the script.
  EXPECT_FALSE(driver().run("new\nclose\nclose\nnew\n"));
  EXPECT_TRUE(noted("line 3: no document is open"));
  EXPECT_EQ(host().documents().count(), 0u);
}

TEST_F(CloseDocument, TheToolGoesOnInTheDocumentBehindAndAGestureMustEndFirst) {
  ASSERT_TRUE(
      driver().run("open a.svg\nopen b.svg\ntool \"Spindlequiver Tool\"\nmove 100 -100\n"
                   "png before.png\n"));
  ASSERT_TRUE(driver().run("close\nmove 300 -100\nmove 10 -390\npng after.png\n"));
  EXPECT_EQ(driver().cursor(), 16000);  // the plain arrow over empty space in a.svg
  EXPECT_EQ(listed(), (std::vector<std::string>{"a.svg"}));

  // A gesture in progress keeps its document open.
  EXPECT_FALSE(driver().run("down 10 -390\nclose\n"));
  EXPECT_TRUE(noted("line 2: the button is down"));
  ASSERT_TRUE(driver().run("up 10 -390\nclose\n"));
  EXPECT_EQ(host().documents().count(), 0u);
}

TEST_F(CloseDocument, AModalDialogIsCancelledByTheCommandAfterItWhichThenRuns) {
  EXPECT_FALSE(driver().run("open a.svg\nabout\nclose\ndialog press 1\n"));
  const auto& shown = host().dialogs().dialogsShown();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_TRUE(shown[0].cancelled);
  EXPECT_EQ(host().documents().count(), 0u);
  EXPECT_TRUE(noted("line 4: no dialog is open to take this dialog action"));
}

}  // namespace
