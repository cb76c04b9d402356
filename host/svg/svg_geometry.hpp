// SVG geometry to and from segments: path data, basic shapes, node types and the y-flip.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "document/path_geometry.hpp"
#include "svg/svg_values.hpp"

namespace sqhost::svg {

// One anchor in SVG user coordinates, before the element's transform.
struct RawNode {
  Vec2 p, in, out;
  // True for the end point of a path-data command (each has one character in
  // sodipodi:nodetypes); false for points added when an arc is split into cubic pieces.
  bool commandNode = true;
};

struct RawSubpath {
  std::vector<RawNode> nodes;
  bool closed = false;
  // Command end points, counting the one merged into the first anchor when a closed subpath
  // returns exactly to its start: the number of sodipodi:nodetypes characters it takes.
  std::size_t commandNodes = 0;
};

// Path data with every command (absolute and relative, shorthand curves, quadratics and arcs,
// which become cubics). A closed subpath whose last point returns to its start has that point
// merged into the first anchor. Throws ValueError for malformed data.
std::vector<RawSubpath> parsePathData(std::string_view data);

// Basic shapes as SVG defines them (rx/ry of a rect already resolved and clamped).
RawSubpath rectSubpath(double x, double y, double w, double h, double rx, double ry);
RawSubpath ellipseSubpath(double cx, double cy, double rx, double ry);
RawSubpath polySubpath(const std::vector<double>& coords, bool closed);

// A subpath in artwork coordinates: transformed, y flipped to v = -y, rounded to floats.
struct ArtSubpath {
  std::vector<AIPathSegment> segments;
  std::vector<int> nodeTypeIndex;  // per segment: its character in nodetypes, or -1
  bool closed = false;
  std::size_t commandNodes = 0;
};
// Throws ValueError when a coordinate does not fit a float.
ArtSubpath toArtwork(const RawSubpath& raw, const Affine& ctm);

// The corner flag without node types: smooth when both handles stick out in exactly opposite
// directions (within a small angle), corner otherwise.
bool looksSmooth(const AIPathSegment& s);
// Sets the corner flags from sodipodi:nodetypes ('c' corner; 's', 'z', 'a' smooth) when the string
// has one character per command node of the subpaths; otherwise (or when types is empty) from
// looksSmooth. Points added by arc splitting always use looksSmooth.
void applyNodeTypes(std::vector<ArtSubpath>& subpaths, std::string_view types);

// Export: absolute path data with explicit C commands and Z for closed paths (v = -y), and the
// matching sodipodi:nodetypes ('c' or 's' per command node).
void appendPathData(std::string& out, const PathGeometry& path);
void appendNodeTypes(std::string& out, const PathGeometry& path);

}  // namespace sqhost::svg
