// The host suites the plug-in uses: one process-wide pointer each, acquired around every message.
#include "shell/host_suites.hpp"

#include <cstdio>
#include <iterator>

#include "sqsdk/errors.h"
#include "sqsdk/suites/adm_basic.h"
#include "sqsdk/suites/adm_dialog.h"
#include "sqsdk/suites/adm_dialog_group.h"
#include "sqsdk/suites/adm_drawer.h"
#include "sqsdk/suites/adm_entry.h"
#include "sqsdk/suites/adm_icon.h"
#include "sqsdk/suites/adm_item.h"
#include "sqsdk/suites/adm_list.h"
#include "sqsdk/suites/adm_notifier.h"
#include "sqsdk/suites/adm_tracker.h"
#include "sqsdk/suites/ai_annotator.h"
#include "sqsdk/suites/ai_art.h"
#include "sqsdk/suites/ai_art_set.h"
#include "sqsdk/suites/ai_artboard.h"
#include "sqsdk/suites/ai_block.h"
#include "sqsdk/suites/ai_context.h"
#include "sqsdk/suites/ai_cursor_snap.h"
#include "sqsdk/suites/ai_document.h"
#include "sqsdk/suites/ai_document_list.h"
#include "sqsdk/suites/ai_document_view.h"
#include "sqsdk/suites/ai_hard_soft.h"
#include "sqsdk/suites/ai_hit_test.h"
#include "sqsdk/suites/ai_layer.h"
#include "sqsdk/suites/ai_md_memory.h"
#include "sqsdk/suites/ai_menu.h"
#include "sqsdk/suites/ai_notifier.h"
#include "sqsdk/suites/ai_path.h"
#include "sqsdk/suites/ai_path_style.h"
#include "sqsdk/suites/ai_plugin.h"
#include "sqsdk/suites/ai_plugin_group.h"
#include "sqsdk/suites/ai_preference.h"
#include "sqsdk/suites/ai_real_bezier.h"
#include "sqsdk/suites/ai_real_math.h"
#include "sqsdk/suites/ai_text_frame.h"
#include "sqsdk/suites/ai_tool.h"
#include "sqsdk/suites/ai_undo.h"
#include "sqsdk/suites/ai_unicode_string.h"
#include "sqsdk/suites/ai_user.h"
#include "sqsdk/suites/sp_access.h"
#include "sqsdk/suites/sp_blocks.h"

namespace sq {

namespace {

SuiteSlot gSuites[] = {
    {kSPBlocksSuite, kSPBlocksSuiteVersion, nullptr},
    {kSPAccessSuite, kSPAccessSuiteVersion, nullptr},
    {kAIContextSuite, kAIContextSuiteVersion, nullptr},
    {kAIPluginSuite, kAIPluginSuiteVersion, nullptr},
    {kAIPluginGroupSuite, kAIPluginGroupSuiteVersion, nullptr},
    {kAIBlockSuite, kAIBlockSuiteVersion, nullptr},
    {kAIMdMemorySuite, kAIMdMemorySuiteVersion, nullptr},
    {kAIRealMathSuite, kAIRealMathSuiteVersion, nullptr},
    {kAIRealBezierSuite, kAIRealBezierSuiteVersion, nullptr},
    {kAIArtSuite, kAIArtSuiteVersion, nullptr},
    {kAIArtSetSuite, kAIArtSetSuiteVersion, nullptr},
    {kAILayerSuite, kAILayerSuiteVersion, nullptr},
    {kAIUserSuite, kAIUserSuiteVersion, nullptr},
    {kAIPathSuite, kAIPathSuiteVersion, nullptr},
    {kAIPathStyleSuite, kAIPathStyleSuiteVersion, nullptr},
    {kAIPreferenceSuite, kAIPreferenceSuiteVersion, nullptr},
    {kAIDocumentSuite, kAIDocumentSuiteVersion, nullptr},
    {kAIDocumentViewSuite, kAIDocumentViewSuiteVersion, nullptr},
    {kAIDocumentListSuite, kAIDocumentListSuiteVersion, nullptr},
    {kAIAnnotatorSuite, kAIAnnotatorSuiteVersion, nullptr},
    {kAIHitTestSuite, kAIHitTestSuiteVersion, nullptr},
    {kAICursorSnapSuite, kAICursorSnapSuiteVersion, nullptr},
    {kAIUndoSuite, kAIUndoSuiteVersion, nullptr},
    {kAITextFrameSuite, kAITextFrameSuiteVersion, nullptr},
    {kAIMenuSuite, kAIMenuSuiteVersion, nullptr},
    {kAIToolSuite, kAIToolSuiteVersion, nullptr},
    {kAINotifierSuite, kAINotifierSuiteVersion, nullptr},
    {kADMBasicSuite, kADMBasicSuiteVersion, nullptr},
    {kADMDialogSuite, kADMDialogSuiteVersion, nullptr},
    {kADMDialogGroupSuite, kADMDialogGroupSuiteVersion, nullptr},
    {kADMEntrySuite, kADMEntrySuiteVersion, nullptr},
    {kADMItemSuite, kADMItemSuiteVersion, nullptr},
    {kADMIconSuite, kADMIconSuiteVersion, nullptr},
    {kADMListSuite, kADMListSuiteVersion, nullptr},
    {kADMTrackerSuite, kADMTrackerSuiteVersion, nullptr},
    {kADMDrawerSuite, kADMDrawerSuiteVersion, nullptr},
    {kADMNotifierSuite, kADMNotifierSuiteVersion, nullptr},
    {kAIUnicodeStringSuite, kAIUnicodeStringSuiteVersion, nullptr},
    {kAIArtboardSuite, kAIArtboardSuiteVersion, nullptr},
    {kAIHardSoftSuite, kAIHardSoftSuiteVersion, nullptr},
};
// One slot per SuiteId, in its order.
static_assert(std::size(gSuites) == kSuiteCount);

int16_t gAcquireCount = 0;

// Tells the user which suite is missing, when the dialog manager's basic suite is already held.
void ReportAcquisitionFailure(AIErr error, const SuiteSlot& slot) {
  const auto* adm = SuiteAs<ADMBasicSuite>(SuiteId::ADMBasic);
  if (adm == nullptr) return;
  char text[256];
  std::snprintf(text, sizeof text, "Error: %d, suite: %s, version: %d!", static_cast<int>(error),
                slot.name, static_cast<int>(slot.version));
  adm->ErrorAlert(text);
}

}  // namespace

SuiteSlot* SuiteTable() {
  return gSuites;
}
int16_t& AcquireCount() {
  return gAcquireCount;
}

AIErr AcquireSuites(SPBasicSuite* basic) {
  AIErr result = kNoErr;
  if (gAcquireCount == 0) {
    for (SuiteSlot& slot : gSuites) {
      const void* table = nullptr;
      result = basic->AcquireSuite(slot.name, slot.version, &table);
      if (result != kNoErr) {
        slot.table = nullptr;
        ReportAcquisitionFailure(result, slot);
        break;
      }
      slot.table = table;
    }
  }
  ++gAcquireCount;
  return result;
}

void ReleaseSuites(SPBasicSuite* basic) {
  if (gAcquireCount == 1) {
    for (SuiteSlot& slot : gSuites) {
      if (slot.table == nullptr) continue;
      const AIErr result = basic->ReleaseSuite(slot.name, slot.version);
      slot.table = nullptr;
      if (result != kNoErr) break;
    }
  }
  --gAcquireCount;
}

}  // namespace sq
