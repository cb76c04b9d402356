// Publishing the dialog manager's suites.
#include "app/host.hpp"
#include "suites/adm_suites.hpp"

namespace sqhost {

DialogManager& dialogManager() {
  return Host::current()->dialogs();
}

bool isPluginRef(SPPluginRef plugin) {
  return plugin != nullptr && plugin == Host::current()->pluginRef();
}

void publishADMSuites(SuiteRegistry& registry) {
  publishADMBasicSuite(registry);
  publishADMDialogSuites(registry);
  publishADMItemSuite(registry);
  publishADMListSuites(registry);
  publishADMDrawingSuites(registry);
  publishADMEventSuites(registry);
}

}  // namespace sqhost
