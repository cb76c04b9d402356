// The spliced save: byte-identical without edits, and after an edit only what changed differs.
#include <fstream>
#include <iterator>

#include "svg_test_support.hpp"

namespace sqhost {
namespace {

using testing::named;
using testing::treeDifferences;

const std::string kRich = R"svg(<?xml version="1.0" encoding="UTF-8" standalone="no"?>
<!-- Licence: keep this comment -->
<!DOCTYPE svg PUBLIC "-//W3C//DTD SVG 1.1//EN" "http://www.w3.org/Graphics/SVG/1.1/DTD/svg11.dtd" [
  <!ENTITY ns_flows "http://ns.example/flows/">
]>
<svg xmlns="http://www.w3.org/2000/svg" xmlns:xlink="http://www.w3.org/1999/xlink"
     xmlns:inkscape="http://www.inkscape.org/namespaces/inkscape"
     xmlns:sodipodi="http://sodipodi.sourceforge.net/DTD/sodipodi-0.dtd"
     xmlns:dc="http://purl.org/dc/elements/1.1/" xmlns:x="&ns_flows;"
     width="11.638in" height='8in' viewBox="0 0 1117.25 768" role="img">
  <title>A drawing</title>
  <metadata><dc:rights>CC-BY &amp; friends</dc:rights></metadata>
  <sodipodi:namedview id="base" inkscape:zoom="0.5"><sodipodi:guide position="10,10" orientation="0,1"/></sodipodi:namedview>
  <defs>
    <linearGradient id="grad"><stop offset="0" style="stop-color:#ff0000"/><stop offset="1" stop-color="currentColor"/></linearGradient>
    <style><![CDATA[ .thin { stroke-width: 0.5 } ]]></style>
  </defs>
  <g inkscape:groupmode="layer" inkscape:label="Art" id="layer1" transform="translate(10,20)">
    <path id="wave" d="m 10,50 c 10,-20 30,-20 40,0 s 30,20 40,0" sodipodi:nodetypes="czc"
          style="fill:url(#grad);fill-opacity:0.5;stroke:#000;stroke-linejoin:round;stroke-dasharray:2, 1"/>
    <rect id="box" class="thin" x="100" y="10" width="40" height="30" rx="0" fill="url(#grad)" opacity=".7"/>
    <path id="arc" sodipodi:type="arc" sodipodi:cx="300" sodipodi:cy="50" sodipodi:rx="20" sodipodi:ry="20"
          d="M 320,50 A 20,20 0 1 1 280,50 A 20,20 0 1 1 320,50 Z"/>
    <text x="10" y="200" style="font-family:Serif;font-size:12px"><tspan x="10" y="200">Line one</tspan><tspan x="10" y="215">Line two</tspan></text>
    <x:thing x:value="1"/>
    <!-- a comment between objects -->
    <path id="closed" d="M 0,0 C 10,0 10,10 0,10 C -10,10 -10,0 0,0 Z" sodipodi:nodetypes="ssc"/>
  </g>
</svg>
)svg";

Document open(const std::string& text) {
  svg::ImportResult r = svg::importSvg(text, "drawing.svg");
  EXPECT_TRUE(r.ok()) << r.error;
  return r.ok() ? std::move(*r.document) : Document();
}

std::string save(const Document& doc) {
  svg::ExportResult r = svg::writeSvg(doc);
  EXPECT_TRUE(r.ok()) << r.error;
  return r.text;
}

bool sameGeometryOf(const Art& a, const Art& b) {
  return a.path() == b.path();
}

void movePoint(Document& doc, const std::string& id, std::size_t index, float dh, float dv) {
  const Art& art = named(doc, id);
  AIPathSegment s = art.path().segment(index);
  for (AIRealPoint* p : {&s.p, &s.in, &s.out}) {
    p->h += dh;
    p->v += dv;
  }
  ASSERT_EQ(doc.modifyArt(art.id())->setSegments(index, std::span(&s, 1)), kNoErr);
}

TEST(SvgSplice, UnchangedDocumentsSaveByteForByte) {
  EXPECT_EQ(save(open(kRich)), kRich);
  for (const char* name : {"layers.svg", "shapes.svg", "commands.svg", "text.svg", "objects.svg"}) {
    SCOPED_TRACE(name);
    std::ifstream in(testing::fixturePath(name), std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(save(testing::openFixture(name)), text);
  }
  // The page keeps its physical size; a file with only a viewBox gains none.
  const std::string viewBoxOnly =
      "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 10 10\"><path id=\"p\" d=\"M 1 1 L "
      "5 "
      "5\"/></svg>";
  Document doc = open(viewBoxOnly);
  movePoint(doc, "p", 1, 1, 0);
  const std::string saved = save(doc);
  EXPECT_EQ(saved.find("width"), std::string::npos) << saved;
  EXPECT_EQ(treeDifferences(viewBoxOnly, saved), (std::vector<std::string>{"path#p@d"}));
}

TEST(SvgSplice, AnEditChangesOnlyThatPathsDataInItsOwnUserSpace) {
  Document doc = open(kRich);
  // Artwork moves through the layer's translate(10,20): the d stays in the path's own units.
  movePoint(doc, "wave", 1, 5, 0);
  const std::string saved = save(doc);
  EXPECT_EQ(treeDifferences(kRich, saved), (std::vector<std::string>{"path#wave@d"}));
  EXPECT_NE(saved.find("d=\"M 10,50 C 20,30 45,30 55,50 C 65,70 80,70 90,50\""), std::string::npos)
      << saved;
  // The symmetric node was moved with its handles: still symmetric, still 'z'.
  EXPECT_NE(saved.find("sodipodi:nodetypes=\"czc\""), std::string::npos);
  // Everything else is byte for byte where it was.
  EXPECT_NE(saved.find("<!-- Licence: keep this comment -->"), std::string::npos);
  Document again = open(saved);
  EXPECT_TRUE(sameGeometryOf(named(again, "wave"), named(doc, "wave")));
}

TEST(SvgSplice, NodeTypesKeepTheirLettersAndTheStartNodeOfClosedPaths) {
  // A closed path's start node takes the last letter (its first is that of the returning node).
  Document doc = open(kRich);
  const Art& closed = named(doc, "closed");
  ASSERT_EQ(closed.path().size(), 2u);
  EXPECT_EQ(closed.path().segment(0).corner, 1);
  EXPECT_EQ(closed.path().segment(1).corner, 0);
  // 'z' is smooth, and an unedited 'z' node keeps its letter when another node moves.
  const Art& wave = named(doc, "wave");
  EXPECT_EQ(wave.path().segment(1).corner, 0);
  movePoint(doc, "wave", 2, 0, 3);
  EXPECT_NE(save(doc).find("sodipodi:nodetypes=\"czc\""), std::string::npos);
  // Turning a node into a corner changes its letter; the closed path writes its start node's
  // letter first and again last.
  AIPathSegment s = named(doc, "closed").path().segment(1);
  s.corner = 1;
  s.out.h += 1;
  doc.modifyArt(named(doc, "closed").id())->setSegments(1, std::span(&s, 1));
  const std::string saved = save(doc);
  EXPECT_NE(saved.find("sodipodi:nodetypes=\"ccc\""), std::string::npos) << saved;
  Document again = open(saved);
  EXPECT_EQ(named(again, "closed").path().segment(0).corner, 1);
  EXPECT_EQ(named(again, "closed").path().segment(1).corner, 1);
}

TEST(SvgSplice, EditedShapesBecomePathsAndParametricShapesLoseTheirParameters) {
  Document doc = open(kRich);
  movePoint(doc, "box", 0, -5, 0);
  movePoint(doc, "arc", 0, 1, 0);
  const std::string saved = save(doc);
  const auto diff = treeDifferences(kRich, saved);
  EXPECT_EQ(diff, (std::vector<std::string>{
                      "rect#box>path", "rect#box@x", "rect#box@y", "rect#box@width",
                      "rect#box@height", "rect#box@rx", "rect#box@d", "path#arc@sodipodi:type",
                      "path#arc@sodipodi:cx", "path#arc@sodipodi:cy", "path#arc@sodipodi:rx",
                      "path#arc@sodipodi:ry", "path#arc@d"}))
      << saved;
  // The other attributes of the shape stay as written.
  EXPECT_NE(saved.find("<path id=\"box\" class=\"thin\""), std::string::npos) << saved;
  EXPECT_NE(saved.find("fill=\"url(#grad)\" opacity=\".7\""), std::string::npos);
  Document again = open(saved);
  EXPECT_TRUE(sameGeometryOf(named(again, "box"), named(doc, "box")));
}

TEST(SvgSplice, RemovedPathsGoAndNewPathsSitBesideTheirSourceWithItsAttributes) {
  Document doc = open(kRich);
  ASSERT_NE(doc.removeArt(named(doc, "closed").id()), nullptr);
  // A split: a new path in front of the wave, styled like it.
  const Art& wave = named(doc, "wave");
  auto piece = Art::create(ArtType::kPath);
  std::vector<AIPathSegment> segments{wave.path().segment(1), wave.path().segment(2)};
  piece->insertSegments(0, segments);
  piece->setStyle(wave.style());
  const Art* parent = wave.parent();
  ASSERT_EQ(doc.insertArt(parent->id(), wave.indexInParent(), std::move(piece)), kNoErr);
  const std::string saved = save(doc);
  EXPECT_EQ(treeDifferences(kRich, saved),
            (std::vector<std::string>{"svg#@xmlns:sq", "+path#sq-path-1", "-path#closed"}))
      << saved;
  EXPECT_NE(saved.find("<path id=\"sq-path-1\" style=\"fill:url(#grad);fill-opacity:0.5;"),
            std::string::npos)
      << saved;
  // It sits right after its source, in the same user space.
  EXPECT_LT(saved.find("id=\"wave\""), saved.find("sq-path-1"));
  EXPECT_LT(saved.find("sq-path-1"), saved.find("id=\"box\""));
  Document again = open(saved);
  const Art& back = named(again, "sq-path-1");
  EXPECT_TRUE(testing::pointIs(back.path().segment(0).p, wave.path().segment(1).p.h,
                               wave.path().segment(1).p.v));
}

TEST(SvgSplice, AnObjectMovedToAnotherGroupIsWrittenOnceThereWhereItWas) {
  const std::string text =
      "<svg xmlns=\"http://www.w3.org/2000/svg\">\n<g id=\"a\" transform=\"translate(100 0)\">\n"
      "  <path id=\"p\" d=\"M 0 0 L 10 10\" fill=\"red\"/>\n</g>\n<g id=\"b\" "
      "transform=\"scale(2)\">\n  <path id=\"q\" d=\"M 1 1 L 2 2\"/>\n</g>\n</svg>";
  Document doc = open(text);
  const PathGeometry before = named(doc, "p").path();
  std::unique_ptr<Art> moved = doc.removeArt(named(doc, "p").id());
  ASSERT_NE(moved, nullptr);
  ASSERT_EQ(doc.insertArt(named(doc, "b").id(), 0, std::move(moved)), kNoErr);
  const std::string saved = save(doc);
  EXPECT_EQ(saved.find("id=\"p\""), saved.rfind("id=\"p\"")) << saved;
  EXPECT_GT(saved.find("id=\"p\""), saved.find("id=\"q\"")) << saved;  // in front of q
  Document again = open(saved);
  // Inside b, in a group that keeps it where it was drawn.
  EXPECT_EQ(named(again, "p").parent()->parent()->name(), "b");
  EXPECT_TRUE(named(again, "p").path() == before) << saved;
}

TEST(SvgSplice, SelectionIsWrittenOnlyWhereThereIsSomeAndTheNamespaceIsDeclared) {
  const std::string plain =
      "<svg xmlns=\"http://www.w3.org/2000/svg\"><path id=\"p\" d=\"M 0 0 L 5 5\"/></svg>";
  Document doc = open(plain);
  doc.modifyArt(named(doc, "p").id())->setSegmentSelection(1, SegmentSelection::kAnchor);
  const std::string selected = save(doc);
  EXPECT_EQ(treeDifferences(plain, selected),
            (std::vector<std::string>{"svg#@xmlns:sq", "path#p@sq:selection"}));
  EXPECT_NE(selected.find("sq:selection=\"0 1\""), std::string::npos) << selected;
  Document again = open(selected);
  EXPECT_EQ(named(again, "p").path().selection(1), SegmentSelection::kAnchor);
  again.modifyArt(named(again, "p").id())->setSelected(false);
  EXPECT_EQ(save(again).find("sq:selection"), std::string::npos);
}

TEST(SvgSplice, AnEditUnderATransformThatCannotBeInvertedIsRefused) {
  Document doc = open(
      "<svg xmlns=\"http://www.w3.org/2000/svg\"><g transform=\"scale(0 1)\"><path id=\"flat\" "
      "d=\"M 0 0 L 5 5\"/></g></svg>");
  movePoint(doc, "flat", 1, 1, 1);
  const svg::ExportResult r = svg::writeSvg(doc);
  EXPECT_FALSE(r.ok());
  EXPECT_NE(r.error.find("'flat' was edited under a transform that cannot be inverted"),
            std::string::npos)
      << r.error;
}

}  // namespace
}  // namespace sqhost
