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

// Writes the report atomically; an error message, or empty on success.
std::string writeReport(Session& session, const std::filesystem::path& path);

}  // namespace sqhost
