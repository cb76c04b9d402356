// The editing tool's message handlers. The tool's behaviour is built up handler by handler; a
// handler without behaviour yet accepts its message and changes nothing.
#include "tool/tool_handlers.hpp"

#include "panel/panel_refresh.hpp"
#include "shell/host_suites.hpp"
#include "shell/plugin_state.hpp"
#include "sqsdk/errors.h"
#include "sqsdk/suites/ai_annotator.h"
#include "sqsdk/suites/ai_document_list.h"
#include "sqsdk/suites/ai_document_view.h"
#include "sqsdk/suites/ai_notifier.h"
#include "tool/annotations.hpp"
#include "tool/tool_setup.hpp"

namespace sq {

namespace {
// Positions in notifierHandles of the two notifiers that follow the tool.
constexpr int kDocViewChangedNotifier = 0;
constexpr int kLayerOptionsNotifier = 3;
}  // namespace

AIErr onSelect(void*) {
  PluginState& s = *State();
  s.toolSelected = 1;
  s.dragMode = kDragMarquee;
  s.toolDragged = 2;
  s.toolSuspended = 0;
  s.pointCount = 0;
  s.selectedHandleCount = 0;
  s.selectedInHandleCount = 0;
  s.cursorMarkRect = AIRect{0, 0, 1, 1};
  s.severalOpenPaths = 0;

  AIErr error = readHostPreferences(s);
  int32_t documents = 0;
  error = SuiteAs<AIDocumentListSuite>(SuiteId::DocumentList)->Count(&documents);
  if (documents > 0) {
    error =
        SuiteAs<AIDocumentViewSuite>(SuiteId::DocumentView)->GetNthDocumentView(0, &s.currentView);
  }
  error = RefreshPanel(s);
  error = SuiteAs<AIAnnotatorSuite>(SuiteId::Annotator)->SetAnnotatorActive(s.annotatorHandle, 1);
  const auto* notifiers = SuiteAs<AINotifierSuite>(SuiteId::Notifier);
  error = notifiers->SetNotifierActive(s.notifierHandles[kDocViewChangedNotifier], 1);
  error = notifiers->SetNotifierActive(s.notifierHandles[kLayerOptionsNotifier], 1);
  return error;
}

AIErr onDeselect(void*) {
  PluginState& s = *State();
  s.toolSelected = 0;
  // The tool's own selection of handles goes; the host selection stays as it is.
  s.pointCount = 0;
  s.selectedHandleCount = 0;
  s.selectedInHandleCount = 0;
  AIErr error = invalidateAllViews(s);
  error = SuiteAs<AIAnnotatorSuite>(SuiteId::Annotator)->SetAnnotatorActive(s.annotatorHandle, 0);
  error = SuiteAs<AINotifierSuite>(SuiteId::Notifier)
              ->SetNotifierActive(s.notifierHandles[kLayerOptionsNotifier], 0);
  error = RefreshPanel(s);
  return error;
}

AIErr onTrackCursor(void*) {
  return kNoErr;
}
AIErr onMouseDown(void*) {
  return kNoErr;
}
AIErr onMouseDrag(void*) {
  return kNoErr;
}
AIErr onMouseUp(void*) {
  return kNoErr;
}
AIErr onIncreaseDiameter(void*) {
  return kNoErr;
}

}  // namespace sq
