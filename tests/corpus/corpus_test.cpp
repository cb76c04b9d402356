// The corpus of real SVG files (tests/corpus/list.txt, from Debian packages): every file opens,
// saves byte for byte, an edit of one point changes only that path's data, and the view of an
// unchanged file is the SVG renderer's own picture of it.
#include <gtest/gtest.h>
#include <librsvg/rsvg.h>

#include <algorithm>
#include <fstream>
#include <iterator>

#include "corpus/glyph_svg.hpp"
#include "render/painters.hpp"
#include "render/view_renderer.hpp"
#include "svg/svg_source.hpp"
#include "svg/svg_test_support.hpp"

namespace sqhost {
namespace {

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

struct Entry {
  std::string name;  // the file, or the font and character of a glyph
  std::string text;
};

struct Corpus {
  std::vector<Entry> files;  // the listed files installed, then glyph outlines of a packaged font
  std::size_t listed = 0;
};

constexpr const char* kFont = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
constexpr const char* kGlyphs = "AaBbCcGgQqRrSs&@%8";

const Corpus& corpus() {
  static const Corpus c = [] {
    Corpus out;
    std::ifstream list(std::string(SQ_SOURCE_DIR) + "/tests/corpus/list.txt");
    for (std::string line; std::getline(list, line);) {
      if (line.empty() || line[0] == '#') continue;
      ++out.listed;
      if (std::ifstream(line).good()) out.files.push_back({line, readFile(line)});
    }
    if (!out.files.empty()) {
      std::size_t k = 0;
      for (std::string& text : testing::glyphDocuments(kFont, kGlyphs)) {
        out.files.push_back({std::string(kFont) + " glyph " + kGlyphs[k++], std::move(text)});
      }
    }
    return out;
  }();
  return c;
}

#define SKIP_WITHOUT_CORPUS()                                                               \
  if (corpus().files.empty()) {                                                             \
    GTEST_SKIP() << "the corpus packages are not installed (scripts/install-deps installs " \
                    "them; tests/corpus/list.txt names the files)";                         \
  }

TEST(Corpus, EveryFileOpensAndSavesByteForByte) {
  SKIP_WITHOUT_CORPUS();
  std::size_t opened = 0, identical = 0, warned = 0;
  for (const auto& [file, text] : corpus().files) {
    svg::ImportResult r = svg::importSvg(text, file);
    EXPECT_TRUE(r.ok()) << file << ": " << r.error;
    if (!r.ok()) continue;
    ++opened;
    warned += r.warnings.empty() ? 0 : 1;
    const bool same = svg::exportSvg(*r.document) == text;
    EXPECT_TRUE(same) << file;
    identical += same ? 1 : 0;
  }
  std::cout << "corpus: " << corpus().files.size() << " documents (" << corpus().listed
            << " files listed, the installed ones and glyphs of " << kFont << "), " << opened
            << " open (" << warned << " with warnings), " << identical << " saved byte for byte\n";
}

// The first path element the model has a path for, with at least two points.
const Art* editablePath(const Art& art, const svg::SvgSource& source) {
  if (art.type() == ArtType::kPath && art.path().size() >= 2) {
    const svg::Origin* o = source.originOf(art.id());
    if (o != nullptr && o->kind == svg::OriginKind::kElement && o->element >= 0 && !o->shape &&
        !art.locked()) {
      const svg::SourceElement& e = source.elements[static_cast<std::size_t>(o->element)];
      if (e.attribute(source.names.sodipodi + ":type") == nullptr &&
          e.attribute(source.names.inkscape + ":original-d") == nullptr) {
        return &art;
      }
    }
  }
  for (std::size_t i = 0; i < art.childCount(); ++i) {
    if (const Art* found = editablePath(art.child(i), source)) return found;
  }
  return nullptr;
}

TEST(Corpus, MovingOnePointChangesOnlyThatPathsData) {
  SKIP_WITHOUT_CORPUS();
  std::size_t edited = 0;
  for (const auto& [file, text] : corpus().files) {
    svg::ImportResult r = svg::importSvg(text, file);
    if (!r.ok()) continue;
    Document& doc = *r.document;
    const auto& source = dynamic_cast<const svg::SvgSource&>(*doc.source());
    const Art* path = nullptr;
    for (std::size_t i = 0; i < doc.layerCount() && path == nullptr; ++i) {
      path = editablePath(doc.layer(i).group(), source);
    }
    if (path == nullptr) continue;
    const std::size_t index = path->path().size() / 2;
    AIPathSegment s = path->path().segment(index);
    for (AIRealPoint* p : {&s.p, &s.in, &s.out}) p->h += 1.5f;
    ASSERT_EQ(doc.modifyArt(path->id())->setSegments(index, std::span(&s, 1)), kNoErr);
    const svg::ExportResult saved = svg::writeSvg(doc);
    EXPECT_TRUE(saved.ok()) << file << ": " << saved.error;
    if (!saved.ok()) continue;
    const std::string label = "path#" + path->name() + "@";
    for (const std::string& d : testing::treeDifferences(text, saved.text)) {
      // The path's data and node types, and a namespace declared on the root for them.
      const bool own = d == label + "d" || d == label + source.names.nodetypes ||
                       (d.rfind("svg#", 0) == 0 && d.find("@xmlns:") != std::string::npos);
      EXPECT_TRUE(own) << file << ": " << d;
    }
    svg::ImportResult again = svg::importSvg(saved.text);
    ASSERT_TRUE(again.ok()) << file << ": " << again.error;
    ++edited;
  }
  std::cout << "corpus: " << edited << " files edited\n";
  EXPECT_GT(edited, corpus().files.size() / 2);
}

TEST(Corpus, TheViewOfAnUnchangedFileIsTheRenderersPicture) {
  SKIP_WITHOUT_CORPUS();
  std::size_t compared = 0, equal = 0;
  // Every third document, to keep the test short.
  for (std::size_t k = 0; k < corpus().files.size(); k += 3) {
    const auto& [file, text] = corpus().files[k];
    svg::ImportResult r = svg::importSvg(text, file);
    if (!r.ok()) continue;
    const auto& source = dynamic_cast<const svg::SvgSource&>(*r.document->source());
    // The whole page in 160 pixels.
    View view;
    view.width = view.height = 160;
    view.zoom = static_cast<float>(160 / std::max({source.viewWidth, source.viewHeight, 1.0}));
    view.center = {static_cast<float>(source.viewX + source.viewWidth / 2),
                   static_cast<float>(-(source.viewY + source.viewHeight / 2))};
    render::RenderOptions plain;
    plain.selection = false;
    plain.artboards = false;
    const render::Raster shown = render::renderView(*r.document, view, plain);
    ASSERT_TRUE(shown.ok());
    render::Raster expected = render::Raster::create(view.width, view.height);
    {
      render::Context context = expected.context();
      cairo_t* cr = context.get();
      cairo_set_source_rgb(cr, 1, 1, 1);
      cairo_paint(cr);
      GFile* base = g_file_new_for_path(file.c_str());
      GInputStream* stream = g_memory_input_stream_new_from_data(
          text.data(), static_cast<gssize>(text.size()), nullptr);
      RsvgHandle* handle =
          rsvg_handle_new_from_stream_sync(stream, base, RSVG_HANDLE_FLAGS_NONE, nullptr, nullptr);
      g_object_unref(stream);
      g_object_unref(base);
      ASSERT_NE(handle, nullptr) << file;
      const cairo_matrix_t m = render::viewMatrix(view);
      cairo_transform(cr, &m);
      const RsvgRectangle viewport{source.viewX, source.viewY, source.viewWidth, source.viewHeight};
      rsvg_handle_render_document(handle, cr, &viewport, nullptr);
      g_object_unref(handle);
    }
    std::size_t differing = 0;
    for (int y = 0; y < view.height; ++y) {
      for (int x = 0; x < view.width; ++x) differing += shown.pixel(x, y) != expected.pixel(x, y);
    }
    EXPECT_EQ(differing, 0u) << file;
    ++compared;
    equal += differing == 0 ? 1 : 0;
  }
  std::cout << "corpus: " << equal << " of " << compared << " views equal the renderer's\n";
}

}  // namespace
}  // namespace sqhost
