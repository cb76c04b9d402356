/* "ADM Icon Suite": images loaded from a plug-in's PNG resources, for drawers, tools and panels. */
#pragma once

#include "../types.h"

#ifdef __cplusplus
extern "C" {
#endif

#define kADMIconSuite "ADM Icon Suite"
#define kADMIconSuiteVersion 1

/* An icon is the host's decoded copy of a PNG resource: it stays valid, across unloads and reloads
   of the plug-in's library, until Destroy; icons never destroyed are freed when the host quits.
   Whatever is given an icon (a dialog, a tool) keeps its own reference, so destroying the plug-in's
   icon does not take the image away from them.

   Every operation also fails with kBadHandleErr for a reference that is not a live icon and with
   kBadParameterErr for a null pointer argument. */

typedef struct ADMIconSuite {
  /* Load the plug-in's PNG resource of type 'PNGI' with this id and index (0 except for indexed
     images) and write the new icon to *outIcon. Fails with kResourceNotFoundErr when there is no
     such resource and kBadParameterErr when it is not a readable PNG (*outIcon is then null). */
  AIErr (*GetFromResource)(SPPluginRef plugin, int32_t iconID, int32_t iconIndex,
                           ADMIconRef* outIcon);

  /* Release the plug-in's icon; the reference becomes invalid. A null icon is accepted and
     ignored. */
  AIErr (*Destroy)(ADMIconRef icon);

  /* The image's size in pixels. */
  AIErr (*GetSize)(ADMIconRef icon, int32_t* outWidth, int32_t* outHeight);
} ADMIconSuite;

#ifdef __cplusplus
}
#endif
