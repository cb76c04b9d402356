// Bringing the point editor panel up to date: the five states after RefreshPanel, the handle
// selection, the path summary and the point fields.
#include <cmath>
#include <cstdio>
#include <numbers>
#include <string>

#include "commands/redundant_points.hpp"
#include "geometry/connector.hpp"
#include "geometry/selection.hpp"
#include "panel/panel_items.hpp"
#include "panel/panel_status.hpp"
#include "shell/host_suites.hpp"
#include "shell/shared_operations.hpp"
#include "sqsdk/errors.h"
#include "sqsdk/suites/adm_item.h"
#include "sqsdk/suites/ai_art.h"
#include "sqsdk/suites/ai_art_set.h"
#include "sqsdk/suites/ai_artboard.h"
#include "sqsdk/suites/ai_path.h"
#include "sqsdk/suites/ai_real_math.h"

namespace sq {

namespace {

constexpr int32_t kIndexLineWidthWithButton = 108;
constexpr int32_t kIndexLineWidthAlone = 190;
constexpr int32_t kIndexLineWidthForPoint = 148;
constexpr int32_t kHostPointSelected = 1;

double degrees(double radians) {
  return radians * 180.0 / std::numbers::pi;
}

// The counts of the selected paths that the summary line and the flyout entries need.
struct PathCounts {
  int32_t paths = 0;
  int32_t singlePoint = 0;
  int32_t closed = 0;
};

// Walks the working art set: counts the selected points into pointCount and the paths by kind.
PathCounts countSelection(PluginState& s, int32_t& pointCount) {
  const auto* sets = SuiteAs<AIArtSetSuite>(SuiteId::ArtSet);
  const auto* arts = SuiteAs<AIArtSuite>(SuiteId::Art);
  const auto* paths = SuiteAs<AIPathSuite>(SuiteId::Path);
  PathCounts counts;
  for (int32_t i = 0; i < s.workingArtCount; ++i) {
    AIArtHandle art = nullptr;
    if (sets->IndexArtSet(s.workingArtSet, i, &art) != kNoErr) continue;
    CountSelectedPoints(s, art, pointCount);
    int32_t type = kAIUnknownArt;
    if (arts->GetArtType(art, &type) != kNoErr || type != kAIPathArt) continue;
    ++counts.paths;
    int32_t segments = 0;
    paths->GetPathSegmentCount(art, &segments);
    AIBoolean closed = 0;
    if (segments < 2) {
      ++counts.singlePoint;
    } else if (paths->GetPathClosed(art, &closed) == kNoErr && closed) {
      ++counts.closed;
    }
  }
  return counts;
}

// The only selected path, for the stepping buttons and the first-point button.
AIArtHandle onlyPath(PluginState& s) {
  const auto* sets = SuiteAs<AIArtSetSuite>(SuiteId::ArtSet);
  const auto* arts = SuiteAs<AIArtSuite>(SuiteId::Art);
  for (int32_t i = 0; i < s.workingArtCount; ++i) {
    AIArtHandle art = nullptr;
    int32_t type = kAIUnknownArt;
    if (sets->IndexArtSet(s.workingArtSet, i, &art) == kNoErr &&
        arts->GetArtType(art, &type) == kNoErr && type == kAIPathArt) {
      return art;
    }
  }
  return nullptr;
}

bool currentPointIsConnector(PluginState& s) {
  const WholePath path = readWholePath(s.currentPoint.art);
  if (path.count() == 0) return false;
  ConnectorQuery query;
  query.recognizeConnectors = s.settings.recognize_connectors != 0;
  query.angleThresholdRadians = s.angleThresholdRadians;
  query.dragMode = s.dragMode;
  query.anchorCase = s.anchorCase;
  query.lookForward = false;
  return TestConnector(s.currentPoint.segment, s.currentPoint.segmentIndex, path.segments,
                       path.closed, query)
             .isConnector != 0;
}

void releaseWorkingSet(PluginState& s) {
  if (s.workingArtSet != nullptr) {
    SuiteAs<AIArtSetSuite>(SuiteId::ArtSet)->DisposeArtSet(s.workingArtSet);
  }
  s.workingArtSet = nullptr;
}

}  // namespace

AIErr RefreshPanel(PluginState& s) {
  if (s.panelDialog == nullptr) return kNoErr;
  if (s.pointCount >= 1) {
    HidePointGroup(s);
    EnterHandleMode(s);
    ShowLinkMark(s, false);
    return kNoErr;
  }

  EnterPointMode(s);
  // Host errors while walking the selection are ignored: whatever was counted is shown.
  gatherSelectedPaths(s);
  int32_t points = 0;
  const PathCounts counts = countSelection(s, points);

  if (counts.paths == 0) {
    SetStatusText(s, "No paths selected");
    setItemText(s, kIndexLine, " ");
    DisablePointButtons(s);
    DisablePointFields(s);
    ShowFirstPointButton(s, false);
    for (const int32_t entry :
         {kEntrySelectHandles, kEntryCopyHandles, kEntryPasteHandles, kEntryClosePath,
          kEntryReverse, kEntryRemoveRedundant, kEntryTangencies, kEntryConnectors}) {
      enableEntry(s, entry, false);
    }
    ShowRedundantWarning(s, false);
    ShowLinkMark(s, false);
    releaseWorkingSet(s);
    return kNoErr;
  }

  std::string status;
  const bool onePath = counts.paths == 1;
  if (points == 1) {
    const bool connector = currentPointIsConnector(s);
    enableEntry(s, kEntryCopyHandles, true);
    const bool corner = s.currentPoint.segment.corner != 0;
    status = corner ? "Corner point selected" : "Smooth point selected";
    if (connector && s.settings.recognize_connectors) status += " (connector)";
    ShowPointFields(s);
    ShowPointGroup(s);
    ShowLinkMark(s, !corner);
    ShowFirstPointButton(s, false);
  } else if (points >= 2) {
    enableEntry(s, kEntryCopyHandles, false);
    char text[64];
    std::snprintf(text, sizeof text, "%d points selected", static_cast<int>(points));
    status = text;
    ShowSeveralPointsLayout(s);
    if (onePath) s.currentPoint.art = onlyPath(s);
    ShowFirstPointButton(s, onePath);
    ShowPathSummary(s, counts.paths, counts.singlePoint, counts.closed, onePath);
    ShowLinkMark(s, false);
  } else {
    SetStatusText(s, "No points selected");
    DisablePointButtons(s);
    DisablePointFields(s);
    if (onePath) s.currentPoint.art = onlyPath(s);
    ShowFirstPointButton(s, onePath);
    ShowPathSummary(s, counts.paths, counts.singlePoint, counts.closed, onePath);
    ShowLinkMark(s, false);
    for (const int32_t entry : {kEntrySelectHandles, kEntryCopyHandles, kEntryPasteHandles}) {
      enableEntry(s, entry, false);
    }
  }
  if (points >= 1) {
    enableEntry(s, kEntrySelectHandles, true);
    enableEntry(s, kEntryPasteHandles, true);
  }

  const int32_t open = counts.paths - counts.singlePoint - counts.closed;
  if (open < 1) {
    enableEntry(s, kEntryClosePath, false);
  } else {
    enableEntry(s, kEntryClosePath, true);
    s.severalOpenPaths = open != 1 ? 1 : 0;
  }
  const int32_t multi = counts.paths - counts.singlePoint;
  if (multi < 1) {
    for (const int32_t entry : {kEntryReverse, kEntryTangencies, kEntryConnectors}) {
      enableEntry(s, entry, false);
    }
  } else {
    enableEntry(s, kEntryReverse, true);
    enableEntry(s, kEntryTangencies, true);
    enableEntry(s, kEntryConnectors, s.settings.recognize_connectors != 0);
    setEntryText(s, kEntryReverse,
                 multi == 1 ? "Reverse path direction" : "Reverse path directions");
  }

  const int32_t redundant = CountRedundantPoints(s);
  enableEntry(s, kEntryRemoveRedundant, redundant > 0);
  ShowRedundantWarning(s, redundant > 0);

  if (points >= 1) SetStatusText(s, status.c_str());
  releaseWorkingSet(s);
  return kNoErr;
}

AIErr ShowHandleSelection(PluginState& s) {
  if (s.panelDialog == nullptr) return kNoErr;
  char text[96];
  if (s.selectedHandleCount == 1 && s.pointCount >= 1) {
    const bool in = s.selectedInHandleCount == 1;
    std::snprintf(text, sizeof text, "1 %s handle selected", in ? "in" : "out");
    const PointRecord& entry = s.pointTable[0];
    const AIRealPoint handle = in ? entry.segment.in : entry.segment.out;
    const auto* math = SuiteAs<AIRealMathSuite>(SuiteId::RealMath);
    AIReal length = 0;
    AIReal angle = 0;
    math->RealPointLength(&entry.segment.p, &handle, &length);
    math->RealPointAngle(&entry.segment.p, &handle, &angle);
    s.MHSetLength = length;
    s.MHSetAngle = degrees(angle);
    setItemValue(s, kSetLengthField, s.MHSetLength);
    setItemValue(s, kSetAngleField, s.MHSetAngle);
  } else {
    std::snprintf(text, sizeof text, "%d handles selected (%d in, %d out)",
                  static_cast<int>(s.selectedHandleCount),
                  static_cast<int>(s.selectedInHandleCount),
                  static_cast<int>(s.selectedHandleCount - s.selectedInHandleCount));
  }
  HidePointGroup(s);
  EnterHandleMode(s);
  ShowLinkMark(s, false);
  SetStatusText(s, text);
  return kNoErr;
}

void CountSelectedPoints(PluginState& s, AIArtHandle path, int32_t& count) {
  const auto* arts = SuiteAs<AIArtSuite>(SuiteId::Art);
  const auto* paths = SuiteAs<AIPathSuite>(SuiteId::Path);
  int32_t type = kAIUnknownArt;
  if (arts->GetArtType(path, &type) != kNoErr || type != kAIPathArt) return;
  int32_t segments = 0;
  if (paths->GetPathSegmentCount(path, &segments) != kNoErr) return;
  AIBoolean all = 0;
  if (paths->GetPathAllSegmentsSelected(path, &all) == kNoErr && all && segments > 1) {
    count += segments;
    return;
  }
  for (int32_t i = 0; i < segments; ++i) {
    int32_t state = 0;
    if (paths->GetPathSegmentSelected(path, i, &state) != kNoErr || state != kHostPointSelected) {
      continue;
    }
    if (count == 0) {
      AIPathSegment segment{};
      if (paths->GetPathSegments(path, i, 1, &segment) == kNoErr) {
        s.currentPoint.art = path;
        s.currentPoint.segmentIndex = static_cast<int16_t>(i);
        s.currentPoint.segment = segment;
      }
    }
    ++count;
  }
}

std::string PathSummaryText(int32_t paths, int32_t singlePoint, int32_t closed) {
  char text[128];
  std::snprintf(text, sizeof text, "%ld path%s ", static_cast<long>(paths), paths == 1 ? "" : "s");
  std::string summary = text;
  const long a = paths, b = singlePoint, c = closed;
  if (a == 1) {
    summary += c == 1 ? "(Closed)" : "(Open)";
  } else if (c > 0) {
    if (a == c) {
      summary += "(All closed)";
    } else if (b == 0) {
      std::snprintf(text, sizeof text, "(%ld closed, %ld open)", c, a - c);
      summary += text;
    } else if (a - b == c) {
      std::snprintf(text, sizeof text, "(%ld closed, %ld single-point)", c, b);
      summary += text;
    } else {
      std::snprintf(text, sizeof text, "(%ld closed, %ld open, %ld single-point)", c, a - b - c, b);
      summary += text;
    }
  } else if (b == 0) {
    summary += "(All open)";
  } else if (a == b) {
    summary += "(All single-point)";
  } else {
    std::snprintf(text, sizeof text, "(%ld open, %ld single-point)", a - b, b);
    summary += text;
  }
  return summary;
}

void ShowPathSummary(PluginState& s, int32_t paths, int32_t singlePoint, int32_t closed,
                     bool firstPointButtonShown) {
  const std::string text = PathSummaryText(paths, singlePoint, closed);
  setItemText(s, kIndexLine, text.c_str());
  setItemWidth(s, kIndexLine,
               firstPointButtonShown ? kIndexLineWidthWithButton : kIndexLineWidthAlone);
}

void ShowPointFields(PluginState& s) {
  if (s.panelDialog == nullptr) return;
  const auto* math = SuiteAs<AIRealMathSuite>(SuiteId::RealMath);
  const auto* items = SuiteAs<ADMItemSuite>(SuiteId::ADMItem);
  const AIPathSegment& segment = s.currentPoint.segment;
  const AIRealPoint points[3] = {segment.p, segment.in, segment.out};
  double x[3];
  double y[3];
  for (int k = 0; k < 3; ++k) {
    x[k] = points[k].h;
    y[k] = points[k].v;
  }
  if (s.artboardRulers) {
    const auto* artboards = SuiteAs<AIArtboardSuite>(SuiteId::Artboard);
    int32_t index = 0;
    AIRealRect bounds{};
    AIRealPoint origin{};
    if (artboards->GetActiveArtboardIndex(&index) == kNoErr &&
        artboards->GetArtboardBounds(index, &bounds) == kNoErr &&
        artboards->GetArtboardRulerOrigin(index, &origin) == kNoErr) {
      for (int k = 0; k < 3; ++k) {
        x[k] = x[k] - bounds.left - origin.h;
        y[k] = y[k] - bounds.top + origin.v;
      }
    }
  }
  if (s.isRulerIn4thQuad) {
    for (double& v : y) v = -v;
  }
  AIReal inLength = 0, outLength = 0, inAngle = 0, outAngle = 0;
  math->RealPointLength(&segment.p, &segment.in, &inLength);
  math->RealPointLength(&segment.p, &segment.out, &outLength);
  math->RealPointAngle(&segment.p, &segment.in, &inAngle);
  math->RealPointAngle(&segment.p, &segment.out, &outAngle);

  const struct {
    int32_t id;
    double value;
  } fields[] = {
      {kAnchorXField, x[0]},
      {kAnchorYField, y[0]},
      {kInXField, x[1]},
      {kInYField, y[1]},
      {kInLengthField, inLength},
      {kInAngleField, degrees(inAngle)},
      {kOutXField, x[2]},
      {kOutYField, y[2]},
      {kOutLengthField, outLength},
      {kOutAngleField, degrees(outAngle)},
  };
  for (const auto& field : fields) {
    if (const ADMItemRef item = panelItem(s, field.id)) {
      items->SetFloatValue(item, static_cast<AIReal>(field.value));
      items->ShowUnits(item, 1);
      items->Update(item);
    }
  }

  setItemWidth(s, kIndexLine, kIndexLineWidthForPoint);
  const WholePath path = readWholePath(s.currentPoint.art);
  char text[96];
  if (s.dragMode == kDragSegment) {
    std::snprintf(text, sizeof text, " ");
  } else if (path.count() == 1) {
    std::snprintf(text, sizeof text, "Point 0 (Single-point path)");
  } else {
    std::snprintf(text, sizeof text, "Point %hd (Range: 0 - %hd)", s.currentPoint.segmentIndex,
                  static_cast<short>(path.count() - 1));
  }
  setItemText(s, kIndexLine, text);

  for (int32_t id = kAnchorXField; id <= kOutAngleField; id += 2) {
    const ADMItemRef item = panelItem(s, id);
    AIBoolean active = 0;
    if (item != nullptr && items->IsActive(item, &active) == kNoErr && active) {
      items->SelectAll(item);
      break;
    }
  }
}

}  // namespace sq
