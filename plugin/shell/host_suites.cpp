// The host suites the plug-in uses: one process-wide pointer each, acquired around every message.
#include "shell/host_suites.hpp"

#include <cstdio>

#include "sqsdk/errors.h"
#include "sqsdk/suites/adm_basic.h"

namespace sq {

namespace {

SuiteSlot gSuites[kSuiteCount] = {
    {"SP Blocks Suite", 2, nullptr},        {"SP Access Suite", 3, nullptr},
    {"AI Context Suite", 5, nullptr},       {"AI Plugin Suite", 3, nullptr},
    {"AI Plugin Group Suite", 4, nullptr},  {"AI Block Suite", 2, nullptr},
    {"AI MdMemory Suite", 1, nullptr},      {"AI Real Math Suite", 1, nullptr},
    {"AI Real Bezier Suite", 2, nullptr},   {"AI Art Suite", 15, nullptr},
    {"AI Art Set Suite", 6, nullptr},       {"AI Layer Suite", 11, nullptr},
    {"AI User Suite", 9, nullptr},          {"AI Path Suite", 9, nullptr},
    {"AI Path Style Suite", 11, nullptr},   {"AI Preference Suite", 4, nullptr},
    {"AI Document Suite", 12, nullptr},     {"AI Document View Suite", 10, nullptr},
    {"AI Document List Suite", 6, nullptr}, {"AI Annotator Suite", 4, nullptr},
    {"AI Hit Test Suite", 4, nullptr},      {"AI Cursor Snap Suite", 3, nullptr},
    {"AI Undo Suite", 5, nullptr},          {"AI Text Frame Suite", 2, nullptr},
    {"AI Menu Suite", 9, nullptr},          {"AI Tool Suite", 11, nullptr},
    {"AI Notifier Suite", 2, nullptr},      {"ADM Basic Suite", 8, nullptr},
    {"ADM Dialog Suite", 10, nullptr},      {"ADM Dialog Group Suite", 1, nullptr},
    {"ADM Entry Suite", 2, nullptr},        {"ADM Item Suite", 4, nullptr},
    {"ADM Icon Suite", 1, nullptr},         {"ADM List Suite", 1, nullptr},
    {"ADM Tracker Suite", 2, nullptr},      {"ADM Drawer Suite", 7, nullptr},
    {"ADM Notifier Suite", 1, nullptr},     {"AI Unicode String Suite", 6, nullptr},
    {"AI Artboard Suite", 1, nullptr},      {"AI Hard Soft Suite", 3, nullptr},
};

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
