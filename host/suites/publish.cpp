// Publishing every suite the host offers into its suite registry.
#include "suites/publish.hpp"

#include "suites/publish_parts.hpp"

namespace sqhost {

void publishAllSuites(SuiteRegistry& registry) {
  publishSPSuites(registry);
  publishServiceSuites(registry);
  publishRegistrationSuites(registry);
  publishArtSuites(registry);
  publishDocumentSuites(registry);
  publishViewSuites(registry);
  publishUndoSuite(registry);
  publishADMSuites(registry);
}

}  // namespace sqhost
