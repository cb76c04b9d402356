// The entry point's work: suite acquisition around each message, routing, life cycle, error report.
#include "shell/dispatch.hpp"

#include <exception>
#include <new>
#include <stdexcept>

#include "shell/about.hpp"
#include "shell/error_report.hpp"
#include "shell/host_suites.hpp"
#include "shell/lifecycle.hpp"
#include "shell/notifications.hpp"
#include "shell/preferences_dialog.hpp"
#include "sqsdk/errors.h"
#include "tool/annotations.hpp"
#include "tool/tool_handlers.hpp"

namespace sq {

namespace {

struct Route {
  const char* caller;
  const char* selector;
  Handler handler;
};

const Route kRoutes[] = {
    {kCallerAIMenu, kSelectorAIGoMenuItem, onMenuGo},
    {kCallerAIMenu, kSelectorAIUpdateMenuItem, onMenuUpdate},
    {kCallerAITool, kSelectorAIEditToolOptions, onEditOptions},
    {kCallerAITool, kSelectorAITrackToolCursor, onTrackCursor},
    {kCallerAITool, kSelectorAIToolMouseDown, onMouseDown},
    {kCallerAITool, kSelectorAIToolMouseDrag, onMouseDrag},
    {kCallerAITool, kSelectorAIToolMouseUp, onMouseUp},
    {kCallerAITool, kSelectorAISelectTool, onSelect},
    {kCallerAITool, kSelectorAIDeselectTool, onDeselect},
    {kCallerAITool, kSelectorAIIncreaseDiameter, onIncreaseDiameter},
    {kCallerAIAnnotation, kSelectorAIDrawAnnotation, onDraw},
    {kCallerAIAnnotation, kSelectorAIInvalAnnotation, onInvalidate},
    {kCallerAINotify, kSelectorAINotify, onNotify},
};

bool Equal(const SPBasicSuite* basic, const char* a, const char* b) {
  return basic->IsEqual(a, b) != 0;
}

// Life-cycle messages of "SP Interface".
AIErr HandleInterface(const SPBasicSuite* basic, const char* selector, void* message) {
  if (Equal(basic, selector, kSPInterfaceStartupSelector)) return StartUp(message);
  if (Equal(basic, selector, kSPInterfaceAboutSelector)) return ShowAbout(message);
  if (Equal(basic, selector, kSPInterfaceShutdownSelector)) return ShutDown(message);
  return kNoErr;
}

AIErr Dispatch(SPBasicSuite* basic, const char* caller, const char* selector, void* message) {
  // "SP Access" messages never touch the suites and never show an error.
  if (Equal(basic, caller, kSPAccessCaller)) {
    if (Equal(basic, selector, kSPAccessUnloadSelector)) return Unload(message);
    if (Equal(basic, selector, kSPAccessReloadSelector)) return Reload(message);
    return kNoErr;
  }

  AIErr result = AcquireSuites(basic);
  if (result == kNoErr) {
    try {
      if (Equal(basic, caller, kSPInterfaceCaller)) {
        result = HandleInterface(basic, selector, message);
      } else if (Handler handler = FindHandler(basic, caller, selector)) {
        result = handler(message);
      }
    } catch (const std::bad_alloc&) {
      result = kOutOfMemoryErr;
    } catch (...) {
      result = kCantHappenErr;
    }
  }
  if (result != kNoErr && result != kSPSuiteNotFoundError) {
    try {
      ReportError(result, static_cast<SPMessageData*>(message)->self);
    } catch (...) {
      // The report is best effort; the error still goes back to the host.
    }
  }
  ReleaseSuites(basic);
  return result;
}

}  // namespace

Handler FindHandler(const SPBasicSuite* basic, const char* caller, const char* selector) {
  for (const Route& route : kRoutes) {
    if (Equal(basic, caller, route.caller) && Equal(basic, selector, route.selector)) {
      return route.handler;
    }
  }
  return nullptr;
}

AIErr HandleMessage(const char* caller, const char* selector, void* message) {
  if (caller == nullptr || selector == nullptr || message == nullptr) return kBadParameterErr;
  auto* header = static_cast<SPMessageData*>(message);
  if (header->basic == nullptr) return kBadParameterErr;
  try {
    return Dispatch(header->basic, caller, selector, message);
  } catch (...) {
    return kCantHappenErr;
  }
}

}  // namespace sq
