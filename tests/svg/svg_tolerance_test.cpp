// Reading what other SVG software reads: path data up to its error with located warnings, nested
// viewports and symbols fitted by their viewBox, limits checked before building, bad files.
#include <filesystem>
#include <fstream>

#include "support/host_fixture.hpp"
#include "svg_test_support.hpp"

namespace sqhost {
namespace {

namespace fs = std::filesystem;
using testing::named;
using testing::pointNear;

const std::string kHead = "<svg xmlns=\"http://www.w3.org/2000/svg\">\n";

TEST(SvgTolerance, BadPathDataIsReadUpToTheErrorWithAWarningForEachPath) {
  const std::string text = kHead +
                           "<path id=\"one\" d=\"M 0 0 L 10 0 L 10 x\"/>\n"
                           "<path id=\"fine\" d=\"M 0 0 L 5 5\"/>\n"
                           "<g/>\n<path id=\"two\" d=\"M 1 1 L 2 2 Q\"/></svg>";
  svg::ImportResult r = svg::importSvg(text, "bad.svg");
  ASSERT_TRUE(r.ok()) << r.error;
  ASSERT_EQ(r.warnings.size(), 2u);
  EXPECT_EQ(r.warnings[0],
            "bad.svg: line 2: <path id=\"one\"> attribute 'd': malformed path data at character "
            "19; read up to there");
  EXPECT_NE(r.warnings[1].find("bad.svg: line 5: <path id=\"two\"> attribute 'd'"),
            std::string::npos)
      << r.warnings[1];
  EXPECT_EQ(r.document->warnings(), r.warnings);
  // The commands before the error draw.
  EXPECT_EQ(named(*r.document, "one").path().size(), 2u);
  EXPECT_EQ(named(*r.document, "two").path().size(), 2u);
  // Unedited, the bad data is written back as it was.
  EXPECT_EQ(svg::exportSvg(*r.document), text);
}

TEST(SvgTolerance, NestedViewportsAndSymbolsFitTheirViewBox) {
  svg::ImportResult r = svg::importSvg(kHead + R"(
    <svg x="0" y="0" width="100" height="50" viewBox="0 0 10 10">
      <path id="meet" d="M 0 0 L 10 10"/></svg>
    <svg x="0" y="0" width="100" height="50" viewBox="0 0 10 10" preserveAspectRatio="xMinYMin slice">
      <path id="slice" d="M 0 0 L 10 10"/></svg>
    <svg width="100" height="50" viewBox="0 0 10 10" preserveAspectRatio="none">
      <path id="none" d="M 0 0 L 10 10"/></svg>
    <defs><symbol id="sym" viewBox="0 0 10 10"><path d="M 0 0 L 10 10"/></symbol></defs>
    <use id="used" href="#sym" x="5" y="5" width="20" height="20"/></svg>)");
  ASSERT_TRUE(r.ok()) << r.error;
  // meet: scale 5, centred horizontally (100 - 50) / 2.
  EXPECT_TRUE(pointNear(named(*r.document, "meet").path().segment(1).p, 75, -50));
  EXPECT_TRUE(pointNear(named(*r.document, "slice").path().segment(1).p, 100, -100));
  EXPECT_TRUE(pointNear(named(*r.document, "none").path().segment(1).p, 100, -50));
  const Art& used = named(*r.document, "used");
  ASSERT_EQ(used.childCount(), 1u);
  const Art& copy = used.child(0).child(0);
  EXPECT_TRUE(pointNear(copy.path().segment(1).p, 25, -25));
}

TEST(SvgTolerance, LimitsAreCheckedBeforeAnythingIsBuilt) {
  // Ten levels of ten uses each would build 10^10 copies of one path.
  std::string bomb = kHead + "<defs><path id=\"l0\" d=\"M 0 0 L 1 1 L 2 2 L 3 3\"/>";
  for (int level = 1; level <= 10; ++level) {
    bomb += "<g id=\"l" + std::to_string(level) + "\">";
    for (int k = 0; k < 10; ++k) bomb += "<use href=\"#l" + std::to_string(level - 1) + "\"/>";
    bomb += "</g>";
  }
  bomb += "</defs><use href=\"#l10\"/></svg>";
  svg::ImportResult r = svg::importSvg(bomb);
  EXPECT_FALSE(r.ok());
  EXPECT_NE(r.error.find("too many objects"), std::string::npos) << r.error;

  // 199 nested groups open, save (edited) and open again.
  std::string deep = kHead;
  for (int i = 0; i < 199; ++i) deep += "<g>";
  deep += "<path id=\"p\" d=\"M 0 0 L 1 1\"/>";
  for (int i = 0; i < 199; ++i) deep += "</g>";
  deep += "</svg>";
  svg::ImportResult opened = svg::importSvg(deep);
  ASSERT_TRUE(opened.ok()) << opened.error;
  Document& doc = *opened.document;
  AIPathSegment s = named(doc, "p").path().segment(1);
  s.p.h = s.in.h = s.out.h = 7;
  doc.modifyArt(named(doc, "p").id())->setSegments(1, std::span(&s, 1));
  const std::string saved = svg::exportSvg(doc);
  EXPECT_TRUE(svg::importSvg(saved).ok());
  // A document deeper than a file may be is refused when saved, not written.
  Document made = Document::makeNew();
  ArtId parent = made.layer(0).group().id();
  for (int i = 0; i < svg::kMaxNesting; ++i) {
    Result<ArtId> g = made.createArt(ArtType::kGroup, parent, 0);
    ASSERT_TRUE(g.ok());
    parent = g.value;
  }
  sqtest::TempDir dir;
  svg::SaveResult refused = svg::saveSvgFile(made, (dir.path() / "deep.svg").string());
  EXPECT_FALSE(refused.ok());
  EXPECT_NE(refused.error.find("nested too deeply"), std::string::npos) << refused.error;
  EXPECT_FALSE(fs::exists(dir.path() / "deep.svg"));
}

TEST(SvgTolerance, FoldersAndUnreadableFilesGiveAnErrorNamingNothingTwice) {
  sqtest::TempDir dir;
  svg::ImportResult folder = svg::importSvgFile(dir.path().string());
  EXPECT_FALSE(folder.ok());
  EXPECT_EQ(folder.error, "it is a folder, not a file");
  svg::ImportResult missing = svg::importSvgFile((dir.path() / "missing.svg").string());
  EXPECT_FALSE(missing.ok());
  EXPECT_EQ(missing.error, "No such file or directory");
  std::ofstream(dir.path() / "bad.svg") << kHead << "<rect width=\"1qq\"/></svg>";
  svg::ImportResult bad = svg::importSvgFile((dir.path() / "bad.svg").string());
  EXPECT_EQ(bad.error.find("bad.svg"), std::string::npos) << bad.error;
}

}  // namespace
}  // namespace sqhost

