/* "AI Layer Suite": the layers of the current document: order, root group, colour, state, title. */
#pragma once

#include "../types.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Layers are numbered from the topmost (0) down. Each has a root group that holds its art
   (ai_art.h); the layer that holds a given object comes from GetLayerOfArt of the art suite. The
   layer colour is the colour of the selection display of its art. A hidden (not visible) or locked
   (not editable) layer makes all its art not editable (ai_art.h). Changes of colour, visibility,
   editability or title are recorded for undo and cause "AI Layer Options Notifier"
   (ai_notifier.h). Operations fail with kNoDocumentErr without a document, kBadHandleErr for a
   layer that is not live and kBadParameterErr for a null pointer; failing calls change nothing. */

#define kAILayerSuite "AI Layer Suite"
#define kAILayerSuiteVersion 11

typedef struct AILayerSuite {
  /* The number of layers of the current document, in *outCount. */
  AIErr (*CountLayers)(int32_t* outCount);

  /* The layer at index n (0 is the topmost) in *outLayer; kOutOfRangeErr outside 0 .. count - 1. */
  AIErr (*GetNthLayer)(int32_t n, AILayerHandle* outLayer);

  /* The layer's root group (its parent is null) in *outGroup; valid as long as the layer. */
  AIErr (*GetFirstArtOfLayer)(AILayerHandle layer, AIArtHandle* outGroup);

  /* The layer's colour in *outColor. */
  AIErr (*GetLayerColor)(AILayerHandle layer, AIRGBColor* outColor);

  /* Set the layer's colour. */
  AIErr (*SetLayerColor)(AILayerHandle layer, const AIRGBColor* color);

  /* Non-zero in *outVisible when the layer is shown. */
  AIErr (*GetLayerVisible)(AILayerHandle layer, AIBoolean* outVisible);

  /* Show (non-zero) or hide the layer. Hiding it deselects its art. */
  AIErr (*SetLayerVisible)(AILayerHandle layer, AIBoolean visible);

  /* Non-zero in *outEditable when the layer is not locked. */
  AIErr (*GetLayerEditable)(AILayerHandle layer, AIBoolean* outEditable);

  /* Unlock (non-zero) or lock the layer. Locking it deselects its art. */
  AIErr (*SetLayerEditable)(AILayerHandle layer, AIBoolean editable);

  /* The layer's title, UTF-8, null-terminated, into buffer (capacity bytes). Fails with
     kBufferTooSmallErr when it does not fit (the buffer then holds a truncated copy). */
  AIErr (*GetLayerTitle)(AILayerHandle layer, char* buffer, int32_t capacity);

  /* Set the layer's title (UTF-8, copied). A title that is not valid UTF-8 fails with
     kBadParameterErr and the title stays as it was. */
  AIErr (*SetLayerTitle)(AILayerHandle layer, const char* title);
} AILayerSuite;

#ifdef __cplusplus
}
#endif
