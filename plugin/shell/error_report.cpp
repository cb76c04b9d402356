// Showing a handler's error to the user in the plug-in's error dialog.
#include "shell/error_report.hpp"

#include <cmath>
#include <cstdlib>

#include "resources/resource_ids.hpp"
#include "shell/host_suites.hpp"
#include "sqsdk/errors.h"
#include "sqsdk/suites/adm_basic.h"
#include "sqsdk/suites/adm_dialog.h"
#include "sqsdk/suites/adm_item.h"

namespace sq {

namespace {

constexpr int32_t kMessageItem = 2;
constexpr int32_t kCodeItem = 3;

// The texts the error dialog's init proc puts in place (one dialog at a time).
struct ErrorTexts {
  std::string message;
  std::string code;
};

AIErr InitErrorDialog(ADMDialogRef dialog) {
  try {
    const auto* dialogs = SuiteAs<ADMDialogSuite>(SuiteId::ADMDialog);
    const auto* items = SuiteAs<ADMItemSuite>(SuiteId::ADMItem);
    ADMUserData data = nullptr;
    dialogs->GetUserData(dialog, &data);
    const auto* texts = static_cast<const ErrorTexts*>(data);
    ADMItemRef item = nullptr;
    if (dialogs->GetItem(dialog, kMessageItem, &item) == kNoErr && item != nullptr) {
      items->SetText(item, texts->message.c_str());
    }
    if (dialogs->GetItem(dialog, kCodeItem, &item) == kNoErr && item != nullptr) {
      items->SetText(item, texts->code.c_str());
    }
    return kNoErr;
  } catch (...) {
    return kCantHappenErr;
  }
}

// Reads entry n of the error text table; false when it cannot be read.
bool ReadEntry(const ADMBasicSuite* basic, SPPluginRef plugin, int32_t n, int32_t capacity,
               std::string& out) {
  std::string buffer(static_cast<std::size_t>(capacity) + 1, '\0');
  const AIErr error =
      basic->GetIndexString(plugin, kErrorStringList, n, buffer.data(), capacity + 1);
  if (error != kNoErr && error != kBufferTooSmallErr) return false;
  out = buffer.c_str();
  return true;
}

}  // namespace

int32_t ParseErrorCode(const std::string& entry) {
  if (!entry.empty() && (entry[0] == '-' || (entry[0] >= '0' && entry[0] <= '9'))) {
    const double value = std::strtod(entry.c_str(), nullptr);
    if (!std::isfinite(value)) return 0;
    const double truncated = std::trunc(value);
    // Narrow to 16 bits by keeping the low 16 bits of the integer, as a signed value.
    const auto wide = static_cast<int64_t>(std::fmod(truncated, 65536.0));
    return static_cast<int16_t>(static_cast<uint16_t>(wide & 0xFFFF));
  }
  uint32_t code = 0;
  for (std::size_t i = 0; i < 4; ++i) {
    const auto c = static_cast<unsigned char>(i < entry.size() ? entry[i] : '\0');
    code |= static_cast<uint32_t>(c) << (8 * i);
  }
  return static_cast<int32_t>(code);
}

std::string ErrorCodeText(AIErr error) {
  const auto upper = static_cast<int16_t>(static_cast<uint32_t>(error) >> 16);
  if (upper == 0 || upper == -1) return std::to_string(error);
  std::string text;
  for (int i = 0; i < 4; ++i) {
    text += static_cast<char>((static_cast<uint32_t>(error) >> (8 * i)) & 0xFF);
  }
  return text;
}

void ReportError(AIErr error, SPPluginRef plugin) {
  if (error == kCanceledErr) return;
  const auto* basic = SuiteAs<ADMBasicSuite>(SuiteId::ADMBasic);
  const auto* dialogs = SuiteAs<ADMDialogSuite>(SuiteId::ADMDialog);
  if (basic == nullptr || dialogs == nullptr ||
      SuiteAs<ADMItemSuite>(SuiteId::ADMItem) == nullptr) {
    return;
  }
  int32_t n = 1;
  bool found = false;
  std::string entry;
  while (true) {
    if (!ReadEntry(basic, plugin, n, 255, entry) || entry.empty()) break;
    if (ParseErrorCode(entry) == error) {
      found = true;
      break;
    }
    n += 2;
  }
  ErrorTexts texts;
  // On success the message follows the code; otherwise it is the entry before the empty one.
  const int32_t messageIndex = found ? n + 1 : n - 1;
  if (messageIndex < 1 || !ReadEntry(basic, plugin, messageIndex, 256, texts.message)) return;
  texts.code = ErrorCodeText(error);
  int32_t closedBy = 0;
  dialogs->Modal(plugin, kErrorDialogName, kErrorDialogID, kADMModalDialogStyle, InitErrorDialog,
                 &texts, 0, &closedBy);
}

}  // namespace sq
