/* "ADM Drawer Suite": drawing lines, rectangles, ovals, icons and text on a port or in an item. */
#pragma once

#include "../types.h"
#include "adm_types.h"

#ifdef __cplusplus
extern "C" {
#endif

#define kADMDrawerSuite "ADM Drawer Suite"
#define kADMDrawerSuiteVersion 7

/* Draw modes (SetDrawMode). */
enum {
  kADMNormalMode = 0, /* paint in the current colour */
  kADMXorMode = 1     /* invert what lies beneath by the current colour; drawing twice undoes it */
};

/* Drawers.
   - A drawer draws on a port: the port an annotator's "AI Draw" message carries (Create), or the
     area of a dialog or item the host is drawing (the drawer handed to a draw proc, which belongs
     to the host and must not be destroyed).
   - Coordinates are the port's pixels, x right, y down: view pixels for an annotation port,
     item-local (0, 0 at the item's top-left) or dialog-local pixels in draw procs. A rectangle
     covers the pixels left <= x < right, top <= y < bottom; one with right <= left or
     bottom <= top is empty and draws nothing.
   - Nothing is drawn outside the drawer's bounds, nor outside its clip, which starts as the
     bounds. A new drawer draws in kADMNormalMode, in black, in the font it was created with.
   - The host records what is drawn on a port as a display list, in order (each shape with the
     colour, mode, font and clip in force), and renders that list for the screen and for image
     output; tests read it.
   - Fonts are fixed per font number (adm_types.h), so text widths are the same on every run.

   Every operation also fails with kBadHandleErr for a reference that is not a live drawer (or
   port, icon) and with kBadParameterErr for a null pointer argument. */

typedef struct ADMDrawerSuite {
  /* Create a drawer on an annotation port, limited to boundsRect (port pixels), with a font of
     adm_types.h, and write it to *outDrawer. The port is valid only during its "AI Draw" message:
     destroy the drawer before the message returns (the host destroys and logs any left over).
     Fails with kBadParameterErr for an unknown font. */
  AIErr (*Create)(AIPortRef port, const AIRect* boundsRect, int32_t font, ADMDrawerRef* outDrawer);

  /* Destroy a drawer made by Create; the reference becomes invalid. Fails with kBadParameterErr
     for a drawer handed to a draw proc. */
  AIErr (*Destroy)(ADMDrawerRef drawer);

  /* The drawer's bounds in its coordinates: the rectangle given to Create, or the whole item or
     dialog, (0, 0, width, height), in a draw proc. */
  AIErr (*GetBoundsRect)(ADMDrawerRef drawer, AIRect* outRect);

  /* Choose how later shapes are painted: kADMNormalMode or kADMXorMode. Fails with
     kBadParameterErr for another mode. */
  AIErr (*SetDrawMode)(ADMDrawerRef drawer, int32_t mode);

  /* Replace the clip with this rectangle (always within the bounds as well). An empty rectangle
     makes later drawing invisible until the clip is set again. */
  AIErr (*SetClipRect)(ADMDrawerRef drawer, const AIRect* rect);

  /* Add this rectangle to the clip: later shapes show inside the union of the rectangles set and
     added since the last SetClipRect. */
  AIErr (*AddClipRect)(ADMDrawerRef drawer, const AIRect* rect);

  /* Draw in a colour code or an explicit 0xRRGGBBFF colour (adm_types.h) from now on. Fails with
     kBadParameterErr for a value that is neither. */
  AIErr (*SetColor)(ADMDrawerRef drawer, ADMColor color);

  /* Draw in this colour from now on; each 16-bit channel is reduced to its high byte. */
  AIErr (*SetRGBColor)(ADMDrawerRef drawer, const AIRGBColor* color);

  /* Draw later text in a font of adm_types.h. Fails with kBadParameterErr for an unknown font. */
  AIErr (*SetFont)(ADMDrawerRef drawer, int32_t font);

  /* A one-pixel line from start to end, both end points included, in the current colour. */
  AIErr (*DrawLine)(ADMDrawerRef drawer, const AIPoint* start, const AIPoint* end);

  /* Fill the rectangle in the current colour. */
  AIErr (*FillRect)(ADMDrawerRef drawer, const AIRect* rect);

  /* Draw the rectangle's one-pixel outline, on its outermost pixels, in the current colour. */
  AIErr (*FrameRect)(ADMDrawerRef drawer, const AIRect* rect);

  /* Erase the rectangle to the port's background: the dialog's face colour in a draw proc,
     transparent (nothing drawn there) on an annotation port. */
  AIErr (*ClearRect)(ADMDrawerRef drawer, const AIRect* rect);

  /* Fill the ellipse inscribed in the rectangle in the current colour. */
  AIErr (*FillOval)(ADMDrawerRef drawer, const AIRect* rect);

  /* Draw the one-pixel outline of the ellipse inscribed in the rectangle, in the current colour. */
  AIErr (*FrameOval)(ADMDrawerRef drawer, const AIRect* rect);

  /* Draw the icon at its own size with its top-left corner at topLeft, blended by its
     transparency; the current colour and mode do not apply. */
  AIErr (*DrawIcon)(ADMDrawerRef drawer, ADMIconRef icon, const AIPoint* topLeft);

  /* The width in pixels that DrawText would take for text (null-terminated UTF-8) in the current
     font. */
  AIErr (*GetTextWidth)(ADMDrawerRef drawer, const char* text, int32_t* outWidth);

  /* Draw text (null-terminated UTF-8) in the current font and colour, on one line, its baseline
     starting at baselineStart. */
  AIErr (*DrawText)(ADMDrawerRef drawer, const char* text, const AIPoint* baselineStart);
} ADMDrawerSuite;

#ifdef __cplusplus
}
#endif
