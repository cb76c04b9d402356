// Publishing every suite the host offers into its suite registry.
#pragma once

#include "app/suite_registry.hpp"

namespace sqhost {

// Adds all suites, by name and version, to the registry.
void publishAllSuites(SuiteRegistry& registry);

}  // namespace sqhost