namespace sqhost {
namespace {

// What the fuzz target checks, on odd inputs and fixtures: read, write (unchanged, edited, and
// whole) and read again give the same text.
TEST(SvgTolerance, ReadWriteReadWriteGivesTheSameText) {
  std::vector<std::string> cases = {
      // A compound path ending in a subpath of one point, with a size in pixels.
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg height=\"16px\" viewBox=\"0 0 16 16\" "
      "width=\"16px\" xmlns=\"http://www.w3.org/2000/svg\">\n    <path d=\"m 7 1 v 6 h -6 v 2 h 6 "
      "v 6 "
      "h 2 v -6 h 6 v -2 h -6 v -6 z m 0 0\" fill=\"#2e3436\"/>\n</svg>\n",
  };
  for (const char* name : {"commands.svg", "objects.svg"}) {
    std::ifstream in(testing::fixturePath(name), std::ios::binary);
    cases.emplace_back((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  }
  for (const std::string& text : cases) {
    SCOPED_TRACE(text);
    svg::ImportResult first = svg::importSvg(text);
    ASSERT_TRUE(first.ok()) << first.error;
    Document& doc = *first.document;
    EXPECT_EQ(svg::exportSvg(doc), text);
    const Art* path = &doc.layer(0).group().child(0);
    while (path->type() != ArtType::kPath) path = &path->child(0);
    AIPathSegment s = path->path().segment(0);
    s.p.h = s.p.h / 2 + 1;
    ASSERT_EQ(doc.modifyArt(path->id())->setSegments(0, std::span(&s, 1)), kNoErr);
    const svg::ExportResult edited = svg::writeSvg(doc);
    ASSERT_TRUE(edited.ok()) << edited.error;
    svg::ImportResult again = svg::importSvg(edited.text);
    ASSERT_TRUE(again.ok()) << again.error << "\n" << edited.text;
    EXPECT_EQ(svg::exportSvg(*again.document), edited.text);
    doc.setSource(nullptr);
    const std::string whole = svg::exportSvg(doc);
    svg::ImportResult back = svg::importSvg(whole);
    ASSERT_TRUE(back.ok()) << back.error << "\n" << whole;
    back.document->setSource(nullptr);
    EXPECT_EQ(svg::exportSvg(*back.document), whole);
  }
}

}  // namespace
}  // namespace sqhost
