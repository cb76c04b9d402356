// The editing tool's message handlers. The tool's behaviour is built up handler by handler; a
// handler without behaviour yet accepts its message and changes nothing.
#include "tool/tool_handlers.hpp"

#include "sqsdk/errors.h"

namespace sq {

AIErr onTrackCursor(void*) {
  return kNoErr;
}
AIErr onMouseDown(void*) {
  return kNoErr;
}
AIErr onMouseDrag(void*) {
  return kNoErr;
}
AIErr onMouseUp(void*) {
  return kNoErr;
}
AIErr onSelect(void*) {
  return kNoErr;
}
AIErr onDeselect(void*) {
  return kNoErr;
}
AIErr onIncreaseDiameter(void*) {
  return kNoErr;
}

}  // namespace sq
