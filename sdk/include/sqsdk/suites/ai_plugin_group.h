/* "AI Plugin Group Suite": plug-in art and the result art the host draws for it. */
#pragma once

#include "../types.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Plug-in art (art type kAIPluginArt, ai_art.h) is an object whose visible form is its result art:
   a group of paths owned by the plug-in art. The result group is not among the plug-in art's
   children (GetArtFirstChild of plug-in art gives null) and art-set matching never reaches it, but
   GetArtParent of the result group gives the plug-in art, so a walk up from one of its paths finds
   the plug-in art, its layer and every ancestor. This host never regenerates result art by itself:
   the paths stay as the document or a plug-in left them. A new plug-in art object (NewArt with
   kAIPluginArt) starts with an empty result group; NewArt can place paths inside that group. */

#define kAIPluginGroupSuite "AI Plugin Group Suite"
#define kAIPluginGroupSuiteVersion 4

typedef struct AIPluginGroupSuite {
  /* The result group of plug-in art, in *outResult. The handle stays valid until the plug-in art is
     disposed. Fails with kBadParameterErr when art is not plug-in art, kBadHandleErr when it is not
     live. */
  AIErr (*GetPluginArtResultArt)(AIArtHandle art, AIArtHandle* outResult);
} AIPluginGroupSuite;

#ifdef __cplusplus
}
#endif
