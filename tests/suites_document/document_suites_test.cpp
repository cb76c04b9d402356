// Document, document list, artboard and hard-soft suites over real documents read from SVG.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "sqsdk/errors.h"
#include "sqsdk/messages.h"
#include "sqsdk/suites/ai_artboard.h"
#include "sqsdk/suites/ai_document.h"
#include "sqsdk/suites/ai_document_list.h"
#include "sqsdk/suites/ai_hard_soft.h"
#include "sqsdk/suites/ai_notifier.h"
#include "support/host_fixture.hpp"
#include "svg/svg_io.hpp"

namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

// Two artboards; the second is active and has its rulers' zero moved.
const char* const kTwoBoards = R"(<svg xmlns="http://www.w3.org/2000/svg"
    xmlns:inkscape="http://www.inkscape.org/namespaces/inkscape"
    xmlns:sodipodi="http://sodipodi.sourceforge.net/DTD/sodipodi-0.dtd"
    xmlns:sq="urn:spindlequiver:host" sq:active-artboard="1" viewBox="0 0 500 400">
  <sodipodi:namedview>
    <inkscape:page x="0" y="0" width="200" height="100" inkscape:label="A"/>
    <inkscape:page x="300" y="50" width="100" height="80" inkscape:label="B" sq:ruler-origin="5 7"/>
  </sodipodi:namedview>
  <path d="M 10 10 L 20 20"/>
</svg>)";

std::string boxSvg(const std::string& viewBox) {
  return "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"" + viewBox +
         "\"><path d=\"M 0 0 L 1 1\"/></svg>";
}

class DocumentSuitesTest : public sqtest::HostTest {
 protected:
  void acquireAll() {
    doc_ = acquire<AIDocumentSuite>(kAIDocumentSuite, kAIDocumentSuiteVersion);
    list_ = acquire<AIDocumentListSuite>(kAIDocumentListSuite, kAIDocumentListSuiteVersion);
    boards_ = acquire<AIArtboardSuite>(kAIArtboardSuite, kAIArtboardSuiteVersion);
    hardSoft_ = acquire<AIHardSoftSuite>(kAIHardSoftSuite, kAIHardSoftSuiteVersion);
  }

  template <class Suite>
  const Suite* acquire(const char* name, int32_t version) {
    const void* table = nullptr;
    EXPECT_EQ(host().basicSuite()->AcquireSuite(name, version, &table), kNoErr) << name;
    return static_cast<const Suite*>(table);
  }

  sqhost::Document& open(const std::string& svgText) {
    sqhost::svg::ImportResult result = sqhost::svg::importSvg(svgText);
    EXPECT_TRUE(result.ok()) << result.error;
    return host().openDocument(result.ok() ? std::move(*result.document) : sqhost::Document());
  }

  static AIDocumentHandle handleOf(const sqhost::Document& d) {
    return reinterpret_cast<AIDocumentHandle>(static_cast<uintptr_t>(d.id()));
  }

  // How many notifications of this type the plug-in receives for what action does, delivered
  // when the host is idle. Only the plug-in's notifiers of that type are left active.
  template <class F>
  int delivered(const std::string& type, F&& action) {
    for (const auto& n : host().registrations().notifiers()) n->active = n->type == type;
    host().deliverNotifications();
    const auto count = [&] {
      int c = 0;
      for (const auto& r : host().messageResults()) c += r.caller == kCallerAINotify ? 1 : 0;
      return c;
    };
    const int before = count();
    action();
    host().deliverNotifications();
    return count() - before;
  }

  const AIDocumentSuite* doc_ = nullptr;
  const AIDocumentListSuite* list_ = nullptr;
  const AIArtboardSuite* boards_ = nullptr;
  const AIHardSoftSuite* hardSoft_ = nullptr;
};

