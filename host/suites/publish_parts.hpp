// Each group of suites publishes itself into the registry through one of these.
#pragma once

#include "app/suite_registry.hpp"

namespace sqhost {

void publishSPSuites(SuiteRegistry& registry);
void publishServiceSuites(SuiteRegistry& registry);
void publishRegistrationSuites(SuiteRegistry& registry);
void publishArtSuites(SuiteRegistry& registry);
void publishDocumentSuites(SuiteRegistry& registry);
void publishViewSuites(SuiteRegistry& registry);
void publishUndoSuite(SuiteRegistry& registry);
void publishADMSuites(SuiteRegistry& registry);

}  // namespace sqhost
