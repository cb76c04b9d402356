// The art suite: tree walks, user attributes and selection, locks, creating and disposing, bounds.
#include "suites/art_suites_fixture.hpp"

namespace sqtest {
namespace {

const char* kDocument = R"svg(
  <defs><rect id="box" x="200" y="0" width="50" height="40" sq:selection="0 0 1 0"/></defs>
  <g inkscape:groupmode="layer" inkscape:label="Art">
    <g id="fx" sq:plugin-art="Effect"><path id="r1" d="M 0 50 L 10 50" sq:selection="1 1"/></g>
    <text id="area" style="shape-inside:url(#box)">inside</text>
    <g id="locked-group" sodipodi:insensitive="true">
      <path id="inner" d="M 0 80 L 10 80"/>
    </g>
    <g id="grp">
      <path id="hidden" d="M 0 90 L 10 90" style="display:none"/>
      <path id="b" d="M 20 0 L 30 0"/>
      <path id="a" d="M 0 0 L 10 0 L 10 10" sq:selection="0 3 0"/>
    </g>
  </g>)svg";

TEST_F(ArtSuitesTest, TreeWalkHidesTextPathsAndResultArt) {
  open(kDocument);
  AILayerHandle layer = nullptr;
  AIArtHandle root = nullptr, child = nullptr, parent = nullptr;
  ASSERT_EQ(layers->GetNthLayer(0, &layer), kNoErr);
  ASSERT_EQ(layers->GetFirstArtOfLayer(layer, &root), kNoErr);
  EXPECT_EQ(art->GetArtParent(root, &parent), kNoErr);
  EXPECT_EQ(parent, nullptr);

  std::vector<AIArtHandle> top;
  for (art->GetArtFirstChild(root, &child); child != nullptr; art->GetArtSibling(child, &child)) {
    top.push_back(child);
  }
  EXPECT_EQ(top, (std::vector<AIArtHandle>{named("grp"), named("locked-group"), named("area"),
                                           named("fx")}));
  // Text frames and plug-in art show no children, but their hidden parts lead back up.
  for (const char* name : {"area", "fx"}) {
    child = named("a");
    EXPECT_EQ(art->GetArtFirstChild(named(name), &child), kNoErr);
    EXPECT_EQ(child, nullptr) << name;
  }
  AIArtHandle textPath = nullptr, result = nullptr;
  ASSERT_EQ(text->GetTextFramePathObject(named("area"), &textPath), kNoErr);
  ASSERT_EQ(plugins->GetPluginArtResultArt(named("fx"), &result), kNoErr);
  EXPECT_EQ(art->GetArtParent(textPath, &parent), kNoErr);
  EXPECT_EQ(parent, named("area"));
  EXPECT_EQ(art->GetArtParent(named("r1"), &parent), kNoErr);
  EXPECT_EQ(parent, result);
  EXPECT_EQ(art->GetArtParent(result, &parent), kNoErr);
  EXPECT_EQ(parent, named("fx"));
  AILayerHandle of = nullptr;
  EXPECT_EQ(art->GetLayerOfArt(named("r1"), &of), kNoErr);
  EXPECT_EQ(of, layer);

  int32_t type = 0;
  EXPECT_EQ(text->GetTextFrameType(named("area"), &type), kNoErr);
  EXPECT_EQ(type, kAIInPathTextType);
  EXPECT_EQ(text->GetTextFrameType(named("a"), &type), kBadParameterErr);
  EXPECT_EQ(plugins->GetPluginArtResultArt(named("a"), &result), kBadParameterErr);
}

TEST_F(ArtSuitesTest, SelectedAttributeFollowsSegmentsAndContents) {
  open(kDocument);
  const AIArtHandle a = named("a"), grp = named("grp");
  EXPECT_EQ(attr(a), kAIArtSelected);
  EXPECT_EQ(attr(grp), kAIArtSelected);  // something inside is selected

  // Selecting an already selected path changes nothing; clearing clears every segment.
  EXPECT_EQ(art->SetArtUserAttr(a, kAIArtSelected, kAIArtSelected), kNoErr);
  EXPECT_EQ(states(a), (std::vector<int32_t>{0, 3, 0}));
  EXPECT_EQ(art->SetArtUserAttr(a, kAIArtSelected, 0), kNoErr);
  EXPECT_EQ(states(a), (std::vector<int32_t>{0, 0, 0}));
  EXPECT_EQ(attr(grp), 0);

  // Selecting a group selects its editable contents as whole paths; the hidden path stays out.
  EXPECT_EQ(art->SetArtUserAttr(grp, kAIArtSelected, kAIArtSelected), kNoErr);
  EXPECT_EQ(states(a), (std::vector<int32_t>{1, 1, 1}));
  EXPECT_EQ(states(named("b")), (std::vector<int32_t>{1, 1}));
  EXPECT_EQ(states(named("hidden")), (std::vector<int32_t>{0, 0}));

  // A text frame is selected with its path object; plug-in art by its own attribute only.
  AIArtHandle textPath = nullptr;
  ASSERT_EQ(text->GetTextFramePathObject(named("area"), &textPath), kNoErr);
  EXPECT_EQ(attr(named("area")), kAIArtSelected);
  EXPECT_EQ(art->SetArtUserAttr(named("area"), kAIArtSelected, 0), kNoErr);
  EXPECT_EQ(attr(textPath), 0);
  EXPECT_EQ(paths->SetPathSegmentSelected(textPath, 2, kAISegmentInSelected), kNoErr);
  EXPECT_EQ(attr(named("area")), kAIArtSelected);
  EXPECT_TRUE(model(named("area")).selected());  // the model's own flag is kept in step
  EXPECT_EQ(attr(named("fx")), 0);
  EXPECT_EQ(art->SetArtUserAttr(named("fx"), kAIArtSelected, kAIArtSelected), kNoErr);
  EXPECT_EQ(attr(named("fx")), kAIArtSelected);
  EXPECT_EQ(art->SetArtUserAttr(named("fx"), kAIArtSelected, 0), kNoErr);
  EXPECT_EQ(states(named("r1")), (std::vector<int32_t>{1, 1}));

  // Unknown bits are refused; the centre-point bit is stored; other bits read as 0.
  EXPECT_EQ(art->SetArtUserAttr(a, 0x100, 0x100), kBadParameterErr);
  EXPECT_EQ(art->SetArtUserAttr(a, kAIArtCenterPointHidden, kAIArtCenterPointHidden), kNoErr);
  EXPECT_EQ(attr(a, 0xFFFF), kAIArtSelected | kAIArtCenterPointHidden);

  // A path without segments is never selected.
  AIArtHandle empty = nullptr;
  ASSERT_EQ(art->NewArt(kAIPathArt, kAIPlaceAbove, a, &empty), kNoErr);
  EXPECT_EQ(art->SetArtUserAttr(empty, kAIArtSelected, kAIArtSelected), kNoErr);
  EXPECT_EQ(attr(empty), 0);
}

TEST_F(ArtSuitesTest, LockedAndHiddenArtRefusesSelectionAndLockingDeselects) {
  open(kDocument);
  const AIArtHandle inner = named("inner"), a = named("a");
  EXPECT_EQ(art->SetArtUserAttr(inner, kAIArtSelected, kAIArtSelected), kLockedErr);
  EXPECT_EQ(paths->SetPathSegmentSelected(inner, 0, 1), kLockedErr);
  EXPECT_EQ(art->SetArtUserAttr(named("hidden"), kAIArtSelected, kAIArtSelected), kLockedErr);
  EXPECT_EQ(attr(inner), 0);
  EXPECT_EQ(attr(named("locked-group")), kAIArtLocked);  // own attribute only, not copied down
  // Selecting and locking in one call is refused as a whole.
  EXPECT_EQ(art->SetArtUserAttr(a, kAIArtSelected | kAIArtLocked, kAIArtSelected | kAIArtLocked),
            kLockedErr);
  EXPECT_EQ(attr(a), kAIArtSelected);

  EXPECT_EQ(art->SetArtUserAttr(a, kAIArtLocked, kAIArtLocked), kNoErr);
  EXPECT_EQ(attr(a), kAIArtLocked);
  EXPECT_EQ(states(a), (std::vector<int32_t>{0, 0, 0}));
  EXPECT_EQ(art->SetArtUserAttr(a, kAIArtLocked, 0), kNoErr);
  EXPECT_EQ(art->SetArtUserAttr(a, kAIArtSelected, kAIArtSelected), kNoErr);

  // The layer group reports and sets the layer's state; hiding the layer deselects its art.
  AIArtHandle root = nullptr;
  AILayerHandle layer = nullptr;
  ASSERT_EQ(layers->GetNthLayer(0, &layer), kNoErr);
  ASSERT_EQ(layers->GetFirstArtOfLayer(layer, &root), kNoErr);
  EXPECT_EQ(art->SetArtUserAttr(root, kAIArtHidden, kAIArtHidden), kNoErr);
  AIBoolean visible = 1;
  EXPECT_EQ(layers->GetLayerVisible(layer, &visible), kNoErr);
  EXPECT_EQ(visible, 0);
  EXPECT_EQ(attr(root), kAIArtHidden);
  EXPECT_EQ(attr(a), 0);
  EXPECT_EQ(art->SetArtUserAttr(a, kAIArtSelected, kAIArtSelected), kLockedErr);
  EXPECT_EQ(layers->SetLayerVisible(layer, 1), kNoErr);
  EXPECT_EQ(layers->SetLayerEditable(layer, 0), kNoErr);
  EXPECT_EQ(attr(root), kAIArtLocked);
  AIArtHandle made = nullptr;
  EXPECT_EQ(art->NewArt(kAIPathArt, kAIPlaceInsideOnTop, root, &made), kLockedErr);
  EXPECT_EQ(art->DisposeArt(a), kLockedErr);
  EXPECT_EQ(made, nullptr);
}

TEST_F(ArtSuitesTest, NewArtPlacesObjectsAndDisposeRemovesThem) {
  open(kDocument);
  const AIArtHandle a = named("a"), grp = named("grp");
  AIArtHandle above = nullptr, below = nullptr, top = nullptr, compound = nullptr, sub = nullptr;
  ASSERT_EQ(art->NewArt(kAIPathArt, kAIPlaceAbove, a, &above), kNoErr);
  ASSERT_EQ(art->NewArt(kAIGroupArt, kAIPlaceBelow, a, &below), kNoErr);
  ASSERT_EQ(art->NewArt(kAICompoundPathArt, kAIPlaceInsideOnBottom, grp, &compound), kNoErr);
  ASSERT_EQ(art->NewArt(kAIPathArt, kAIPlaceInsideOnTop, compound, &sub), kNoErr);
  ASSERT_EQ(art->NewArt(kAIPluginArt, kAIPlaceAbove, nullptr, &top), kNoErr);

  std::vector<AIArtHandle> order;
  AIArtHandle child = nullptr;
  for (art->GetArtFirstChild(grp, &child); child; art->GetArtSibling(child, &child)) {
    order.push_back(child);
  }
  EXPECT_EQ(order,
            (std::vector<AIArtHandle>{above, a, below, named("b"), named("hidden"), compound}));
  int32_t type = 0, n = -1;
  AIBoolean closed = 1;
  AIPathStyle style{1, {}, 1, {}, 0};
  EXPECT_EQ(art->GetArtType(top, &type), kNoErr);
  EXPECT_EQ(type, kAIPluginArt);
  EXPECT_EQ(paths->GetPathSegmentCount(above, &n), kNoErr);
  EXPECT_EQ(paths->GetPathClosed(above, &closed), kNoErr);
  EXPECT_EQ(styles->GetPathStyle(above, &style), kNoErr);
  EXPECT_EQ(n, 0);
  EXPECT_EQ(closed, 0);
  EXPECT_EQ(style.fillPaint, 0);
  EXPECT_EQ(style.strokePaint, 0);
  EXPECT_EQ(attr(above, 0xFF), 0);
  // New paths may go into a plug-in art's result group.
  AIArtHandle result = nullptr, resultPath = nullptr;
  ASSERT_EQ(plugins->GetPluginArtResultArt(top, &result), kNoErr);
  EXPECT_EQ(art->NewArt(kAIPathArt, kAIPlaceInsideOnTop, result, &resultPath), kNoErr);

  // Refused places: a group inside a compound path, next to a layer group, inside a path.
  AIArtHandle root = nullptr, refused = nullptr, textPath = nullptr;
  art->GetArtParent(named("grp"), &root);
  EXPECT_EQ(art->NewArt(kAIGroupArt, kAIPlaceInsideOnTop, compound, &refused), kBadParameterErr);
  EXPECT_EQ(art->NewArt(kAIPathArt, kAIPlaceAbove, root, &refused), kBadParameterErr);
  EXPECT_EQ(art->NewArt(kAIPathArt, kAIPlaceInsideOnTop, a, &refused), kBadParameterErr);
  EXPECT_EQ(art->NewArt(kAITextFrameArt, kAIPlaceAbove, a, &refused), kBadParameterErr);
  EXPECT_EQ(art->NewArt(kAIPathArt, 7, a, &refused), kBadParameterErr);
  EXPECT_EQ(art->NewArt(kAIPathArt, kAIPlaceInsideOnTop, named("locked-group"), &refused),
            kLockedErr);
  EXPECT_EQ(refused, nullptr);

  // Disposal takes the contents along; layer groups and text paths cannot be disposed.
  ASSERT_EQ(text->GetTextFramePathObject(named("area"), &textPath), kNoErr);
  EXPECT_EQ(art->DisposeArt(root), kBadParameterErr);
  EXPECT_EQ(art->DisposeArt(textPath), kBadParameterErr);
  EXPECT_EQ(art->DisposeArt(named("locked-group")), kLockedErr);
  EXPECT_EQ(art->DisposeArt(grp), kNoErr);
  AIBoolean valid = 1;
  for (AIArtHandle h : {grp, a, compound, sub}) {
    EXPECT_EQ(art->ValidArt(h, &valid), kNoErr);
    EXPECT_EQ(valid, 0);
  }
}

TEST_F(ArtSuitesTest, StaleHandlesAndMissingDocumentsAreRefused) {
  open(kDocument);
  const AIArtHandle a = named("a");
  ASSERT_EQ(host().closeDocument(doc().id()), kNoErr);
  int32_t value = -7;
  AIArtHandle out = nullptr;
  AIRealRect bounds{};
  AIPathSegment segment{};
  AIBoolean valid = 1;
  EXPECT_EQ(art->GetArtType(a, &value), kBadHandleErr);
  EXPECT_EQ(art->GetArtUserAttr(a, kAIArtSelected, &value), kBadHandleErr);
  EXPECT_EQ(art->SetArtUserAttr(a, kAIArtSelected, 0), kBadHandleErr);
  EXPECT_EQ(art->GetArtBounds(a, &bounds), kBadHandleErr);
  EXPECT_EQ(art->DisposeArt(a), kBadHandleErr);
  EXPECT_EQ(paths->GetPathSegments(a, 0, 1, &segment), kBadHandleErr);
  EXPECT_EQ(paths->InsertPathSegments(a, 0, 1, &segment), kBadHandleErr);
  EXPECT_EQ(styles->GetPathStyle(a, nullptr), kBadHandleErr);
  EXPECT_EQ(text->GetTextFrameType(a, &value), kBadHandleErr);
  EXPECT_EQ(value, -7);
  EXPECT_EQ(art->ValidArt(a, &valid), kNoErr);
  EXPECT_EQ(valid, 0);
  EXPECT_EQ(art->ValidArt(nullptr, &valid), kNoErr);
  EXPECT_EQ(art->NewArt(kAIPathArt, kAIPlaceAbove, nullptr, &out), kNoDocumentErr);
  EXPECT_EQ(layers->CountLayers(&value), kNoDocumentErr);
  EXPECT_EQ(out, nullptr);
}

TEST_F(ArtSuitesTest, BoundsHoldTheCurvesNotTheirHandles) {
  // An arch from (0, 0) to (100, 0) peaking at v = 75, with handles up to v = 100; closed, so the
  // closing curve (a straight line here) counts too.
  open(R"svg(<path id="arch" d="M 0 0 C 0 -100 100 -100 100 0 Z"/>
          <path id="dot" d="M 5 -5 Z"/>
          <g id="both"><path d="M 0 0 L -20 10"/><path d="M 200 -300 L 210 -300"/></g>
          <g id="empty"/>)svg");
  AIRealRect r{};
  ASSERT_EQ(art->GetArtBounds(named("arch"), &r), kNoErr);
  EXPECT_FLOAT_EQ(r.left, 0);
  EXPECT_FLOAT_EQ(r.right, 100);
  EXPECT_FLOAT_EQ(r.top, 75);
  EXPECT_FLOAT_EQ(r.bottom, 0);
  ASSERT_EQ(art->GetArtBounds(named("dot"), &r), kNoErr);
  EXPECT_FLOAT_EQ(r.left, 5);
  EXPECT_FLOAT_EQ(r.top, 5);
  ASSERT_EQ(art->GetArtBounds(named("both"), &r), kNoErr);
  EXPECT_FLOAT_EQ(r.left, -20);
  EXPECT_FLOAT_EQ(r.right, 210);
  EXPECT_FLOAT_EQ(r.top, 300);
  EXPECT_FLOAT_EQ(r.bottom, -10);
  const AIRealRect before = r;
  EXPECT_EQ(art->GetArtBounds(named("empty"), &r), static_cast<AIErr>(kNoGeometryErr));
  EXPECT_FLOAT_EQ(r.left, before.left);
}

}  // namespace
}  // namespace sqtest
