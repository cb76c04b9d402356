/* The size and alignment of every SDK record, as one language sees it. The list comes from the
   build (every_sdk_header.h); each side fills its own table. */
#pragma once

#include <stddef.h>

#include "every_sdk_header.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct SqRecordLayout {
  const char* name;
  size_t size;
  size_t alignment;
} SqRecordLayout;

/* The records as C sees them (sdk_headers_c.c). */
extern const SqRecordLayout kSqCLayouts[];
extern const size_t kSqCLayoutCount;

#ifdef __cplusplus
}
#endif
