/* "AI Document List Suite": the open documents, front first. */
#pragma once

#include "../types.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Documents are numbered from the front: document 0 is the current document (ai_document.h).
   Null pointers fail with kBadParameterErr; a failing call changes nothing. */

#define kAIDocumentListSuite "AI Document List Suite"
#define kAIDocumentListSuiteVersion 6

typedef struct AIDocumentListSuite {
  /* The number of open documents in *outCount (0 when none is open). */
  AIErr (*Count)(int32_t* outCount);

  /* Document n (0 is the front one) in *outDocument; kOutOfRangeErr outside 0 .. count - 1. */
  AIErr (*GetNthDocument)(int32_t n, AIDocumentHandle* outDocument);

  /* Bring document to the front, making it the current document and its front view view 0. Causes
     "AI Document View Changed Notifier" when the front view changes. kBadHandleErr for a document
     that is not open. */
  AIErr (*Activate)(AIDocumentHandle document);
} AIDocumentListSuite;

#ifdef __cplusplus
}
#endif
