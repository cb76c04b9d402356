// libFuzzer target for the session script parser: whatever the text, parsing never crashes; a bad
// script names its first bad line ("line N: reason") and yields no steps, every line before it
// parses and that line alone fails for the same reason; a good script gives one step per command
// line, in order, with values the host can use, and each line parses alone to the same step.
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "script/script_parser.hpp"

namespace {

using sqhost::Event;
using sqhost::SessionCommand;
using sqhost::SessionStep;

void require(bool condition) {
  if (!condition) std::abort();
}

// The lines as the parser reads them (std::getline on '\n': no empty last line after a final
// newline).
std::vector<std::string> linesOf(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) lines.push_back(line);
  return lines;
}

bool finite(const AIRealPoint& p) {
  return std::isfinite(p.h) && std::isfinite(p.v);
}

// What the host relies on in a parsed step.
void requireUsable(const SessionStep& step) {
  if (const auto* c = std::get_if<SessionCommand>(&step)) {
    require(std::isfinite(c->value) && finite(c->offset));
    require(c->index >= 0 && c->state >= 0 && c->state <= 4);
    using T = SessionCommand::ValueType;
    if (c->valueType == T::Boolean) require(c->value == 0 || c->value == 1);
    if (c->valueType == T::Integer) {
      require(c->value == std::trunc(c->value) && c->value >= INT32_MIN && c->value <= INT32_MAX);
    }
    return;
  }
  const Event& e = std::get<Event>(step);
  require(std::isfinite(e.number) && finite(e.point));
  require((e.modifiers & ~0xE0) == 0);
  using K = Event::Kind;
  if (e.kind == K::ViewZoom) require(e.number > 0);
  if (e.kind == K::ViewSize) {
    require(e.item >= 1 && e.item <= 8192 && e.number >= 1 && e.number <= 8192);
  }
  if (e.kind == K::DialogChoose) require(e.number >= 0);
  if (e.kind == K::DialogCheck) require(e.number == 0 || e.number == 1);
  if (e.isDialogAction()) require(e.dialogAction().has_value());
}

// Same step, apart from the line it came from.
bool sameStep(const SessionStep& a, const SessionStep& b) {
  if (a.index() != b.index()) return false;
  if (const auto* x = std::get_if<SessionCommand>(&a)) {
    const auto& y = std::get<SessionCommand>(b);
    return x->kind == y.kind && x->name == y.name && x->index == y.index && x->state == y.state &&
           x->value == y.value && x->valueType == y.valueType && x->offset.h == y.offset.h &&
           x->offset.v == y.offset.v;
  }
  const auto& x = std::get<Event>(a);
  const auto& y = std::get<Event>(b);
  return x.kind == y.kind && x.dialog == y.dialog && x.item == y.item &&
         x.modifiers == y.modifiers && x.number == y.number && x.point.h == y.point.h &&
         x.point.v == y.point.v && x.text == y.text;
}

int lineOf(const SessionStep& step) {
  if (const auto* c = std::get_if<SessionCommand>(&step)) return c->line;
  return std::get<Event>(step).line;
}

// "line N: reason" split into N and the reason; N is 0 when the message is not of that form.
std::pair<int, std::string_view> splitError(std::string_view error) {
  constexpr std::string_view kPrefix = "line ";
  if (!error.starts_with(kPrefix)) return {0, {}};
  int number = 0;
  const char* begin = error.data() + kPrefix.size();
  const auto [end, ec] = std::from_chars(begin, error.data() + error.size(), number);
  const std::string_view rest(end, static_cast<std::size_t>(error.data() + error.size() - end));
  if (ec != std::errc() || !rest.starts_with(": ") || rest.size() <= 2) return {0, {}};
  return {number, rest.substr(2)};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const sqhost::ParsedScript parsed = sqhost::parseScript(text);
  const std::vector<std::string> lines = linesOf(text);

  if (!parsed.ok()) {
    require(parsed.steps.empty());
    const auto [number, reason] = splitError(parsed.error);
    require(number >= 1 && static_cast<std::size_t>(number) <= lines.size());
    // The first bad line is the one named: the lines before it make a good script...
    std::string before;
    for (int i = 0; i + 1 < number; ++i) before += lines[static_cast<std::size_t>(i)] + "\n";
    require(sqhost::parseScript(before).ok());
    // ...and it fails alone, for the same reason.
    const sqhost::ParsedScript alone =
        sqhost::parseScript(lines[static_cast<std::size_t>(number - 1)]);
    require(!alone.ok() && splitError(alone.error) == std::pair(1, reason));
    return 0;
  }

  // One step per line with words, in order, each as the line gives it alone.
  std::size_t next = 0;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    std::vector<std::string> words;
    std::string error;
    require(sqhost::splitWords(lines[i], words, error));
    if (words.empty()) continue;
    require(next < parsed.steps.size());
    const SessionStep& step = parsed.steps[next++];
    require(lineOf(step) == static_cast<int>(i + 1));
    requireUsable(step);
    const sqhost::ParsedScript alone = sqhost::parseScript(lines[i]);
    require(alone.ok() && alone.steps.size() == 1 && sameStep(alone.steps[0], step));
  }
  require(next == parsed.steps.size());
  return 0;
}
