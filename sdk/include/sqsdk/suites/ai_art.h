/* "AI Art Suite": the art tree, art types, user attributes, bounds, creating and disposing art. */
#pragma once

#include "../types.h"

#ifdef __cplusplus
extern "C" {
#endif

/* The art tree.

   Each layer (ai_layer.h) has a root group, the parent of the layer's top-level objects; its own
   parent is null. Children are listed from the topmost (first child, painted last) down through
   their siblings. Groups, compound paths and layer root groups have children. A text frame has no
   children: its path object (ai_text_frame.h) has the frame as parent but is reached only through
   the text frame suite. Plug-in art has no children either: its result group (ai_plugin_group.h)
   has the plug-in art as parent but is reached only through the plug-in group suite.

   User attributes.
   - kAIArtLocked and kAIArtHidden are each object's own: they are not copied onto the contents of a
     container, so a caller that needs to know whether art is reachable walks the parents. The root
     group of a layer reports the layer's state (locked when the layer is not editable, hidden when
     it is not visible), and setting them on it changes the layer.
   - kAIArtSelected of a path is set exactly while at least one of its segments has a non-zero
     selection state (ai_path.h). Setting it on a path none of whose segments is selected gives
     every segment state 1 (the whole path selected); setting it on a path already selected changes
     nothing; clearing it gives every segment state 0; a path without segments is never selected.
     A text frame is selected exactly when its path object is, and setting or clearing the frame
     sets or clears the path. A group, compound path or layer root group reads as selected while
     anything inside it is selected; setting it selects everything editable inside it, clearing it
     clears everything inside. Plug-in art has a selected attribute of its own that does not touch
     its result art.
   - Art is editable when neither it, nor one of its ancestors, nor its layer is locked or hidden.
     Changes to art that is not editable (geometry, style, new art inside it, disposal, and setting
     the selected attribute or a non-zero segment selection state) fail with kLockedErr; clearing a
     selection always works. Locking or hiding art deselects it.

   Every change is recorded in the current undo context (ai_undo.h); changes of selection or of
   selected art cause "AI Art Selection Changed Notifier" (ai_notifier.h). Operations fail with
   kBadHandleErr for a handle that names no live art and kBadParameterErr for a null pointer; a
   failing call changes nothing and leaves its outputs untouched. */

#define kAIArtSuite "AI Art Suite"
#define kAIArtSuiteVersion 15

/* Art types. */
enum {
  kAIAnyArt = -1,         /* matches every type in art-set match rules (ai_art_set.h) */
  kAIUnknownArt = 0,      /* never reported for a live object */
  kAIGroupArt = 1,        /* a group, including the root group of a layer */
  kAIPathArt = 2,         /* a path of cubic segments (ai_path.h) */
  kAICompoundPathArt = 3, /* a compound path: its children are paths */
  kAIPluginArt = 10,      /* plug-in art with its result group (ai_plugin_group.h) */
  kAITextFrameArt = 12    /* a text frame (ai_text_frame.h) */
};

/* User attribute bits. */
enum {
  kAIArtSelected = 0x01,
  kAIArtLocked = 0x02,
  kAIArtHidden = 0x04,
  /* The host's selection display draws no centre mark for this object. */
  kAIArtCenterPointHidden = 0x10
};

/* GetArtBounds of art without geometry: a path without segments, an empty container ('EMPT'). */
enum { kNoGeometryErr = 0x454D5054 };

/* Where NewArt places the new object, relative to the prep object. */
enum {
  kAIPlaceAbove = 1,         /* just above prep, among prep's siblings */
  kAIPlaceBelow = 2,         /* just below prep, among prep's siblings */
  kAIPlaceInsideOnTop = 3,   /* as the first child of the container prep */
  kAIPlaceInsideOnBottom = 4 /* as the last child of the container prep */
};

typedef struct AIArtSuite {
  /* The art's type (kAIGroupArt ... kAITextFrameArt) in *outType. */
  AIErr (*GetArtType)(AIArtHandle art, int32_t* outType);

  /* The art's parent in *outParent: the group, compound path or layer root group that holds it, the
     text frame of a text path, the plug-in art of a result group; null for a layer root group. */
  AIErr (*GetArtParent)(AIArtHandle art, AIArtHandle* outParent);

  /* The topmost child of a container in *outChild; null when it has none or is not a container. */
  AIErr (*GetArtFirstChild)(AIArtHandle art, AIArtHandle* outChild);

  /* The next sibling below art in *outSibling; null for the bottom one. */
  AIErr (*GetArtSibling)(AIArtHandle art, AIArtHandle* outSibling);

  /* The layer that holds art, directly or through its ancestors, in *outLayer. */
  AIErr (*GetLayerOfArt)(AIArtHandle art, AILayerHandle* outLayer);

  /* The user attributes of art selected by the mask whichAttr, in *outAttr: (attributes &
     whichAttr). Bits outside the kAIArt... constants read as 0. */
  AIErr (*GetArtUserAttr)(AIArtHandle art, int32_t whichAttr, int32_t* outAttr);

  /* Set the attributes selected by whichAttr to the corresponding bits of attr; the others keep
     their values. Unknown bits in whichAttr fail with kBadParameterErr. Selecting art that is not
     editable fails with kLockedErr (see the header comment for what selecting means). */
  AIErr (*SetArtUserAttr)(AIArtHandle art, int32_t whichAttr, int32_t attr);

  /* The bounds of the art's geometry (not its stroke) in artwork coordinates, in *outBounds: for a
     path the smallest rectangle holding its curves (closing segment included when closed), for a
     container the union of its contents, for a text frame that of its path object, for plug-in art
     that of its result. Art without geometry (a path without segments, an empty container) fails
     with kNoGeometryErr. */
  AIErr (*GetArtBounds)(AIArtHandle art, AIRealRect* outBounds);

  /* Non-zero in *outValid when art names a live object of an open document. A disposed, stale or
     null handle gives 0 and success; the host never dereferences such a handle. */
  AIErr (*ValidArt)(AIArtHandle art, AIBoolean* outValid);

  /* Create an empty object of type kAIGroupArt, kAIPathArt (no segments, open), kAICompoundPathArt
     or kAIPluginArt (with an empty result group) and place it by paintOrder relative to prep. A
     null prep places it on top of the topmost layer. Inside placement needs a container (a compound
     path takes only paths); above or below a layer root group is refused; both fail with
     kBadParameterErr, as do other types. New art has no attributes set. Fails with kLockedErr when
     the place is inside art that is not editable, kNoDocumentErr without a document. */
  AIErr (*NewArt)(int32_t type, int32_t paintOrder, AIArtHandle prep, AIArtHandle* outArt);

  /* Remove art and everything inside it from the document; its handle, and the handles of its
     contents, are no longer valid (ValidArt gives 0). A layer root group or the path object of a
     text frame cannot be disposed (kBadParameterErr); art that is not editable fails with
     kLockedErr. */
  AIErr (*DisposeArt)(AIArtHandle art);
} AIArtSuite;

#ifdef __cplusplus
}
#endif
