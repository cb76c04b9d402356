// The tool's release.
#include "sqsdk/errors.h"
#include "tool/tool_handlers.hpp"

namespace sq {

AIErr onMouseUp(void*) {
  return kNoErr;
}

}  // namespace sq
