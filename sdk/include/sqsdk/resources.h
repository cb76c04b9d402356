/* The resource table: how the host reads a plug-in's resources (its property list, string lists,
   dialog and menu templates, images and cursors).

   A plug-in exports one object named SPPluginResources of type SPResourceTable. The host looks it
   up with dlsym right after loading the library, reads what it needs and copies it: nothing in the
   table is used after the library has been unloaded. Every resource has a type, an id and an index
   (0 except for indexed images, which share an id and differ by index). */
#pragma once

#include "types.h"

#ifdef __cplusplus
extern "C" {
#endif

#define kSPResourceTableSymbol "SPPluginResources"
#define kSPResourceTableMagic AI_FOURCC('R', 'T', 'B', 'L')

/* Resource types. */
#define kSPPropertyListResourceType AI_FOURCC('P', 'i', 'P', 'L') /* bytes, plugin_properties.h */
#define kSPStringListResourceType AI_FOURCC('S', 'T', 'R', '#')   /* SPStringList */
#define kSPDialogResourceType AI_FOURCC('D', 'L', 'O', 'G')       /* ADMDialogTemplate */
#define kSPMenuResourceType AI_FOURCC('M', 'E', 'N', 'U')         /* ADMMenuTemplate */
#define kSPPNGImageResourceType AI_FOURCC('P', 'N', 'G', 'I')     /* bytes of a PNG file */
#define kSPCursorResourceType AI_FOURCC('C', 'U', 'R', 'S')       /* SPCursorResource */

typedef struct SPResourceEntry {
  AIFourCC type;
  int32_t id;
  int32_t index;
  const void* data;
  uint32_t size; /* bytes at data; for structured resources the size of the record */
} SPResourceEntry;

typedef struct SPResourceTable {
  AIFourCC magic; /* kSPResourceTableMagic */
  int32_t count;
  const SPResourceEntry* entries;
} SPResourceTable;

/* A string list. Entry 0 is conventionally a comment. Reading an entry at or past count gives the
   empty string. Strings are UTF-8. */
typedef struct SPStringList {
  int32_t count;
  const char* const* strings;
} SPStringList;

/* A cursor: a 32 x 32 PNG with transparency and its hotspot in pixels from the top-left corner. */
typedef struct SPCursorResource {
  int32_t hotspotX;
  int32_t hotspotY;
  const unsigned char* png;
  uint32_t pngSize;
} SPCursorResource;

/* ---- Dialog templates -------------------------------------------------------------------- */

/* Item kinds of a dialog template. */
enum {
  kADMDefaultButtonItem = 1,   /* a push button that Enter presses */
  kADMButtonItem = 2,          /* a push button */
  kADMTextLabelItem = 3,       /* static text */
  kADMTextEditItem = 4,        /* an editable text field */
  kADMNumberEditItem = 5,      /* an editable number field */
  kADMSpinEditPopupItem = 6,   /* a number field with a popup of preset values */
  kADMPopupListItem = 7,       /* a drop-down list */
  kADMCheckBoxItem = 8,        /* a check box */
  kADMRadioButtonItem = 9,     /* a radio button */
  kADMGroupFrameItem = 10,     /* a titled frame round other items */
  kADMVerticalRuleItem = 11,   /* a vertical line */
  kADMHorizontalRuleItem = 12, /* a horizontal line */
  kADMPictureItem = 13,        /* an image, from pictureID */
  kADMPictureButtonItem = 14,  /* a button showing an image, from pictureID */
  kADMUserItem = 15,           /* drawn and tracked by the plug-in */
  kADMListBoxItem = 16         /* a scrolling list */
};

/* One item of a dialog template. Rectangles are in dialog units from the top-left corner. */
typedef struct ADMItemTemplate {
  int32_t id;
  int32_t kind;
  const char* text; /* label or initial text; may be null */
  int32_t x;
  int32_t y;
  int32_t width;
  int32_t height;
  int32_t pictureID; /* image resource for picture items and picture buttons, else 0 */
} ADMItemTemplate;

/* A dialog template: resource type kSPDialogResourceType. */
typedef struct ADMDialogTemplate {
  const char* title;
  const char* font; /* may be null for the host's default */
  int32_t width;    /* dialog units */
  int32_t height;
  int32_t itemCount;
  const ADMItemTemplate* items;
} ADMDialogTemplate;

/* A menu template (popup menus of dialog items, flyout menus): resource type kSPMenuResourceType.
 */
typedef struct ADMMenuTemplate {
  const char* name;
  int32_t entryCount;
  const char* const* entries;
} ADMMenuTemplate;

#ifdef __cplusplus
}
#endif
