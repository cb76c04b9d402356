// SVG export: import -> export -> import identity on every fixture and on random documents,
// malformed input, and saving that never damages an existing file.
#include <sys/resource.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <random>

#include "svg_test_support.hpp"

namespace sqhost {
namespace {

namespace fs = std::filesystem;

Document reimport(const Document& doc) {
  svg::ImportResult again = svg::importSvg(svg::exportSvg(doc));
  EXPECT_TRUE(again.ok()) << again.error;
  return again.ok() ? std::move(*again.document) : Document();
}

TEST(SvgRoundTrip, FixturesSurviveExportAndImport) {
  for (const char* name : {"layers.svg", "shapes.svg", "commands.svg", "text.svg", "objects.svg"}) {
    SCOPED_TRACE(name);
    Document first = testing::openFixture(name);
    std::string text = svg::exportSvg(first);
    Document second = reimport(first);
    EXPECT_TRUE(sameContent(first, second));
    // The written form is stable too.
    EXPECT_EQ(svg::exportSvg(second), text);
  }
}

TEST(SvgRoundTrip, ExportWritesAbsoluteCubicsAndNodeTypes) {
  Document doc = Document::makeNew();
  auto path = Art::create(ArtType::kPath);
  path->insertSegments(0, std::vector<AIPathSegment>{{{0, 0}, {0, 0}, {1.5f, 2}, 1},
                                                     {{10, -5}, {9, -6}, {11, -4}, 0}});
  path->setClosed(true);
  doc.insertArt(doc.layer(0).group().id(), 0, std::move(path));
  std::string text = svg::exportSvg(doc);
  EXPECT_NE(text.find("d=\"M 0,0 C 1.5,-2 9,6 10,5 C 11,4 0,0 0,0 Z\""), std::string::npos) << text;
  EXPECT_NE(text.find("sodipodi:nodetypes=\"csc\""), std::string::npos);
}

float randomFloat(std::mt19937& rng) {
  switch (rng() % 4) {
    case 0:
      return std::uniform_real_distribution<float>(-1000, 1000)(rng);
    case 1:
      return std::uniform_real_distribution<float>(-1e-3f, 1e-3f)(rng);
    case 2:
      return std::ldexp(std::uniform_real_distribution<float>(-1, 1)(rng),
                        static_cast<int>(rng() % 200) - 100);
    default:
      return static_cast<float>(static_cast<int>(rng() % 200) - 100);
  }
}

TEST(SvgRoundTrip, RandomDocumentsKeepEveryValueExactly) {
  std::mt19937 rng(7);
  for (int round = 0; round < 20; ++round) {
    Document doc = Document::makeNew();
    LayerProps props;
    props.name = "Second & <layer>";
    props.color = AIRGBColor{static_cast<uint16_t>(rng()), static_cast<uint16_t>(rng()), 1};
    props.locked = round % 2 == 0;
    doc.insertLayer(1, props);
    for (std::size_t l = 0; l < doc.layerCount(); ++l) {
      ArtId top = doc.layer(l).group().id();
      for (int n = 0; n < 5; ++n) {
        auto path = Art::create(ArtType::kPath);
        std::vector<AIPathSegment> segments(1 + rng() % 6);
        for (AIPathSegment& s : segments) {
          s = AIPathSegment{{randomFloat(rng), randomFloat(rng)},
                            {randomFloat(rng), randomFloat(rng)},
                            {randomFloat(rng), randomFloat(rng)},
                            static_cast<AIBoolean>(rng() % 2)};
        }
        ASSERT_EQ(path->insertSegments(0, segments), kNoErr);
        path->setClosed(rng() % 2 == 0);
        for (std::size_t i = 0; i < segments.size(); ++i) {
          path->setSegmentSelection(i, static_cast<SegmentSelection>(rng() % 5));
        }
        PathStyle style;
        style.strokeWidth = std::abs(randomFloat(rng));
        style.stroke = true;
        path->setStyle(style);
        path->setHidden(rng() % 3 == 0);
        doc.insertArt(top, 0, std::move(path));
      }
      auto text = Art::createTextFrame(TextFrameType::kPoint, "a  b <&> \"c\"");
      text->setTextOrigin(AIRealPoint{randomFloat(rng), randomFloat(rng)});
      doc.insertArt(top, 0, std::move(text));
    }
    PageState page = doc.pageState();
    page.artboards[0].rulerOrigin = AIRealPoint{randomFloat(rng), randomFloat(rng)};
    page.artboards[0].bounds = AIRealRect{-0.1f, 0.3f, 612.7f, -791.9f};
    ASSERT_EQ(doc.setPageState(page), kNoErr);
    Document back = reimport(doc);
    ASSERT_TRUE(sameContent(doc, back)) << svg::exportSvg(doc);
  }
}

struct Malformed {
  const char* svg;
  const char* message;
};

TEST(SvgImport, MalformedInputFailsWithItsLineAndNoDocument) {
  const std::string head = "<svg xmlns=\"http://www.w3.org/2000/svg\">\n";
  const Malformed cases[] = {
      {"<svg xmlns=\"http://www.w3.org/2000/svg\">\n<path d=\"M 0 0\">\n</svg>",
       "line 3: malformed XML"},
      {"", "malformed XML"},
      {"<html/>", "line 1: <html>: not an SVG document"},
      {"<rect width=\"10qq\" height=\"5\"/></svg>",
       "line 2: <rect> attribute 'width': unknown unit 'qq'"},
      {"<circle r=\"50%\"/></svg>", "attribute 'r': unknown unit '%'"},
      {"<rect x=\"1e999\" width=\"1\" height=\"1\"/></svg>", "attribute 'x': number out of range"},
      {"<path d=\"M 0 0 L 1e39 0\"/></svg>",
       "line 2: <path> attribute 'd': coordinate out of range"},
      {"<path d=\"M 0 0 L 1e999 0\"/></svg>", "attribute 'd'"},
      {"<g transform=\"rotate(45 1)\"/></svg>", "attribute 'transform': wrong number of arguments"},
      {"<g transform=\"spin(4)\"/></svg>", "attribute 'transform': unknown transform 'spin'"},
      {"<path d=\"M 0 0 L 1 1\" xmlns:sq=\"urn:spindlequiver:host\" sq:selection=\"1\"/></svg>",
       "attribute 'sq:selection': 1 states for 2 points"},
      {"<path d=\"M 0 0\" sq:selection=\"7\"/></svg>", "states are 0 to 4"},
      {"<rect width=\"-1\" height=\"1\"/></svg>", "attribute 'width': must not be negative"},
      {"<polygon points=\"0 0 1\"/></svg>", "attribute 'points': odd number of coordinates"},
      {"<g id=\"a\"><use href=\"#a\"/></g></svg>",
       "line 2: <use> attribute 'href': the reference leads back"},
      {"<path style=\"stroke-width:3em\" d=\"M 0 0\"/></svg>",
       "attribute 'style': unknown unit 'em'"},
      {"<path fill=\"#12345\" d=\"M 0 0\"/></svg>", "attribute 'fill': malformed colour"},
  };
  for (const Malformed& c : cases) {
    std::string text = c.svg;
    if (text.rfind("<svg", 0) != 0 && text.rfind("<html", 0) != 0 && !text.empty())
      text = head + text;
    svg::ImportResult result = svg::importSvg(text);
    EXPECT_FALSE(result.ok()) << text;
    EXPECT_FALSE(result.document.has_value());
    EXPECT_NE(result.error.find(c.message), std::string::npos)
        << "expected '" << c.message << "' in '" << result.error << "'";
  }

  std::string deep = head;
  for (int i = 0; i < 300; ++i) deep += "<g>";
  for (int i = 0; i < 300; ++i) deep += "</g>";
  deep += "</svg>";
  svg::ImportResult result = svg::importSvg(deep);
  EXPECT_NE(result.error.find("nested too deeply"), std::string::npos) << result.error;
}

TEST(SvgImport, PathsLongerThanTheLimitAreRefused) {
  PathGeometry::setSegmentLimit(3);
  svg::ImportResult result = svg::importSvg(
      "<svg xmlns=\"http://www.w3.org/2000/svg\">\n<path d=\"M 0 0 L 1 0 L 2 0 L 3 0\"/></svg>");
  PathGeometry::setSegmentLimit(PathGeometry::kDefaultSegmentLimit);
  EXPECT_FALSE(result.ok());
  EXPECT_NE(
      result.error.find("line 2: <path> attribute 'd': a path of 4 points exceeds the limit of 3"),
      std::string::npos)
      << result.error;
}

class TempDir {
 public:
  TempDir() {
    path_ = fs::temp_directory_path() / ("sq-svg-test-" + std::to_string(::getpid()));
    fs::remove_all(path_);
    fs::create_directories(path_);
  }
  ~TempDir() { fs::remove_all(path_); }
  fs::path operator/(const std::string& name) const { return path_ / name; }
  std::size_t entries() const {
    return static_cast<std::size_t>(
        std::distance(fs::directory_iterator(path_), fs::directory_iterator()));
  }

