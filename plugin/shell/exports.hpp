// The two symbols the plug-in library exports: its entry point and its resource table.
#pragma once

#include "sqsdk/messages.h"
#include "sqsdk/resources.h"

#define SQ_EXPORT __attribute__((visibility("default")))

extern "C" {
SQ_EXPORT AIErr PluginMain(const char* caller, const char* selector, void* message);
SQ_EXPORT extern const SPResourceTable SPPluginResources;
}
