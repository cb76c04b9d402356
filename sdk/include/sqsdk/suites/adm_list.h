/* "ADM List Suite": the entries of a popup, list box or flyout menu, filled in or from a menu. */
#pragma once

#include "../types.h"

#ifdef __cplusplus
extern "C" {
#endif

#define kADMListSuite "ADM List Suite"
#define kADMListSuiteVersion 1

/* A list belongs to its item (ADMItemSuite.GetList) and lives as long as it. Entries are numbered
   from 0 in their order. At most one entry of a list is active: the popup's current choice, or the
   flyout menu's entry chosen last. Entry references (adm_entry.h) stay valid until their entry is
   removed or the list replaced by SetMenuID.

   Every operation also fails with kBadHandleErr for a reference that is not a live list and with
   kBadParameterErr for a null pointer argument. */

typedef struct ADMListSuite {
  /* Replace all entries with those of the dialog plug-in's menu template menuID (type 'MENU',
     resources.h), in order. An entry whose text is "-" becomes a separator: shown as a line,
     disabled, never chosen. No entry is active afterwards. Fails with kResourceNotFoundErr for a
     missing menu (the entries are then unchanged). */
  AIErr (*SetMenuID)(ADMListRef list, int32_t menuID);

  /* The number of entries, separators included. */
  AIErr (*NumberOfEntries)(ADMListRef list, int32_t* outCount);

  /* The entry at index. Fails with kOutOfRangeErr for an index outside 0 .. count - 1
     (*outEntry is then null). */
  AIErr (*GetEntry)(ADMListRef list, int32_t index, ADMEntryRef* outEntry);

  /* The active entry, or null in *outEntry when none is (not an error). */
  AIErr (*GetActiveEntry)(ADMListRef list, ADMEntryRef* outEntry);

  /* Insert an empty, enabled, inactive entry at index (0 .. count; count appends), moving later
     entries up by one, and write it to *outEntry. Fails with kOutOfRangeErr for another index. */
  AIErr (*InsertEntry)(ADMListRef list, int32_t index, ADMEntryRef* outEntry);

  /* Remove the entry at index; later entries move down by one and its reference becomes invalid.
     Fails with kOutOfRangeErr for an index outside 0 .. count - 1. */
  AIErr (*RemoveEntry)(ADMListRef list, int32_t index);
} ADMListSuite;

#ifdef __cplusplus
}
#endif
