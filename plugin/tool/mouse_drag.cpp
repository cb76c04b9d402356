// The tool's drag steps.
#include "sqsdk/errors.h"
#include "tool/tool_handlers.hpp"

namespace sq {

AIErr onMouseDrag(void*) {
  return kNoErr;
}

}  // namespace sq
