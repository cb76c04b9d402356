/* "ADM Dialog Group Suite": the docking group of a floating panel, saved and restored by name. */
#pragma once

#include "../types.h"

#ifdef __cplusplus
extern "C" {
#endif

#define kADMDialogGroupSuite "ADM Dialog Group Suite"
#define kADMDialogGroupSuiteVersion 1

/* Docking. Tabbed panels dock together in named groups: the panels of one group share one frame,
   one of them in front, the others as tabs behind it. A panel's place in its group is its dock
   code: its tab position, 0 for the first tab. A panel that was never docked is in no group (empty
   name, code 0). The plug-in saves the name and code when its panel goes away and restores them
   when it makes the panel again; the host keeps no docking state across runs itself.

   Every operation fails with kBadHandleErr for a reference that is not a live floating panel and
   with kBadParameterErr for a null pointer argument. */

typedef struct ADMDialogGroupSuite {
  /* The panel's group name, null-terminated, into groupName (capacity bytes), and its dock code
     into *outDockCode. Fails with kBufferTooSmallErr when the name does not fit (groupName then
     holds a truncated copy; *outDockCode is still set) and kBadParameterErr for capacity < 1. */
  AIErr (*GetDialogGroupInfo)(ADMDialogRef dialog, char* groupName, int32_t capacity,
                              int32_t* outDockCode);

  /* Dock the panel in the group of this name (copied; the group is made when no panel is in it)
     at tab position dockCode, clamped to the group's tabs; an empty name takes it out of its
     group. The first panel of a group keeps its bounds; a later one moves to the group's place. The
     panel keeps its visibility. Fails with kBadParameterErr for a negative code. */
  AIErr (*SetDialogGroupInfo)(ADMDialogRef dialog, const char* groupName, int32_t dockCode);
} ADMDialogGroupSuite;

#ifdef __cplusplus
}
#endif
