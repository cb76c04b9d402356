// Handles of every kind resolve to exactly what the open documents hold now, however they changed,
// and art set handles die with their sets.
#include <algorithm>
#include <random>

#include "suites/art_suites_fixture.hpp"
#include "suites/handles.hpp"

namespace sqtest {
namespace {

const char* kTwoPaths = R"svg(
  <g inkscape:groupmode="layer" inkscape:label="One">
    <path id="a" d="M 0 0 L 10 0"/>
    <path id="b" d="M 0 20 L 10 20" sq:selected="1"/>
  </g>)svg";

// What resolving an id should give: searched in the open documents, front first.
struct Expected {
  const sqhost::Document* document = nullptr;
  const void* object = nullptr;
};

Expected search(sqhost::DocumentList& docs, sqhost::ObjectId id, sqhost::HandleKind kind) {
  for (std::size_t i = 0; i < docs.count(); ++i) {
    sqhost::Document& d = docs.at(i);
    const void* found = nullptr;
    if (kind == sqhost::HandleKind::kArt) found = d.findArt(id);
    if (kind == sqhost::HandleKind::kLayer) found = d.findLayer(id);
    if (kind == sqhost::HandleKind::kDocument && d.id() == id) found = &d;
    if (found != nullptr) return {&d, found};
  }
  return {};
}

// Every id of a document: art, layers and the document itself.
void idsOf(const sqhost::Document& doc, std::vector<sqhost::ObjectId>& out) {
  out.push_back(doc.id());
  auto walk = [&](auto& self, const sqhost::Art& art) -> void {
    out.push_back(art.id());
    for (std::size_t i = 0; i < art.childCount(); ++i) self(self, art.child(i));
  };
  for (std::size_t i = 0; i < doc.layerCount(); ++i) {
    out.push_back(doc.layer(i).id());
    walk(walk, doc.layer(i).group());
  }
}

TEST_F(ArtSuitesTest, HandlesResolveAsASearchWouldThroughEditsUndoAndDocumentChanges) {
  std::mt19937 rng(3);
  open(kTwoPaths);
  open(kTwoPaths);
  std::vector<sqhost::ObjectId> seen;
  auto pick = [&](std::size_t n) {
    return std::uniform_int_distribution<std::size_t>(0, n - 1)(rng);
  };
  for (int step = 0; step < 400; ++step) {
    sqhost::DocumentList& docs = host().documents();
    std::vector<sqhost::ObjectId> ids;
    idsOf(*docs.front(), ids);
    const AIArtHandle some = handle(ids[pick(ids.size())]);
    host().undo().beginContext("step");
    switch (pick(6)) {
      case 0: {
        AIArtHandle made = nullptr;
        art->NewArt(kAIPathArt, kAIPlaceAbove, nullptr, &made);
        break;
      }
      case 1:
        art->DisposeArt(some);
        break;
      case 2:
        art->SetArtUserAttr(some, kAIArtSelected, kAIArtSelected);
        break;
      case 3:
        docs.activate(docs.at(docs.count() - 1).id());
        break;
      case 4:
        if (docs.count() < 4) open(kTwoPaths);
        break;
      case 5:
        if (docs.count() > 1) host().closeDocument(docs.at(pick(docs.count())).id());
        break;
    }
    host().undo().endContext();
    if (pick(3) == 0) host().undo().undo();
    for (std::size_t i = 0; i < docs.count(); ++i) idsOf(docs.at(i), seen);
    std::sort(seen.begin(), seen.end());
    seen.erase(std::unique(seen.begin(), seen.end()), seen.end());
    // Every id ever seen, as each kind of handle, twice (the second from the table).
    for (int round = 0; round < 2; ++round) {
      for (const sqhost::ObjectId id : seen) {
        const Expected art = search(docs, id, sqhost::HandleKind::kArt);
        const sqhost::ResolvedArt r = sqhost::resolveArt(handle(id));
        ASSERT_EQ(r.art, art.object) << "step " << step << " art " << id;
        ASSERT_EQ(r.document, art.document) << "step " << step << " art " << id;
        const Expected layer = search(docs, id, sqhost::HandleKind::kLayer);
        const sqhost::ResolvedLayer l = sqhost::resolveLayer(sqhost::toLayerHandle(id));
        ASSERT_EQ(l.layer, layer.object) << "step " << step << " layer " << id;
        ASSERT_EQ(l.document, layer.document) << "step " << step << " layer " << id;
        ASSERT_EQ(sqhost::resolveDocument(sqhost::toDocumentHandle(id)),
                  search(docs, id, sqhost::HandleKind::kDocument).document)
            << "step " << step << " document " << id;
      }
    }
  }
}

TEST_F(ArtSuitesTest, DisposedSetsStayDeadWhenTheirPlaceServesANewSet) {
  open(kTwoPaths);
  AIArtSet first = nullptr, second = nullptr;
  ASSERT_EQ(sets->NewArtSet(&first), kNoErr);
  ASSERT_EQ(sets->AddArtToArtSet(first, named("a")), kNoErr);
  ASSERT_EQ(sets->DisposeArtSet(first), kNoErr);
  ASSERT_EQ(sets->NewArtSet(&second), kNoErr);
  ASSERT_NE(second, first);

  int32_t count = -1;
  EXPECT_EQ(sets->CountArtSet(first, &count), kBadHandleErr);
  EXPECT_EQ(sets->AddArtToArtSet(first, named("a")), kBadHandleErr);
  EXPECT_EQ(sets->DisposeArtSet(first), kBadHandleErr);
  EXPECT_EQ(sets->CountArtSet(reinterpret_cast<AIArtSet>(uintptr_t{0x7777}), &count),
            kBadHandleErr);
  // The new set starts empty, not with what the old one held.
  EXPECT_EQ(sets->CountArtSet(second, &count), kNoErr);
  EXPECT_EQ(count, 0);
  EXPECT_EQ(sets->DisposeArtSet(second), kNoErr);
}

TEST_F(ArtSuitesTest, MatchedSetsFollowTheDocumentAndChangeAlone) {
  open(kTwoPaths);
  const AIArtMatchRule selected{kAIAnyArt, kAIArtSelected, kAIArtSelected};
  AIArtSet one = nullptr, two = nullptr;
  ASSERT_EQ(sets->NewArtSet(&one), kNoErr);
  ASSERT_EQ(sets->NewArtSet(&two), kNoErr);
  ASSERT_EQ(sets->MatchingArtSet(one, &selected, 1), kNoErr);
  ASSERT_EQ(sets->MatchingArtSet(two, &selected, 1), kNoErr);
  EXPECT_EQ(contents(one), (std::vector<AIArtHandle>{named("b")}));

  // Changing one of two sets matched alike leaves the other, and the next match, as matched.
  ASSERT_EQ(sets->AddArtToArtSet(one, named("a")), kNoErr);
  ASSERT_EQ(sets->ReplaceArtInArtSet(one, named("b"), named("a")), kNoErr);
  EXPECT_EQ(contents(one), (std::vector<AIArtHandle>{named("a")}));
  EXPECT_EQ(contents(two), (std::vector<AIArtHandle>{named("b")}));
  EXPECT_EQ(match({selected}), (std::vector<AIArtHandle>{named("b")}));

  // A selection change through a suite, then undo: each match sees the document as it is.
  host().undo().beginContext("select");
  ASSERT_EQ(art->SetArtUserAttr(named("a"), kAIArtSelected, kAIArtSelected), kNoErr);
  host().undo().endContext();
  EXPECT_EQ(match({selected}), (std::vector<AIArtHandle>{named("b"), named("a")}));
  ASSERT_TRUE(host().undo().undo());
  EXPECT_EQ(match({selected}), (std::vector<AIArtHandle>{named("b")}));
  ASSERT_TRUE(host().undo().redo());
  ASSERT_EQ(sets->MatchingArtSet(two, &selected, 1), kNoErr);
  EXPECT_EQ(contents(two), (std::vector<AIArtHandle>{named("b"), named("a")}));

  // The same rules over another document give that document's art.
  const AIArtHandle firstA = named("a");
  open(R"svg(<path id="c" d="M 0 0 L 5 5" sq:selected="1"/>)svg");
  EXPECT_EQ(match({selected}), (std::vector<AIArtHandle>{named("c")}));
  EXPECT_NE(named("c"), firstA);
  EXPECT_EQ(sets->DisposeArtSet(one), kNoErr);
  EXPECT_EQ(sets->DisposeArtSet(two), kNoErr);
}

}  // namespace
}  // namespace sqtest