TEST_F(DocumentSuitesTest, WithoutADocumentEverythingSaysSoAndWritesNothing) {
  makeHost();
  acquireAll();
  AIDocumentHandle handle = reinterpret_cast<AIDocumentHandle>(uintptr_t{1});
  AIRealRect rect{1, 2, 3, 4};
  AIRealPoint point{5, 6};
  int32_t value = 9;
  EXPECT_EQ(doc_->GetDocument(&handle), kNoDocumentErr);
  EXPECT_EQ(doc_->GetDocumentMaxArtboardBounds(&rect), kNoDocumentErr);
  EXPECT_EQ(doc_->GetDocumentRulerUnits(&value), kNoDocumentErr);
  EXPECT_EQ(doc_->SetDocumentRulerUnits(kAIInchUnits), kNoDocumentErr);
  EXPECT_EQ(boards_->CountArtboards(&value), kNoDocumentErr);
  EXPECT_EQ(boards_->GetArtboardBounds(0, &rect), kNoDocumentErr);
  EXPECT_EQ(boards_->SetArtboardRulerOrigin(0, &point), kNoDocumentErr);
  EXPECT_EQ(hardSoft_->SoftenPoint(&point, &point), kNoDocumentErr);
  EXPECT_EQ(handle, reinterpret_cast<AIDocumentHandle>(uintptr_t{1}));
  EXPECT_EQ(rect.left, 1);
  EXPECT_EQ(point.h, 5);
  EXPECT_EQ(value, 9);
  EXPECT_EQ(list_->Count(&value), kNoErr);
  EXPECT_EQ(value, 0);
  EXPECT_EQ(list_->GetNthDocument(0, &handle), kOutOfRangeErr);
}

TEST_F(DocumentSuitesTest, ArtboardAndCanvasComeFromTheViewBox) {
  makeHost();
  acquireAll();
  const sqhost::Document& d = open(boxSvg("10 20 300 200"));
  int32_t count = 0, active = -1;
  ASSERT_EQ(boards_->CountArtboards(&count), kNoErr);
  ASSERT_EQ(boards_->GetActiveArtboardIndex(&active), kNoErr);
  EXPECT_EQ(count, 1);
  EXPECT_EQ(active, 0);
  AIRealRect b{};
  ASSERT_EQ(boards_->GetArtboardBounds(0, &b), kNoErr);  // SVG y maps to -v
  EXPECT_EQ(b.left, 10);
  EXPECT_EQ(b.top, -20);
  EXPECT_EQ(b.right, 310);
  EXPECT_EQ(b.bottom, -220);
  AIRealPoint origin{1, 1};
  ASSERT_EQ(boards_->GetArtboardRulerOrigin(0, &origin), kNoErr);
  EXPECT_EQ(origin.h, 0);
  EXPECT_EQ(origin.v, 0);
  EXPECT_EQ(boards_->GetArtboardBounds(1, &b), kOutOfRangeErr);
  EXPECT_EQ(boards_->GetArtboardBounds(-1, &b), kOutOfRangeErr);

  // The canvas is a large square centred on the artboard, holding it.
  AIRealRect canvas{};
  ASSERT_EQ(doc_->GetDocumentMaxArtboardBounds(&canvas), kNoErr);
  EXPECT_EQ(canvas.left + canvas.right, b.left + b.right);
  EXPECT_EQ(canvas.top + canvas.bottom, b.top + b.bottom);
  EXPECT_EQ(canvas.right - canvas.left, canvas.top - canvas.bottom);
  EXPECT_GE(canvas.right - canvas.left, 16000);
  EXPECT_TRUE(sqhost::sameRect(canvas, d.canvasBounds()));

  AIDocumentHandle front = nullptr;
  ASSERT_EQ(doc_->GetDocument(&front), kNoErr);
  EXPECT_EQ(front, handleOf(d));
}

