// Session scripts: parsing into session commands and events, with line numbers.
#include <gtest/gtest.h>

#include <variant>

#include "script/script_parser.hpp"

namespace {

using sqhost::parseScript;

// The session command or the event of a parsed line.
const sqhost::SessionCommand& command(const sqhost::SessionStep& step) {
  return std::get<sqhost::SessionCommand>(step);
}
const sqhost::Event& event(const sqhost::SessionStep& step) {
  return std::get<sqhost::Event>(step);
}

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
      {"flyout choose\n", "line 1: usage: flyout choose INDEX"},
      {"flyout choose -1\n", "line 1: a flyout entry is chosen by its position"},
      {"flyout alt meta\n", "line 1: unknown modifier \"meta\""},
      {"edges off\n", "line 1: usage: edges show|hide"},
      {"menu\n", "line 1: usage: menu \"NAME\""},
      {"dialog P press 40 hyper\n", "line 1: \"dialog press\" takes an item number and"},
      {"dialog P key 41 f1\n", "line 1: unknown key \"f1\""},
      {"dialog P value 41\n", "line 1: expected one value after the item number"},
  };
  for (const Case& c : cases) {
    const auto parsed = parseScript(c.script);
    EXPECT_FALSE(parsed.ok()) << c.script;
    EXPECT_EQ(parsed.error.rfind(c.message, 0), 0u) << parsed.error;
    EXPECT_TRUE(parsed.steps.empty());
  }
}

TEST(ScriptParser, CommandsBecomeSessionCommandsAndEvents) {
  const auto parsed = parseScript(
      "open \"my file.svg\"  # a comment\n"
      "down 10 -20.5 shift alt\n"
      "key down space\n"
      "select point wave 2 4\n"
      "dialog \"Panel\" value 12 3.5\n");
  ASSERT_TRUE(parsed.ok()) << parsed.error;
  ASSERT_EQ(parsed.steps.size(), 5u);
  EXPECT_EQ(command(parsed.steps[0]).name, "my file.svg");
  EXPECT_EQ(event(parsed.steps[1]).kind, sqhost::Event::Kind::MouseDown);
  EXPECT_EQ(event(parsed.steps[1]).point.v, -20.5f);
  EXPECT_EQ(event(parsed.steps[1]).modifiers, 0x20 | 0x80);
  EXPECT_EQ(event(parsed.steps[2]).item, 0x20);
  EXPECT_EQ(command(parsed.steps[3]).state, 4);
  EXPECT_EQ(event(parsed.steps[4]).dialog, "Panel");
  EXPECT_EQ(event(parsed.steps[4]).line, 5);
}

TEST(ScriptParser, PanelMenuAndEdgesCommands) {
  using K = sqhost::Event::Kind;
  const auto parsed = parseScript(
      "menu \"Spindlequiver\"\n"
      "flyout shift alt\n"
      "flyout choose 12\n"
      "edges hide\n"
      "dialog SpindlequiverInfoDialog press 40 shift alt\n"
      "dialog SpindlequiverInfoDialog key 41 enter ctrl\n"
      "dialog SpindlequiverInfoDialog text 41 \"shift\"\n");
  ASSERT_TRUE(parsed.ok()) << parsed.error;
  ASSERT_EQ(parsed.steps.size(), 7u);
  EXPECT_EQ(event(parsed.steps[0]).kind, K::Menu);
  EXPECT_EQ(event(parsed.steps[0]).text, "Spindlequiver");
  EXPECT_EQ(event(parsed.steps[1]).kind, K::FlyoutOpen);
  EXPECT_EQ(event(parsed.steps[1]).modifiers, 0x20 | 0x80);
  EXPECT_EQ(event(parsed.steps[2]).kind, K::FlyoutChoose);
  EXPECT_EQ(event(parsed.steps[2]).number, 12);
  EXPECT_EQ(event(parsed.steps[3]).kind, K::Edges);
  EXPECT_EQ(event(parsed.steps[3]).number, 0);
  EXPECT_EQ(event(parsed.steps[4]).item, 40);
  EXPECT_EQ(event(parsed.steps[4]).modifiers, 0x20 | 0x80);
  EXPECT_EQ(event(parsed.steps[5]).kind, K::DialogKey);
  EXPECT_EQ(event(parsed.steps[5]).number, 3);  // Enter
  EXPECT_EQ(event(parsed.steps[5]).modifiers, 0x40);
  // A quoted text is the text, not a modifier.
  EXPECT_EQ(event(parsed.steps[6]).text, "shift");
  EXPECT_EQ(event(parsed.steps[6]).modifiers, 0);
}

}  // namespace
