// The editing tool's message handlers.
#include "tool/tool_handlers.hpp"

#include "geometry/point_table.hpp"
#include "shell/host_suites.hpp"
#include "shell/plugin_state.hpp"
#include "shell/shared_operations.hpp"
#include "sqsdk/errors.h"
#include "sqsdk/messages.h"
#include "sqsdk/suites/ai_annotator.h"
#include "sqsdk/suites/ai_document_list.h"
#include "sqsdk/suites/ai_notifier.h"
#include "sqsdk/suites/ai_path.h"
#include "tool/hover.hpp"
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
  emptyTable(s);
  s.cursorMarkRect = AIRect{0, 0, 1, 1};
  s.severalOpenPaths = 0;

  AIErr error = readHostPreferences(s);
  int32_t documents = 0;
  error = SuiteAs<AIDocumentListSuite>(SuiteId::DocumentList)->Count(&documents);
  if (documents > 0) s.currentView = frontView();
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
  clearEntries(s);
  AIErr error = invalidateAllViews(s);
  error = SuiteAs<AIAnnotatorSuite>(SuiteId::Annotator)->SetAnnotatorActive(s.annotatorHandle, 0);
  error = SuiteAs<AINotifierSuite>(SuiteId::Notifier)
              ->SetNotifierActive(s.notifierHandles[kLayerOptionsNotifier], 0);
  error = RefreshPanel(s);
  return error;
}

AIErr onTrackCursor(void* message) {
  PluginState& s = *State();
  const auto& toolMessage = *static_cast<const AIToolMessage*>(message);
  int32_t documents = 0;
  AIErr error = SuiteAs<AIDocumentListSuite>(SuiteId::DocumentList)->Count(&documents);
  if (error != kNoErr || documents == 0) {
    // Nothing to hover over: the plain arrow.
    return setCursor(toolMessage.d.self, s.pointCount > 0 ? kCursorTableArrow : kCursorArrow);
  }
  const AIDocumentViewHandle view = frontView();

  // The host may have changed the selection while another tool was borrowed: give the kept points
  // their selection back.
  if (s.toolSuspended) {
    s.toolSuspended = 0;
    error = reapplyAllSelections(s);
    error = invalidateAllViews(s);
  }
  hoverHitTest(s, toolMessage);
  error = updateInfoPanel(s);
  if (view != nullptr) {
    error =
        SuiteAs<AIAnnotatorSuite>(SuiteId::Annotator)->InvalAnnotationRect(view, &s.cursorMarkRect);
  }
  return error;
}
AIErr onIncreaseDiameter(void*) {
  PluginState& s = *State();
  const auto* paths = SuiteAs<AIPathSuite>(SuiteId::Path);
  AIErr error = kNoErr;
  // Retract every selected handle onto its anchor, last entry first; then the table is empty.
  for (int i = s.pointCount - 1; i >= 0; --i) {
    PointRecord& entry = s.pointTable[i];
    // Start from the path as it is now, so that only the selected handles change.
    AIPathSegment current{};
    if (paths->GetPathSegments(entry.art, entry.segmentIndex, 1, &current) == kNoErr) {
      entry.segment = current;
    }
    if (entry.handleFlags[kInHandleFlag]) entry.segment.in = entry.segment.p;
    if (entry.handleFlags[kOutHandleFlag]) entry.segment.out = entry.segment.p;
    error = paths->SetPathSegments(entry.art, entry.segmentIndex, 1, &entry.segment);
  }
  clearEntries(s);
  error = invalidateAllViews(s);
  return error;
}

}  // namespace sq
