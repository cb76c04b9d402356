// SVG geometry: a path sink collecting cubic subpaths, shapes, y-flip, node types and path data.
#include "svg/svg_geometry.hpp"

#include <2geom/elliptical-arc.h>
#include <2geom/svg-path-parser.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <unordered_map>

namespace sqhost::svg {

namespace {

constexpr double kKappa = 0.5522847498307936;  // cubic approximation of a quarter circle

Vec2 lerp(Vec2 a, Vec2 b, double t) {
  return Vec2{a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t};
}
Vec2 fromGeom(const Geom::Point& p) {
  return Vec2{p.x(), p.y()};
}

bool nearlySame(Vec2 a, Vec2 b) {
  double tol = 1e-9 * (1 + std::fabs(a.x) + std::fabs(a.y));
  return std::fabs(a.x - b.x) <= tol && std::fabs(a.y - b.y) <= tol;
}

// Collects the parser's commands as subpaths of cubic segments.
class Collector : public Geom::PathSink {
 public:
  explicit Collector(std::vector<RawSubpath>& out) : out_(out) {}

  void moveTo(Geom::Point const& p) override { begin(fromGeom(p)); }
  void lineTo(Geom::Point const& p) override {
    ensureOpen();
    Vec2 q = fromGeom(p);
    push(RawNode{q, q, q});
  }
  void curveTo(Geom::Point const& c1, Geom::Point const& c2, Geom::Point const& p) override {
    ensureOpen();
    current().nodes.back().out = fromGeom(c1);
    Vec2 q = fromGeom(p);
    push(RawNode{q, fromGeom(c2), q});
  }
  void quadTo(Geom::Point const& c, Geom::Point const& p) override {
    ensureOpen();
    Vec2 p0 = current().nodes.back().p;
    Vec2 q = fromGeom(p);
    Vec2 cc = fromGeom(c);
    current().nodes.back().out = lerp(p0, cc, 2.0 / 3.0);
    push(RawNode{q, lerp(q, cc, 2.0 / 3.0), q});
  }
  void arcTo(Geom::Coord rx, Geom::Coord ry, Geom::Coord angle, bool large, bool sweep,
             Geom::Point const& p) override {
    ensureOpen();
    Vec2 p0 = current().nodes.back().p;
    Vec2 q = fromGeom(p);
    if (p0.x == q.x && p0.y == q.y) return;  // an arc to its own start is omitted
    if (rx == 0 || ry == 0) {
      lineTo(p);
      return;
    }
    Geom::EllipticalArc arc(Geom::Point(p0.x, p0.y), std::fabs(rx), std::fabs(ry), angle, large,
                            sweep, p);
    if (arc.isChord() || !std::isfinite(arc.sweepAngle())) {  // degenerate: a straight line
      lineTo(p);
      return;
    }
    // Split into pieces of at most a quarter turn, each a cubic on the unit circle mapped onto the
    // ellipse.
    Geom::Affine unit = arc.unitCircleTransform();
    double a0 = arc.initialAngle().radians();
    double sweepAngle = arc.sweepAngle();
    int pieces = std::max(
        1, static_cast<int>(std::ceil(std::fabs(sweepAngle) / (std::numbers::pi / 2) - 1e-9)));
    double step = sweepAngle / pieces;
    double k = 4.0 / 3.0 * std::tan(step / 4);
    auto onEllipse = [&unit](double x, double y) { return fromGeom(Geom::Point(x, y) * unit); };
    for (int i = 0; i < pieces; ++i) {
      double s = a0 + step * i;
      double e = s + step;
      Vec2 c1 = onEllipse(std::cos(s) - k * std::sin(s), std::sin(s) + k * std::cos(s));
      Vec2 c2 = onEllipse(std::cos(e) + k * std::sin(e), std::sin(e) - k * std::cos(e));
      Vec2 end = i + 1 == pieces ? q : onEllipse(std::cos(e), std::sin(e));
      current().nodes.back().out = c1;
      RawNode node{end, c2, end};
      node.commandNode = i + 1 == pieces;
      current().nodes.push_back(node);
    }
    ++current().commandNodes;
  }
  void closePath() override {
    if (!open_) return;
    RawSubpath& sub = current();
    sub.closed = true;
    if (sub.nodes.size() > 1 && nearlySame(sub.nodes.back().p, sub.nodes.front().p)) {
      sub.nodes.front().in = sub.nodes.back().in;
      sub.nodes.pop_back();
      sub.merged = true;
    }
    open_ = false;
  }
  void flush() override { open_ = false; }

