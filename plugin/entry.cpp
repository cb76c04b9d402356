// The plug-in's exported symbols: PluginMain and the resource table.
#include "resources/resource_ids.hpp"
#include "shell/dispatch.hpp"
#include "shell/exports.hpp"

extern "C" {

AIErr PluginMain(const char* caller, const char* selector, void* message) {
  return sq::HandleMessage(caller, selector, message);
}

const SPResourceTable SPPluginResources = {kSPResourceTableMagic, sq::kResourceEntryCount,
                                           sq::kResourceEntries};
}
