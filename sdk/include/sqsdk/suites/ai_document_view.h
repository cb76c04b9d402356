/* "AI Document View Suite": the views of the current document: zoom, scroll, conversion, grid. */
#pragma once

#include "../types.h"

#ifdef __cplusplus
extern "C" {
#endif

/* A view shows part of a document in a window of whole pixels. View coordinates have (0, 0) at the
   top-left corner of the view, x to the right and y downward; artwork coordinates are points, h to
   the right and v upward. With zoom z (pixels per point) and (L, T) the artwork point at the view's
   top-left corner:
     x = floor((h - L) * z + 0.5)        h = L + x / z
     y = floor((T - v) * z + 0.5)        v = T - y / z
   so an artwork point maps to the nearest pixel (halves toward +x / +y) and a view point maps back
   without rounding to pixels. The host never reports a zoom of 0: zooms lie in
   [kAIMinViewZoom, kAIMaxViewZoom].

   Views are numbered from the front: the front view of the current document is both view 0 and
   view 1, and views 1 .. CountDocumentViews are all views of the current document, front to back.
   Operations fail with kNoDocumentErr when no document is open, kBadHandleErr for a view that is
   not live and kBadParameterErr for a null pointer; a failing call changes nothing. View changes
   are not recorded for undo. Zooming or scrolling a view, or bringing another view to the front,
   causes "AI Document View Changed Notifier" (ai_notifier.h) and a whole-view redraw of the
   annotations (ai_annotator.h). */

#define kAIDocumentViewSuite "AI Document View Suite"
#define kAIDocumentViewSuiteVersion 10

#define kAIMinViewZoom 0.03125f
#define kAIMaxViewZoom 64.0f

typedef struct AIDocumentViewSuite {
  /* View n of the current document in *outView: 0 and 1 both give the front view, 2 the next, up
     to CountDocumentViews. Fails with kOutOfRangeErr for other n. */
  AIErr (*GetNthDocumentView)(int32_t n, AIDocumentViewHandle* outView);

  /* The number of views of the current document in *outCount (at least 1 while one is open). */
  AIErr (*CountDocumentViews)(int32_t* outCount);

  /* The artwork area the view shows, in *outBounds: left and top are L and T above; right and
     bottom are the artwork coordinates of the view's bottom-right corner, so the view position of
     (right, bottom) is the view's size in pixels. */
  AIErr (*GetDocumentViewBounds)(AIDocumentViewHandle view, AIRealRect* outBounds);

  /* The view's zoom in pixels per point (1 is actual size) in *outZoom. */
  AIErr (*GetDocumentViewZoom)(AIDocumentViewHandle view, AIReal* outZoom);

  /* Set the zoom, keeping the artwork point at the view's centre in place. A zoom outside
     [kAIMinViewZoom, kAIMaxViewZoom] fails with kBadParameterErr, a non-finite one with
     kNonFiniteErr. */
  AIErr (*SetDocumentViewZoom)(AIDocumentViewHandle view, AIReal zoom);

  /* The artwork point shown at the view's centre, in *outCenter. */
  AIErr (*GetDocumentViewCenter)(AIDocumentViewHandle view, AIRealPoint* outCenter);

  /* Scroll the view so that center is shown at its centre. Non-finite: kNonFiniteErr. */
  AIErr (*SetDocumentViewCenter)(AIDocumentViewHandle view, const AIRealPoint* center);

  /* Convert an artwork point to a view point (whole pixels, formula above). Non-finite input fails
     with kNonFiniteErr; a result outside the signed 32-bit range with kBadParameterErr. */
  AIErr (*ArtworkPointToViewPoint)(AIDocumentViewHandle view, const AIRealPoint* artworkPoint,
                                   AIPoint* outViewPoint);

  /* Convert a view point to the artwork point it shows (formula above, not rounded). */
  AIErr (*ViewPointToArtworkPoint)(AIDocumentViewHandle view, const AIPoint* viewPoint,
                                   AIRealPoint* outArtworkPoint);

  /* The view's two grid flags: *outShowGrid (the grid is drawn) and *outSnapToGrid (the host's
     snap-to-grid option is on). */
  AIErr (*GetDocumentViewGridOptions)(AIDocumentViewHandle view, AIBoolean* outShowGrid,
                                      AIBoolean* outSnapToGrid);

  /* Set the view's two grid flags. */
  AIErr (*SetDocumentViewGridOptions)(AIDocumentViewHandle view, AIBoolean showGrid,
                                      AIBoolean snapToGrid);
} AIDocumentViewSuite;

#ifdef __cplusplus
}
#endif
