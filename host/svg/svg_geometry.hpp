// SVG geometry to and from segments: path data, basic shapes, node types and the y-flip.
#pragma once

#include <cstddef>
#include <optional>
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
  // returns exactly to its start.
  std::size_t commandNodes = 0;
  bool merged = false;  // the last command point was merged into the first anchor
};

// Path data with every command (absolute and relative, shorthand curves, quadratics and arcs,
// which become cubics). A closed subpath whose last point returns to its start has that point
// merged into the first anchor. Malformed data is read up to the error, as SVG says: the complete
// commands before it are kept and errorAt is the offset of the character where reading stopped.
struct ParsedPath {
  std::vector<RawSubpath> subpaths;
  std::optional<std::size_t> errorAt;
};
ParsedPath parsePathData(std::string_view data);
// An estimate from above of the segments path data makes, without parsing it: cheap enough to
// count a whole file before reading it.
std::size_t estimateSegments(std::string_view data);

// Basic shapes as SVG defines them (rx/ry of a rect already resolved and clamped).
RawSubpath rectSubpath(double x, double y, double w, double h, double rx, double ry);
RawSubpath ellipseSubpath(double cx, double cy, double rx, double ry);
RawSubpath polySubpath(const std::vector<double>& coords, bool closed);

// A subpath in artwork coordinates: transformed, y flipped to v = -y, rounded to floats.
struct ArtSubpath {
  std::vector<AIPathSegment> segments;
  std::vector<int> nodeTypeIndex;  // per segment: its command number in the subpath, or -1
  bool closed = false;
  std::size_t commandNodes = 0;
  bool merged = false;
};
// Throws ValueError when a coordinate does not fit a float.
ArtSubpath toArtwork(const RawSubpath& raw, const Affine& ctm);

// The corner flag without node types: smooth when both handles stick out in exactly opposite
// directions (within a small angle), corner otherwise.
bool looksSmooth(const AIPathSegment& s);
// The sodipodi:nodetypes letter of every segment of the subpaths, in order (0 for points added by
// arc splitting), or an empty list when types does not have one letter per node. A subpath takes
// one letter per command node and, when closed, one more: the type of its start node, which is
// read from that last letter.
std::vector<char> nodeTypeLetters(const std::vector<ArtSubpath>& subpaths, std::string_view types);
// Sets the corner flags from sodipodi:nodetypes ('c' corner; 's', 'z', 'a' smooth); where there is
// no letter, from looksSmooth.
void applyNodeTypes(std::vector<ArtSubpath>& subpaths, std::string_view types);

// Export: absolute path data with explicit C commands and Z for closed paths, and the matching
// sodipodi:nodetypes ('c' or 's' per node, the start node's again at the end of a closed path).
// Points go from artwork coordinates through toUser (artwork (h, v) is root user (h, -v) first);
// without a map, floats are written in their shortest exact form.
void appendPathData(std::string& out, const PathGeometry& path, const Affine* toUser = nullptr);
void appendNodeTypes(std::string& out, const PathGeometry& path);
// A node type letter for each node of path, keeping the letters of unedited nodes: known holds
// the letters read with the segments they were read for.
void appendNodeTypes(std::string& out, const PathGeometry& path,
                     const std::vector<std::pair<AIPathSegment, char>>& known);

}  // namespace sqhost::svg
