// Start-up, shut-down, unload and reload: the life of the state record.
#include "shell/lifecycle.hpp"

#include <new>

#include "shell/host_suites.hpp"
#include "shell/notifications.hpp"
#include "shell/plugin_state.hpp"
#include "shell/settings.hpp"
#include "sqsdk/errors.h"
#include "sqsdk/messages.h"
#include "sqsdk/suites/sp_blocks.h"
#include "tool/annotations.hpp"
#include "tool/tool_setup.hpp"

namespace sq {

AIErr StartUp(void* message) {
  auto* header = static_cast<SPMessageData*>(message);
  const auto* blocks = SuiteAs<SPBlocksSuite>(SuiteId::SPBlocks);
  void* block = nullptr;
  AIErr error = blocks->AllocateBlock(sizeof(PluginState), "globals", &block);
  if (error != kNoErr) return error;
  if (block == nullptr) return kOutOfMemoryErr;
  // The block arrives zero-filled; value-initialising keeps every field not set below at zero.
  PluginState* state = new (block) PluginState{};
  SetState(state);
  state->basic = header->basic;
  state->pluginRef = header->self;

  SetDefaultSettings(*state);

  error = registerTool(header->self);
  if (error == kNoErr) error = registerAnnotator(header->self);
  if (error == kNoErr) error = registerMenuItem(header->self);
  if (error == kNoErr) error = registerNotifiers(header->self);
  if (error != kNoErr) return error;

  // Store failures are not the user's concern: a key that cannot be read keeps its default, and
  // the host reports a damaged store itself.
  LoadSettings(*state);
  return kNoErr;
}

AIErr ShutDown(void* message) {
  auto* header = static_cast<SPMessageData*>(message);
  PluginState* state = State();
  if (state != nullptr) SaveSettings(*state);

  const void* table = nullptr;
  const AIErr error = header->basic->AcquireSuite(kSPBlocksSuite, kSPBlocksSuiteVersion, &table);
  if (error == kNoErr) {
    if (state != nullptr) {
      state->~PluginState();
      static_cast<const SPBlocksSuite*>(table)->FreeBlock(state);
    }
    SetState(nullptr);
    header->basic->ReleaseSuite(kSPBlocksSuite, kSPBlocksSuiteVersion);
  }
  header->globals = nullptr;
  return error;
}

AIErr Unload(void* message) {
  static_cast<SPMessageData*>(message)->globals = State();
  return kNoErr;
}

AIErr Reload(void* message) {
  SetState(static_cast<PluginState*>(static_cast<SPMessageData*>(message)->globals));
  AcquireCount() = 0;
  return kNoErr;
}

}  // namespace sq
