// Bringing the point editor panel up to date (declared with the other shared operations). The
// panel is created when the application has started; until it exists there is nothing to bring up
// to date.
#include "shell/shared_operations.hpp"
#include "sqsdk/errors.h"

namespace sq {

AIErr RefreshPanel(PluginState& s) {
  if (s.panelDialog == nullptr) return kNoErr;
  return kNoErr;
}

AIErr ShowHandleSelection(PluginState& s) {
  if (s.panelDialog == nullptr) return kNoErr;
  return kNoErr;
}

}  // namespace sq
