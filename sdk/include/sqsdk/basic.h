/* The basic-services table every message carries: suite acquisition and string equality. */
#pragma once

#include "types.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct SPBasicSuite {
  /* Acquire the suite of this name and version. On success *outSuite points to the suite's
     function table, which stays valid until the matching ReleaseSuite. Each acquisition raises
     the suite's use count by one. Fails with kSPSuiteNotFoundError when the host has no suite of
     this name and version; *outSuite is then null. */
  AIErr (*AcquireSuite)(const char* name, int32_t version, const void** outSuite);

  /* Release one acquisition of a suite; lowers its use count by one. Fails with
     kSPSuiteNotFoundError for an unknown suite and kBadParameterErr when the count is already 0. */
  AIErr (*ReleaseSuite)(const char* name, int32_t version);

  /* Non-zero when the two null-terminated strings are equal, byte for byte. */
  AIBoolean (*IsEqual)(const char* token1, const char* token2);
} SPBasicSuite;

#ifdef __cplusplus
}
#endif
