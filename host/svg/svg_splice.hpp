// Saving a document that was read from SVG: its source text with only the changes spliced in.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "svg/svg_io.hpp"
#include "svg/svg_source.hpp"

namespace sqhost::svg::detail {

// What a splice writes: the file; the text a view draws, which also hides the art the host hides
// (its own sq:hidden attribute included), for a renderer that knows only SVG; or the view's text
// with data-sq="N" on every element an object was read from (N: the element's index in the
// source), for a front-end that updates those elements one at a time.
enum class SpliceMode { File, View, Studio };

// The source text with the model's changes applied.
ExportResult splice(const Document& doc, const SvgSource& source, SpliceMode mode);

// The attribute edits (nullopt removes) the view's text makes on the element the path or compound
// path art was read from, relative to the source, as splice plans them. Nothing when the object
// has no element of its own in the source, is not a path, or its changes need more than
// attribute edits (a shape that became a path, a hidden layer).
std::optional<std::vector<std::pair<std::string, std::optional<std::string>>>> spliceElement(
    const Document& doc, const SvgSource& source, const Art& art);

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
