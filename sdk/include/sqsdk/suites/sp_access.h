/* "SP Access Suite": the loaded state of plug-in libraries and the plug-in's access reference. */
#pragma once

#include "../types.h"

#ifdef __cplusplus
extern "C" {
#endif

#define kSPAccessSuite "SP Access Suite"
#define kSPAccessSuiteVersion 3

typedef struct SPAccessSuite {
  /* The access reference of a plug-in: stands for its library while it is loaded, and is what
     dialog and resource operations need. Always succeeds for the calling plug-in's own reference.
   */
  AIErr (*GetPluginAccess)(SPPluginRef plugin, SPAccessRef* outAccess);

  /* Non-zero in *outLoaded while the plug-in's library is loaded. */
  AIErr (*IsPluginLoaded)(SPPluginRef plugin, AIBoolean* outLoaded);

  /* The path of the plug-in's library file, null-terminated, into buffer (capacity bytes).
     Fails with kBufferTooSmallErr when it does not fit (the buffer then holds a truncated copy). */
  AIErr (*GetPluginFilePath)(SPPluginRef plugin, char* buffer, int32_t capacity);

  /* The plug-in's name from its property list, as for GetPluginFilePath. */
  AIErr (*GetPluginName)(SPPluginRef plugin, char* buffer, int32_t capacity);
} SPAccessSuite;

#ifdef __cplusplus
}
#endif
