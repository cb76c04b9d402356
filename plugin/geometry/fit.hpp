// Fitting one cubic Bézier curve to a chain of curves by searching over its handle lengths.
#pragma once

#include <span>

#include "geometry/curve.hpp"

namespace sq {

// How far candidate k strays from the chain: distances from 31 points of k to the chain
// (weighted up to 1.5 in the middle), from n′ + 1 points of every chain curve to k
// (n′ = 32 / n, at least 5) and five times the distance of every inner joint to k.
// 0 for an empty chain.
double FitError(const Curve& k, std::span<const Curve> chain);

struct FitResult {
  Curve curve;
  double error = 0.0;
};

// Improves `start` against the chain by scaling its two handles (the anchors stay fixed):
// first both together, then in opposite senses, then each alone with a growing and shrinking
// step. Returns the best curve and its FitError; `start` itself when no candidate beats it.
FitResult FitMerge(const Curve& start, std::span<const Curve> chain);

}  // namespace sq
