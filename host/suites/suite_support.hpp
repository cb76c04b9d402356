// Helpers shared by the suites' C functions: the current host, string copies, guarded calls.
#pragma once

#include <new>
#include <string>
#include <string_view>

#include "app/host.hpp"
#include "sqsdk/errors.h"

namespace sqhost {

// The running host. Suites are only published by a Host, so one exists whenever they are called.
inline Host& host() {
  return *Host::current();
}

// Copies text into a caller's buffer, null-terminated. kBufferTooSmallErr (with a truncated copy
// cut on a UTF-8 character boundary) when it does not fit; kBadParameterErr for a null buffer or a
// capacity below 1.
AIErr copyString(const std::string& text, char* buffer, int32_t capacity);

// Strict UTF-8 (no overlong forms, no surrogates, nothing above U+10FFFF), as every text a
// plug-in hands the host must be.
bool isValidUtf8(std::string_view text);

// Runs f, turning any exception into an error code: no exception crosses into plug-in code.
template <typename F>
AIErr guarded(F&& f) noexcept {
  try {
    return f();
  } catch (const std::bad_alloc&) {
    return kOutOfMemoryErr;
  } catch (...) {
    return kCantHappenErr;
  }
}

}  // namespace sqhost
