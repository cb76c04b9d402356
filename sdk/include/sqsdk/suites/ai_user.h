/* "AI User Suite": plain alerts and the names of measurement units. */
#pragma once

#include "../types.h"

#ifdef __cplusplus
extern "C" {
#endif

#define kAIUserSuite "AI User Suite"
#define kAIUserSuiteVersion 9

typedef struct AIUserSuite {
  /* Show message (UTF-8) in a modal alert with an "OK" button and return when it is closed. The
     alert is recorded among the alerts the host has shown (and reports). Like every modal dialog
     it takes its answer from the event queue and is closed when no event is left. */
  AIErr (*MessageAlert)(const char* message);

  /* The abbreviation of a ruler unit (kAIPointUnits ... kAIPixelUnits of ai_document.h: "pt", "in",
     "mm", "cm", "pc", "px"), null-terminated, into buffer (capacity bytes). Other units fail with
     kBadParameterErr; a buffer too small with kBufferTooSmallErr (holding a truncated copy). */
  AIErr (*GetUnitsString)(int32_t units, char* buffer, int32_t capacity);
} AIUserSuite;

#ifdef __cplusplus
}
#endif
