/* Every SDK header compiled as C11, and the C view of every SDK record's layout. */
#include "sdk_layouts.h"

#define SQ_RECORD(type) {#type, sizeof(type), _Alignof(type)},
const SqRecordLayout kSqCLayouts[] = {SQ_EVERY_SDK_RECORD};
#undef SQ_RECORD

const size_t kSqCLayoutCount = sizeof kSqCLayouts / sizeof kSqCLayouts[0];
