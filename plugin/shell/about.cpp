// The About dialog.
#include "shell/about.hpp"

#include "resources/resource_ids.hpp"
#include "shell/host_suites.hpp"
#include "sqsdk/errors.h"
#include "sqsdk/messages.h"
#include "sqsdk/suites/adm_dialog.h"

namespace sq {

void OpenAboutDialog(SPPluginRef plugin) {
  const auto* dialogs = SuiteAs<ADMDialogSuite>(SuiteId::ADMDialog);
  if (dialogs == nullptr) return;
  int32_t closedBy = 0;
  // The template holds the product name, its version and the description; "OK" closes it.
  dialogs->Modal(plugin, kAboutDialogName, kAboutDialogID, kADMModalDialogStyle, nullptr, nullptr,
                 0, &closedBy);
}

AIErr ShowAbout(void* message) {
  OpenAboutDialog(static_cast<SPMessageData*>(message)->self);
  return kNoErr;
}

}  // namespace sq
