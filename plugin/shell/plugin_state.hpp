// The plug-in's single state record, its point records and the process-wide pointer to it.
#pragma once

#include <bitset>
#include <cstdint>

#include "geometry/connector.hpp"
#include "geometry/curve.hpp"
#include "sqsdk/basic.h"
#include "sqsdk/types.h"

namespace sq {

// Capacity of the point table: the most handles-bearing points the tool keeps selected at once.
inline constexpr int kPointTableCapacity = 4000;

inline constexpr int kArrowheadCount = 36;
inline constexpr int kLabelCount = 6;
inline constexpr int kNotifierCount = 14;

// Positions in PointRecord::handleFlags.
inline constexpr std::size_t kInHandleFlag = 0;
inline constexpr std::size_t kOutHandleFlag = 1;
// Positions in PointRecord::shownParts.
inline constexpr std::size_t kInHandleShown = 0;
inline constexpr std::size_t kOutHandleShown = 1;
inline constexpr std::size_t kAnchorShown = 2;

// One anchor point of one path together with the tool's selection of its handles. The segment
// fields are exchanged with the host unchanged.
struct PointRecord {
  AIArtHandle art = nullptr;
  int16_t segmentIndex = 0;
  // The host's selection state of the segment: 0 none, 1 anchor, 2 in side, 3 out side, 4 both.
  int16_t selectionState = 0;
  AIPathSegment segment{};       // as last read from or written to the host
  AIPathSegment savedSegment{};  // taken when the entry is made and at the start of each drag
  AIRGBColor layerColor{};       // colour of the layer holding art; marks are drawn in it
  std::bitset<4> handleFlags;    // 0: in handle selected, 1: out handle selected
  std::bitset<4> shownParts;     // 0: in handle shown, 1: out handle shown, 2: anchor shown
};

// Drag modes: what the current press grabbed.
enum DragMode : int32_t {
  kDragMarquee = 0,
  kDragInHandle = 1,
  kDragOutHandle = 2,
  kDragAnchor = 3,
  kDragSegment = 4,
  kDragAddPoint = 5,
};

// The user's settings, named after their preference keys.
struct Settings {
  int32_t shift_equalizes;
  int32_t anchor_allHandles;
  int32_t drag_break;
  int32_t slowdrag;
  int32_t pointdrag;
  int32_t slowdragCtrl;
  int32_t multi_extendPro;
  int32_t multi_extendSAZ;
  int32_t precision;
  double shift_multi;
  double slowdrag_div;
  double smoothing;
  int32_t use_ring;
  int32_t use_ring_paths;
  int32_t ring_has_text;
  int32_t boxed_text;
  int32_t boxed_text_large;
  int32_t expanded;
  int32_t counterrotate;
  int32_t addpoints;
  int32_t snap_to_tangencies;
  int32_t highlight_tangencies;
  int32_t recognize_connectors;
  double angle_threshhold;
};

// Everything of the plug-in that outlives one host message. Allocated zero-filled from the host's
// block service at start-up and freed at shut-down; it survives unloading of the library.
struct PluginState {
  // Host registrations.
  AIToolHandle toolHandle;
  AIAnnotatorHandle annotatorHandle;
  AIDocumentViewHandle currentView;  // view the point table was gathered for; null: no document

  // Tool images.
  ADMIconRef arrowheadIcons[kArrowheadCount];
  ADMIconRef ringIcon;
  ADMIconRef labelIcons[kLabelCount];
  ADMIconRef dotIcon;
  double arrowAngle;

  AINotifierHandle notifierHandles[kNotifierCount];  // in registration order

  // Rulers.
  int32_t isRulerIn4thQuad;  // vertical ruler values grow downward
  int32_t artboardRulers;    // coordinates relative to the artboard

  // Press state.
  int32_t dragMode;
  int32_t anchorCase;
  int32_t grabIndex;

  PointRecord pointTable[kPointTableCapacity];

  // Edited points.
  PointRecord grabbedPoint;
  PointRecord previousPoint;
  PointRecord nextPoint;
  PointRecord currentPoint;
  AIRealBezier grabbedSegmentBezier;
  // Connector information of the three edited points.
  ConnectorState grabbedConnector;
  ConnectorState previousConnector;
  ConnectorState nextConnector;

  // Point table counts.
  int32_t pointCount;
  int32_t selectedHandleCount;
  int32_t selectedInHandleCount;

