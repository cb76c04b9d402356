// Tests of the resource generator: cursor art, picture geometry, PNG output and fragments.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <numbers>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "catalogue.hpp"
#include "panel_pictures.hpp"
#include "pictures.hpp"
#include "pixel_art.hpp"

namespace sq::resgen {
namespace {

const std::filesystem::path kResourcesDir =
    std::filesystem::path(SQ_RESGEN_SOURCE_DIR) / ".." / ".." / "plugin" / "resources";

std::vector<Rgba> pixels(const Surface& surface) {
  std::vector<Rgba> out;
  for (int y = 0; y < surfaceHeight(surface); ++y) {
    for (int x = 0; x < surfaceWidth(surface); ++x) {
      out.push_back(pixelAt(surface, x, y));
    }
  }
  return out;
}

// Equal up to the rounding of the rasteriser, which is not exactly symmetric.
bool near(Rgba p, Rgba q) {
  return p.r == q.r && p.g == q.g && p.b == q.b && std::abs(p.a - q.a) <= 2;
}

bool isRed(Rgba p) {
  return p.a == 0 || (p.r == 255 && p.g == 0 && p.b == 0);
}

// True when no two of the pictures are the same.
bool allDifferent(const std::vector<std::vector<Rgba>>& pictures) {
  for (size_t i = 0; i < pictures.size(); ++i) {
    for (size_t j = i + 1; j < pictures.size(); ++j) {
      if (pictures[i] == pictures[j]) {
        return false;
      }
    }
  }
  return true;
}

std::string readFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(Cursors, TwoColourArrowsWithTheTipOnTheHotspotAndOneSignEach) {
  std::vector<std::vector<Rgba>> all;
  for (int code = 0; code < kCursorCount; ++code) {
    SCOPED_TRACE(code);
    const Surface cursor = drawCursor(code);
    ASSERT_EQ(surfaceWidth(cursor), kCursorSize);
    ASSERT_EQ(surfaceHeight(cursor), kCursorSize);
    bool signInk = false;
    for (int y = 0; y < kCursorSize; ++y) {
      for (int x = 0; x < kCursorSize; ++x) {
        const Rgba p = pixelAt(cursor, x, y);
        ASSERT_TRUE(p == kTransparent || p == kBlack || p == kWhite) << x << "," << y;
        signInk = signInk || (x > 12 && y > 10 && p == kBlack);
      }
    }
    const bool solid = code == 1 || code == 8 || code == 9;
    EXPECT_EQ(pixelAt(cursor, kCursorHotspotX, kCursorHotspotY), solid ? kWhite : kBlack);
    EXPECT_EQ(pixelAt(cursor, kCursorHotspotX + 1, kCursorHotspotY + 4), solid ? kBlack : kWhite);
    EXPECT_EQ(pixelAt(cursor, 0, 0), kTransparent);
    EXPECT_EQ(signInk, code != 0 && code != 1);
    all.push_back(pixels(cursor));
  }
  EXPECT_TRUE(allDifferent(all));
  EXPECT_THROW(drawCursor(kCursorCount), std::out_of_range);
}

TEST(Arrowheads, PointAwayFromTheCentreOutsideTheRing) {
  for (int i = 0; i < kArrowheadCount; ++i) {
    SCOPED_TRACE(i);
    const Surface arrow = drawArrowhead(i);
    ASSERT_EQ(surfaceWidth(arrow), kArrowheadSize);
    ASSERT_EQ(surfaceHeight(arrow), kArrowheadSize);
    double weight = 0, sumX = 0, sumY = 0;
    for (int y = 0; y < kArrowheadSize; ++y) {
      for (int x = 0; x < kArrowheadSize; ++x) {
        const Rgba p = pixelAt(arrow, x, y);
        ASSERT_TRUE(isRed(p));
        // Pixel (18, 18) is the marked point; nothing may touch the 24 x 24 ring around it.
        const double dx = x - 18, dy = y - 18;
        if (p.a > 0) {
          EXPECT_GT(std::hypot(dx, dy), 10.5) << x << "," << y;
        }
        weight += p.a;
        sumX += p.a * dx;
        sumY += p.a * dy;
      }
    }
    ASSERT_GT(weight, 0);
    // Counter-clockwise with y up: flip the picture's y.
    const double degrees = std::atan2(-sumY / weight, sumX / weight) * 180 / std::numbers::pi;
    const double expected = 180.0 + 10.0 * i;
    EXPECT_NEAR(std::remainder(degrees - expected, 360.0), 0.0, 1.5);
  }
  // The four named directions.
  EXPECT_GT(pixelAt(drawArrowhead(0), 3, 18).a, 0);    // left
  EXPECT_GT(pixelAt(drawArrowhead(9), 18, 32).a, 0);   // down
  EXPECT_GT(pixelAt(drawArrowhead(18), 32, 18).a, 0);  // right
  EXPECT_GT(pixelAt(drawArrowhead(27), 18, 3).a, 0);   // up
}

TEST(Labels, RingSitsWhereTheRingPictureWouldAndTextEndsBeforeIt) {
  const OutlineFont font(kDefaultFontPath);
  const Surface ring = drawRing();
  std::vector<std::vector<Rgba>> all;
  for (int j = 0; j < static_cast<int>(kLabelTexts.size()); ++j) {
    SCOPED_TRACE(j);
    const Surface label = drawLabel(font, j);
    ASSERT_EQ(surfaceWidth(label), kLabelWidth);
    ASSERT_EQ(surfaceHeight(label), kLabelHeight);
    for (int y = 0; y < kRingSize; ++y) {
      for (int x = 0; x < kRingSize; ++x) {
        ASSERT_EQ(pixelAt(label, kLabelRingLeft + x, y), pixelAt(ring, x, y)) << x << "," << y;
      }
    }
    int left = kLabelWidth, right = -1, top = kLabelHeight, bottom = -1;
    for (int y = 0; y < kLabelHeight; ++y) {
      for (int x = 0; x < kLabelRingLeft; ++x) {
        const Rgba p = pixelAt(label, x, y);
        ASSERT_TRUE(isRed(p));
        if (p.a > 0) {
          left = std::min(left, x), right = std::max(right, x);
          top = std::min(top, y), bottom = std::max(bottom, y);
        }
      }
    }
    EXPECT_GE(right, 80);  // right-aligned against the ring
    EXPECT_GT(left, 4);    // every text fits with room to spare
    EXPECT_LT(top, 12);    // the capitals straddle the ring's centre row
    EXPECT_GT(bottom, 12);
    all.push_back(pixels(label));
  }
  EXPECT_TRUE(allDifferent(all));
}

TEST(Pictures, RingDotAndIconAreCentredAndSized) {
  const Surface ring = drawRing();
  const Surface dot = drawDot();
  for (int d = 0; d <= 11; ++d) {
    // Symmetric about the centre pixel: (12, 12) for the ring, (8, 8) for the dot.
    EXPECT_TRUE(near(pixelAt(ring, 12 - d, 12), pixelAt(ring, 12 + d, 12))) << d;
    EXPECT_TRUE(near(pixelAt(ring, 12, 12 - d), pixelAt(ring, 12, 12 + d))) << d;
    if (d <= 8) {
      EXPECT_TRUE(near(pixelAt(dot, 8 - d, 8), pixelAt(dot, 8 + d, 8))) << d;
    }
  }
  EXPECT_EQ(pixelAt(ring, 12, 12), kTransparent);
  EXPECT_EQ(pixelAt(ring, 12, 3), (Rgba{255, 0, 0, 255}));
  EXPECT_EQ(pixelAt(dot, 8, 8), (Rgba{255, 0, 255, 255}));
  EXPECT_EQ(pixelAt(dot, 0, 0), kTransparent);

  const Surface icon = drawToolIcon();
  EXPECT_EQ(surfaceWidth(icon), kToolIconWidth);
  EXPECT_EQ(surfaceHeight(icon), kToolIconHeight);
}

// Ink and a margin count as drawn; the picture's bounding box of pixels with any coverage.
struct InkBox {
  int left = 1 << 20, top = 1 << 20, right = -1, bottom = -1;
  bool empty() const { return right < 0; }
};
InkBox inkBox(const Surface& surface) {
  InkBox box;
  for (int y = 0; y < surfaceHeight(surface); ++y) {
    for (int x = 0; x < surfaceWidth(surface); ++x) {
      if (pixelAt(surface, x, y).a == 0) continue;
      box.left = std::min(box.left, x), box.right = std::max(box.right, x);
      box.top = std::min(box.top, y), box.bottom = std::max(box.bottom, y);
    }
  }
  return box;
}

TEST(PanelPictures, ItemSizedWithGreyDisabledLooksAndWordsInsideTheirButtons) {
  const OutlineFont font(kDefaultFontPath);
  struct Size {
    int32_t id;
    int width, height;
  };
  // The item each picture is shown in decides its size.
  const Size sizes[] = {{16052, 15, 9},  {16053, 18, 6},  {16054, 18, 6},  {16055, 18, 6},
                        {16059, 30, 25}, {16063, 30, 25}, {16067, 15, 9},  {16068, 60, 18},
                        {16072, 60, 18}, {16077, 30, 25}, {16078, 20, 16}, {16081, 20, 16},
                        {16088, 16, 16}, {16089, 5, 14},  {16090, 75, 16}};
  for (const Size& size : sizes) {
    SCOPED_TRACE(size.id);
    const Surface picture = drawPanelPicture(font, size.id);
    EXPECT_EQ(surfaceWidth(picture), size.width);
    EXPECT_EQ(surfaceHeight(picture), size.height);
    EXPECT_FALSE(inkBox(picture).empty());
  }
  // Each disabled look is its normal picture in grey.
  const std::pair<int32_t, int32_t> pairs[] = {{16052, 16067}, {16053, 16064}, {16054, 16065},
                                               {16055, 16066}, {16059, 16073}, {16060, 16074},
                                               {16061, 16075}, {16062, 16076}, {16063, 16077},
                                               {16078, 16080}, {16079, 16081}};
  for (const auto& [normal, disabled] : pairs) {
    SCOPED_TRACE(normal);
    const Surface a = drawPanelPicture(font, normal);
    const Surface b = drawPanelPicture(font, disabled);
    bool coloured = false;
    for (int y = 0; y < surfaceHeight(a); ++y) {
      for (int x = 0; x < surfaceWidth(a); ++x) {
        const Rgba p = pixelAt(a, x, y);
        const Rgba q = pixelAt(b, x, y);
        ASSERT_EQ(p.a == 0, q.a == 0) << x << "," << y;  // the same shape
        if (q.a == 255 && !(q.r == 255 && q.g == 255 && q.b == 255)) {
          EXPECT_TRUE(q.r == q.g && q.g == q.b && q.r > 140) << x << "," << y;  // light grey
        }
        coloured = coloured || (p.a == 255 && p.r < 100);
      }
    }
    EXPECT_TRUE(coloured);  // the normal look is dark
  }
  // Words keep a margin inside their button and are centred in it.
  for (const int32_t id : {16068, 16069, 16070, 16071, 16072, 16090}) {
    SCOPED_TRACE(id);
    const Surface words = drawPanelPicture(font, id);
    const InkBox box = inkBox(words);
    EXPECT_GE(box.left, 2);
    EXPECT_LE(box.right, surfaceWidth(words) - 3);
    EXPECT_LE(std::abs((box.left + box.right) - (surfaceWidth(words) - 1)), 3);
    EXPECT_GE(box.top, 2);
    EXPECT_LE(box.bottom, surfaceHeight(words) - 2);
  }
  EXPECT_THROW(drawPanelPicture(font, 16056), std::out_of_range);  // the tool's ring
}

TEST(Catalogue, DeterministicCompactPngsInTableOrder) {
  const OutlineFont font(kDefaultFontPath);
  const auto first = buildResources(font);
  const auto second = buildResources(font);
  ASSERT_EQ(first.size(), 11u + 1 + 1 + 6 + 36 + 1 + panelPictures().size());
  for (size_t k = 0; k < first.size(); ++k) {
    const Resource& r = first[k];
    SCOPED_TRACE(r.fileName);
    EXPECT_EQ(r.png, second[k].png);
    if (k > 0) {
      EXPECT_LT(std::pair(first[k - 1].id, first[k - 1].index), std::pair(r.id, r.index));
    }
    // Only the chunks a picture needs: IHDR, IDAT..., IEND.
    std::vector<std::string> chunks;
    for (size_t at = 8; at + 8 <= r.png.size();) {
      const size_t length = (size_t{r.png[at]} << 24) | (size_t{r.png[at + 1]} << 16) |
                            (size_t{r.png[at + 2]} << 8) | r.png[at + 3];
      const std::string type(r.png.begin() + static_cast<ptrdiff_t>(at) + 4,
                             r.png.begin() + static_cast<ptrdiff_t>(at) + 8);
      if (chunks.empty() || chunks.back() != type) {
        chunks.push_back(type);
      }
      at += 12 + length;
    }
    EXPECT_EQ(chunks, (std::vector<std::string>{"IHDR", "IDAT", "IEND"}));
  }
  EXPECT_EQ(pngSymbol(first[0]), "kCursorPng16000");
  EXPECT_EQ(cursorSymbol(first[0]), "kCursor16000");
  const auto label = std::find_if(first.begin(), first.end(), [](const Resource& r) {
    return r.id == kLabelID && r.index == 5;
  });
  ASSERT_NE(label, first.end());
  EXPECT_EQ(pngSymbol(*label), "kPng16082_5");

  const std::string entries = imageEntriesFragment(first);
  EXPECT_NE(entries.find("\n{kSPCursorResourceType, 16000, 0, &kCursor16000, "
                         "sizeof(kCursor16000)},\n"),
            std::string::npos);
  EXPECT_NE(entries.find("\n{kSPPNGImageResourceType, 16091, 35, kPng16091_35, "
                         "sizeof(kPng16091_35)},\n"),
            std::string::npos);
  EXPECT_EQ(std::count(entries.begin(), entries.end(), '\n'),
            static_cast<std::ptrdiff_t>(first.size()) + 3);  // and three comment lines
}

// The committed pictures and fragments must be what the generator makes today: a change to the
// drawing code needs scripts/make-resources to be run.
TEST(CommittedResources, MatchTheGenerator) {
  const OutlineFont font(kDefaultFontPath);
  std::vector<Resource> resources = buildResources(font);
  EXPECT_EQ(readFile(kResourcesDir / "generated" / "image_entries.inc"),
            imageEntriesFragment(resources));
  for (Resource& r : resources) {
    SCOPED_TRACE(r.fileName);
    const std::string committed = readFile(kResourcesDir / "images" / r.fileName);
    ASSERT_FALSE(committed.empty());
    const std::vector<unsigned char> bytes(committed.begin(), committed.end());
    // Pixels, not bytes: a different zlib may compress the same picture differently.
    EXPECT_EQ(pixels(decodePng(bytes)), pixels(decodePng(r.png)));
    r.png = bytes;
  }
  // The C++ data must hold exactly the committed files.
  EXPECT_EQ(readFile(kResourcesDir / "generated" / "image_data.inc"), imageDataFragment(resources));
}

}  // namespace
}  // namespace sq::resgen
