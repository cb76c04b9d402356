// libFuzzer target for the SVG reader and writer: whatever the input, reading never crashes and
// makes nothing non-finite; an unchanged document writes back its bytes; an edited one and one
// written whole read again, and writing what was read again gives the same text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "svg/svg_io.hpp"

namespace {

void require(bool condition) {
  if (!condition) std::abort();
}

void requireFinite(const sqhost::Art& art) {
  for (const AIPathSegment& s : art.path().segments()) require(sqhost::isFinite(s));
  for (std::size_t i = 0; i < art.childCount(); ++i) requireFinite(art.child(i));
}

void requireFinite(const sqhost::Document& doc) {
  for (std::size_t i = 0; i < doc.layerCount(); ++i) requireFinite(doc.layer(i).group());
}

// The first path of the document with at least one point, or null.
const sqhost::Art* firstPath(const sqhost::Art& art) {
  if (art.type() == sqhost::ArtType::kPath && !art.path().empty()) return &art;
  for (std::size_t i = 0; i < art.childCount(); ++i) {
    if (const sqhost::Art* found = firstPath(art.child(i))) return found;
  }
  return nullptr;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  sqhost::svg::ImportResult first = sqhost::svg::importSvg(text, "fuzz.svg");
  if (!first.ok()) return 0;
  sqhost::Document& doc = *first.document;
  requireFinite(doc);
  // Read, write: the same bytes.
  const sqhost::svg::ExportResult same = sqhost::svg::writeSvg(doc);
  require(same.ok() && same.text == text);

  // An edit: the written text reads again, and writing that gives the same text.
  const sqhost::Art* path = nullptr;
  for (std::size_t i = 0; i < doc.layerCount() && path == nullptr; ++i) {
    path = firstPath(doc.layer(i).group());
  }
  if (path != nullptr) {
    AIPathSegment s = path->path().segment(0);
    s.p.h = s.p.h / 2 + 1;
    if (doc.modifyArt(path->id())->setSegments(0, std::span(&s, 1)) == kNoErr) {
      const sqhost::svg::ExportResult edited = sqhost::svg::writeSvg(doc);
      if (edited.ok()) {
        sqhost::svg::ImportResult again = sqhost::svg::importSvg(edited.text);
        require(again.ok());
        requireFinite(*again.document);
        require(sqhost::svg::exportSvg(*again.document) == edited.text);
      }
    }
  }

  // Written whole (as a new document is): read, write, read, write gives the same text.
  doc.setSource(nullptr);
  const std::string whole = sqhost::svg::exportSvg(doc);
  sqhost::svg::ImportResult back = sqhost::svg::importSvg(whole);
  require(back.ok());
  requireFinite(*back.document);
  back.document->setSource(nullptr);
  require(sqhost::svg::exportSvg(*back.document) == whole);
  return 0;
}
