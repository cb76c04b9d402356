/* "SP Blocks Suite": raw memory blocks from the host, for records that outlive a message. */
#pragma once

#include <stddef.h>

#include "../types.h"

#ifdef __cplusplus
extern "C" {
#endif

#define kSPBlocksSuite "SP Blocks Suite"
#define kSPBlocksSuiteVersion 2

typedef struct SPBlocksSuite {
  /* Allocate size bytes, zero-filled, and write their address to *outBlock. debugName names the
     block in the host's leak report; the host copies it. The block stays valid, across unloads and
     reloads of the library, until FreeBlock. Fails with kOutOfMemoryErr (*outBlock is then null).
   */
  AIErr (*AllocateBlock)(size_t size, const char* debugName, void** outBlock);

  /* Free a block from AllocateBlock or ReallocateBlock. A null block is accepted and ignored;
     freeing a block twice, or one the host did not hand out, fails with kBadParameterErr. */
  AIErr (*FreeBlock)(void* block);

  /* Resize a block, keeping its contents up to the smaller size; new bytes are zero. On success
     *outBlock is the new address and the old one is no longer valid; on failure the old block is
     untouched and *outBlock is null. */
  AIErr (*ReallocateBlock)(void* block, size_t newSize, const char* debugName, void** outBlock);
} SPBlocksSuite;

#ifdef __cplusplus
}
#endif
