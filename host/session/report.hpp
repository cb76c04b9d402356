// The JSON report: a stable snapshot of what a user of the host would see.
#pragma once

#include <cstddef>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>

namespace sqhost {

class Session;

// How much of the alert and dialog records and of the host's messages the last report has shown.
struct ReportMarks {
  std::size_t alerts = 0;
  std::size_t dialogs = 0;
  std::size_t lines = 0;
};

// The report as JSON (see the README for its format). Alerts, dialogs, host messages and the
// rectangles plug-ins invalidated are those since the previous report; taking the report moves
// the session's marks (and empties the views' invalidation logs).
nlohmann::json makeReport(Session& session);

// The report as the file holds it: indented JSON, always valid UTF-8. Strings from outside (ids,
// texts, layer and file names) may hold bytes that are not UTF-8; each such byte is written as
// U+FFFD, the replacement character, and nothing is refused.
std::string reportText(const nlohmann::json& report);

// Writes the report atomically; an error message, or empty on success.
std::string writeReport(Session& session, const std::filesystem::path& path);

}  // namespace sqhost
