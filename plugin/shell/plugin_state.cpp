// The process-wide pointer to the plug-in state record.
#include "shell/plugin_state.hpp"

namespace sq {

namespace {
PluginState* gState = nullptr;
}

PluginState* State() {
  return gState;
}
void SetState(PluginState* state) {
  gState = state;
}

}  // namespace sq
