// Art sets: matching the document by type and attributes, and the set operations plug-ins use.
#include <algorithm>

#include "suites/art_suites_fixture.hpp"

namespace sqtest {
namespace {

// Two layers; the SVG lists the bottom layer first and, in each group, the bottom object first.
const char* kDocument = R"svg(
  <defs><path id="baseline" d="M 0 200 C 50 150 100 150 140 200" sq:selection="1 0"/></defs>
  <g inkscape:groupmode="layer" inkscape:label="Bottom">
    <path id="d" d="M 0 100 L 10 100" sq:selection="4 4"/>
  </g>
  <g inkscape:groupmode="layer" inkscape:label="Top">
    <g id="fx" sq:plugin-art="Effect" sq:selected="1">
      <path id="r2" d="M 0 60 L 10 60" sodipodi:insensitive="true"/>
      <path id="r1" d="M 0 50 L 10 50"/>
    </g>
    <text id="onpath"><textPath xlink:href="#baseline">x</textPath></text>
    <path id="locked" d="M 60 0 L 70 0" sodipodi:insensitive="true"/>
    <g id="grp">
      <path id="c" d="M 40 0 L 50 0"/>
      <path id="b" d="M 20 0 L 30 0" sq:selection="0 3"/>
    </g>
    <path id="a" d="M 0 0 L 10 0 L 10 10" sq:selection="1 0 0"/>
  </g>)svg";

using Handles = std::vector<AIArtHandle>;

TEST_F(ArtSuitesTest, MatchingTakesSelectedArtLayerByLayerContainersFirst) {
  open(kDocument);
  const AIArtMatchRule selected{kAIAnyArt, kAIArtSelected, kAIArtSelected};
  // The text frame is selected through its path; the plug-in art by its own attribute. Neither
  // the text path nor the result art is taken, nor are layer groups.
  EXPECT_EQ(match({selected}), (Handles{named("a"), named("grp"), named("b"), named("onpath"),
                                        named("fx"), named("d")}));

  // Own locked attribute clear, paths only: the contents of plug-in art and text are not reached.
  EXPECT_EQ(match({{kAIPathArt, kAIArtLocked, 0}}),
            (Handles{named("a"), named("b"), named("c"), named("d")}));
  // Rules are alternatives; whichAttr 0 matches every state.
  EXPECT_EQ(match({{kAITextFrameArt, 0, 0}, {kAIPluginArt, 0, 0}}),
            (Handles{named("onpath"), named("fx")}));
  EXPECT_TRUE(match({}).empty());

  AIArtSet set = nullptr;
  ASSERT_EQ(sets->NewArtSet(&set), kNoErr);
  EXPECT_EQ(sets->MatchingArtSet(set, nullptr, 1), kBadParameterErr);
  ASSERT_EQ(host().closeDocument(doc().id()), kNoErr);
  EXPECT_EQ(sets->MatchingArtSet(set, &selected, 1), kNoDocumentErr);
  EXPECT_EQ(sets->DisposeArtSet(set), kNoErr);
}

// Gathering the selected paths as the plug-in does: selected art, the paths of selected plug-in
// art that are neither locked nor hidden, and the path objects of selected text.
TEST_F(ArtSuitesTest, GatheringSelectedPathsReachesTextAndResultPaths) {
  open(kDocument);
  AIArtSet set = nullptr;
  ASSERT_EQ(sets->NewArtSet(&set), kNoErr);
  const AIArtMatchRule rule{kAIAnyArt, kAIArtSelected, kAIArtSelected};
  ASSERT_EQ(sets->MatchingArtSet(set, &rule, 1), kNoErr);
  int32_t count = 0;
  ASSERT_EQ(sets->CountArtSet(set, &count), kNoErr);
  for (int32_t i = 0; i < count; ++i) {
    AIArtHandle item = nullptr;
    int32_t type = 0;
    ASSERT_EQ(sets->IndexArtSet(set, i, &item), kNoErr);
    ASSERT_EQ(art->GetArtType(item, &type), kNoErr);
    if (type == kAIPluginArt) {
      AIArtHandle result = nullptr, child = nullptr;
      ASSERT_EQ(plugins->GetPluginArtResultArt(item, &result), kNoErr);
      for (art->GetArtFirstChild(result, &child); child != nullptr;
           art->GetArtSibling(child, &child)) {
        if (attr(child, kAIArtLocked | kAIArtHidden) == 0) sets->AddArtToArtSet(set, child);
      }
    } else if (type == kAITextFrameArt) {
      AIArtHandle path = nullptr;
      ASSERT_EQ(text->GetTextFramePathObject(item, &path), kNoErr);
      ASSERT_EQ(sets->AddArtToArtSet(set, path), kNoErr);
    }
  }
  AIArtHandle textPath = nullptr;
  ASSERT_EQ(text->GetTextFramePathObject(named("onpath"), &textPath), kNoErr);
  EXPECT_EQ(contents(set), (Handles{named("a"), named("grp"), named("b"), named("onpath"),
                                    named("fx"), named("d"), textPath, named("r1")}));
  EXPECT_EQ(sets->DisposeArtSet(set), kNoErr);
}

TEST_F(ArtSuitesTest, SetOperationsKeepOrderWithoutDuplicates) {
  open(kDocument);
  const AIArtHandle a = named("a"), b = named("b"), c = named("c"), d = named("d");
  AIArtSet set = nullptr;
  ASSERT_EQ(sets->NewArtSet(&set), kNoErr);
  for (AIArtHandle h : {a, b, c, a}) EXPECT_EQ(sets->AddArtToArtSet(set, h), kNoErr);
  EXPECT_EQ(contents(set), (Handles{a, b, c}));

  EXPECT_EQ(sets->RemoveArtFromArtSet(set, b), kNoErr);
  EXPECT_EQ(sets->RemoveArtFromArtSet(set, d), kNoErr);  // not in the set: ignored
  EXPECT_EQ(contents(set), (Handles{a, c}));

  EXPECT_EQ(sets->ReplaceArtInArtSet(set, a, d), kNoErr);
  EXPECT_EQ(contents(set), (Handles{d, c}));
  EXPECT_EQ(sets->ReplaceArtInArtSet(set, d, c), kNoErr);  // c already there: d just goes
  EXPECT_EQ(contents(set), (Handles{c}));
  EXPECT_EQ(sets->ReplaceArtInArtSet(set, a, b), kBadParameterErr);
  EXPECT_EQ(sets->AddArtToArtSet(set, c), kNoErr);
  EXPECT_EQ(contents(set), (Handles{c}));

  AIArtHandle out = nullptr;
  EXPECT_EQ(sets->IndexArtSet(set, 1, &out), kOutOfRangeErr);
  EXPECT_EQ(sets->IndexArtSet(set, -1, &out), kOutOfRangeErr);
  EXPECT_EQ(out, nullptr);

  // Disposed art stays in the set as a stale handle; it cannot be added again but can be removed.
  ASSERT_EQ(art->DisposeArt(c), kNoErr);
  EXPECT_EQ(contents(set), (Handles{c}));
  AIBoolean valid = 1;
  EXPECT_EQ(art->ValidArt(c, &valid), kNoErr);
  EXPECT_EQ(valid, 0);
  EXPECT_EQ(sets->AddArtToArtSet(set, c), kBadHandleErr);
  EXPECT_EQ(sets->RemoveArtFromArtSet(set, c), kNoErr);
  EXPECT_TRUE(contents(set).empty());

  EXPECT_EQ(sets->DisposeArtSet(set), kNoErr);
  EXPECT_EQ(sets->DisposeArtSet(set), kBadHandleErr);
  EXPECT_EQ(sets->DisposeArtSet(nullptr), kNoErr);
  int32_t count = -1;
  EXPECT_EQ(sets->CountArtSet(set, &count), kBadHandleErr);
  EXPECT_EQ(count, -1);
}

// Clearing the selected attribute of every matched object in order works in one pass, and a
// second match then finds nothing.
TEST_F(ArtSuitesTest, DeselectingEveryMatchedObjectLeavesNothingSelected) {
  open(kDocument);
  const AIArtMatchRule selected{kAIAnyArt, kAIArtSelected, kAIArtSelected};
  for (AIArtHandle h : match({selected}))
    EXPECT_EQ(art->SetArtUserAttr(h, kAIArtSelected, 0), kNoErr);
  EXPECT_TRUE(match({selected}).empty());
  EXPECT_EQ(states(named("a")), (std::vector<int32_t>{0, 0, 0}));
}

}  // namespace
}  // namespace sqtest
