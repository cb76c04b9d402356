// "ADM Notifier Suite" and "ADM Tracker Suite": what a notify or track proc is handling.
#include "sqsdk/errors.h"
#include "sqsdk/suites/adm_notifier.h"
#include "sqsdk/suites/adm_tracker.h"
#include "suites/adm_suites.hpp"
#include "suites/suite_support.hpp"

namespace sqhost {
namespace {

template <typename F>
AIErr withTracker(ADMTrackerRef ref, F&& f) {
  return guarded([&]() -> AIErr {
    const Tracker* tracker = dialogManager().tracker(ref);
    if (tracker == nullptr) return kBadHandleErr;
    return f(tracker->event);
  });
}

// The modifiers of the tracked event, or with a null tracker those of the event being handled.
AIErr modifiersOf(ADMTrackerRef ref, int32_t& modifiers) {
  if (ref == nullptr) {
    modifiers = dialogManager().eventModifiers();
    return kNoErr;
  }
  const Tracker* tracker = dialogManager().tracker(ref);
  if (tracker == nullptr) return kBadHandleErr;
  modifiers = tracker->event.modifiers;
  return kNoErr;
}

AIErr isNotifierType(ADMNotifierRef ref, const char* notifierType, AIBoolean* outIsType) {
  return guarded([&]() -> AIErr {
    const Notifier* notifier = dialogManager().notifier(ref);
    if (notifier == nullptr) return kBadHandleErr;
    if (notifierType == nullptr || outIsType == nullptr) return kBadParameterErr;
    *outIsType = notifier->type == notifierType ? 1 : 0;
    return kNoErr;
  });
}

AIErr getNotifierType(ADMNotifierRef ref, char* buffer, int32_t capacity) {
  return guarded([&]() -> AIErr {
    const Notifier* notifier = dialogManager().notifier(ref);
    if (notifier == nullptr) return kBadHandleErr;
    return copyString(notifier->type, buffer, capacity);
  });
}

AIErr getPoint(ADMTrackerRef ref, AIPoint* outPoint) {
  return withTracker(ref, [&](const TrackEvent& event) -> AIErr {
    if (outPoint == nullptr) return kBadParameterErr;
    *outPoint = event.point;
    return kNoErr;
  });
}

AIErr getAction(ADMTrackerRef ref, int32_t* outAction) {
  return withTracker(ref, [&](const TrackEvent& event) -> AIErr {
    if (outAction == nullptr) return kBadParameterErr;
    *outAction = event.action;
    return kNoErr;
  });
}

AIErr getModifiers(ADMTrackerRef ref, int32_t* outModifiers) {
  return guarded([&]() -> AIErr {
    int32_t modifiers = 0;
    const AIErr error = modifiersOf(ref, modifiers);
    if (error != kNoErr) return error;
    if (outModifiers == nullptr) return kBadParameterErr;
    *outModifiers = modifiers;
    return kNoErr;
  });
}

AIErr testModifier(ADMTrackerRef ref, int32_t modifier, AIBoolean* outHeld) {
  return guarded([&]() -> AIErr {
    int32_t modifiers = 0;
    const AIErr error = modifiersOf(ref, modifiers);
    if (error != kNoErr) return error;
    if (outHeld == nullptr) return kBadParameterErr;
    *outHeld = (modifiers & modifier) == modifier ? 1 : 0;
    return kNoErr;
  });
}

AIErr getVirtualKey(ADMTrackerRef ref, int32_t* outKey) {
  return withTracker(ref, [&](const TrackEvent& event) -> AIErr {
    if (outKey == nullptr) return kBadParameterErr;
    *outKey = event.action == kADMKeyStrokeAction ? event.key : 0;
    return kNoErr;
  });
}

const ADMNotifierSuite kNotifier = {isNotifierType, getNotifierType};
const ADMTrackerSuite kTracker = {getPoint, getAction, getModifiers, testModifier, getVirtualKey};

}  // namespace

void publishADMEventSuites(SuiteRegistry& registry) {
  registry.add(kADMNotifierSuite, kADMNotifierSuiteVersion, &kNotifier);
  registry.add(kADMTrackerSuite, kADMTrackerSuiteVersion, &kTracker);
}

}  // namespace sqhost