 private:
  RawSubpath& current() { return out_.back(); }
  void begin(Vec2 p) {
    out_.emplace_back();
    out_.back().nodes.push_back(RawNode{p, p, p});
    out_.back().commandNodes = 1;
    start_ = p;
    open_ = true;
  }
  // A drawing command after Z starts a new subpath at the previous subpath's start.
  void ensureOpen() {
    if (!open_) begin(start_);
  }
  void push(const RawNode& node) {
    current().nodes.push_back(node);
    ++current().commandNodes;
  }

  std::vector<RawSubpath>& out_;
  bool open_ = false;
  Vec2 start_;
};

RawSubpath closedFrom(std::vector<RawNode> nodes) {
  RawSubpath sub;
  sub.commandNodes = nodes.size();
  sub.nodes = std::move(nodes);
  sub.closed = true;
  return sub;
}

}  // namespace

namespace {

// Checks path data against SVG's grammar. Returns nullopt when it is well formed, else the offset
// of the first character in error and the end of the last complete command before it.
std::optional<std::pair<std::size_t, std::size_t>> pathDataError(std::string_view d) {
  std::size_t i = 0;
  auto space = [&](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f'; };
  auto skipSpace = [&] {
    while (i < d.size() && space(d[i])) ++i;
  };
  auto skipCommaSpace = [&] {
    skipSpace();
    if (i < d.size() && d[i] == ',') {
      ++i;
      skipSpace();
    }
  };
  auto digit = [&](std::size_t k) { return k < d.size() && d[k] >= '0' && d[k] <= '9'; };
  auto number = [&]() {
    std::size_t k = i;
    if (k < d.size() && (d[k] == '+' || d[k] == '-')) ++k;
    std::size_t digits = 0;
    while (digit(k)) ++k, ++digits;
    if (k < d.size() && d[k] == '.') {
      ++k;
      while (digit(k)) ++k, ++digits;
    }
    if (digits == 0) return false;
    if (k < d.size() && (d[k] == 'e' || d[k] == 'E')) {
      std::size_t e = k + 1;
      if (e < d.size() && (d[e] == '+' || d[e] == '-')) ++e;
      if (digit(e)) {
        while (digit(e)) ++e;
        k = e;
      }
    }
    i = k;
    return true;
  };
  auto params = [](char c) -> int {
    switch (c | 0x20) {
      case 'z':
        return 0;
      case 'h':
      case 'v':
        return 1;
      case 'm':
      case 'l':
      case 't':
        return 2;
      case 's':
      case 'q':
        return 4;
      case 'c':
        return 6;
      case 'a':
        return 7;
      default:
        return -1;
    }
  };
  std::size_t good = 0;
  char command = 0;
  skipSpace();
  while (i < d.size()) {
    const char c = d[i];
    if (params(c) >= 0) {
      if (command == 0 && (c | 0x20) != 'm') return std::pair{i, good};
      command = c;
      ++i;
      skipSpace();
      if (params(c) == 0) {
        good = i;
        continue;
      }
    } else if (command == 0 || params(command) == 0) {
      return std::pair{i, good};
    }
    // One set of parameters (a command repeats while numbers follow).
    const int n = params(command);
    for (int k = 0; k < n; ++k) {
      if (k > 0) skipCommaSpace();
      const bool flag = (command | 0x20) == 'a' && (k == 3 || k == 4);
      if (flag) {
        if (i >= d.size() || (d[i] != '0' && d[i] != '1')) return std::pair{i, good};
        ++i;
      } else if (!number()) {
        return std::pair{i, good};
      }
    }
    good = i;
    skipCommaSpace();
    if ((command | 0x20) == 'm') command = command == 'm' ? 'l' : 'L';
  }
  return std::nullopt;
}

}  // namespace

ParsedPath parsePathData(std::string_view data) {
  ParsedPath result;
  {
    Collector collector(result.subpaths);
    Geom::SVGPathParser parser(collector);
    try {
      parser.parse(data.data(), static_cast<int>(data.size()));
      return result;
    } catch (const Geom::SVGPathParseError&) {
    }
  }
  // Malformed: read again what comes before the last complete command ahead of the error.
  result.subpaths.clear();
  const auto error = pathDataError(data);
  result.errorAt = error ? error->first : data.size();
  const std::string_view usable = data.substr(0, error ? error->second : 0);
  Collector collector(result.subpaths);
  Geom::SVGPathParser parser(collector);
  try {
    parser.parse(usable.data(), static_cast<int>(usable.size()));
  } catch (const Geom::SVGPathParseError&) {
    // The grammar check and the parser disagree: keep what was read before the disagreement.
    collector.flush();
  }
  return result;
}

std::size_t estimateSegments(std::string_view data) {
  std::size_t total = 0, numbers = 0;
  char command = 0;
  auto flush = [&] {
    switch (command) {
      case 'M':
      case 'm':
      case 'L':
      case 'l':
      case 'T':
      case 't':
        total += numbers / 2 + 1;
        break;
      case 'H':
      case 'h':
      case 'V':
      case 'v':
        total += numbers + 1;
        break;
      case 'C':
      case 'c':
        total += numbers / 6 + 1;
        break;
      case 'S':
      case 's':
      case 'Q':
      case 'q':
        total += numbers / 4 + 1;
        break;
      case 'A':
      case 'a':
        total += 4 * (numbers / 7 + 1);
        break;
      default:
        break;
    }
    numbers = 0;
  };
  bool inNumber = false, afterExponent = false, seenDot = false;
  for (char c : data) {
    const bool digit = c >= '0' && c <= '9';
    if (digit) {
      if (!inNumber) ++numbers;
      inNumber = true;
      afterExponent = false;
    } else if (c == '.') {
      if (!inNumber || seenDot) ++numbers;
      inNumber = true;
      seenDot = true;
      continue;
    } else if ((c == 'e' || c == 'E') && inNumber) {
      afterExponent = true;
      continue;
    } else if ((c == '-' || c == '+') && afterExponent) {
      afterExponent = false;
      continue;
    } else {
      inNumber = false;
      afterExponent = false;
      if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) {
        flush();
        command = c;
      }
    }
    if (!inNumber) seenDot = false;
  }
  flush();
  return total;
}

RawSubpath rectSubpath(double x, double y, double w, double h, double rx, double ry) {
  if (rx <= 0 || ry <= 0) {
    return closedFrom({RawNode{{x, y}, {x, y}, {x, y}}, RawNode{{x + w, y}, {x + w, y}, {x + w, y}},
                       RawNode{{x + w, y + h}, {x + w, y + h}, {x + w, y + h}},
                       RawNode{{x, y + h}, {x, y + h}, {x, y + h}}});
  }
  double kx = rx * kKappa;
  double ky = ry * kKappa;
  double r = x + w;
  double b = y + h;
  // Clockwise on screen from the top edge: each straight edge between two rounded corners.
  return closedFrom({
      RawNode{{x + rx, y}, {x + rx - kx, y}, {x + rx, y}},
      RawNode{{r - rx, y}, {r - rx, y}, {r - rx + kx, y}},
      RawNode{{r, y + ry}, {r, y + ry - ky}, {r, y + ry}},
      RawNode{{r, b - ry}, {r, b - ry}, {r, b - ry + ky}},
      RawNode{{r - rx, b}, {r - rx + kx, b}, {r - rx, b}},
      RawNode{{x + rx, b}, {x + rx, b}, {x + rx - kx, b}},
      RawNode{{x, b - ry}, {x, b - ry + ky}, {x, b - ry}},
      RawNode{{x, y + ry}, {x, y + ry}, {x, y + ry - ky}},
  });
}

RawSubpath ellipseSubpath(double cx, double cy, double rx, double ry) {
  double kx = rx * kKappa;
  double ky = ry * kKappa;
  return closedFrom({
      RawNode{{cx + rx, cy}, {cx + rx, cy - ky}, {cx + rx, cy + ky}},
      RawNode{{cx, cy + ry}, {cx + kx, cy + ry}, {cx - kx, cy + ry}},
      RawNode{{cx - rx, cy}, {cx - rx, cy + ky}, {cx - rx, cy - ky}},
      RawNode{{cx, cy - ry}, {cx - kx, cy - ry}, {cx + kx, cy - ry}},
  });
}

RawSubpath polySubpath(const std::vector<double>& coords, bool closed) {
  RawSubpath sub;
  for (std::size_t i = 0; i + 1 < coords.size(); i += 2) {
    Vec2 p{coords[i], coords[i + 1]};
    sub.nodes.push_back(RawNode{p, p, p});
  }
  sub.commandNodes = sub.nodes.size();
  sub.closed = closed;
  return sub;
}

ArtSubpath toArtwork(const RawSubpath& raw, const Affine& ctm) {
  ArtSubpath out;
  out.closed = raw.closed;
  out.commandNodes = raw.commandNodes;
  out.merged = raw.merged;
  out.segments.reserve(raw.nodes.size());
  out.nodeTypeIndex.reserve(raw.nodes.size());
  bool identity = ctm.isIdentity();
  bool finite = true;
  auto convert = [&](Vec2 p) {
    if (!identity) p = apply(ctm, p);
    AIRealPoint q{static_cast<float>(p.x), static_cast<float>(-p.y)};
    finite = finite && std::isfinite(q.h) && std::isfinite(q.v);
    return q;
  };
  int command = 0;
  for (const RawNode& node : raw.nodes) {
    out.segments.push_back(AIPathSegment{convert(node.p), convert(node.in), convert(node.out), 1});
    out.nodeTypeIndex.push_back(node.commandNode ? command++ : -1);
  }
  if (!finite) throw ValueError("coordinate out of range");
  return out;
}

bool looksSmooth(const AIPathSegment& s) {
  double ax = double(s.in.h) - s.p.h, ay = double(s.in.v) - s.p.v;
  double bx = double(s.out.h) - s.p.h, by = double(s.out.v) - s.p.v;
  double la = std::hypot(ax, ay), lb = std::hypot(bx, by);
  if (la == 0 || lb == 0) return false;
  double cross = ax * by - ay * bx;
  double dot = ax * bx + ay * by;
  return dot < 0 && std::fabs(cross) <= 0.01 * la * lb;
}

namespace {

// The letters one subpath takes in sodipodi:nodetypes.
std::size_t letterCount(const ArtSubpath& sub) {
  if (sub.segments.empty()) return sub.commandNodes;
  return sub.commandNodes - (sub.merged ? 1 : 0) + (sub.closed ? 1 : 0);
}

bool smoothLetter(char t) {
  return t == 's' || t == 'z' || t == 'a';
}

}  // namespace

std::vector<char> nodeTypeLetters(const std::vector<ArtSubpath>& subpaths, std::string_view types) {
  std::size_t expected = 0, segments = 0;
  for (const ArtSubpath& sub : subpaths) {
    expected += letterCount(sub);
    segments += sub.segments.size();
  }
  if (types.empty() || types.size() != expected) return {};
  std::vector<char> letters;
  letters.reserve(segments);
  std::size_t base = 0;
  for (const ArtSubpath& sub : subpaths) {
    const std::size_t count = letterCount(sub);
    for (std::size_t i = 0; i < sub.segments.size(); ++i) {
      const int index = sub.nodeTypeIndex[i];
      if (index < 0) {
        letters.push_back(0);
      } else if (i == 0 && sub.closed) {
        letters.push_back(types[base + count - 1]);
      } else {
        letters.push_back(types[base + static_cast<std::size_t>(index)]);
      }
    }
    base += count;
  }
  return letters;
}

void applyNodeTypes(std::vector<ArtSubpath>& subpaths, std::string_view types) {
  const std::vector<char> letters = nodeTypeLetters(subpaths, types);
  std::size_t k = 0;
  for (ArtSubpath& sub : subpaths) {
    for (AIPathSegment& s : sub.segments) {
      const char t = letters.empty() ? 0 : letters[k];
      ++k;
      s.corner = t != 0 ? (smoothLetter(t) ? 0 : 1) : (looksSmooth(s) ? 0 : 1);
    }
  }
}

void appendPathData(std::string& out, const PathGeometry& path, const Affine* toUser) {
  if (path.empty()) return;
  auto point = [&out, toUser](const AIRealPoint& p) {
    if (toUser == nullptr) {
      out += formatFloat(p.h);
      out += ',';
      out += formatFloat(-p.v);
      return;
    }
    const Vec2 q = apply(*toUser, Vec2{p.h, -static_cast<double>(p.v)});
    out += formatDouble(q.x);
    out += ',';
    out += formatDouble(q.y);
  };
  if (!out.empty()) out += ' ';
  out += "M ";
  point(path.segment(0).p);
  for (std::size_t k = 0; k < path.bezierCount(); ++k) {
    AIRealBezier b = path.bezier(k);
    out += " C ";
    point(b.p1);
    out += ' ';
    point(b.p2);
    out += ' ';
    point(b.p3);
  }
  if (path.closed()) out += " Z";
}

void appendNodeTypes(std::string& out, const PathGeometry& path) {
  appendNodeTypes(out, path, {});
}

void appendNodeTypes(std::string& out, const PathGeometry& path,
                     const std::vector<std::pair<AIPathSegment, char>>& known) {
  auto key = [](const AIRealPoint& p) {
    return (static_cast<std::uint64_t>(std::bit_cast<std::uint32_t>(p.h)) << 32) |
           std::bit_cast<std::uint32_t>(p.v);
  };
  auto offset = [](const AIRealPoint& handle, const AIRealPoint& anchor) {
    return AIRealPoint{handle.h - anchor.h, handle.v - anchor.v};
  };
  // The same node count: nodes pair by index, and a node that was only moved (its handles kept
  // relative to it) keeps its letter, save an automatic one, whose handles its editor would
  // recompute. Otherwise nodes pair by anchor position, unchanged ones only.
  const bool byIndex = known.size() == path.size();
  std::unordered_multimap<std::uint64_t, std::size_t> byAnchor;
  if (!byIndex) {
    byAnchor.reserve(known.size());
    for (std::size_t k = 0; k < known.size(); ++k) byAnchor.emplace(key(known[k].first.p), k);
  }
  auto letter = [&](std::size_t i) {
    const AIPathSegment& s = path.segment(i);
    const char plain = s.corner != 0 ? 'c' : 's';
    auto consistent = [&](char t) { return smoothLetter(t) == (s.corner == 0) ? t : plain; };
    if (byIndex) {
      const auto& [was, t] = known[i];
      if (t == 0) return plain;
      if (sameSegment(was, s)) return t;
      const bool moved = samePoint(offset(was.in, was.p), offset(s.in, s.p)) &&
                         samePoint(offset(was.out, was.p), offset(s.out, s.p));
      return moved && t != 'a' ? consistent(t) : plain;
    }
    auto [first, last] = byAnchor.equal_range(key(s.p));
    for (auto it = first; it != last; ++it) {
      const auto& [was, t] = known[it->second];
      if (t != 0 && samePoint(was.in, s.in) && samePoint(was.out, s.out)) return consistent(t);
    }
    return plain;
  };
  for (std::size_t i = 0; i < path.size(); ++i) out += letter(i);
  if (path.closed() && !path.empty()) out += letter(0);
}

}  // namespace sqhost::svg
