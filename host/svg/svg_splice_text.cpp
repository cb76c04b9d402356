// Spliced save, the writing: the source text with the planned edits applied, and the escaping
// and style editing it uses.
#include "svg/svg_importer.hpp"
#include "svg/svg_splicer.hpp"

namespace sqhost::svg::detail {

// ---- emission -----------------------------------------------------------------------------

void Splicer::emitPieces(const std::vector<Piece>& pieces, const std::string& gap,
                         std::string& out) {
  for (const Piece& piece : pieces) {
    out += gap;
    out += piece.wrapOpen;
    if (piece.element >= 0) {
      emit(piece.element, out);
    } else {
      out += piece.text;
    }
    out += piece.wrapClose;
  }
}

void Splicer::emitStartTag(int element, const Edits* e, bool open, std::string& out) {
  const SourceElement& el = src_.elements[static_cast<std::size_t>(element)];
  const std::string_view text = src_.text;
  out += '<';
  out += e != nullptr && !e->rename.empty() ? e->rename : el.name;
  std::size_t pos = el.begin + 1 + el.name.size();
  // The last word on each attribute wins.
  std::unordered_map<std::string, const std::optional<std::string>*> final;
  std::vector<std::string> added;
  if (e != nullptr) {
    for (const auto& [name, v] : e->attributes) {
      if (final.count(name) == 0 && el.attribute(name) == nullptr) added.push_back(name);
      final[name] = &v;
    }
  }
  for (const SourceAttribute& a : el.attributes) {
    auto it = final.find(a.name);
    if (it == final.end()) {
      out.append(text.substr(pos, a.valueEnd + 1 - pos));
    } else if (it->second->has_value()) {
      const char quote = text[a.valueBegin - 1];
      out.append(text.substr(pos, a.valueBegin - pos));
      out += escapeAttribute(**it->second, quote);
      out += quote;
    }
    pos = a.valueEnd + 1;
  }
  for (const std::string& name : added) {
    const std::optional<std::string>& v = *final[name];
    if (!v) continue;
    out += ' ';
    out += name;
    out += "=\"";
    out += escapeAttribute(*v, '"');
    out += '"';
  }
  std::string_view tail = text.substr(pos, el.startEnd - pos);
  if (open && el.selfClosing) {
    tail.remove_suffix(2);
    out.append(tail);
    out += '>';
  } else {
    out.append(tail);
  }
}

void Splicer::emit(int element, std::string& out) {
  const auto index = static_cast<std::size_t>(element);
  const SourceElement& el = src_.elements[index];
  const std::string_view text = src_.text;
  if (!dirty_[index]) {
    out.append(text.substr(el.begin, el.end - el.begin));
    return;
  }
  auto found = edits_.find(element);
  const Edits* e = found == edits_.end() ? nullptr : &found->second;
  if (e != nullptr && e->whole) {
    out += *e->whole;
    return;
  }
  const bool grows = e != nullptr && !e->atEnd.empty();
  emitStartTag(element, e, grows || (e != nullptr && e->content), out);
  if (el.selfClosing && !grows && !(e != nullptr && e->content)) return;
  std::size_t pos = el.startEnd;
  if (e != nullptr && e->content) {
    out += *e->content;
    pos = el.contentEnd;
  } else {
    for (int child : children_[index]) {
      const SourceElement& c = src_.elements[static_cast<std::size_t>(child)];
      std::string_view gap = text.substr(pos, c.begin - pos);
      const bool blank = gap.find_first_not_of(" \t\r\n") == std::string_view::npos;
      auto ce = edits_.find(child);
      const Edits* cEdits = ce == edits_.end() ? nullptr : &ce->second;
      const std::string sep = blank && !gap.empty() ? std::string(gap) : std::string("\n");
      if (cEdits != nullptr) emitPieces(cEdits->before, sep, out);
      if (cEdits != nullptr && cEdits->drop) {
        if (!blank) out.append(gap);
      } else {
        out.append(gap);
        emit(child, out);
      }
      if (cEdits != nullptr) emitPieces(cEdits->after, sep, out);
      pos = c.end;
    }
  }
  if (!el.selfClosing) {
    out.append(text.substr(pos, el.contentEnd - pos));
  }
  if (e != nullptr) emitPieces(e->atEnd, "\n", out);
  if (el.selfClosing) {
    out += "</" + (e != nullptr && !e->rename.empty() ? e->rename : el.name) + ">";
  } else if (e != nullptr && !e->rename.empty()) {
    out += "</" + e->rename + ">";
  } else {
    out.append(text.substr(el.contentEnd, el.end - el.contentEnd));
  }
}

ExportResult splice(const Document& doc, const SvgSource& source, SpliceMode mode) {
  try {
    return Splicer(doc, source, mode).run();
  } catch (const Failure& f) {
    return ExportResult{{}, f.what()};
  }
}

std::optional<std::vector<std::pair<std::string, std::optional<std::string>>>> spliceElement(
    const Document& doc, const SvgSource& source, const Art& art) {
  try {
    return Splicer(doc, source, SpliceMode::View, &art).runElement(art);
  } catch (const Failure&) {
    return std::nullopt;
  }
}

std::string escapeAttribute(std::string_view value, char quote) {
  std::string out;
  out.reserve(value.size());
  for (char c : value) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += quote == '"' ? "&quot;" : "\"";
        break;
      case '\'':
        out += quote == '\'' ? "&apos;" : "'";
        break;
      case '\t':
        out += "&#9;";
        break;
      case '\n':
        out += "&#10;";
        break;
      case '\r':
        out += "&#13;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

std::string unescapeAttribute(std::string_view raw) {
  if (raw.find('&') == std::string_view::npos) return std::string(raw);
  std::string out;
  for (std::size_t i = 0; i < raw.size(); ++i) {
    if (raw[i] != '&') {
      out += raw[i];
      continue;
    }
    const std::size_t semi = raw.find(';', i);
    if (semi == std::string_view::npos) {
      out += raw[i];
      continue;
    }
    const std::string_view name = raw.substr(i + 1, semi - i - 1);
    unsigned long code = 0;
    if (name == "amp")
      out += '&';
    else if (name == "lt")
      out += '<';
    else if (name == "gt")
      out += '>';
    else if (name == "quot")
      out += '"';
    else if (name == "apos")
      out += '\'';
    else if (!name.empty() && name[0] == '#') {
      try {
        code = name.size() > 1 && (name[1] == 'x' || name[1] == 'X')
                   ? std::stoul(std::string(name.substr(2)), nullptr, 16)
                   : std::stoul(std::string(name.substr(1)));
      } catch (const std::exception&) {
        code = 0xFFFD;
      }
      // UTF-8 of the code point.
      if (code < 0x80) {
        out += static_cast<char>(code);
      } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
      } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
      } else {
        out += static_cast<char>(0xF0 | ((code >> 18) & 0x07));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
      }
    } else {
      out.append(raw.substr(i, semi - i + 1));
    }
    i = semi;
  }
  return out;
}

