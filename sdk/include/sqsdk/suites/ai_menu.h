/* "AI Menu Suite": menu items a plug-in adds to the host's menus: text, check mark, enabling. */
#pragma once

#include "../types.h"

#ifdef __cplusplus
extern "C" {
#endif

/* A menu item belongs to a menu group of the host. Choosing it sends "AI Menu" / "AI Go"
   (messages.h) to its plug-in, as one undo context (ai_undo.h). An item added with
   kAIMenuItemWantsUpdateOption also receives "AI Menu" / "AI Update" right before the host shows
   its menu or reports the menu's state, so that the plug-in can check, enable or rename it. The
   message's menuItem is the handle AddMenuItem gave. Operations fail with kBadHandleErr for an item
   that is not live and kBadParameterErr for a null pointer; a failing call changes nothing. */

#define kAIMenuSuite "AI Menu Suite"
#define kAIMenuSuiteVersion 9

/* Menu groups. */
#define kAIToolPalettesMenuGroup "Tool Palettes" /* the Window menu's list of panels */

/* Options of AddMenuItem. */
enum { kAIMenuItemWantsUpdateOption = 1 };

typedef struct AIMenuSuite {
  /* Add an item to the menu group group, with the unique name name and the shown text text (all
     copied, UTF-8), and write its handle to *outItem; it lives until the host shuts down and starts
     enabled and unchecked. options is 0 or kAIMenuItemWantsUpdateOption (other bits fail with
     kBadParameterErr). Fails with kDuplicateNameErr for a name already used, kBadParameterErr for
     an unknown group. */
  AIErr (*AddMenuItem)(SPPluginRef plugin, const char* name, const char* group, const char* text,
                       int32_t options, AIMenuItemHandle* outItem);

  /* Show (non-zero) or remove the item's check mark. */
  AIErr (*CheckItem)(AIMenuItemHandle item, AIBoolean checked);

  /* Non-zero in *outChecked while the item shows its check mark. */
  AIErr (*IsItemChecked)(AIMenuItemHandle item, AIBoolean* outChecked);

  /* Enable (non-zero) or disable the item; a disabled item cannot be chosen. */
  AIErr (*EnableItem)(AIMenuItemHandle item, AIBoolean enabled);

  /* Non-zero in *outEnabled while the item is enabled. */
  AIErr (*IsItemEnabled)(AIMenuItemHandle item, AIBoolean* outEnabled);

  /* Change the shown text (UTF-8, copied). */
  AIErr (*SetItemText)(AIMenuItemHandle item, const char* text);

  /* The shown text, null-terminated, into buffer (capacity bytes). Fails with kBufferTooSmallErr
     when it does not fit (the buffer then holds a truncated copy). */
  AIErr (*GetItemText)(AIMenuItemHandle item, char* buffer, int32_t capacity);
} AIMenuSuite;

#ifdef __cplusplus
}
#endif
