// The source record of an imported document: a scan of the element byte ranges and name lookup.
#include "svg/svg_source.hpp"

namespace sqhost::svg {

namespace {

bool isSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

bool startsWith(std::string_view text, std::size_t at, std::string_view prefix) {
  return text.compare(at, prefix.size(), prefix) == 0;
}

// Skips a markup declaration (<!DOCTYPE ...> with an internal subset), quotes, brackets and
// comments inside it included. Returns the offset past its '>' or npos.
std::size_t skipDeclaration(std::string_view text, std::size_t at) {
  int depth = 0;
  char quote = 0;
  for (std::size_t i = at + 2; i < text.size(); ++i) {
    const char c = text[i];
    if (quote != 0) {
      if (c == quote) quote = 0;
    } else if (startsWith(text, i, "<!--")) {
      const std::size_t close = text.find("-->", i + 4);
      if (close == std::string_view::npos) return close;
      i = close + 2;
    } else if (c == '"' || c == '\'') {
      quote = c;
    } else if (c == '[') {
      ++depth;
    } else if (c == ']') {
      --depth;
    } else if (c == '>' && depth <= 0) {
      return i + 1;
    }
  }
  return std::string_view::npos;
}

std::size_t skipPast(std::string_view text, std::size_t from, std::string_view marker) {
  const std::size_t at = text.find(marker, from);
  return at == std::string_view::npos ? at : at + marker.size();
}

std::size_t nameEnd(std::string_view text, std::size_t i) {
  while (i < text.size() && !isSpace(text[i]) && text[i] != '/' && text[i] != '>' &&
         text[i] != '=') {
    ++i;
  }
  return i;
}

}  // namespace

const SourceAttribute* SourceElement::attribute(std::string_view wanted) const {
  for (const SourceAttribute& a : attributes) {
    if (a.name == wanted) return &a;
  }
  return nullptr;
}

std::optional<std::vector<SourceElement>> scanElements(std::string_view text) {
  std::vector<SourceElement> elements;
  std::vector<int> open;
  std::size_t i = 0;
  while (i < text.size()) {
    if (text[i] != '<') {
      const std::size_t next = text.find('<', i);
      if (next == std::string_view::npos) break;
      i = next;
      continue;
    }
    if (startsWith(text, i, "<!--")) {
      i = skipPast(text, i + 4, "-->");
    } else if (startsWith(text, i, "<![CDATA[")) {
      i = skipPast(text, i + 9, "]]>");
    } else if (startsWith(text, i, "<?")) {
      i = skipPast(text, i + 2, "?>");
    } else if (startsWith(text, i, "<!")) {
      i = skipDeclaration(text, i);
    } else if (startsWith(text, i, "</")) {
      const std::size_t close = text.find('>', i);
      if (close == std::string_view::npos || open.empty()) return std::nullopt;
      SourceElement& e = elements[static_cast<std::size_t>(open.back())];
      const std::size_t end = nameEnd(text, i + 2);
      if (text.substr(i + 2, end - i - 2) != e.name) return std::nullopt;
      e.contentEnd = i;
      e.end = close + 1;
      open.pop_back();
      i = close + 1;
    } else {
      SourceElement e;
      e.begin = i;
      const std::size_t end = nameEnd(text, i + 1);
      if (end == i + 1) return std::nullopt;
      e.name = std::string(text.substr(i + 1, end - i - 1));
      e.parent = open.empty() ? -1 : open.back();
      e.depth = static_cast<int>(open.size());
      std::size_t j = end;
      for (;;) {
        while (j < text.size() && isSpace(text[j])) ++j;
        if (j >= text.size()) return std::nullopt;
        if (text[j] == '>') {
          ++j;
          break;
        }
        if (startsWith(text, j, "/>")) {
          e.selfClosing = true;
          j += 2;
          break;
        }
        SourceAttribute a;
        a.nameBegin = j;
        const std::size_t n = nameEnd(text, j);
        if (n == j) return std::nullopt;
        a.name = std::string(text.substr(j, n - j));
        j = n;
        while (j < text.size() && isSpace(text[j])) ++j;
        if (j >= text.size() || text[j] != '=') return std::nullopt;
        ++j;
        while (j < text.size() && isSpace(text[j])) ++j;
        if (j >= text.size() || (text[j] != '"' && text[j] != '\'')) return std::nullopt;
        const char quote = text[j];
        const std::size_t close = text.find(quote, j + 1);
        if (close == std::string_view::npos) return std::nullopt;
        a.valueBegin = j + 1;
        a.valueEnd = close;
        e.attributes.push_back(std::move(a));
        j = close + 1;
      }
      e.startEnd = j;
      if (e.selfClosing) {
        e.contentEnd = e.end = j;
      }
      elements.push_back(std::move(e));
      if (!elements.back().selfClosing) open.push_back(static_cast<int>(elements.size() - 1));
      i = j;
    }
    if (i == std::string_view::npos) return std::nullopt;
  }
  if (!open.empty()) return std::nullopt;
  return elements;
}

void QualifiedNames::build() {
  groupmode = inkscape + ":groupmode";
  label = inkscape + ":label";
  page = inkscape + ":page";
  insensitive = sodipodi + ":insensitive";
  nodetypes = sodipodi + ":nodetypes";
  namedview = sodipodi + ":namedview";
  xlinkHref = xlink + ":href";
  sqSelection = sq + ":selection";
  sqSelected = sq + ":selected";
  sqLocked = sq + ":locked";
  sqHidden = sq + ":hidden";
  sqColor = sq + ":color";
  sqPluginArt = sq + ":plugin-art";
  sqCompound = sq + ":compound";
  sqEnds = sq + ":ends";
  sqBounds = sq + ":bounds";
  sqRulerOrigin = sq + ":ruler-origin";
  sqCanvas = sq + ":canvas";
  sqActiveArtboard = sq + ":active-artboard";
}

}  // namespace sqhost::svg
