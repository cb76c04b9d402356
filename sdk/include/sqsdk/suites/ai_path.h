/* "AI Path Suite": the segments of a path, its closed flag and its per-segment selection. */
#pragma once

#include "../types.h"

#ifdef __cplusplus
extern "C" {
#endif

/* A path is a list of segments (types.h: anchor, in handle, out handle, corner flag), indexed from
   0, and a closed flag. The curve from segment i to segment i + 1 runs from anchor i through its
   out handle and the in handle of i + 1 to anchor i + 1; a closed path also has the closing curve
   from its last segment back to segment 0. A handle equal to its anchor (exact comparison) is
   retracted.

   Segment selection. Each segment has a selection state:
     0 kAISegmentNotSelected     nothing
     1 kAISegmentPointSelected   the anchor point is selected
     2 kAISegmentInSelected      the in side (its in handle and the curve entering it) is selected
     3 kAISegmentOutSelected     the out side (its out handle and the curve leaving it) is selected
     4 kAISegmentInOutSelected   both sides are selected
   The path's selected attribute (ai_art.h) is set exactly while at least one segment has a
   non-zero state, and clearing the attribute clears every segment. The host shows, and its hit test
   finds (ai_hit_test.h), the in handle of a segment in state 2 or 4 and the out handle of one in
   state 3 or 4; when exactly one segment of the path is in state 1, both handles of that segment
   are shown too. Retracted handles are never shown.

   Limits and refusals. A path holds at most GetMaxPathSegments segments (kAIDefaultMaxPathSegments
   unless the host was configured otherwise; small enough for any index to fit a signed 16-bit
   value); an insertion past the limit fails with kTooManySegmentsErr and inserts nothing. Segments
   with a non-finite coordinate are refused with kNonFiniteErr. Changes to a path that is not
   editable fail with kLockedErr (ai_art.h). Indices outside the path fail with kOutOfRangeErr; art
   that is not a path (kAIPathArt; the path object of a text frame is one) with kBadParameterErr; a
   handle that names no live art with kBadHandleErr. A failing call changes nothing and leaves its
   outputs untouched. Every change is recorded in the current undo context (ai_undo.h) and causes
   "AI Art Selection Changed Notifier" when it touches selected art or the selection. */

#define kAIPathSuite "AI Path Suite"
#define kAIPathSuiteVersion 9

#define kAIDefaultMaxPathSegments 32000

/* Segment selection states. */
enum {
  kAISegmentNotSelected = 0,
  kAISegmentPointSelected = 1,
  kAISegmentInSelected = 2,
  kAISegmentOutSelected = 3,
  kAISegmentInOutSelected = 4
};

typedef struct AIPathSuite {
  /* The number of segments in *outCount (0 for a new path). */
  AIErr (*GetPathSegmentCount)(AIArtHandle path, int32_t* outCount);

  /* Copy count segments starting at index into outSegments (room for count records). index and
     index + count must lie within 0 .. segment count; count 0 copies nothing. The corner flag reads
     0 or 1. */
  AIErr (*GetPathSegments)(AIArtHandle path, int32_t index, int32_t count,
                           AIPathSegment* outSegments);

  /* Replace the count segments starting at index by segments; the range must lie inside the path.
     Selection states stay with their indices. A non-zero corner flag is stored as 1. */
  AIErr (*SetPathSegments)(AIArtHandle path, int32_t index, int32_t count,
                           const AIPathSegment* segments);

  /* Insert count segments before index (0 .. segment count; the segment count appends), moving the
     later segments up by count. New segments have selection state 0. Fails with
     kTooManySegmentsErr, inserting nothing, when the path would exceed GetMaxPathSegments. */
  AIErr (*InsertPathSegments)(AIArtHandle path, int32_t index, int32_t count,
                              const AIPathSegment* segments);

  /* Delete count segments starting at index, moving the later ones down; the others keep their
     selection states and the closed flag is kept. A path may become empty; it is not disposed. */
  AIErr (*DeletePathSegments)(AIArtHandle path, int32_t index, int32_t count);

  /* Non-zero in *outClosed when the path is closed. */
  AIErr (*GetPathClosed)(AIArtHandle path, AIBoolean* outClosed);

  /* Close (non-zero) or open the path. Segments are not changed; any segment count is accepted. */
  AIErr (*SetPathClosed)(AIArtHandle path, AIBoolean closed);

  /* Reverse the direction of the path: segment i moves to n - 1 - i and its in and out handles are
     swapped; the selection states move with their segments with states 2 and 3 exchanged. The
     closed flag is kept. The shape is unchanged. */
  AIErr (*ReversePathSegments)(AIArtHandle path);

  /* The curve leaving segment index, in *outBezier: p0 its anchor, p1 its out handle, p2 the in
     handle and p3 the anchor of the next segment. On a closed path the last index gives the
     closing curve back to segment 0; on an open path the last index has no curve and fails with
     kOutOfRangeErr. */
  AIErr (*GetPathBezier)(AIArtHandle path, int32_t index, AIRealBezier* outBezier);

  /* The selection state (0 .. 4) of segment index, in *outState. */
  AIErr (*GetPathSegmentSelected)(AIArtHandle path, int32_t index, int32_t* outState);

  /* Set the selection state of segment index to state (0 .. 4, else kBadParameterErr). The path's
     selected attribute follows. A non-zero state on a path that is not editable fails with
     kLockedErr; 0 is always accepted. */
  AIErr (*SetPathSegmentSelected)(AIArtHandle path, int32_t index, int32_t state);

  /* Non-zero in *outAll when the path has at least one segment and every segment is in state 1
     (the whole path selected point by point). */
  AIErr (*GetPathAllSegmentsSelected)(AIArtHandle path, AIBoolean* outAll);

  /* The host's limit on the number of segments of one path, in *outMax. */
  AIErr (*GetMaxPathSegments)(int32_t* outMax);
} AIPathSuite;

#ifdef __cplusplus
}
#endif
