// The point editor panel's life: destroying it before the settings are saved.
#include "panel/panel_lifecycle.hpp"

#include "shell/host_suites.hpp"
#include "sqsdk/suites/adm_dialog.h"

namespace sq {

void DestroyPanel(PluginState& s) {
  if (s.panelDialog == nullptr) return;
  if (const auto* dialogs = SuiteAs<ADMDialogSuite>(SuiteId::ADMDialog)) {
    dialogs->Destroy(s.panelDialog);
  }
  s.panelDialog = nullptr;
}

}  // namespace sq