 private:
  fs::path path_;
};

std::string readFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

TEST(SvgSave, WritesAtomicallyAndNeverTruncatesOnFailure) {
  TempDir dir;
  Document doc = testing::openFixture("layers.svg");
  fs::path target = dir / "out.svg";
  ASSERT_TRUE(svg::saveSvgFile(doc, target.string()).ok());
  EXPECT_EQ(readFile(target), svg::exportSvg(doc));
  svg::ImportResult reread = svg::importSvgFile(target.string());
  ASSERT_TRUE(reread.ok());
  EXPECT_TRUE(sameContent(*reread.document, doc));

  // A write that fails part-way (the file size limit) leaves the old file and no temporary.
  std::ofstream(target, std::ios::trunc) << "old contents";
  rlimit saved{};
  getrlimit(RLIMIT_FSIZE, &saved);
  auto previous = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = saved;
  small.rlim_cur = 64;
  setrlimit(RLIMIT_FSIZE, &small);
  svg::SaveResult failed = svg::saveSvgFile(doc, target.string());
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, previous);
  EXPECT_FALSE(failed.ok());
  EXPECT_NE(failed.error.find("cannot save"), std::string::npos) << failed.error;
  EXPECT_EQ(readFile(target), "old contents");
  EXPECT_EQ(dir.entries(), 1u);

  EXPECT_FALSE(svg::saveSvgFile(doc, (dir / "missing" / "x.svg").string()).ok());
  EXPECT_FALSE(svg::importSvgFile((dir / "missing.svg").string()).ok());
}

}  // namespace
}  // namespace sqhost
