// The host suites the plug-in uses: one process-wide pointer each, acquired around every message.
#pragma once

#include <cstdint>

#include "sqsdk/basic.h"
#include "sqsdk/types.h"

namespace sq {

// The suites in acquisition order.
enum class SuiteId : int {
  SPBlocks,
  SPAccess,
  Context,
  Plugin,
  PluginGroup,
  Block,
  MdMemory,
  RealMath,
  RealBezier,
  Art,
  ArtSet,
  Layer,
  User,
  Path,
  PathStyle,
  Preference,
  Document,
  DocumentView,
  DocumentList,
  Annotator,
  HitTest,
  CursorSnap,
  Undo,
  TextFrame,
  Menu,
  Tool,
  Notifier,
  ADMBasic,
  ADMDialog,
  ADMDialogGroup,
  ADMEntry,
  ADMItem,
  ADMIcon,
  ADMList,
  ADMTracker,
  ADMDrawer,
  ADMNotifier,
  UnicodeString,
  Artboard,
  HardSoft,
  Count
};

inline constexpr int kSuiteCount = static_cast<int>(SuiteId::Count);

struct SuiteSlot {
  const char* name;
  int32_t version;
  const void* table;  // null while not held
};

// The table of suites, in acquisition order.
SuiteSlot* SuiteTable();

// The nesting counter of suite acquisition.
int16_t& AcquireCount();

// The basic services of the message being handled (set by the entry point).
SPBasicSuite*& CurrentBasic();

// Acquires every suite when no message is being handled yet, stopping at the first failure; then
// raises the nesting counter. Returns the acquisition error, or 0.
AIErr AcquireSuites(SPBasicSuite* basic);
// Releases every held suite when this is the outermost message; then lowers the counter.
void ReleaseSuites(SPBasicSuite* basic);

// A held suite, or null.
template <typename T>
const T* SuiteAs(SuiteId id) {
  return static_cast<const T*>(SuiteTable()[static_cast<int>(id)].table);
}

}  // namespace sq
