// What every callback of the point editor panel does around its work: it runs in the plug-in's
// application context and lets no exception escape to the host.
#pragma once

#include "shell/host_suites.hpp"
#include "shell/plugin_state.hpp"
#include "sqsdk/errors.h"
#include "sqsdk/suites/ai_context.h"

namespace sq {

// Pushes the plug-in's application context for the life of the scope.
class PanelContext {
 public:
  explicit PanelContext(const PluginState& s) {
    if (const auto* contexts = SuiteAs<AIContextSuite>(SuiteId::Context)) {
      if (contexts->PushAppContext(s.pluginRef, &context_) != kNoErr) context_ = nullptr;
    }
  }
  ~PanelContext() {
    if (context_ == nullptr) return;
    if (const auto* contexts = SuiteAs<AIContextSuite>(SuiteId::Context)) {
      contexts->PopAppContext(context_);
    }
  }
  PanelContext(const PanelContext&) = delete;
  PanelContext& operator=(const PanelContext&) = delete;

 private:
  AIAppContextHandle context_ = nullptr;
};

// Runs work(state) in the plug-in's context when the state record exists; an exception becomes
// an error code. Returns fallback when there is no state record.
template <typename Result, typename Work>
Result RunPanelCallback(Result fallback, Result onError, Work&& work) {
  PluginState* s = State();
  if (s == nullptr) return fallback;
  try {
    const PanelContext context(*s);
    return work(*s);
  } catch (...) {
    return onError;
  }
}

}  // namespace sq