TEST_F(DocumentSuitesTest, HardAndSoftFollowTheActiveArtboardAndItsRulerOrigin) {
  makeHost();
  acquireAll();
  sqhost::Document& d = open(kTwoBoards);
  int32_t count = 0, active = -1;
  ASSERT_EQ(boards_->CountArtboards(&count), kNoErr);
  ASSERT_EQ(boards_->GetActiveArtboardIndex(&active), kNoErr);
  ASSERT_EQ(count, 2);
  ASSERT_EQ(active, 1);
  // Board B: left 300, top -50, origin (5, 7): soft = (h - 305, v + 50 + 7).
  const AIRealPoint hard{310, -60};
  AIRealPoint soft{}, back{};
  ASSERT_EQ(hardSoft_->SoftenPoint(&hard, &soft), kNoErr);
  EXPECT_EQ(soft.h, 5);
  EXPECT_EQ(soft.v, -3);
  ASSERT_EQ(hardSoft_->HardenPoint(&soft, &back), kNoErr);
  EXPECT_EQ(back.h, hard.h);
  EXPECT_EQ(back.v, hard.v);

  // A new origin or another active artboard changes the conversion; neither is an undo entry.
  const AIRealPoint origin{-10, 20};
  ASSERT_EQ(boards_->SetArtboardRulerOrigin(1, &origin), kNoErr);
  ASSERT_EQ(hardSoft_->SoftenPoint(&hard, &soft), kNoErr);
  EXPECT_EQ(soft.h, 20);  // 310 - 300 + 10
  EXPECT_EQ(soft.v, 10);  // -60 + 50 + 20
  ASSERT_EQ(boards_->SetActiveArtboardIndex(0), kNoErr);
  ASSERT_EQ(hardSoft_->SoftenPoint(&hard, &soft), kNoErr);
  EXPECT_EQ(soft.h, 310);
  EXPECT_EQ(soft.v, -60);
  EXPECT_EQ(d.activeArtboard(), 0u);
  EXPECT_EQ(host().undo().undoCount(), 0u);
  EXPECT_EQ(boards_->SetActiveArtboardIndex(2), kOutOfRangeErr);

  // Non-finite values are refused and change nothing.
  const AIRealPoint bad{kNaN, 0};
  EXPECT_EQ(boards_->SetArtboardRulerOrigin(1, &bad), kNonFiniteErr);
  EXPECT_EQ(d.artboard(1).rulerOrigin.h, -10);
  soft = {1, 1};
  EXPECT_EQ(hardSoft_->SoftenPoint(&bad, &soft), kNonFiniteErr);
  EXPECT_EQ(hardSoft_->HardenPoint(&soft, nullptr), kBadParameterErr);
  EXPECT_EQ(soft.h, 1);
}

TEST_F(DocumentSuitesTest, RulerUnitsArePerDocumentAndValidated) {
  makeHost();
  acquireAll();
  open(boxSvg("0 0 10 10"));
  int32_t units = -1;
  ASSERT_EQ(doc_->GetDocumentRulerUnits(&units), kNoErr);
  EXPECT_EQ(units, kAIPointUnits);
  ASSERT_EQ(doc_->SetDocumentRulerUnits(kAIMillimeterUnits), kNoErr);
  EXPECT_EQ(doc_->SetDocumentRulerUnits(kAIPixelUnits + 1), kBadParameterErr);
  EXPECT_EQ(doc_->SetDocumentRulerUnits(-1), kBadParameterErr);
  ASSERT_EQ(doc_->GetDocumentRulerUnits(&units), kNoErr);
  EXPECT_EQ(units, kAIMillimeterUnits);
  open(boxSvg("0 0 10 10"));
  ASSERT_EQ(doc_->GetDocumentRulerUnits(&units), kNoErr);
  EXPECT_EQ(units, kAIPointUnits);
  EXPECT_EQ(doc_->GetDocumentRulerUnits(nullptr), kBadParameterErr);
}

