/* "AI Plugin Suite": holds that keep a plug-in's library loaded while it has work outstanding. */
#pragma once

#include "../types.h"

#ifdef __cplusplus
extern "C" {
#endif

#define kAIPluginSuite "AI Plugin Suite"
#define kAIPluginSuiteVersion 3

typedef struct AIPluginSuite {
  /* Take one hold on plugin's library and write the plug-in's access reference to *outAccess (the
     same reference the "SP Access Suite" gives). While at least one hold is taken the host does not
     unload the library between messages; a floating panel takes one for its lifetime. Each call
     takes one more hold. Fails with kBadHandleErr for an unknown plug-in. */
  AIErr (*AcquirePluginAccess)(SPPluginRef plugin, SPAccessRef* outAccess);

  /* Give back one hold taken with AcquirePluginAccess. Releasing more holds than were taken fails
     with kBadParameterErr. When the last hold goes, the host may unload the library again between
     messages (it sends "SP Access" / "Unload" first). */
  AIErr (*ReleasePluginAccess)(SPAccessRef access);
} AIPluginSuite;

#ifdef __cplusplus
}
#endif
