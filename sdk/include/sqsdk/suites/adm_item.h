/* "ADM Item Suite": the items of a dialog: creation, state, text, numbers with units, callbacks. */
#pragma once

#include "../types.h"
#include "adm_types.h"

#ifdef __cplusplus
extern "C" {
#endif

#define kADMItemSuite "ADM Item Suite"
#define kADMItemSuiteVersion 4

/* Item types, for Create. A dialog template's item kinds (resources.h) become these types:
   default button and button -> text push button, label -> text static, text and number edit ->
   text edit, spin edit popup, popup list, check box, radio button, picture, picture button, user
   item and list box -> their own types, group frame and both rules -> frame. */
#define kADMTextStaticType "ADM Text Static Type"
#define kADMTextEditType "ADM Text Edit Type"
#define kADMSpinEditPopupType "ADM Spin Edit Popup Type"
#define kADMPopupListType "ADM Popup List Type"
#define kADMListBoxType "ADM List Box Type"
#define kADMTextPushButtonType "ADM Text Push Button Type"
#define kADMPicturePushButtonType "ADM Picture Push Button Type"
#define kADMPictureStaticType "ADM Picture Static Type"
#define kADMTextCheckBoxType "ADM Text Check Box Type"
#define kADMTextRadioButtonType "ADM Text Radio Button Type"
#define kADMFrameType "ADM Frame Type"
#define kADMUserType "ADM User Type"
/* A panel's flyout menu button (kADMMenuItemID); the host makes it, Create does not. */
#define kADMPopupMenuType "ADM Popup Menu Type"

/* Picture item styles (SetItemStyle); other item types ignore their style. */
enum {
  kADMPictureCenteredStyle = 0, /* the picture centred in the item (the default) */
  kADMPictureTopLeftStyle = 2   /* the picture at the item's top-left corner, unscaled */
};

/* How items behave.
   - Rectangles are dialog-local pixels (left, top, right, bottom), x right, y down; an item covers
     the pixels left <= x < right, top <= y < bottom.
   - A hidden item is not drawn and receives no events. A disabled item is drawn dimmed (a picture
     item shows its disabled picture) and receives no events.
   - A frame draws a one-pixel outline with its text as a title; a frame at most 2 pixels wide or
     tall draws as a line (a rule or separator). A user item draws nothing by itself.
   - The host calls an item's notify proc only for the user's actions, never for the plug-in's own
     calls (SetFloatValue, SetBooleanValue, SetText ... send nothing):
       push buttons (text or picture): a click (button down and up inside) sends "ADM User Changed
         Notifier"; the default notification of a modal dialog's default or cancel button ends the
         dialog with the button's id;
       check box: a click toggles the value, then notifies; radio button: a click sets it, clears
         the other radio buttons of the dialog, then notifies;
       popup list, list box: choosing an enabled entry makes it the active entry, then notifies;
       text edit: typing edits the text; Enter, Return, Tab or moving to another item commits it,
         and an edited text notifies on commit (Tab over an unedited field sends nothing);
       spin edit popup: a number field whose popup lists preset values; choosing an entry sets the
         value to the entry's number and notifies;
       the flyout menu button: the default tracking of a button-down opens the menu (a track proc
         may change entry texts before it calls DefaultTrack); choosing an enabled entry of the
         open menu makes it the active entry of the button's list and notifies the button.
   - Number fields are text edit and spin edit popup items. Such a field keeps a number and shows
     it with at most its precision's decimals (trailing zeros and a trailing point dropped, never
     "-0"), converted to its units and, when units are shown, followed by the units' suffix
     (adm_types.h). Committed text is read in the field's units; with unit entry allowed it may end
     in another unit's suffix and is converted; with arithmetic allowed, + - * / and parentheses
     are evaluated. A value outside the field's limits is clamped to the nearer limit and the field
     gets "ADM Number Out Of Bounds Notifier" before "ADM User Changed Notifier". Text that is not
     a number puts back the previous value without notification. Defaults: no units, 3 decimals,
     no limits, step 1, unit options off.

   Every operation also fails with kBadHandleErr for a reference that is not a live item and with
   kBadParameterErr for a null pointer argument. Operations on a kind of item they do not apply to
   fail with kBadParameterErr. */

typedef struct ADMItemSuite {
  /* ---- Life and identity ---- */

  /* Create an item of itemType (one of the types above) with a fixed id (> 0, unique in the
     dialog) and rectangle, and write it to *outItem. It starts visible, enabled, empty and without
     callbacks. Fails with kBadParameterErr for an unknown type, an id <= 0 or an id in use. */
  AIErr (*Create)(ADMDialogRef dialog, int32_t itemID, const char* itemType, const AIRect* bounds,
                  ADMUserData userData, ADMItemRef* outItem);

  /* Destroy the item: its destroy proc runs, then the reference becomes invalid; called from one
     of the item's own callbacks it takes effect when that callback returns. */
  AIErr (*Destroy)(ADMItemRef item);

  /* The dialog that holds the item. */
  AIErr (*GetDialog)(ADMItemRef item, ADMDialogRef* outDialog);

  /* The item's id (kADMMenuItemID for a panel's flyout menu button). */
  AIErr (*GetID)(ADMItemRef item, int32_t* outItemID);

  /* Replace the plug-in's pointer kept with the item. The host never reads or frees it. */
  AIErr (*SetUserData)(ADMItemRef item, ADMUserData userData);

  /* The plug-in's pointer kept with the item, into *outUserData. */
  AIErr (*GetUserData)(ADMItemRef item, ADMUserData* outUserData);

  /* ---- Callbacks (adm_types.h) ---- */

  /* Install the notify proc; null restores the default notification alone. */
  AIErr (*SetNotifyProc)(ADMItemRef item, ADMItemNotifyProc notifyProc);

  /* Install the draw proc, which replaces the standard drawing; null restores it. */
  AIErr (*SetDrawProc)(ADMItemRef item, ADMItemDrawProc drawProc);

  /* Install the track proc, called for the events its action mask lets through (SetMask); null
     restores the default tracking alone. */
  AIErr (*SetTrackProc)(ADMItemRef item, ADMItemTrackProc trackProc);

  /* Install the proc that runs once when the item goes away; null removes it. */
  AIErr (*SetDestroyProc)(ADMItemRef item, ADMItemDestroyProc destroyProc);

  /* Choose which tracker actions reach the track proc: an or of the kADM...Mask bits of
     adm_tracker.h (default kADMDefaultTrackMask). Events outside the mask still get the default
     tracking, without the track proc. */
  AIErr (*SetMask)(ADMItemRef item, uint32_t actionMask);

  /* The standard handling of a notification, as described above (for use in a notify proc). */
  AIErr (*DefaultNotify)(ADMItemRef item, ADMNotifierRef notifier);

  /* The standard drawing of the item with drawer (for use in a draw proc). */
  AIErr (*DefaultDraw)(ADMItemRef item, ADMDrawerRef drawer);

  /* The standard handling of a tracked event (for use in a track proc): presses buttons, edits
     and commits text, opens menus; it may call the item's notify proc before it returns.
     *outHandled is non-zero when the event was consumed. */
  AIErr (*DefaultTrack)(ADMItemRef item, ADMTrackerRef tracker, AIBoolean* outHandled);

  /* ---- State and place ---- */

  /* Show (non-zero) or hide (0) the item. */
  AIErr (*Show)(ADMItemRef item, AIBoolean show);

  /* Non-zero in *outVisible while the item is shown (whether or not its dialog is). */
  AIErr (*IsVisible)(ADMItemRef item, AIBoolean* outVisible);

  /* Enable (non-zero) or disable (0) the item. A disabled text field loses the keyboard focus. */
  AIErr (*Enable)(ADMItemRef item, AIBoolean enable);

  /* Non-zero in *outEnabled while the item is enabled. */
  AIErr (*IsEnabled)(ADMItemRef item, AIBoolean* outEnabled);

  /* Give (non-zero) or take away (0) the keyboard focus; for text edit and spin edit popup items.
     At most one item of a dialog has the focus. Fails with kBadParameterErr for a hidden or
     disabled item. */
  AIErr (*Activate)(ADMItemRef item, AIBoolean activate);

  /* Non-zero in *outActive while the item has the keyboard focus. */
  AIErr (*IsActive)(ADMItemRef item, AIBoolean* outActive);

  /* The item's rectangle in dialog-local pixels. */
  AIErr (*GetBoundsRect)(ADMItemRef item, AIRect* outRect);

  /* Move and resize the item. Fails with kBadParameterErr when right < left or bottom < top. */
  AIErr (*SetBoundsRect)(ADMItemRef item, const AIRect* rect);

  /* Mark the item for redrawing the next time the host draws. */
  AIErr (*Invalidate)(ADMItemRef item);

  /* Redraw the item now (its draw proc runs before this returns when its dialog is shown). */
  AIErr (*Update)(ADMItemRef item);

  /* ---- Text and looks ---- */

  /* Set the item's text (null-terminated UTF-8, copied): a label, a button's or frame's title, a
     field's contents. A number field reads it as committed text (above) without notification. */
  AIErr (*SetText)(ADMItemRef item, const char* text);

  /* The item's text as shown, null-terminated, into buffer (capacity bytes). Fails with
     kBufferTooSmallErr when it does not fit (truncated copy), kBadParameterErr for capacity < 1. */
  AIErr (*GetText)(ADMItemRef item, char* buffer, int32_t capacity);

  /* Select all the text of a text edit or spin edit popup item, so that typing replaces it. */
  AIErr (*SelectAll)(ADMItemRef item);

  /* Draw the item's text in a font of adm_types.h (kADMDefaultFont .. kADMBoldPaletteFont). */
  AIErr (*SetFont)(ADMItemRef item, int32_t font);

  /* Set the tooltip shown while the pointer rests on the item (copied); null or "" removes it. */
  AIErr (*SetTipString)(ADMItemRef item, const char* tip);

  /* The tooltip, as for GetText; the empty string when there is none. */
  AIErr (*GetTipString)(ADMItemRef item, char* buffer, int32_t capacity);

  /* Show the picture of the dialog plug-in's PNG resource pictureID (type 'PNGI', index 0) in a
     picture or picture button item; 0 removes it. Fails with kResourceNotFoundErr. */
  AIErr (*SetPictureID)(ADMItemRef item, int32_t pictureID);

  /* As SetPictureID, for the picture shown while the item is disabled (0: the normal picture). */
  AIErr (*SetDisabledPictureID)(ADMItemRef item, int32_t pictureID);

  /* Set the item's style: kADMPictureCenteredStyle or kADMPictureTopLeftStyle for pictures. */
  AIErr (*SetItemStyle)(ADMItemRef item, int32_t style);

  /* Show the cursor resource cursorID of plugin while the pointer is over the item; a negative id
     names a standard cursor (kADMStandardArrowCursorID, adm_basic.h) and plugin may be null.
     Fails with kResourceNotFoundErr when the plug-in has no such cursor. */
  AIErr (*SetCursorID)(ADMItemRef item, SPPluginRef plugin, int32_t cursorID);

  /* ---- Number fields ---- */

  /* Give a number field its units (adm_types.h). kADMAppUnits1 is resolved at the time of the
     call; the field does not follow later changes of the host's units. The text is reformatted. */
  AIErr (*SetUnits)(ADMItemRef item, int32_t units);

  /* The field's units (never kADMAppUnits1). */
  AIErr (*GetUnits)(ADMItemRef item, int32_t* outUnits);

  /* The most decimals a number field shows, 0 to 10; the text is reformatted. Fails with
     kBadParameterErr outside that range. */
  AIErr (*SetPrecision)(ADMItemRef item, int32_t decimals);

  /* Show (non-zero) or hide (0) the units' suffix after the number. */
  AIErr (*ShowUnits)(ADMItemRef item, AIBoolean show);

  /* Accept (non-zero) or refuse (0) typed values that name their own units. */
  AIErr (*AllowUnits)(ADMItemRef item, AIBoolean allow);

  /* Accept (non-zero) or refuse (0) arithmetic in typed values. */
  AIErr (*AllowMath)(ADMItemRef item, AIBoolean allow);

  /* Set a number field's value: points for length units, else the number shown. It is clamped to
     the field's limits and shown. Fails with kNonFiniteErr for a value that is not finite. */
  AIErr (*SetFloatValue)(ADMItemRef item, AIReal value);

  /* The field's value, in the units of SetFloatValue. */
  AIErr (*GetFloatValue)(ADMItemRef item, AIReal* outValue);

  /* The lowest value the field accepts (in the units of SetFloatValue); the value is clamped at
     once. Fails with kNonFiniteErr, and kBadParameterErr when above the maximum. */
  AIErr (*SetMinFloatValue)(ADMItemRef item, AIReal minValue);

  /* The highest value the field accepts; the value is clamped at once. Fails with kNonFiniteErr,
     and kBadParameterErr when below the minimum. */
  AIErr (*SetMaxFloatValue)(ADMItemRef item, AIReal maxValue);

  /* The step of the spin arrows and of the up and down keys. Fails with kNonFiniteErr, and
     kBadParameterErr when not above 0. */
  AIErr (*SetSmallIncrement)(ADMItemRef item, AIReal step);

  /* ---- Check boxes, radio buttons, lists ---- */

  /* Check (non-zero) or uncheck (0) a check box or radio button. Setting a radio button does not
     clear the others. */
  AIErr (*SetBooleanValue)(ADMItemRef item, AIBoolean value);

  /* Non-zero in *outValue while the check box or radio button is checked. */
  AIErr (*GetBooleanValue)(ADMItemRef item, AIBoolean* outValue);

  /* The entry list of a popup list, spin edit popup, list box or flyout menu button, valid as long
     as the item. Other kinds have none: *outList is then null, which is not an error. */
  AIErr (*GetList)(ADMItemRef item, ADMListRef* outList);
} ADMItemSuite;

#ifdef __cplusplus
}
#endif