TEST_F(DocumentSuitesTest, DocumentListIsFrontFirstAndActivateReordersIt) {
  makeHost();
  acquireAll();
  const sqhost::Document& first = open(boxSvg("0 0 10 10"));
  const sqhost::Document& second = open(boxSvg("0 0 20 20"));
  int32_t count = 0;
  ASSERT_EQ(list_->Count(&count), kNoErr);
  EXPECT_EQ(count, 2);
  AIDocumentHandle h0 = nullptr, h1 = nullptr;
  ASSERT_EQ(list_->GetNthDocument(0, &h0), kNoErr);
  ASSERT_EQ(list_->GetNthDocument(1, &h1), kNoErr);
  EXPECT_EQ(h0, handleOf(second));
  EXPECT_EQ(h1, handleOf(first));
  EXPECT_EQ(list_->GetNthDocument(2, &h0), kOutOfRangeErr);
  EXPECT_EQ(list_->GetNthDocument(-1, &h0), kOutOfRangeErr);

  ASSERT_EQ(list_->Activate(handleOf(first)), kNoErr);
  AIDocumentHandle current = nullptr;
  ASSERT_EQ(doc_->GetDocument(&current), kNoErr);
  EXPECT_EQ(current, handleOf(first));
  ASSERT_NE(host().currentView(), nullptr);
  EXPECT_EQ(host().currentView()->document, first.id());
  AIRealRect b{};
  ASSERT_EQ(boards_->GetArtboardBounds(0, &b), kNoErr);
  EXPECT_EQ(b.right, 10);  // the artboard suite follows the current document

  // A closed document's handle is stale.
  const AIDocumentHandle closed = handleOf(second);
  ASSERT_EQ(host().closeDocument(second.id()), kNoErr);
  EXPECT_EQ(list_->Activate(closed), kBadHandleErr);
  EXPECT_EQ(list_->Activate(nullptr), kBadHandleErr);
  ASSERT_EQ(list_->Count(&count), kNoErr);
  EXPECT_EQ(count, 1);
}

TEST_F(DocumentSuitesTest, ChangesAreAnnouncedOnlyWhenSomethingChanged) {
  startHost();
  acquireAll();
  const sqhost::Document& first = open(boxSvg("0 0 10 10"));
  const sqhost::Document& second = open(boxSvg("0 0 20 20"));
  const std::string viewChanged = kAIDocumentViewChangedNotifier;
  EXPECT_EQ(delivered(viewChanged, [&] { EXPECT_EQ(list_->Activate(handleOf(first)), kNoErr); }),
            1);
  EXPECT_EQ(delivered(viewChanged, [&] { EXPECT_EQ(list_->Activate(handleOf(first)), kNoErr); }),
            0);
  EXPECT_EQ(delivered(viewChanged, [&] { EXPECT_EQ(list_->Activate(handleOf(second)), kNoErr); }),
            1);

  const std::string units = kAIDocumentRulerUnitChangedNotifier;
  EXPECT_EQ(delivered(units, [&] { EXPECT_EQ(doc_->SetDocumentRulerUnits(kAIInchUnits), kNoErr); }),
            1);
  EXPECT_EQ(delivered(units, [&] { EXPECT_EQ(doc_->SetDocumentRulerUnits(kAIInchUnits), kNoErr); }),
            0);

  const std::string origin = kAIDocumentRulerOriginChangedNotifier;
  const AIRealPoint o{3, 4};
  EXPECT_EQ(delivered(origin, [&] { EXPECT_EQ(boards_->SetArtboardRulerOrigin(0, &o), kNoErr); }),
            1);
  EXPECT_EQ(delivered(origin, [&] { EXPECT_EQ(boards_->SetArtboardRulerOrigin(0, &o), kNoErr); }),
            0);
  const AIRealPoint bad{0, kNaN};
  EXPECT_EQ(delivered(origin,
                      [&] { EXPECT_EQ(boards_->SetArtboardRulerOrigin(0, &bad), kNonFiniteErr); }),
            0);
}

}  // namespace