std::string editStyle(std::string_view style,
                      const std::vector<std::pair<std::string, std::string>>& changes) {
  std::string out;
  std::vector<bool> done(changes.size(), false);
  std::string_view rest = style;
  while (!rest.empty()) {
    const std::size_t semi = rest.find(';');
    std::string_view decl = rest.substr(0, semi);
    rest = semi == std::string_view::npos ? std::string_view() : rest.substr(semi + 1);
    const std::size_t colon = decl.find(':');
    bool replaced = false;
    if (colon != std::string_view::npos) {
      const std::string_view name = trim(decl.substr(0, colon));
      for (std::size_t k = 0; k < changes.size(); ++k) {
        if (changes[k].first != name) continue;
        replaced = true;
        if (!done[k] && !changes[k].second.empty()) {
          if (!out.empty()) out += ';';
          out += changes[k].first + ":" + changes[k].second;
        }
        done[k] = true;
      }
    }
    if (!replaced && !trim(decl).empty()) {
      if (!out.empty()) out += ';';
      out.append(decl);
    }
  }
  for (std::size_t k = 0; k < changes.size(); ++k) {
    if (done[k] || changes[k].second.empty()) continue;
    if (!out.empty()) out += ';';
    out += changes[k].first + ":" + changes[k].second;
  }
  return out;
}

std::string checkWritable(const Document& doc, const std::string& text) {
  if (auto source = std::dynamic_pointer_cast<const SvgSource>(doc.source());
      source && source->text == text) {
    return {};  // what was opened opens again
  }
  return limitFailure(text);
}

}  // namespace sqhost::svg::detail
