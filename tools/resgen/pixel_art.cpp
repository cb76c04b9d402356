// Pixel art of the cursors and the tool icon: the arrow, the signs and the signs' white rim.
#include "pixel_art.hpp"

#include <array>
#include <span>
#include <stdexcept>
#include <string_view>

namespace sq::resgen {
namespace {

// Pixel art rows: '#' is the ink colour, 'o' the fill colour, anything else leaves the pixel.
using Art = std::span<const std::string_view>;

// The arrow, tip at its top-left pixel: '#' outline, 'o' inside.
constexpr std::string_view kArrow[] = {
    "#",            //
    "##",           //
    "#o#",          //
    "#oo#",         //
    "#ooo#",        //
    "#oooo#",       //
    "#ooooo#",      //
    "#oooooo#",     //
    "#ooooooo#",    //
    "#oooooooo#",   //
    "#ooooo#####",  //
    "#oo#oo#",      //
    "#o# #oo#",     //
    "##  #oo#",     //
    "#    #oo#",    //
    "     #oo#",    //
    "      ##",     //
};

// One handle: a short stroke ending in a dot.
constexpr std::string_view kHandle[] = {
    "      ###",   //
    "     #####",  //
    "     #####",  //
    "     #####",  //
    "      ###",   //
    "     #",      //
    "    #",       //
    "   #",        //
    "  #",         //
    " #",          //
    "#",           //
};

// Two handles: a line with a dot at each end.
constexpr std::string_view kTwoHandles[] = {
    "          ###",   //
    "         #####",  //
    "         #####",  //
    "         #####",  //
    "          ###",   //
    "         #",      //
    "        #",       //
    "       #",        //
    "      #",         //
    " ### #",          //
    "#####",           //
    "#####",           //
    "#####",           //
    " ###",            //
};

// Smooth point: a square on a straight line.
constexpr std::string_view kSmoothPoint[] = {
    "    #####",      //
    "    #ooo#",      //
    "#####ooo#####",  //
    "    #ooo#",      //
    "    #####",      //
};

// Corner point: a square where two lines meet at a right angle.
constexpr std::string_view kCornerPoint[] = {
    "#           #",  //
    " #         #",   //
    "  #       #",    //
    "   #     #",     //
    "    #####",      //
    "    #ooo#",      //
    "    #ooo#",      //
    "    #ooo#",      //
    "    #####",      //
};

// Segment: two squares joined by a line.
constexpr std::string_view kSegment[] = {
    "#####     #####",  //
    "#ooo#     #ooo#",  //
    "#ooo#######ooo#",  //
    "#ooo#     #ooo#",  //
    "#####     #####",  //
};

// Marquee: a dashed rectangle.
constexpr std::string_view kDashedRect[] = {
    "## ## ## ##",  //
    "#         #",  //
    "",             //
    "#         #",  //
    "#         #",  //
    "",             //
    "#         #",  //
    "#         #",  //
    "",             //
    "## ## ## ##",  //
};

// Slow drag: the letter S.
constexpr std::string_view kLetterS[] = {
    " ####",   //
    "##  ##",  //
    "##",      //
    " ####",   //
    "    ##",  //
    "    ##",  //
    "##  ##",  //
    " ####",   //
};

// Add point: a plus sign.
constexpr std::string_view kPlus[] = {
    "  #",    //
    "  #",    //
    "#####",  //
    "  #",    //
    "  #",    //
};

enum class Cell : unsigned char { Clear, Black, White };
using Grid = std::array<std::array<Cell, kCursorSize>, kCursorSize>;  // big enough for the icon too

void stamp(Grid& grid, Art art, int left, int top, Cell ink, Cell fill) {
  for (size_t row = 0; row < art.size(); ++row) {
    for (size_t column = 0; column < art[row].size(); ++column) {
      const char c = art[row][column];
      if (c != '#' && c != 'o') {
        continue;
      }
      grid.at(static_cast<size_t>(top) + row).at(static_cast<size_t>(left) + column) =
          c == '#' ? ink : fill;
    }
  }
}

struct Sign {
  Art art;
  int left;
  int top;
};

// Puts the signs over the arrow: each keeps a one-pixel white rim on otherwise transparent
// pixels, so a black sign stays visible over dark artwork.
void addSigns(Grid& grid, std::initializer_list<Sign> signs) {
  Grid layer{};
  for (const Sign& sign : signs) {
    stamp(layer, sign.art, sign.left, sign.top, Cell::Black, Cell::White);
  }
  for (int y = 0; y < kCursorSize; ++y) {
    for (int x = 0; x < kCursorSize; ++x) {
      if (layer[y][x] != Cell::Black) {
        continue;
      }
      for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
          const int nx = x + dx;
          const int ny = y + dy;
          if (nx >= 0 && ny >= 0 && nx < kCursorSize && ny < kCursorSize &&
              grid[ny][nx] == Cell::Clear && layer[ny][nx] == Cell::Clear) {
            grid[ny][nx] = Cell::White;
          }
        }
      }
    }
  }
  for (int y = 0; y < kCursorSize; ++y) {
    for (int x = 0; x < kCursorSize; ++x) {
      if (layer[y][x] != Cell::Clear) {
        grid[y][x] = layer[y][x];
      }
    }
  }
}

Grid cursorGrid(int code) {
  Grid grid{};
  // Outlined arrow: black outline, white inside. Solid arrow: the colours swapped.
  const bool solid = code == 1 || code == 8 || code == 9;
  stamp(grid, kArrow, kCursorHotspotX, kCursorHotspotY, solid ? Cell::White : Cell::Black,
        solid ? Cell::Black : Cell::White);
  switch (code) {
    case 0:
    case 1:
      break;
    case 2:
      addSigns(grid, {{kHandle, 14, 14}});
      break;
    case 3:
      addSigns(grid, {{kSmoothPoint, 14, 18}});
      break;
    case 4:
      addSigns(grid, {{kCornerPoint, 14, 15}});
      break;
    case 5:
      addSigns(grid, {{kSegment, 14, 18}});
      break;
    case 6:
      addSigns(grid, {{kDashedRect, 15, 15}});
      break;
    case 7:
    case 8:
      addSigns(grid, {{kTwoHandles, 14, 13}});
      break;
    case 9:
      addSigns(grid, {{kLetterS, 15, 16}});
      break;
    case 10:
      addSigns(grid, {{kPlus, 20, 11}, {kSegment, 14, 19}});
      break;
    default:
      throw std::out_of_range("no cursor with this code");
  }
  return grid;
}

Surface toSurface(const Grid& grid, int width, int height) {
  Surface surface = makeSurface(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      if (grid[y][x] != Cell::Clear) {
        setPixel(surface, x, y, grid[y][x] == Cell::Black ? kBlack : kWhite);
      }
    }
  }
  return surface;
}

}  // namespace

Surface drawCursor(int code) {
  return toSurface(cursorGrid(code), kCursorSize, kCursorSize);
}

Surface drawToolIcon() {
  Grid grid{};
  stamp(grid, kArrow, 1, 0, Cell::Black, Cell::White);
  stamp(grid, kHandle, 11, 5, Cell::Black, Cell::White);
  return toSurface(grid, kToolIconWidth, kToolIconHeight);
}

}  // namespace sq::resgen
