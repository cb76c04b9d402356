// The tool's press.
#include "sqsdk/errors.h"
#include "tool/tool_handlers.hpp"

namespace sq {

AIErr onMouseDown(void*) {
  return kNoErr;
}

}  // namespace sq