  // Tool working values.
  int32_t toolDragged;
  uint32_t marqueeColor;
  AIRealPoint grabPoint;
  AIRealPoint lastCursor;
  AIRealPoint slowCursor;
  AIRealPoint snappedCursor;
  AIRealPoint hoverPoint;
  AIRealPoint pressPoint;
  AIRealPoint marqueeCorner;
  AIRealPoint previousMarqueeCorner;  // marqueeCorner of the previous drag step
  AIRealPoint previousSnappedCursor;  // snappedCursor of the previous drag step
  float segmentParameter;
  float lengthRatio;
  float rotationDelta;
  float lengthDelta;
  // The grabbed handle's direction at the press: (a, b) = handleTarget − anchor, and, when both
  // are non-zero, b ÷ a and b ÷ a + a ÷ b (the line of the constrained drag).
  AIRealPoint handleDirection;
  float handleSlope;
  float handleSlopeSum;

  // Handle clipboard.
  float clipInAngle;
  float clipInLength;
  float clipOutAngle;
  float clipOutLength;
  int32_t clipCorner;

  // Adjustment values of the panel (persisted).
  double MHIncrement;
  double MHScale;
  double MHRotate;
  double MHSetLength;
  double MHSetAngle;

  // Tool and view flags.
  int32_t toolSelected;
  int32_t extendSelection;
  int32_t dragStarted;
  int32_t firstDragStep;
  int32_t marqueeShown;
  int32_t toolSuspended;
  int32_t fullRedrawPending;
  int32_t hideEdges;
  int32_t adjustAlt;
  int32_t adjustShift;
  int32_t adjustCtrl;
  int32_t othersEdited;
  int32_t anchorMoved;
  int32_t extendOnAltDrag;
  int32_t marqueeCancelled;
  int32_t spaceMoved;    // Space moved the whole point in an earlier step of this drag
  int32_t spaceBlocked;  // Space-moving is suspended for one step
  int32_t constraining;  // this drag step projected the handle onto its line
  // The neighbour (1 previous, 2 next) whose anchor the grabbed anchor was dragged onto; 0: none.
  int32_t coincidingNeighbour;
  int32_t ringShown;
  int32_t tangencySnapped;
  int32_t addPointPreview;

  // Hover and add-point values.
  double tangencyParameter;
  double constrainAngle;  // host preference "constrain/angle", degrees
  AIRealPoint tangencyPoint;
  int32_t hoverLabelKind;
  char hoverLabel[128];
  AIArtHandle hoverArt;
  Curve hoverBezier;  // the segment under the cursor, for segment hits
  AIRect marqueeViewRect;
  AIPoint marqueeStartView;
  AIPoint marqueeCornerView;
  AIRect cursorMarkRect;
  AIRect labelRect;
  AIRealRect selectionRect;
  AIArtHandle selectionArt;

  // Working art set: the paths gathered from the selection.
  AIArtSet workingArtSet;
  int32_t workingArtCount;
  int32_t workingPathCount;

  // Display values.
  int32_t severalOpenPaths;
  int32_t cKeyLatch;
  int32_t unselectedAnchorMarkLarge;
  int32_t selectedAnchorMarkLarge;
  int32_t directionHandleMarkType;

  // Tolerances.
  double angleThresholdRadians;  // angle_threshhold in radians
  int32_t pickRadius;            // host preference "selectionTolerance", pixels
  int32_t snapTolerance;         // host preference "smartGuides/tolerance", pixels

  // Search results.
  double tangencyCandidates[8];

  // Modifier keys held when the panel's menu opened.
  int32_t flyoutCtrl;
  int32_t flyoutAlt;
  int32_t flyoutShift;

  // Targets.
  AIRealPoint handleTarget;
  AIRealPoint cursorPoint;
  AIRect viewRect;

  Settings settings;

  // The point editor panel; null while it does not exist.
  ADMDialogRef panelDialog;
  SPAccessRef panelAccessRef;
  SPPluginRef pluginRef;  // the plug-in itself, for the panel's callbacks, which get no message

  // The host's basic services, stored at start-up.
  SPBasicSuite* basic;
};

// The process-wide pointer to the state record: null before start-up and after shut-down.
PluginState* State();
void SetState(PluginState* state);

}  // namespace sq
