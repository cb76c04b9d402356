// The dialog manager's suites ("ADM ..."): publishing, and helpers shared by their C functions.
#pragma once

#include "app/suite_registry.hpp"
#include "dialogs/dialog_manager.hpp"
#include "sqsdk/types.h"

namespace sqhost {

// Publishes the ten ADM suites.
void publishADMSuites(SuiteRegistry& registry);

void publishADMBasicSuite(SuiteRegistry& registry);
void publishADMDialogSuites(SuiteRegistry& registry);  // dialog and dialog group
void publishADMItemSuite(SuiteRegistry& registry);
void publishADMListSuites(SuiteRegistry& registry);     // list and entry
void publishADMDrawingSuites(SuiteRegistry& registry);  // drawer and icon
void publishADMEventSuites(SuiteRegistry& registry);    // notifier and tracker

// The running host's dialog manager.
DialogManager& dialogManager();
// True for the plug-in's own reference.
bool isPluginRef(SPPluginRef plugin);

}  // namespace sqhost
