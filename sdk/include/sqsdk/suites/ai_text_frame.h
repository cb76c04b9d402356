/* "AI Text Frame Suite": the kind of a text frame and the path object that shapes it. */
#pragma once

#include "../types.h"

#ifdef __cplusplus
extern "C" {
#endif

/* A text frame (art type kAITextFrameArt, ai_art.h) holds text in an area bounded by a path (area
   text) or along a path (text on a path). That path is the frame's path object: an ordinary path
   (kAIPathArt) whose parent is the frame, edited with the path suite like any other, but not a
   child of the frame and never disposed on its own. Its selection is the frame's selection. Both
   operations fail with kBadParameterErr for art that is not a text frame or a null output pointer,
   and with kBadHandleErr for art that is not live. */

#define kAITextFrameSuite "AI Text Frame Suite"
#define kAITextFrameSuiteVersion 2

/* Text frame types. */
enum {
  kAIPointTextType = 0,  /* text at a point: no path object (this host never creates one) */
  kAIInPathTextType = 1, /* area text: the path object bounds the area */
  kAIOnPathTextType = 2  /* text on a path: the path object is the baseline */
};

typedef struct AITextFrameSuite {
  /* The frame's type (kAIPointTextType ... kAIOnPathTextType) in *outType. */
  AIErr (*GetTextFrameType)(AIArtHandle frame, int32_t* outType);

  /* The frame's path object in *outPath, valid as long as the frame. Point text has none and fails
     with kBadParameterErr. */
  AIErr (*GetTextFramePathObject)(AIArtHandle frame, AIArtHandle* outPath);
} AITextFrameSuite;

#ifdef __cplusplus
}
#endif
