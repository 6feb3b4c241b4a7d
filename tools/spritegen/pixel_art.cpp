#include "pixel_art.h"

#include <algorithm>
#include <array>

namespace spritegen {

namespace {

using rt::Pixel;
using rt::Surface;
namespace colour = rt::colour;

// Fills columns first..last of a row, clipped to the image.
void span(Surface& s, int row, int first, int last, Pixel p) {
    if (row < 0 || row >= s.height) return;
    for (int x = std::max(first, 0); x <= std::min(last, s.width - 1); ++x) s.at(x, row) = p;
}

void rect(Surface& s, int left, int top, int right, int bottom, Pixel p) {
    for (int y = top; y <= bottom; ++y) span(s, y, left, right, p);
}

// ---- Alien -----------------------------------------------------------------------------------

constexpr int kBarLeft = 18;
constexpr int kBarRight = 30;
constexpr int kBarBottom = 27;
constexpr int kMirrorColumn = 24;  // the legs on the right mirror those on the left about it
constexpr int kDiscTop = 26;

// The yellow disc that ends the bar, as [first, last] columns per row from row 26 down.
constexpr std::array<std::pair<int, int>, 20> kDiscSpans = {{
    {21, 26}, {19, 28}, {17, 30}, {16, 31}, {16, 31}, {15, 32}, {15, 32}, {14, 33}, {14, 33}, {14, 33},
    {14, 33}, {14, 33}, {14, 33}, {15, 32}, {15, 32}, {16, 31}, {16, 31}, {17, 30}, {19, 28}, {21, 26},
}};

// A leg is a 45-degree band, 9 pixels on every row and 20 rows long. Its inner end touches the bar
// with a 5-pixel stub (columns 13..17) and every row further out starts one column further left,
// until the last row where only columns 0..2 are left of it. The band is cut at column 17 next to
// the bar; its mirror on the right begins at column 31 and, unlike the left band, reaches the
// sprite's last column (49) before it is clipped.
void drawLegPair(Surface& s, int innerRow, int rowStep) {
    constexpr int kLength = 9;
    constexpr int kRows = 20;
    constexpr int kInnerStart = 13;
    for (int i = 0; i < kRows; ++i) {
        const int row = innerRow + i * rowStep;
        const int start = kInnerStart - i;
        const int end = std::min(start + kLength - 1, kBarLeft - 1);
        span(s, row, start, end, colour::blue);
        const int mirroredEnd = 2 * kMirrorColumn - start;
        const int mirroredStart = std::max(2 * kMirrorColumn - (start + kLength - 1), kBarRight + 1);
        span(s, row, mirroredStart, mirroredEnd, colour::blue);
    }
}

}  // namespace

Surface makeAlien(Legs legs) {
    Surface s(50, 50, colour::black);
    rect(s, kBarLeft, 0, kBarRight, kBarBottom, colour::red);
    for (std::size_t i = 0; i < kDiscSpans.size(); ++i)
        span(s, kDiscTop + static_cast<int>(i), kDiscSpans[i].first, kDiscSpans[i].second, colour::yellow);
    if (legs == Legs::Down) {
        drawLegPair(s, 4, +1);
        drawLegPair(s, 19, +1);
    } else {
        drawLegPair(s, 14, -1);
        drawLegPair(s, 27, -1);
    }
    return s;
}

// ---- Ship ------------------------------------------------------------------------------------

namespace {

// The left half of the ship's outline (columns 0..47) as runs per row; the right half mirrors it
// about the line between columns 47 and 48. Every step of the silhouette is two rows: a 4-pixel
// nub on the first, the widened body on the second.
struct Run {
    int row, first, last;
};
constexpr Run kLeftOutline[] = {
    {0, 47, 47},  {1, 46, 47},  {2, 46, 47},  {3, 47, 47},               // antenna
    {4, 36, 39},  {4, 46, 47},                                           // bump tops
    {5, 34, 41},  {5, 44, 47},  {6, 34, 41},  {6, 44, 47}, {6, 27, 30},  // bumps, first nub
    {7, 27, 47},                                                         // first step
    {8, 18, 21},  {8, 27, 47},  {9, 18, 47},                             // second step
    {10, 10, 13}, {10, 18, 47}, {11, 10, 47},                            // third step
    {12, 1, 4},   {12, 10, 47},                                          // fourth nub
    {13, 0, 47},  {14, 0, 47},  {15, 0, 47},  {16, 0, 47}, {17, 0, 47}, {18, 0, 47}, {19, 0, 47},
};

// The hull's colours are laid out about column 47. Red: a V whose arms start beside the middle
// bump on row 8 and close into one band on row 13, split above that by a narrowing yellow keel.
struct HullRow {
    int redFirst, redLast, keelFirst, keelLast;  // keelFirst > keelLast: no keel on this row
};
constexpr int kHullTop = 8;
constexpr HullRow kHull[] = {
    {41, 53, 44, 50}, {39, 55, 44, 50}, {37, 57, 45, 49}, {35, 59, 46, 48}, {33, 61, 47, 47}, {30, 64, 1, 0},
};

// Rows 14..19: yellow flanks (width on the left; the right flank is one column wider because the
// red lower body is centred on column 47), red between them, and three blue bumps that sit on a
// blue strip along the bottom row.
constexpr int kLowerTop = 14;
constexpr int kFlank[] = {6, 5, 5, 4, 4, 4};
constexpr int kBumpCentres[] = {34, 47, 60};
constexpr int kBumpHalfWidth[] = {1, 3, 4, 5, 5};  // rows 14..18
constexpr int kStripFirst = 28;
constexpr int kStripLast = 66;

}  // namespace

Surface makeShip() {
    Surface s(96, 20, colour::black);
    for (const Run& r : kLeftOutline) {
        span(s, r.row, r.first, r.last, colour::yellow);
        span(s, r.row, 95 - r.last, 95 - r.first, colour::yellow);
    }
    for (int i = 0; i < static_cast<int>(std::size(kHull)); ++i) {
        const HullRow& h = kHull[i];
        span(s, kHullTop + i, h.redFirst, h.redLast, colour::red);
        span(s, kHullTop + i, h.keelFirst, h.keelLast, colour::yellow);
    }
    for (int i = 0; i < static_cast<int>(std::size(kFlank)); ++i) {
        const int row = kLowerTop + i;
        span(s, row, kFlank[i], 94 - kFlank[i], colour::red);
        if (i < static_cast<int>(std::size(kBumpHalfWidth)))
            for (int c : kBumpCentres) span(s, row, c - kBumpHalfWidth[i], c + kBumpHalfWidth[i], colour::blue);
        else
            span(s, row, kStripFirst, kStripLast, colour::blue);
    }
    return s;
}

Surface makeBomb() {
    Surface s(10, 10, colour::black);
    constexpr std::pair<int, int> kRows[] = {{3, 6}, {1, 8}, {1, 8}, {0, 9}, {0, 9},
                                             {0, 9}, {0, 9}, {1, 8}, {1, 8}, {3, 6}};
    for (int y = 0; y < 10; ++y) span(s, y, kRows[y].first, kRows[y].second, colour::lime);
    return s;
}

Surface makeSolid(int width, int height, Pixel p) { return Surface(width, height, p); }

Surface makeMask(const Surface& sprite) {
    Surface mask(sprite.width, sprite.height);
    for (std::size_t i = 0; i < sprite.pixels.size(); ++i)
        mask.pixels[i] = sprite.pixels[i] == colour::black ? colour::white : colour::black;
    return mask;
}

Surface recolour(const Surface& image, const std::vector<std::pair<Pixel, Pixel>>& map) {
    Surface out = image;
    for (std::size_t i = 0; i < image.pixels.size(); ++i) {
        const auto it = std::find_if(map.begin(), map.end(), [&](const auto& m) { return m.first == image.pixels[i]; });
        if (it != map.end()) out.pixels[i] = it->second;
    }
    return out;
}

}  // namespace spritegen
