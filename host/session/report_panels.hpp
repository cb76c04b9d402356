// The report's view of the user interface around the documents: floating panels, menus, flyouts.
#pragma once

#include <cstdint>
#include <nlohmann/json.hpp>

namespace sqhost {

class Host;

// A number field's units as the report and the studio name them ("points", "inches", ...).
const char* unitsName(int32_t units);
// Every floating panel with its place, docking and items, front panel first.
nlohmann::json panelsJson(Host& host);
// The open flyout menu (its panel and entries), or null.
nlohmann::json flyoutJson(Host& host);
// The plug-ins' menu items, after the host has sent them "AI Update" as before showing them.
nlohmann::json menusJson(Host& host);

}  // namespace sqhost
