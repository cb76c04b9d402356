/* "AI Art Set Suite": ordered lists of art handles, filled by matching the document's art. */
#pragma once

#include "../types.h"
#include "ai_art.h"

#ifdef __cplusplus
extern "C" {
#endif

/* An art set is an ordered list of art handles without duplicates. It belongs to the plug-in that
   made it until DisposeArtSet; it holds handles only, so art disposed meanwhile stays in the set as
   a stale handle (check it with ValidArt, ai_art.h). Operations fail with kBadHandleErr for a set
   that is not live and kBadParameterErr for a null pointer; a failing call changes nothing. */

#define kAIArtSetSuite "AI Art Set Suite"
#define kAIArtSetSuiteVersion 6

/* One rule for MatchingArtSet. Art matches when type is kAIAnyArt or its art type, and
   (its user attributes & whichAttr) == (attr & whichAttr). whichAttr 0 matches every attribute
   state; for example {kAIAnyArt, kAIArtSelected, kAIArtSelected} matches all selected art and
   {kAIAnyArt, kAIArtLocked, 0} all art whose own locked attribute is clear. */
typedef struct AIArtMatchRule {
  int32_t type;
  int32_t whichAttr;
  int32_t attr;
} AIArtMatchRule;

typedef struct AIArtSetSuite {
  /* A new, empty set in *outSet. */
  AIErr (*NewArtSet)(AIArtSet* outSet);

  /* Dispose of a set (not of the art in it); the handle is invalid afterwards. A null set is
     accepted and ignored; disposing a set twice fails with kBadHandleErr. */
  AIErr (*DisposeArtSet)(AIArtSet set);

  /* Replace the set's contents by every object of the current document that matches at least one
     of the count rules. Objects are taken layer by layer from the topmost layer, each layer from
     its topmost object down, a container before its contents (so clearing a container's attributes
     first and then handling its contents works in one pass). Layer root groups, the path objects
     of text frames and the result art of plug-in art are never taken. count 0 gives an empty set.
     Fails with kNoDocumentErr without a document. */
  AIErr (*MatchingArtSet)(AIArtSet set, const AIArtMatchRule* rules, int32_t count);

  /* The number of handles in the set, in *outCount. */
  AIErr (*CountArtSet)(AIArtSet set, int32_t* outCount);

  /* The handle at index (0 .. count - 1) in *outArt; fails with kOutOfRangeErr outside. */
  AIErr (*IndexArtSet)(AIArtSet set, int32_t index, AIArtHandle* outArt);

  /* Append art at the end of the set; art already in it stays where it is. Any live art may be
     added, including text paths and result art. */
  AIErr (*AddArtToArtSet)(AIArtSet set, AIArtHandle art);

  /* Remove art from the set, keeping the order of the others; art not in the set is ignored. */
  AIErr (*RemoveArtFromArtSet)(AIArtSet set, AIArtHandle art);

  /* Put newArt at the place of oldArt (used to swap a text frame for its path object). When newArt
     is already in the set, oldArt is only removed. Fails with kBadParameterErr when oldArt is not
     in the set. */
  AIErr (*ReplaceArtInArtSet)(AIArtSet set, AIArtHandle oldArt, AIArtHandle newArt);
} AIArtSetSuite;

#ifdef __cplusplus
}
#endif
