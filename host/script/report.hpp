// The JSON report: a stable snapshot of what a user of the host would see.
#pragma once

#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>

namespace sqhost {

class Host;

// The report as JSON (see the README for its format). Alerts, dialogs, host messages and the
// rectangles plug-ins invalidated are those since the previous report; taking the report moves
// that mark (and empties the views' invalidation logs).
nlohmann::json makeReport(Host& host);

// Writes the report atomically; an error message, or empty on success.
std::string writeReport(Host& host, const std::filesystem::path& path);

}  // namespace sqhost
