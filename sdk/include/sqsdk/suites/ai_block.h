/* "AI Block Suite": memory blocks a plug-in borrows from the host for work over several calls. */
#pragma once

#include <stddef.h>

#include "../types.h"

#ifdef __cplusplus
extern "C" {
#endif

#define kAIBlockSuite "AI Block Suite"
#define kAIBlockSuiteVersion 2

typedef struct AIBlockSuite {
  /* Allocate size bytes (size 0 is allowed), zero-filled, aligned for any value type, and write the
     address to *outBlock. The block stays valid until DisposeBlock; blocks still allocated when the
     plug-in shuts down are freed by the host and named in its leak report. Fails with
     kOutOfMemoryErr (*outBlock is then null). */
  AIErr (*AllocateBlock)(size_t size, void** outBlock);

  /* Free a block from AllocateBlock or ReallocateBlock. A null block is accepted and ignored;
     freeing a block twice, or one the host did not hand out, fails with kBadParameterErr. */
  AIErr (*DisposeBlock)(void* block);

  /* Resize a block, keeping its contents up to the smaller size; new bytes are zero. On success
     *outBlock is the new address and the old one is no longer valid; on failure the old block is
     untouched and *outBlock is null. */
  AIErr (*ReallocateBlock)(void* block, size_t newSize, void** outBlock);

  /* The size in bytes the block was last allocated or resized to, in *outSize. */
  AIErr (*GetBlockSize)(const void* block, size_t* outSize);
} AIBlockSuite;

#ifdef __cplusplus
}
#endif
