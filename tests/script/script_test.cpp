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

}  // namespace
