// Session scripts: a small line-based language that becomes session commands and user events.
#pragma once

#include <string>
#include <vector>

#include "session/session_command.hpp"

namespace sqhost {

struct ParsedScript {
  std::vector<SessionStep> steps;  // one per command line, in order
  std::string error;  // "line N: ..." for the first bad line; empty when the script is good
  bool ok() const { return error.empty(); }
};

// Parses a whole script. Nothing of a script with a bad line runs: the caller checks ok() first.
ParsedScript parseScript(const std::string& text);

// Splits one line into words; double-quoted words may hold spaces and \" or \\ escapes. A '#'
// outside quotes starts a comment. False with a message for an unterminated quote.
bool splitWords(const std::string& line, std::vector<std::string>& words, std::string& error);

}  // namespace sqhost
