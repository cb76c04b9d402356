/* "AI Annotator Suite": plug-in drawing over document views, redrawn through invalidated areas. */
#pragma once

#include "../types.h"

#ifdef __cplusplus
extern "C" {
#endif

/* An annotator draws over the artwork of every view of the current document. The host keeps a
   dirty region per view. InvalAnnotationRect adds to it; when the host next paints (when it is
   idle, and before it renders a view to an image) it sends "AI Annotation" / "AI Draw"
   (messages.h) to every active annotator with the view, a drawing port and the dirty rectangles,
   clipped to the view, then clears the region. The drawer created on the port (ADM Drawer Suite)
   records the drawing as a display list, which the host rasterises for images.

   When the host repaints a whole view for its own reasons (the artwork changed, the view scrolled,
   zoomed or was resized), it first sends "AI Annotation" / "AI Invalidate" to every active
   annotator, so that each can invalidate what it drew, and then "AI Draw" with the whole view.
   Inactive annotators receive no messages. Operations fail with kBadHandleErr for an annotator or
   view that is not live and kBadParameterErr for a null pointer; a failing call changes nothing. */

#define kAIAnnotatorSuite "AI Annotator Suite"
#define kAIAnnotatorSuiteVersion 4

typedef struct AIAnnotatorSuite {
  /* Register an annotator of plugin under name (copied) and write its handle to *outAnnotator; it
     lives until the host shuts down and starts active. Fails with kDuplicateNameErr when the
     plug-in already has an annotator of that name. */
  AIErr (*AddAnnotator)(SPPluginRef plugin, const char* name, AIAnnotatorHandle* outAnnotator);

  /* Switch the annotator on (non-zero) or off. Switching it off does not erase what it drew; the
     plug-in invalidates that first. */
  AIErr (*SetAnnotatorActive)(AIAnnotatorHandle annotator, AIBoolean active);

  /* Non-zero in *outActive while the annotator is on. */
  AIErr (*GetAnnotatorActive)(AIAnnotatorHandle annotator, AIBoolean* outActive);

  /* Add rect (view pixels: left, top, right, bottom, right and bottom exclusive) to the view's
     dirty region. The part outside the view is dropped; an empty rectangle (right <= left or bottom
     <= top) is ignored. */
  AIErr (*InvalAnnotationRect)(AIDocumentViewHandle view, const AIRect* rect);
} AIAnnotatorSuite;

#ifdef __cplusplus
}
#endif
