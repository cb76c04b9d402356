/* "AI Preference Suite": the host's persistent key-value store, shared by the host and plug-ins. */
#pragma once

#include "../types.h"

#ifdef __cplusplus
extern "C" {
#endif

/* The store holds values of five types (boolean, integer, real, string, point) under a prefix (the
   section: a plug-in uses its own name, "Spindlequiver") and a suffix (the key). A null or empty
   prefix names the host's own preferences. Keys are taken literally: a '/' is part of the key, as
   in "smartGuides/tolerance". Each key holds one value of one type; a put replaces the value and
   its type.

   A get writes its output only when the key is stored with the asked type; the caller sets its
   default first and keeps it otherwise. A key that is not stored is not an error: the get returns
   kNoErr with the output untouched. A key stored with another type leaves the output untouched and
   fails with kNoSuchPreferenceErr. A null suffix, value or output pointer fails with
   kBadParameterErr.

   The store lives in one file per host installation (its path comes from a command-line option or
   an environment variable, with a per-user default). Puts take effect at once in memory; the file
   is written when the host is next idle and at shut-down, always atomically (a temporary file, then
   a rename), so an abnormal end never leaves a half-written file. A damaged file is set aside
   under a new name and reported, never silently overwritten; the host then starts from an empty
   store. Puts under the host's own prefix cause "AI Preference Changed Notifier" (ai_notifier.h);
   puts under a plug-in's prefix do not. */

#define kAIPreferenceSuite "AI Preference Suite"
#define kAIPreferenceSuiteVersion 4

/* Keys of the host's own preferences (null prefix) that plug-ins read, with the type and range
   the host keeps them in and its default when nothing valid is stored. A put of one of these keys
   converts the value to the key's type when that loses nothing (an integer for a real, a whole
   real for an integer) and otherwise fails with kBadParameterErr, storing nothing; a stored
   preference file whose value for one of them does not fit is reported at start-up and the value
   is ignored, so a get never hands out a value outside these ranges. */
#define kAIPrefSelectionTolerance "selectionTolerance"                /* integer 1..64, pixels; 6 */
#define kAIPrefSmartGuidesTolerance "smartGuides/tolerance"           /* integer 1..64, pixels; 6 */
#define kAIPrefSmartGuidesShowToolGuides "smartGuides/showToolGuides" /* boolean; true */
#define kAIPrefConstrainAngle "constrain/angle"  /* real, any finite value, degrees; 0 */
#define kAIPrefGridSpacing "grid/spacing"        /* real 0.1..10000, points; 72 */
#define kAIPrefRulerIn4thQuad "isRulerIn4thQuad" /* boolean: rulers grow downward; true */
#define kAIPrefUnselectedAnchorMarkType "unselectedAnchorMarkType" /* integer 1..3 (size); 1 */
#define kAIPrefSelectedAnchorMarkType "selectedAnchorMarkType"     /* integer 1..3 (size); 2 */
#define kAIPrefDirectionHandleMarkType "directionHandleMarkType"   /* integer 1..11 (style); 4 */
/* integer 0..5: the host's general measurement units, one of the ruler units of ai_document.h
   (kAIPointUnits .. kAIPixelUnits); points when not stored. Number fields in the host's units
   (ADMBasicSuite.GetAppUnits) follow it; a change sends "AI Preference Changed Notifier". */
#define kAIPrefGeneralUnits "units/general"

typedef struct AIPreferenceSuite {
  /* The boolean stored under prefix/suffix, 0 or 1, in *outValue. */
  AIErr (*GetBooleanPreference)(const char* prefix, const char* suffix, AIBoolean* outValue);

  /* Store a boolean (any non-zero value is stored as 1). */
  AIErr (*PutBooleanPreference)(const char* prefix, const char* suffix, AIBoolean value);

  /* The signed 32-bit integer stored under prefix/suffix, in *outValue. */
  AIErr (*GetIntegerPreference)(const char* prefix, const char* suffix, int32_t* outValue);

  /* Store a signed 32-bit integer. */
  AIErr (*PutIntegerPreference)(const char* prefix, const char* suffix, int32_t value);

  /* The 64-bit real stored under prefix/suffix, in *outValue. */
  AIErr (*GetRealPreference)(const char* prefix, const char* suffix, double* outValue);

  /* Store a 64-bit real, kept exactly. A non-finite value fails with kNonFiniteErr. */
  AIErr (*PutRealPreference)(const char* prefix, const char* suffix, double value);

  /* The UTF-8 string stored under prefix/suffix, null-terminated, into buffer (capacity bytes).
     When it does not fit, fails with kBufferTooSmallErr and the buffer holds a truncated copy. */
  AIErr (*GetStringPreference)(const char* prefix, const char* suffix, char* buffer,
                               int32_t capacity);

  /* Store a UTF-8 string (copied). */
  AIErr (*PutStringPreference)(const char* prefix, const char* suffix, const char* value);

  /* The point (two signed 32-bit integers, for example a panel position in pixels) stored under
     prefix/suffix, in *outValue. */
  AIErr (*GetPointPreference)(const char* prefix, const char* suffix, AIPoint* outValue);

  /* Store a point. */
  AIErr (*PutPointPreference)(const char* prefix, const char* suffix, const AIPoint* value);

  /* Forget the value stored under prefix/suffix; a key that is not stored is ignored. */
  AIErr (*RemovePreference)(const char* prefix, const char* suffix);
} AIPreferenceSuite;

#ifdef __cplusplus
}
#endif
