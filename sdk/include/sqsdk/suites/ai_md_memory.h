/* "AI MdMemory Suite": relocatable memory handles whose size can change while the handle stays. */
#pragma once

#include <stddef.h>

#include "../types.h"

#ifdef __cplusplus
extern "C" {
#endif

#define kAIMdMemorySuite "AI MdMemory Suite"
#define kAIMdMemorySuiteVersion 1

/* A host-owned memory handle: the handle stays the same when the memory behind it moves. */
typedef struct AIMdMemoryOpaque* AIMdMemoryHandle;

typedef struct AIMdMemorySuite {
  /* A new handle of size bytes (0 allowed), zero-filled, in *outHandle. It stays valid until
     DisposeHandle. Fails with kOutOfMemoryErr (*outHandle is then null). */
  AIErr (*NewHandle)(size_t size, AIMdMemoryHandle* outHandle);

  /* Free a handle and its memory. A null handle is accepted and ignored; disposing a handle twice
     fails with kBadHandleErr. */
  AIErr (*DisposeHandle)(AIMdMemoryHandle handle);

  /* The current size of the handle's memory in bytes, in *outSize. */
  AIErr (*GetHandleSize)(AIMdMemoryHandle handle, size_t* outSize);

  /* Resize the handle's memory, keeping its contents up to the smaller size; new bytes are zero.
     Addresses from GetHandlePointer are invalid afterwards. On kOutOfMemoryErr nothing changes. */
  AIErr (*SetHandleSize)(AIMdMemoryHandle handle, size_t newSize);

  /* The address of the handle's memory in *outPointer, valid until the next SetHandleSize or
     DisposeHandle of this handle. */
  AIErr (*GetHandlePointer)(AIMdMemoryHandle handle, void** outPointer);
} AIMdMemorySuite;

#ifdef __cplusplus
}
#endif
