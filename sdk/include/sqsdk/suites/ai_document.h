/* "AI Document Suite": the current document, its canvas bounds and its ruler units. */
#pragma once

#include "../types.h"

#ifdef __cplusplus
extern "C" {
#endif

/* The current document is the front one: the document of view 0 (ai_document_view.h). Every
   operation fails with kNoDocumentErr when no document is open and kBadParameterErr for a null
   pointer; a failing call changes nothing and leaves its outputs untouched.

   Coordinates. Artwork coordinates are points (1/72 inch), h to the right and v upward; a document
   read from SVG maps SVG's y to -v, so with rulers that grow downward ("isRulerIn4thQuad",
   ai_preference.h) the numbers shown are the SVG's own. View coordinates are whole pixels, x to
   the right and y downward (ai_document_view.h). */

#define kAIDocumentSuite "AI Document Suite"
#define kAIDocumentSuiteVersion 12

/* Side of the square canvas, in points. */
#define kAICanvasSize 16383.0f

/* Ruler units: what the user's numbers are measured in. */
enum {
  kAIPointUnits = 0,      /* 1 point */
  kAIInchUnits = 1,       /* 72 points */
  kAIMillimeterUnits = 2, /* 72 / 25.4 points */
  kAICentimeterUnits = 3, /* 720 / 25.4 points */
  kAIPicaUnits = 4,       /* 12 points */
  kAIPixelUnits = 5       /* 1 point */
};

typedef struct AIDocumentSuite {
  /* The current document in *outDocument. */
  AIErr (*GetDocument)(AIDocumentHandle* outDocument);

  /* The canvas of the current document in *outBounds: the largest area artwork may occupy, and the
     rectangle against which edits that would put a point outside the document are refused or
     clamped. Every artboard lies inside it. This host makes it the square of side kAICanvasSize
     centred on the centre of the first artboard. */
  AIErr (*GetDocumentMaxArtboardBounds)(AIRealRect* outBounds);

  /* The ruler units of the current document (kAIPointUnits ... kAIPixelUnits) in *outUnits. */
  AIErr (*GetDocumentRulerUnits)(int32_t* outUnits);

  /* Set the ruler units; other values fail with kBadParameterErr. A change causes "AI Document
     Ruler Unit Changed Notifier" (ai_notifier.h). Not recorded for undo. */
  AIErr (*SetDocumentRulerUnits)(int32_t units);
} AIDocumentSuite;

#ifdef __cplusplus
}
#endif
