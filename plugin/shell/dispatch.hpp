// The entry point's work: suite acquisition around each message, routing, life cycle, error report.
#pragma once

#include "sqsdk/messages.h"

namespace sq {

// Everything PluginMain does. Never lets an exception escape: an exception becomes an error code
// that is reported like any handler error.
AIErr HandleMessage(const char* caller, const char* selector, void* message);

// A message handler of the routing table.
using Handler = AIErr (*)(void* message);

// The handler for a (caller, selector) pair, or null when the pair is not routed. Strings are
// compared only through the host's string equality.
Handler FindHandler(const SPBasicSuite* basic, const char* caller, const char* selector);

}  // namespace sq
