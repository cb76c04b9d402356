// Suites not yet backed by the document: every operation answers that no document is open.
#include "sqsdk/errors.h"
#include "sqsdk/suites/ai_artboard.h"
#include "sqsdk/suites/ai_document.h"
#include "sqsdk/suites/ai_document_list.h"
#include "sqsdk/suites/ai_hard_soft.h"
#include "sqsdk/suites/ai_real_bezier.h"
#include "sqsdk/suites/ai_real_math.h"
#include "sqsdk/suites/ai_unicode_string.h"
#include "suites/publish_parts.hpp"

namespace sqhost {
namespace {

template <typename F>
struct NoDocument;
template <typename R, typename... A>
struct NoDocument<R (*)(A...)> {
  static R call(A...) { return kNoDocumentErr; }
};

const AIDocumentSuite kDocumentSuite = {
    NoDocument<decltype(AIDocumentSuite::GetDocument)>::call,
    NoDocument<decltype(AIDocumentSuite::GetDocumentMaxArtboardBounds)>::call,
    NoDocument<decltype(AIDocumentSuite::GetDocumentRulerUnits)>::call,
    NoDocument<decltype(AIDocumentSuite::SetDocumentRulerUnits)>::call,
};
const AIDocumentListSuite kDocumentListSuite = {
    NoDocument<decltype(AIDocumentListSuite::Count)>::call,
    NoDocument<decltype(AIDocumentListSuite::GetNthDocument)>::call,
    NoDocument<decltype(AIDocumentListSuite::Activate)>::call,
};
const AIArtboardSuite kArtboardSuite = {
    NoDocument<decltype(AIArtboardSuite::CountArtboards)>::call,
    NoDocument<decltype(AIArtboardSuite::GetActiveArtboardIndex)>::call,
    NoDocument<decltype(AIArtboardSuite::SetActiveArtboardIndex)>::call,
    NoDocument<decltype(AIArtboardSuite::GetArtboardBounds)>::call,
    NoDocument<decltype(AIArtboardSuite::GetArtboardRulerOrigin)>::call,
    NoDocument<decltype(AIArtboardSuite::SetArtboardRulerOrigin)>::call,
};
const AIHardSoftSuite kHardSoftSuite = {
    NoDocument<decltype(AIHardSoftSuite::HardenPoint)>::call,
    NoDocument<decltype(AIHardSoftSuite::SoftenPoint)>::call,
};
const AIRealMathSuite kRealMathSuite = {
    NoDocument<decltype(AIRealMathSuite::RealPointAngle)>::call,
    NoDocument<decltype(AIRealMathSuite::RealPointLength)>::call,
    NoDocument<decltype(AIRealMathSuite::RealPointLengthAngle)>::call,
    NoDocument<decltype(AIRealMathSuite::RealPointEqual)>::call,
    NoDocument<decltype(AIRealMathSuite::RealPointClose)>::call,
    NoDocument<decltype(AIRealMathSuite::AlmostEqual)>::call,
    NoDocument<decltype(AIRealMathSuite::RealPointInRealRect)>::call,
    NoDocument<decltype(AIRealMathSuite::RealRectInRealRect)>::call,
    NoDocument<decltype(AIRealMathSuite::RealRectOverlap)>::call,
};
const AIRealBezierSuite kRealBezierSuite = {
    NoDocument<decltype(AIRealBezierSuite::EvaluateBezier)>::call,
    NoDocument<decltype(AIRealBezierSuite::DivideBezier)>::call,
    NoDocument<decltype(AIRealBezierSuite::AdjustBezierThroughPoint)>::call,
};
const AIUnicodeStringSuite kUnicodeStringSuite = {
    NoDocument<decltype(AIUnicodeStringSuite::NewUnicodeStringFromUTF8)>::call,
    NoDocument<decltype(AIUnicodeStringSuite::DisposeUnicodeString)>::call,
    NoDocument<decltype(AIUnicodeStringSuite::GetUTF8)>::call,
    NoDocument<decltype(AIUnicodeStringSuite::GetLength)>::call,
};

}  // namespace

void publishDocumentSuites(SuiteRegistry& registry) {
  registry.add(kAIDocumentSuite, kAIDocumentSuiteVersion, &kDocumentSuite);
  registry.add(kAIDocumentListSuite, kAIDocumentListSuiteVersion, &kDocumentListSuite);
  registry.add(kAIArtboardSuite, kAIArtboardSuiteVersion, &kArtboardSuite);
  registry.add(kAIHardSoftSuite, kAIHardSoftSuiteVersion, &kHardSoftSuite);
  registry.add(kAIRealMathSuite, kAIRealMathSuiteVersion, &kRealMathSuite);
  registry.add(kAIRealBezierSuite, kAIRealBezierSuiteVersion, &kRealBezierSuite);
  registry.add(kAIUnicodeStringSuite, kAIUnicodeStringSuiteVersion, &kUnicodeStringSuite);
}

}  // namespace sqhost
