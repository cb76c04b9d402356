/* Dialog-manager callback types, colours, fonts and measurement units shared by the ADM suites. */
#pragma once

#include "../types.h"

#ifdef __cplusplus
extern "C" {
#endif

/* ---- Callbacks ------------------------------------------------------------------------------

   The plug-in hands these to the dialog manager; the host calls them back later.
   - They run on the host's user-interface thread, never on another thread and never two at once,
     but one may run while a message of the plug-in is still being handled (for example while a
     modal dialog of the plug-in is open).
   - Every reference passed in (dialog, item, drawer, tracker, notifier) is valid for the duration
     of the call. Drawers, trackers and notifiers belong to the host: do not keep them afterwards.
   - A callback must not let a C++ exception escape: catch everything and return an error code.
     A non-zero result is logged by the host and otherwise ignored, except for the dialog init
     proc (see ADMDialogSuite).
   - Each user action on a dialog (a button press, a committed value, a menu or popup choice) runs
     in its own undo context: the document changes made by the callbacks it triggers become one
     undo entry. Host notifications caused by them are delivered after the callbacks return. */

/* Called once while a dialog is being created, before it is shown: create and set up its items. */
typedef AIErr (*ADMDialogInitProc)(ADMDialogRef dialog);

/* Called whenever the host draws the dialog. drawer covers the whole dialog (dialog-local pixels).
   Call ADMDialogSuite.DefaultDraw to draw the background and the items. */
typedef AIErr (*ADMDialogDrawProc)(ADMDialogRef dialog, ADMDrawerRef drawer);

/* Called with dialog-level notifications (shown, hidden, moved; see adm_notifier.h). */
typedef AIErr (*ADMDialogNotifyProc)(ADMDialogRef dialog, ADMNotifierRef notifier);

/* Called once when the dialog goes away, before its items are destroyed; the dialog and its items
   can still be read. Free any user data here. */
typedef AIErr (*ADMDialogDestroyProc)(ADMDialogRef dialog);

/* Called whenever the host draws the item. drawer covers the item's area in item-local pixels
   (0, 0 at the item's top-left corner). Call ADMItemSuite.DefaultDraw for the standard look. */
typedef AIErr (*ADMItemDrawProc)(ADMItemRef item, ADMDrawerRef drawer);

/* Called with the item's notifications, above all "ADM User Changed Notifier" when the user has
   pressed, toggled, chosen or committed something. Call ADMItemSuite.DefaultNotify for the
   standard behaviour (for example closing a modal dialog from its OK or Cancel button). */
typedef AIErr (*ADMItemNotifyProc)(ADMItemRef item, ADMNotifierRef notifier);

/* Called for each mouse or key event on the item that its action mask lets through (see
   adm_tracker.h). Call ADMItemSuite.DefaultTrack for the standard handling. Returns non-zero when
   the event was consumed: a consumed key is not passed on to the dialog (Enter does not also press
   the dialog's default button). */
typedef AIBoolean (*ADMItemTrackProc)(ADMItemRef item, ADMTrackerRef tracker);

/* Called once when the item goes away. Free any user data here. */
typedef AIErr (*ADMItemDestroyProc)(ADMItemRef item);

/* ---- Colours --------------------------------------------------------------------------------

   A drawer colour is 32 bits. A value whose low byte is 0xFF is an explicit colour 0xRRGGBBFF
   (red 0xFF0000FF, grey 0x888888FF). Any other value must be one of the colour codes below, which
   name colours of the dialog manager's own palette. */
typedef uint32_t ADMColor;

enum {
  kADMBlackColor = 0,
  kADMWhiteColor = 1,
  kADMBackgroundColor = 2, /* the face colour of dialogs and panels */
  kADMTextColor = 3,       /* the colour of item texts */
  kADMHiliteColor = 4,     /* the background of selected text and chosen entries */
  kADMDisabledColor = 5    /* the colour of disabled item texts */
};

/* An explicit colour from 8-bit channels. */
#define ADM_RGB_COLOR(r, g, b)                                                  \
  ((ADMColor)(((uint32_t)(uint8_t)(r) << 24) | ((uint32_t)(uint8_t)(g) << 16) | \
              ((uint32_t)(uint8_t)(b) << 8) | 0xFFu))

/* ---- Fonts ----------------------------------------------------------------------------------

   Font numbers for items and drawers. The dialog fonts are larger than the palette fonts. */
enum {
  kADMDefaultFont = 0, /* the dialog's own font (its template font, else the dialog font) */
  kADMDialogFont = 1,
  kADMPaletteFont = 2,
  kADMItalicDialogFont = 3,
  kADMItalicPaletteFont = 4,
  kADMBoldDialogFont = 5, /* the larger bold font */
  kADMBoldPaletteFont = 6 /* the small bold font of panels */
};

/* ---- Measurement units ----------------------------------------------------------------------

   Units of number fields. Lengths are always exchanged with the plug-in in points (1/72 inch);
   the field converts them for display and converts typed values back. Percent and degree fields,
   and fields without units, show the value as it is.

   Suffixes, when a field shows its units: " pt", " in", " mm", " cm", " pc" (picas of 12 points),
   " px" (one pixel per point), "%" and "°" (U+00B0), as in "12.5 pt", "150%" and "45°". */
enum {
  kADMNoUnits = 0,
  kADMPointUnits = 1,
  kADMInchUnits = 2,
  kADMMillimeterUnits = 3,
  kADMCentimeterUnits = 4,
  kADMPicaUnits = 5,
  kADMPercentUnits = 6,
  kADMDegreeUnits = 7,
  kADMPixelUnits = 8,

  /* The host's general measurement units: not a unit itself but a name that
     ADMBasicSuite.GetAppUnits resolves to one of the values above. */
  kADMAppUnits1 = 101
};

#ifdef __cplusplus
}
#endif
