/* "AI Unicode String Suite": host-owned Unicode strings, made from and read back as UTF-8. */
#pragma once

#include "../types.h"

#ifdef __cplusplus
extern "C" {
#endif

/* A Unicode string belongs to the caller that made it until DisposeUnicodeString. Operations fail
   with kBadHandleErr for a string that is not live and kBadParameterErr for a null pointer. */

#define kAIUnicodeStringSuite "AI Unicode String Suite"
#define kAIUnicodeStringSuiteVersion 6

typedef struct AIUnicodeStringSuite {
  /* A new string holding the null-terminated UTF-8 text (copied), in *outString. Text that is not
     valid UTF-8 fails with kBadParameterErr. */
  AIErr (*NewUnicodeStringFromUTF8)(const char* utf8, AIUnicodeStringRef* outString);

  /* Dispose of a string; the reference is invalid afterwards. A null reference is accepted and
     ignored; disposing one twice fails with kBadHandleErr. */
  AIErr (*DisposeUnicodeString)(AIUnicodeStringRef string);

  /* The string as null-terminated UTF-8 into buffer (capacity bytes). When it does not fit, fails
     with kBufferTooSmallErr and the buffer holds a copy truncated at a character boundary. */
  AIErr (*GetUTF8)(AIUnicodeStringRef string, char* buffer, int32_t capacity);

  /* The number of characters (Unicode code points) in *outLength. */
  AIErr (*GetLength)(AIUnicodeStringRef string, int32_t* outLength);
} AIUnicodeStringSuite;

#ifdef __cplusplus
}
#endif
