// Saving a document that was read from SVG: its source text with only the changes spliced in.
#pragma once

#include <string>

#include "svg/svg_io.hpp"
#include "svg/svg_source.hpp"

namespace sqhost::svg::detail {

// The source text with the model's changes applied. forView also hides, in the text, the art the
// host hides (its own sq:hidden attribute included), for a renderer that knows only SVG.
ExportResult splice(const Document& doc, const SvgSource& source, bool forView);

// Why the importer would refuse text written for doc (nesting, objects, segments), or empty.
std::string checkWritable(const Document& doc, const std::string& text);

// A style attribute's text with some properties set (a value) or taken out (empty value); the
// other declarations are kept as written.
std::string editStyle(std::string_view style,
                      const std::vector<std::pair<std::string, std::string>>& changes);

// Attribute value text with XML's special characters escaped for the given quote.
std::string escapeAttribute(std::string_view value, char quote);
// Attribute value text as XML reads it (the predefined and numeric character references).
std::string unescapeAttribute(std::string_view raw);

}  // namespace sqhost::svg::detail
