// The user's settings: defaults, loading with clamping, the first start, and saving.
#include "shell/settings.hpp"

#include <cmath>
#include <limits>
#include <numbers>

#include "panel/panel_lifecycle.hpp"
#include "shell/host_suites.hpp"
#include "sqsdk/errors.h"
#include "sqsdk/suites/ai_preference.h"

namespace sq {

namespace {

enum class Kind { Boolean, Integer, Real };

// One stored setting: where it lives in the state, its type and, for ranged keys, its bounds.
struct Key {
  const char* name;
  Kind kind;
  int32_t Settings::*flag = nullptr;
  int32_t Settings::*integer = nullptr;
  double Settings::*real = nullptr;
  double PluginState::*stateReal = nullptr;  // the panel's adjustment values live beside Settings
  double low = 0;
  double high = 0;
  bool ranged = false;
};

constexpr Key Boolean(const char* name, int32_t Settings::*field) {
  return Key{name, Kind::Boolean, field, nullptr, nullptr, nullptr, 0, 0, false};
}
constexpr Key Integer(const char* name, int32_t Settings::*field, double low, double high) {
  return Key{name, Kind::Integer, nullptr, field, nullptr, nullptr, low, high, true};
}
constexpr Key Real(const char* name, double Settings::*field, double low, double high) {
  return Key{name, Kind::Real, nullptr, nullptr, field, nullptr, low, high, true};
}
constexpr Key Adjustment(const char* name, double PluginState::*field, double low, double high) {
  return Key{name, Kind::Real, nullptr, nullptr, nullptr, field, low, high, true};
}

// Every stored key, in the order of reading.
constexpr Key kKeys[] = {
    Boolean("shift_equalizes", &Settings::shift_equalizes),
    Boolean("anchor_allHandles", &Settings::anchor_allHandles),
    Boolean("drag_break", &Settings::drag_break),
    Boolean("slowdrag", &Settings::slowdrag),
    Boolean("pointdrag", &Settings::pointdrag),
    Boolean("slowdragCtrl", &Settings::slowdragCtrl),
    Boolean("multi_extendPro", &Settings::multi_extendPro),
    Boolean("multi_extendSAZ", &Settings::multi_extendSAZ),
    Integer("precision", &Settings::precision, 2, 4),
    Real("shift_multi", &Settings::shift_multi, 1, 100),
    Real("slowdrag_div", &Settings::slowdrag_div, 1, 100),
    Real("smoothing", &Settings::smoothing, 0.1, 0.5),
    Adjustment("MHIncrement", &PluginState::MHIncrement, -32768, 32767),
    Adjustment("MHScale", &PluginState::MHScale, -20000, 20000),
    Adjustment("MHRotate", &PluginState::MHRotate, -32768, 32767),
    Adjustment("MHSetLength", &PluginState::MHSetLength, -32768, 32767),
    Adjustment("MHSetAngle", &PluginState::MHSetAngle, -32768, 32767),
    Boolean("use_ring", &Settings::use_ring),
    Boolean("use_ring_paths", &Settings::use_ring_paths),
    Boolean("ring_has_text", &Settings::ring_has_text),
    Boolean("boxed_text", &Settings::boxed_text),
    Boolean("boxed_text_large", &Settings::boxed_text_large),
    Boolean("expanded", &Settings::expanded),
    Boolean("counterrotate", &Settings::counterrotate),
    Boolean("addpoints", &Settings::addpoints),
    Boolean("snap_to_tangencies", &Settings::snap_to_tangencies),
    Boolean("highlight_tangencies", &Settings::highlight_tangencies),
    Boolean("recognize_connectors", &Settings::recognize_connectors),
    Real("angle_threshhold", &Settings::angle_threshhold, 1, 180),
};

// The order of writing back at shut-down. "boxed_text_large" is read but never written.
constexpr const char* kSaveOrder[] = {
    "shift_equalizes",
    "anchor_allHandles",
    "drag_break",
    "slowdrag",
    "pointdrag",
    "slowdragCtrl",
    "multi_extendPro",
    "multi_extendSAZ",
    "precision",
    "shift_multi",
    "slowdrag_div",
    "smoothing",
    "MHIncrement",
    "MHScale",
    "MHRotate",
    "MHSetLength",
    "MHSetAngle",
    "use_ring",
    "use_ring_paths",
    "ring_has_text",
    "boxed_text",
    "expanded",
    "counterrotate",
    "addpoints",
    "snap_to_tangencies",
    "highlight_tangencies",
    "recognize_connectors",
    "angle_threshhold",
};

constexpr Settings kDefaults = {
    .shift_equalizes = 0,
    .anchor_allHandles = 0,
    .drag_break = 0,
    .slowdrag = 0,
    .pointdrag = 1,
    .slowdragCtrl = 1,
    .multi_extendPro = 1,
    .multi_extendSAZ = 0,
    .precision = 3,
    .shift_multi = 5,
    .slowdrag_div = 5,
    .smoothing = 0.333,
    .use_ring = 1,
    .use_ring_paths = 1,
    .ring_has_text = 1,
    .boxed_text = 0,
    .boxed_text_large = 0,
    .expanded = 1,
    .counterrotate = 1,
    .addpoints = 0,
    .snap_to_tangencies = 1,
    .highlight_tangencies = 1,
    .recognize_connectors = 0,
    .angle_threshhold = 5,
};

const Key* FindKey(const char* name) {
  for (const Key& key : kKeys) {
    if (std::string_view(key.name) == name) return &key;
  }
  return nullptr;
}

double& RealField(PluginState& s, const Key& key) {
  return key.real != nullptr ? s.settings.*key.real : s.*key.stateReal;
}

double Clamp(double value, double low, double high) {
  if (value < low) return low;
  if (value > high) return high;
  return value;
}

// Reads one key into its field; a key that is not stored leaves the field as it is.
AIErr ReadKey(const AIPreferenceSuite* prefs, PluginState& s, const Key& key) {
  switch (key.kind) {
    case Kind::Boolean: {
      AIBoolean value = s.settings.*key.flag;
      const AIErr error = prefs->GetBooleanPreference(kSettingsSection, key.name, &value);
      if (error == kNoErr) s.settings.*key.flag = value ? 1 : 0;
      return error;
    }
    case Kind::Integer: {
      int32_t value = s.settings.*key.integer;
      const AIErr error = prefs->GetIntegerPreference(kSettingsSection, key.name, &value);
      if (error == kNoErr) {
        s.settings.*key.integer = static_cast<int32_t>(Clamp(value, key.low, key.high));
      }
      return error;
    }
    case Kind::Real: {
      double value = RealField(s, key);
      const AIErr error = prefs->GetRealPreference(kSettingsSection, key.name, &value);
      // A stored value that is not a number cannot be clamped: the field keeps its value.
      if (error == kNoErr && std::isfinite(value)) {
        RealField(s, key) = Clamp(value, key.low, key.high);
      }
      return error;
    }
  }
  return kNoErr;
}

AIErr WriteKey(const AIPreferenceSuite* prefs, PluginState& s, const Key& key) {
  switch (key.kind) {
    case Kind::Boolean:
      return prefs->PutBooleanPreference(kSettingsSection, key.name, s.settings.*key.flag);
    case Kind::Integer:
      return prefs->PutIntegerPreference(kSettingsSection, key.name, s.settings.*key.integer);
    case Kind::Real:
      return prefs->PutRealPreference(kSettingsSection, key.name, RealField(s, key));
  }
  return kNoErr;
}

// A first start is one where the store holds none of the plug-in's keys yet.
// True when the key is stored. Each key is read with its own type into sentinels no stored value
// can produce, so a well-typed key is found without the failed read of another type (which the
// host reports as a mistyped key); a key stored with another type fails and counts as present.
bool IsStored(const AIPreferenceSuite* prefs, const char* name, Kind kind) {
  switch (kind) {
    case Kind::Boolean: {
      AIBoolean probe = -1;
      const AIErr error = prefs->GetBooleanPreference(kSettingsSection, name, &probe);
      return error != kNoErr || probe != -1;
    }
    case Kind::Integer: {
      // Two sentinels: a stored value equals at most one of them.
      for (const int32_t sentinel : {std::numeric_limits<int32_t>::min(), int32_t{-1}}) {
        int32_t probe = sentinel;
        const AIErr error = prefs->GetIntegerPreference(kSettingsSection, name, &probe);
        if (error != kNoErr || probe != sentinel) return true;
      }
      return false;
    }
    case Kind::Real: {
      // A preference file holds no NaN.
      double probe = std::numeric_limits<double>::quiet_NaN();
      const AIErr error = prefs->GetRealPreference(kSettingsSection, name, &probe);
      return error != kNoErr || !std::isnan(probe);
    }
  }
  return false;
}

bool IsFirstStart(const AIPreferenceSuite* prefs) {
  if (IsStored(prefs, "PVisible", Kind::Boolean)) return false;
  for (const Key& key : kKeys) {
    if (IsStored(prefs, key.name, key.kind)) return false;
  }
  return true;
}

}  // namespace

double AngleThresholdRadians(double degrees) {
  return degrees * std::numbers::pi / 180.0;
}

void SetDefaultSettings(PluginState& s) {
  s.settings = kDefaults;
  s.MHIncrement = 1;
  s.MHScale = 100;
  s.MHRotate = 0;
  s.MHSetLength = 0;
  s.MHSetAngle = 0;
  s.angleThresholdRadians = AngleThresholdRadians(s.settings.angle_threshhold);
  s.clipInAngle = 0;
  s.clipInLength = 72;
  s.clipOutAngle = 0;
  s.clipOutLength = 72;
  s.clipCorner = 1;
  s.marqueeColor = 0x4F80FFFF;

  s.isRulerIn4thQuad = 1;
  if (const auto* prefs = SuiteAs<AIPreferenceSuite>(SuiteId::Preference)) {
    AIBoolean ruler = s.isRulerIn4thQuad;
    if (prefs->GetBooleanPreference(nullptr, kAIPrefRulerIn4thQuad, &ruler) == kNoErr) {
      s.isRulerIn4thQuad = ruler ? 1 : 0;
    }
  }
}

AIErr LoadSettings(PluginState& s) {
  const auto* prefs = SuiteAs<AIPreferenceSuite>(SuiteId::Preference);
  if (prefs == nullptr) return kSPSuiteNotFoundError;
  AIErr result = kNoErr;
  if (IsFirstStart(prefs)) {
    result = prefs->PutBooleanPreference(kSettingsSection, "PVisible", 1);
    for (const Key& key : kKeys) {
      if (std::string_view(key.name) == "shift_equalizes") continue;
      result = WriteKey(prefs, s, key);
    }
    return result;
  }
  for (const Key& key : kKeys) result = ReadKey(prefs, s, key);
  s.angleThresholdRadians = AngleThresholdRadians(s.settings.angle_threshhold);
  return result;
}

void SaveSettings(PluginState& s) {
  DestroyPanel(s);
  const auto* prefs = SuiteAs<AIPreferenceSuite>(SuiteId::Preference);
  if (prefs == nullptr) return;
  for (const char* name : kSaveOrder) {
    if (const Key* key = FindKey(name)) WriteKey(prefs, s, *key);
  }
}

}  // namespace sq
