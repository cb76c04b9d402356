/* "ADM Dialog Suite": modal dialogs and floating panels: items, bounds, icons and callbacks. */
#pragma once

#include "../types.h"
#include "adm_types.h"

#ifdef __cplusplus
extern "C" {
#endif

#define kADMDialogSuite "ADM Dialog Suite"
#define kADMDialogSuiteVersion 10

/* Dialog styles. */
enum {
  kADMModalDialogStyle = 0,         /* a modal dialog (Modal) */
  kADMAlertDialogStyle = 1,         /* a modal dialog drawn as an alert (Modal) */
  kADMFloatingDialogStyle = 2,      /* a floating panel (Create) */
  kADMTabbedFloatingDialogStyle = 3 /* a floating panel that docks in a tab group (Create) */
};

/* Item ids with a fixed meaning. */
enum {
  kADMDefaultItemID = 1, /* the default item until SetDefaultItemID: Enter presses it */
  kADMCancelItemID = 2,  /* the cancel item until SetCancelItemID: Escape presses it */
  kADMMenuItemID = -5    /* the flyout menu button of a floating panel; its list is the menu */
};

/* Icon slots of a panel (SetIcon). */
enum {
  kADMDialogNormalIcon = 0,  /* the icon of the panel's tab */
  kADMDialogRolloverIcon = 1 /* the icon shown while the pointer is over the tab */
};

/* Dialogs and templates.
   - A dialog belongs to the plug-in that made it and is built from that plug-in's dialog template
     dialogID (resource type 'DLOG', resources.h): title, size and items. Template sizes are in
     dialog units, which the host turns into pixels at 3/2 pixel per unit, rounded down (140 x 173
     units make 210 x 259 pixels). The template's items are created, with their ids, before the
     init proc runs. Dialog-local coordinates are pixels from the top-left corner of the content,
     x right, y down; screen coordinates likewise from the top-left of the host's screen.
   - name identifies the dialog to the host (scripts address dialogs by it); it is copied.
   - The host keeps a plug-in's library loaded while any dialog of the plug-in exists, since the
     dialog's callbacks point into it.
   - When the host quits, it destroys the floating dialogs still alive, calling their destroy
     procs, before it sends the plug-ins their shut-down message.

   The event loop. All input reaches the host as events on one queue, handled one at a time. A
   modal dialog runs a nested loop that takes the following events from the same queue until the
   dialog closes: events addressed to it (item actions, typed values, popup choices) are handled by
   it, and pending host notifications are delivered between them. When the next event does not
   address the dialog, or the queue is empty, the dialog is cancelled: it closes as if its cancel
   item had been pressed (without calling that item's notify proc), Modal returns the cancel item
   id, and the event stays queued for the outer loop. A modal dialog is never waited on forever.
   Tests and scripts therefore answer a dialog by queueing its actions before the event that opens
   it. Modal dialogs nest: a modal dialog may open another one from a callback.

   Every operation also fails with kBadHandleErr for a reference that is not a live dialog (or
   plug-in, item, icon, drawer) and with kBadParameterErr for a null pointer argument. */

typedef struct ADMDialogSuite {
  /* Create a floating panel (style kADMFloatingDialogStyle or kADMTabbedFloatingDialogStyle) from
     the template, run initProc (may be null) once, and write the dialog to *outDialog. The panel
     starts hidden and not docked; it lives until Destroy. options is reserved and must be 0.
     Fails with kResourceNotFoundErr for a missing template and kBadParameterErr for a null or
     empty name, another style or options; when initProc fails the dialog is destroyed again and
     its error returned. *outDialog is null on failure. */
  AIErr (*Create)(SPPluginRef plugin, const char* name, int32_t dialogID, int32_t style,
                  ADMDialogInitProc initProc, ADMUserData userData, int32_t options,
                  ADMDialogRef* outDialog);

  /* Create a modal dialog (style kADMModalDialogStyle or kADMAlertDialogStyle) from the template,
     run initProc, show it and run the nested event loop described above until it closes, then
     destroy it (destroy procs run) and write the id of the item that closed it to *outItemID:
     the id given to EndModal, or the cancel item id when it was cancelled. The dialog reference is
     valid only until Modal returns. Fails as Create; *outItemID is then 0 and no loop runs. */
  AIErr (*Modal)(SPPluginRef plugin, const char* name, int32_t dialogID, int32_t style,
                 ADMDialogInitProc initProc, ADMUserData userData, int32_t options,
                 int32_t* outItemID);

  /* Close a modal dialog once the running callback returns; Modal then returns itemID.
     Fails with kBadParameterErr when the dialog is not a modal dialog that is running. */
  AIErr (*EndModal)(ADMDialogRef dialog, int32_t itemID);

  /* Destroy a floating panel: its destroy proc runs first, then its items go (with their destroy
     procs) and the reference becomes invalid; called from one of the dialog's own callbacks it
     takes effect when that callback returns. Fails with kBadParameterErr for a modal dialog. */
  AIErr (*Destroy)(ADMDialogRef dialog);

  /* The item with this id (kADMMenuItemID for a panel's flyout menu button), or null in *outItem
     when the dialog has none; a missing id is not an error. The reference stays valid until the
     item or the dialog is destroyed. */
  AIErr (*GetItem)(ADMDialogRef dialog, int32_t itemID, ADMItemRef* outItem);

  /* Choose the item that Enter presses (kADMDefaultItemID until changed). The item need not
     exist yet; Enter does nothing while there is no such item. */
  AIErr (*SetDefaultItemID)(ADMDialogRef dialog, int32_t itemID);

  /* Choose the item that Escape presses and whose id a cancelled modal dialog returns
     (kADMCancelItemID until changed). The item need not exist. */
  AIErr (*SetCancelItemID)(ADMDialogRef dialog, int32_t itemID);

  /* Show (non-zero) or hide (0) a panel. A panel the user closes is hidden, not destroyed.
     Fails with kBadParameterErr for a modal dialog. */
  AIErr (*Show)(ADMDialogRef dialog, AIBoolean show);

  /* Non-zero in *outVisible while the dialog is shown. */
  AIErr (*IsVisible)(ADMDialogRef dialog, AIBoolean* outVisible);

  /* The content area in dialog-local pixels: (0, 0, width, height). */
  AIErr (*GetLocalRect)(ADMDialogRef dialog, AIRect* outRect);

  /* The content area in screen pixels: its left and top are the dialog's location. */
  AIErr (*GetBoundsRect)(ADMDialogRef dialog, AIRect* outRect);

  /* Move and resize the dialog to this rectangle in screen pixels; items keep their dialog-local
     places. Fails with kBadParameterErr when right < left or bottom < top. */
  AIErr (*SetBoundsRect)(ADMDialogRef dialog, const AIRect* rect);

  /* Give the panel an icon for a slot (kADMDialogNormalIcon, kADMDialogRolloverIcon); null
     removes it. The dialog keeps its own reference: the plug-in may destroy its icon afterwards.
     Fails with kBadParameterErr for another slot. */
  AIErr (*SetIcon)(ADMDialogRef dialog, int32_t slot, ADMIconRef icon);

  /* Install the draw proc (adm_types.h), which replaces the standard drawing of the dialog; it
     should call DefaultDraw. Null restores the standard drawing. */
  AIErr (*SetDrawProc)(ADMDialogRef dialog, ADMDialogDrawProc drawProc);

  /* Install the proc that receives the dialog's own notifications (shown, hidden, moved by the
     user; adm_notifier.h). Null removes it. */
  AIErr (*SetNotifyProc)(ADMDialogRef dialog, ADMDialogNotifyProc notifyProc);

  /* Install the proc that runs once when the dialog goes away (Destroy, the end of Modal, or the
     host quitting), while the dialog and its items can still be read. Null removes it. */
  AIErr (*SetDestroyProc)(ADMDialogRef dialog, ADMDialogDestroyProc destroyProc);

  /* Draw the dialog the standard way (background, then every visible item) with drawer; for use
     inside the dialog's draw proc. */
  AIErr (*DefaultDraw)(ADMDialogRef dialog, ADMDrawerRef drawer);

  /* Replace the plug-in's pointer kept with the dialog (first given at creation). The host never
     reads or frees it. */
  AIErr (*SetUserData)(ADMDialogRef dialog, ADMUserData userData);

  /* The plug-in's pointer kept with the dialog, into *outUserData. */
  AIErr (*GetUserData)(ADMDialogRef dialog, ADMUserData* outUserData);
} ADMDialogSuite;

#ifdef __cplusplus
}
#endif
