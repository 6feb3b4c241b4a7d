// The committed sprite sheet and program icon, checked pixel by pixel against what the game relies
// on: sizes, palette, colours, the shapes' fixed rows and columns, and the masks.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "app/program.h"
#include "assets/assets.h"
#include "runtime/bmp.h"
#include "runtime/icon.h"
#include "runtime/program_identity.h"

namespace {

using rt::Pixel;
using rt::Surface;
namespace colour = rt::colour;

const std::filesystem::path kAssets = std::filesystem::path(QUORVEX_SOURCE_DIR) / "assets";

std::vector<unsigned char> readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

Surface loadSprite(const std::string& holder, rt::BmpInfo* info = nullptr) {
    const auto bytes = readFile(kAssets / "sprites" / (holder + ".bmp"));
    try {
        return rt::decodeBmp(bytes, info);
    } catch (const rt::FormatError& error) {
        ADD_FAILURE() << holder << ": " << error.what();
        return Surface();
    }
}

struct Span {
    int first, last;
    int length() const { return last - first + 1; }
    bool operator==(const Span&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Span& r) { return os << "[" << r.first << ".." << r.last << "]"; }

// Maximal runs of pixels on a row, within columns from..to, that satisfy `pred`.
template <class Pred>
std::vector<Span> runs(const Surface& s, int row, int from, int to, Pred pred) {
    std::vector<Span> out;
    for (int x = from; x <= to; ++x) {
        if (!pred(s.at(x, row))) continue;
        if (!out.empty() && out.back().last == x - 1)
            out.back().last = x;
        else
            out.push_back({x, x});
    }
    return out;
}
std::vector<Span> colourRuns(const Surface& s, int row, Pixel p, int from = 0, int to = -1) {
    return runs(s, row, from, to < 0 ? s.width - 1 : to, [p](Pixel q) { return q == p; });
}
std::vector<Span> inkRuns(const Surface& s, int row, int from = 0, int to = -1) {
    return runs(s, row, from, to < 0 ? s.width - 1 : to, [](Pixel q) { return q != colour::black; });
}

// ---- The whole sheet ---------------------------------------------------------------------------

struct Holder {
    const char* name;
    int width, height;
    std::set<Pixel> colours;  // exactly the colours that appear
};

const std::vector<Holder>& holders() {
    static const std::vector<Holder> list = {
        {"picBombMask", 10, 10, {colour::black, colour::white}},
        {"picBomb", 10, 10, {colour::lime, colour::black}},
        {"picAlien2Mask", 50, 50, {colour::black, colour::white}},
        {"picAlien2", 50, 50, {colour::red, colour::yellow, colour::blue, colour::black}},
        {"picAlien1Mask", 50, 50, {colour::black, colour::white}},
        {"picAlien1", 50, 50, {colour::red, colour::yellow, colour::blue, colour::black}},
        {"picLives", 100, 30, {colour::magenta, colour::black}},
        {"picLife", 5, 20, {colour::yellow}},
        {"picGround", 600, 1, {colour::red}},
        {"picBullet", 5, 20, {colour::blue}},
        {"picShipMask", 96, 20, {colour::black, colour::white}},
        {"picShip", 96, 20, {colour::red, colour::yellow, colour::blue, colour::black}},
        {"picContClick", 100, 35, {colour::white, colour::yellow}},
        {"picCont", 100, 35, {colour::yellow, colour::black}},
        {"picTitle", 500, 200, {colour::lime, colour::black}},
    };
    return list;
}

TEST(SpriteSheet, EveryHolderIsA16ColourBitmapOfItsSizeAndColours) {
    ASSERT_EQ(holders().size(), 15u);
    for (const Holder& h : holders()) {
        SCOPED_TRACE(h.name);
        rt::BmpInfo info;
        const Surface s = loadSprite(h.name, &info);
        EXPECT_EQ(s.width, h.width);
        EXPECT_EQ(s.height, h.height);
        EXPECT_EQ(info.bitsPerPixel, 4);
        EXPECT_EQ(info.palette, rt::standardPalette16());
        EXPECT_EQ(std::set<Pixel>(s.pixels.begin(), s.pixels.end()), h.colours);
    }
}

TEST(SpriteSheet, MasksAreTheExactComplementsOfTheirSprites) {
    for (const char* name : {"picBomb", "picAlien1", "picAlien2", "picShip"}) {
        SCOPED_TRACE(name);
        const Surface sprite = loadSprite(name);
        const Surface mask = loadSprite(std::string(name) + "Mask");
        ASSERT_EQ(mask.pixels.size(), sprite.pixels.size());
        for (std::size_t i = 0; i < sprite.pixels.size(); ++i)
            ASSERT_EQ(mask.pixels[i], sprite.pixels[i] == colour::black ? colour::white : colour::black)
                << "pixel " << i % sprite.width << "," << i / sprite.width;
    }
}

TEST(SpriteSheet, EmbeddedAssetsAreTheFilesOnDisk) {
    std::vector<std::string> paths = {"quorvex.ico", "quorvex.png"};
    for (const Holder& h : holders()) paths.push_back(std::string("sprites/") + h.name + ".bmp");
    for (const std::string& path : paths) {
        SCOPED_TRACE(path);
        const auto disk = readFile(kAssets / path);
        const auto embedded = assets::find(path);
        ASSERT_FALSE(disk.empty());
        EXPECT_TRUE(std::equal(disk.begin(), disk.end(), embedded.begin(), embedded.end()));
    }
}

// ---- Aliens ------------------------------------------------------------------------------------

// The body as it must be in both frames: the red bar on rows 0..27, the yellow disc on rows 26..45.
Pixel expectedBody(int x, int y) {
    static const std::pair<int, int> disc[20] = {{21, 26}, {19, 28}, {17, 30}, {16, 31}, {16, 31}, {15, 32}, {15, 32},
                                                 {14, 33}, {14, 33}, {14, 33}, {14, 33}, {14, 33}, {14, 33}, {15, 32},
                                                 {15, 32}, {16, 31}, {16, 31}, {17, 30}, {19, 28}, {21, 26}};
    if (y >= 26 && y <= 45 && x >= disc[y - 26].first && x <= disc[y - 26].second) return colour::yellow;
    if (y <= 27 && x >= 18 && x <= 30) return colour::red;
    return colour::black;
}

TEST(Alien, BodyIsTheBarAndDiscRowByRowInBothFrames) {
    for (const char* name : {"picAlien1", "picAlien2"}) {
        SCOPED_TRACE(name);
        const Surface s = loadSprite(name);
        for (int y = 0; y < 50; ++y)
            for (int x = 0; x < 50; ++x) {
                const Pixel want = expectedBody(x, y);
                // Outside the body only the legs (blue) may show.
                if (want == colour::black) {
                    ASSERT_TRUE(s.at(x, y) == colour::black || s.at(x, y) == colour::blue) << x << "," << y;
                } else {
                    ASSERT_EQ(s.at(x, y), want) << x << "," << y;
                }
            }
        EXPECT_EQ(colourRuns(s, 26, colour::red, 18, 30), (std::vector<Span>{{18, 20}, {27, 30}}));
        EXPECT_EQ(colourRuns(s, 27, colour::red, 18, 30), (std::vector<Span>{{18, 18}, {29, 30}}));
        for (int y = 46; y < 50; ++y) EXPECT_TRUE(inkRuns(s, y).empty()) << "row " << y;
    }
}

TEST(Alien, FramesDifferOnlyInTheirLegs) {
    const Surface a = loadSprite("picAlien1"), b = loadSprite("picAlien2");
    int legDifferences = 0;
    for (std::size_t i = 0; i < a.pixels.size(); ++i) {
        if (a.pixels[i] == colour::blue || b.pixels[i] == colour::blue) {
            legDifferences += a.pixels[i] != b.pixels[i];
            continue;
        }
        ASSERT_EQ(a.pixels[i], b.pixels[i]) << "pixel " << i % 50 << "," << i / 50;
    }
    EXPECT_GT(legDifferences, 100);
}

// A left leg seen row by row: its runs of blue in columns 0..17.
struct Band {
    int firstRow = 0, lastRow = 0;
    std::vector<Span> rows;
    std::vector<int> barRows;  // rows on which it reaches column 17, next to the bar
};

// Where the 9-pixel band would start if nothing cut or clipped it.
int bandStart(const Span& r) { return r.first == 0 && r.length() < 9 ? r.last - 8 : r.first; }

// Chains the left-side runs into bands that move one column outward per row; outwardStep is the
// row direction in which the band moves outward (+1: down, -1: up).
std::vector<Band> leftLegs(const Surface& s, int outwardStep) {
    std::vector<Band> bands;
    for (int y = 0; y < s.height; ++y)
        for (const Span& r : colourRuns(s, y, colour::blue, 0, 17)) {
            // Every row of a band is 9 long, unless clipped at column 0 or cut at column 17.
            EXPECT_TRUE(r.length() == 9 || (r.length() < 9 && (r.first == 0 || r.last == 17)))
                << "row " << y << " run " << r;
            Band* band = nullptr;
            for (Band& b : bands)
                if (b.lastRow == y - 1 && bandStart(b.rows.back()) - outwardStep == bandStart(r)) band = &b;
            if (band == nullptr) {
                bands.push_back({y, y, {}, {}});
                band = &bands.back();
            }
            band->lastRow = y;
            band->rows.push_back(r);
            if (r.last == 17) band->barRows.push_back(y);
        }
    return bands;
}

std::vector<int> rowsBetween(int first, int last) {
    std::vector<int> rows;
    for (int y = first; y <= last; ++y) rows.push_back(y);
    return rows;
}

std::pair<int, int> blueRows(const Surface& s) {
    int first = -1, last = -1;
    for (int y = 0; y < s.height; ++y)
        if (!colourRuns(s, y, colour::blue).empty()) {
            if (first < 0) first = y;
            last = y;
        }
    return {first, last};
}

TEST(Alien, LegsAreMirroredAboutColumn24AndReachColumn49) {
    for (const char* name : {"picAlien1", "picAlien2"}) {
        SCOPED_TRACE(name);
        const Surface s = loadSprite(name);
        for (int y = 0; y < 50; ++y) {
            for (int x = 0; x <= 17; ++x)
                ASSERT_EQ(s.at(x, y) == colour::blue, s.at(48 - x, y) == colour::blue) << x << "," << y;
            // Column 49 mirrors the band's pixel just left of column 0, the one clipping removed.
            const auto left = colourRuns(s, y, colour::blue, 0, 17);
            const bool clippedAtZero = !left.empty() && left.front().first == 0 && left.front().length() < 9;
            EXPECT_EQ(s.at(49, y) == colour::blue, clippedAtZero) << "row " << y;
        }
    }
}

TEST(Alien, Frame1LegsHangDownFromRows4And19) {
    const Surface s = loadSprite("picAlien1");
    const auto bands = leftLegs(s, +1);
    ASSERT_EQ(bands.size(), 2u);
    EXPECT_EQ(bands[0].barRows, rowsBetween(4, 8));
    EXPECT_EQ(bands[1].barRows, rowsBetween(19, 23));
    EXPECT_EQ(bands[0].rows.front(), (Span{13, 17}));
    EXPECT_EQ(bands[0].rows[17 - 4], (Span{0, 8}));
    EXPECT_EQ(bands[0].lastRow, 23);
    EXPECT_EQ(bands[0].rows.back(), (Span{0, 2}));
    EXPECT_EQ(bands[1].rows[32 - 19], (Span{0, 8}));
    EXPECT_EQ(bands[1].lastRow, 38);
    EXPECT_EQ(bands[1].rows.back(), (Span{0, 2}));
    EXPECT_EQ(blueRows(s), std::make_pair(4, 38));
}

TEST(Alien, Frame2LegsRiseFromRows14And27) {
    const Surface s = loadSprite("picAlien2");
    const auto bands = leftLegs(s, -1);
    ASSERT_EQ(bands.size(), 2u);
    // Bands are found top row first: the upper leg starts at row 0, the lower one at row 8.
    EXPECT_EQ(bands[0].firstRow, 0);
    EXPECT_EQ(bands[0].rows.front(), (Span{0, 7}));
    EXPECT_EQ(bands[0].barRows, rowsBetween(10, 14));
    EXPECT_EQ(bands[0].lastRow, 14);
    EXPECT_EQ(bands[0].rows.back(), (Span{13, 17}));
    EXPECT_EQ(bands[1].firstRow, 8);
    EXPECT_EQ(bands[1].rows.front(), (Span{0, 2}));
    EXPECT_EQ(bands[1].rows[14 - 8], (Span{0, 8}));
    EXPECT_EQ(bands[1].barRows, rowsBetween(23, 27));
    EXPECT_EQ(bands[1].lastRow, 27);
    EXPECT_EQ(blueRows(s), std::make_pair(0, 27));
}

// ---- Ship --------------------------------------------------------------------------------------

TEST(Ship, OutlineIsSymmetricWithAntennaBumpsAndSteppedSides) {
    const Surface s = loadSprite("picShip");
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 48; ++x)
            ASSERT_EQ(s.at(x, y) == colour::black, s.at(95 - x, y) == colour::black) << x << "," << y;
    for (int y = 13; y < 20; ++y) EXPECT_EQ(inkRuns(s, y), (std::vector<Span>{{0, 95}})) << "row " << y;

    EXPECT_EQ(inkRuns(s, 0), (std::vector<Span>{{47, 48}}));
    EXPECT_EQ(inkRuns(s, 1), (std::vector<Span>{{46, 49}}));
    EXPECT_EQ(inkRuns(s, 2), (std::vector<Span>{{46, 49}}));
    EXPECT_EQ(inkRuns(s, 3), (std::vector<Span>{{47, 48}}));

    const std::vector<Span> bumps = {{34, 41}, {44, 51}, {54, 61}};
    EXPECT_EQ(inkRuns(s, 5), bumps);
    EXPECT_EQ(inkRuns(s, 6, 31, 64), bumps);
    const auto tops = inkRuns(s, 4);
    ASSERT_EQ(tops.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(tops[i].length() + 4, bumps[i].length());
        EXPECT_TRUE(tops[i].first > bumps[i].first && tops[i].last < bumps[i].last);
    }

    // Each step is topped by a 4-pixel nub, its outermost ink on that row.
    const std::pair<int, Span> nubs[] = {{6, {27, 30}}, {8, {18, 21}}, {10, {10, 13}}, {12, {1, 4}}};
    for (const auto& [row, nub] : nubs) {
        const auto ink = inkRuns(s, row);
        ASSERT_GE(ink.size(), 2u) << "row " << row;
        EXPECT_EQ(ink.front(), nub) << "row " << row;
        EXPECT_EQ(ink.back(), (Span{95 - nub.last, 95 - nub.first})) << "row " << row;
    }
    // The silhouette only grows outward going down.
    for (int y = 7; y <= 13; ++y) EXPECT_LE(inkRuns(s, y).front().first, inkRuns(s, y - 1).front().first);
}

TEST(Ship, YellowCrownRedHullAndBlueBumps) {
    const Surface s = loadSprite("picShip");
    for (int y = 0; y <= 6; ++y)
        for (int x = 0; x < 96; ++x) ASSERT_TRUE(s.at(x, y) == colour::black || s.at(x, y) == colour::yellow);

    for (int y = 0; y < 8; ++y) EXPECT_TRUE(colourRuns(s, y, colour::red).empty()) << "row " << y;
    const auto patches = colourRuns(s, 8, colour::red);
    ASSERT_EQ(patches.size(), 2u);
    EXPECT_LE(patches[0].last, 44);  // beside the middle bump (44..51), one on each side
    EXPECT_GE(patches[1].first, 50);
    for (int x = patches[0].last + 1; x < patches[1].first; ++x) EXPECT_EQ(s.at(x, 8), colour::yellow);
    EXPECT_EQ(colourRuns(s, 13, colour::red), (std::vector<Span>{{30, 64}}));

    for (int y = 14; y < 20; ++y) {
        SCOPED_TRACE("row " + std::to_string(y));
        const auto yellow = colourRuns(s, y, colour::yellow);
        ASSERT_EQ(yellow.size(), 2u);
        EXPECT_EQ(yellow[0].first, 0);
        EXPECT_EQ(yellow[1].last, 95);
        for (const Span& edge : yellow) EXPECT_TRUE(edge.length() >= 4 && edge.length() <= 7) << edge;
        for (int x = yellow[0].last + 1; x < yellow[1].first; ++x) {
            const Pixel p = s.at(x, y);
            ASSERT_TRUE(p == colour::red || (p == colour::blue && x >= 28 && x <= 66)) << "column " << x;
        }
    }
    for (int y = 0; y < 14; ++y) EXPECT_TRUE(colourRuns(s, y, colour::blue).empty()) << "row " << y;
    EXPECT_FALSE(colourRuns(s, 14, colour::blue).empty());
    EXPECT_EQ(colourRuns(s, 18, colour::blue).size(), 3u);
    EXPECT_EQ(colourRuns(s, 19, colour::blue), (std::vector<Span>{{28, 66}}));
}

// ---- Bomb and bars -----------------------------------------------------------------------------

TEST(Bomb, IsALimeDiscWithTwentyBlackCorners) {
    const Surface s = loadSprite("picBomb");
    const Span rows[10] = {{3, 6}, {1, 8}, {1, 8}, {0, 9}, {0, 9}, {0, 9}, {0, 9}, {1, 8}, {1, 8}, {3, 6}};
    int black = 0;
    for (int y = 0; y < 10; ++y) {
        EXPECT_EQ(colourRuns(s, y, colour::lime), std::vector<Span>{rows[y]}) << "row " << y;
        for (int x = 0; x < 10; ++x) black += s.at(x, y) == colour::black;
    }
    EXPECT_EQ(black, 20);
}

TEST(Bars, MissileLifeAndGroundAreSolid) {
    for (const auto& [name, fill] : {std::pair{"picBullet", colour::blue}, std::pair{"picLife", colour::yellow},
                                     std::pair{"picGround", colour::red}}) {
        const Surface s = loadSprite(name);
        EXPECT_EQ(std::set<Pixel>(s.pixels.begin(), s.pixels.end()), std::set<Pixel>{fill}) << name;
    }
}

// ---- Lettering ---------------------------------------------------------------------------------

struct Box {
    int left, top, right, bottom;
    bool operator==(const Box&) const = default;
};
std::ostream& operator<<(std::ostream& os, const Box& b) {
    return os << "cols " << b.left << ".." << b.right << " rows " << b.top << ".." << b.bottom;
}

Box inkBox(const Surface& s, Pixel background) {
    Box box{s.width, s.height, -1, -1};
    for (int y = 0; y < s.height; ++y)
        for (int x = 0; x < s.width; ++x)
            if (s.at(x, y) != background) {
                box.left = std::min(box.left, x);
                box.right = std::max(box.right, x);
                box.top = std::min(box.top, y);
                box.bottom = std::max(box.bottom, y);
            }
    return box;
}

TEST(Lettering, InkFillsExactlyItsBox) {
    EXPECT_EQ(inkBox(loadSprite("picLives"), colour::black), (Box{6, 3, 94, 21}));
    EXPECT_EQ(inkBox(loadSprite("picCont"), colour::black), (Box{8, 9, 93, 22}));
    EXPECT_EQ(inkBox(loadSprite("picContClick"), colour::yellow), (Box{8, 9, 93, 22}));
    // The banner: rows 0..10 and 179..199 stay black.
    EXPECT_EQ(inkBox(loadSprite("picTitle"), colour::black), (Box{25, 11, 475, 178}));
}

TEST(Lettering, PressedButtonIsTheSameWordWhiteOnYellow) {
    const Surface released = loadSprite("picCont"), pressed = loadSprite("picContClick");
    ASSERT_EQ(released.pixels.size(), pressed.pixels.size());
    for (std::size_t i = 0; i < released.pixels.size(); ++i)
        ASSERT_EQ(pressed.pixels[i], released.pixels[i] == colour::yellow ? colour::white : colour::yellow)
            << "pixel " << i % 100 << "," << i / 100;
}

// ---- Program icon ------------------------------------------------------------------------------

std::uint32_t le32(const std::vector<unsigned char>& b, std::size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<std::uint32_t>(b[at + 3]) << 24);
}

TEST(Icon, Holds32And16PixelImagesOf16Colours) {
    const auto ico = readFile(kAssets / "quorvex.ico");
    ASSERT_GE(ico.size(), 6u + 2 * 16);
    EXPECT_EQ(ico[4] | (ico[5] << 8), 2);
    std::set<int> sizes;
    for (std::size_t entry = 6; entry < 6 + 2 * 16; entry += 16) {
        sizes.insert(ico[entry]);
        EXPECT_EQ(ico[entry + 6], 4);  // bits per pixel
        const std::uint32_t dib = le32(ico, entry + 12);
        ASSERT_LT(dib + 40 + 64, ico.size());
        EXPECT_EQ(ico[dib + 14], 4);
        for (std::size_t i = 0; i < 16; ++i) {
            const std::size_t p = dib + 40 + 4 * i;
            EXPECT_EQ(rt::rgb(ico[p + 2], ico[p + 1], ico[p]), rt::standardPalette16()[i]) << "index " << i;
        }
    }
    EXPECT_EQ(sizes, (std::set<int>{16, 32}));
    EXPECT_THROW(rt::decodeIcoImage(ico, 48), rt::FormatError);

    // The program hands both images to its back-end, largest first, with its name.
    const rt::ProgramIdentity identity = quorvex::programIdentity();
    EXPECT_EQ(identity.title, "Quorvex");
    EXPECT_EQ(identity.command, "quorvex");
    ASSERT_EQ(identity.icon.size(), 2u);
    EXPECT_EQ(identity.icon[0].image.pixels, rt::decodeIcoImage(ico, 32).image.pixels);
    EXPECT_EQ(identity.icon[1].opaque, rt::decodeIcoImage(ico, 16).opaque);
    const std::vector<unsigned char> truncated(ico.begin(), ico.end() - 10);
    EXPECT_THROW(rt::decodeIcoImage(truncated, 16), rt::FormatError);  // the 16 x 16 image is stored last
}

// Polar look-up on the icon: the pixel at `radius` (a fraction of the icon's radius) in the
// direction `degrees` (0 = right, 90 = up).
Pixel iconAt(const rt::IconImage& icon, double degrees, double radius) {
    const double r = icon.image.width / 2.0, a = degrees * 3.14159265358979 / 180.0;
    const int x = static_cast<int>(std::floor(r + radius * r * std::cos(a)));
    const int y = static_cast<int>(std::floor(r - radius * r * std::sin(a)));
    EXPECT_TRUE(icon.opaque[static_cast<std::size_t>(y) * icon.image.width + x]);
    return icon.image.at(x, y);
}

TEST(Icon, BlackDiscWithAYellowTrefoil) {
    const auto ico = readFile(kAssets / "quorvex.ico");
    for (int size : {32, 16}) {
        SCOPED_TRACE("size " + std::to_string(size));
        const auto icon = rt::decodeIcoImage(ico, size);
        ASSERT_EQ(icon.image.width, size);
        const double r = size / 2.0;
        int olive = 0;
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x) {
                const Pixel p = icon.image.at(x, y);
                const bool opaque = icon.opaque[static_cast<std::size_t>(y) * size + x];
                const double d = std::hypot(x + 0.5 - r, y + 0.5 - r);
                if (d > r + 0.75) {
                    EXPECT_FALSE(opaque) << x << "," << y;
                }
                if (d < r - 0.75) {
                    EXPECT_TRUE(opaque) << x << "," << y;
                }
                if (opaque && d > 0.9 * r) {
                    EXPECT_EQ(p, colour::black) << "rim " << x << "," << y;
                }
                if (opaque) {
                    EXPECT_TRUE(p == colour::black || p == colour::yellow || (size == 16 && p == colour::olive));
                }
                olive += opaque && p == colour::olive;
                EXPECT_EQ(p, icon.image.at(size - 1 - x, y)) << "mirror of " << x << "," << y;
            }
        if (size == 16) {
            EXPECT_TRUE(olive >= 2 && olive <= 16) << olive << " olive pixels";
        }
        // Blades down from the top and up from lower left and lower right; black between them.
        for (double axis : {90.0, 210.0, 330.0}) {
            EXPECT_EQ(iconAt(icon, axis, 0.6), colour::yellow) << "blade at " << axis;
            EXPECT_EQ(iconAt(icon, axis + 60, 0.6), colour::black) << "gap at " << axis + 60;
        }
    }
}

TEST(Icon, BladeTipsMeetNearTheCentre) {
    const auto icon = rt::decodeIcoImage(readFile(kAssets / "quorvex.ico"), 32);
    for (double axis : {90.0, 210.0, 330.0}) {
        double nearest = 99;
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x) {
                const double dx = x + 0.5 - 16, dy = 16 - (y + 0.5);
                const double angle = std::remainder(std::atan2(dy, dx) * 180 / 3.14159265358979 - axis, 360.0);
                if (icon.image.at(x, y) == colour::yellow && std::abs(angle) < 60)
                    nearest = std::min(nearest, std::hypot(dx, dy));
            }
        EXPECT_LT(nearest, 4.5) << "blade at " << axis;
    }
}

// The desktop PNG: a 32 x 32 RGBA image whose pixels are one zlib stream. That it shows the .ico's
// 32 x 32 image, alpha 0 outside the disc, is checked where a PNG decoder is at hand: by
// tests/tools/spritegen_reproduces_assets.sh.
TEST(Icon, DesktopPngIsThe32PixelIcon) {
    const auto png = readFile(kAssets / "quorvex.png");
    ASSERT_GT(png.size(), 33u);
    ASSERT_EQ(std::vector<unsigned char>(png.begin(), png.begin() + 8),
              (std::vector<unsigned char>{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'}));
    auto be32 = [&](std::size_t at) {
        return (static_cast<std::uint32_t>(png[at]) << 24) | (png[at + 1] << 16) | (png[at + 2] << 8) | png[at + 3];
    };
    std::vector<unsigned char> zlib;
    std::vector<std::string> types;
    for (std::size_t at = 8; at + 12 <= png.size();) {
        const std::uint32_t length = be32(at);
        const std::string type(png.begin() + static_cast<std::ptrdiff_t>(at + 4),
                               png.begin() + static_cast<std::ptrdiff_t>(at + 8));
        ASSERT_LE(at + 12 + length, png.size());
        types.push_back(type);
        if (type == "IHDR") {
            EXPECT_EQ(be32(at + 8), 32u);
            EXPECT_EQ(be32(at + 12), 32u);
            EXPECT_EQ(png[at + 16], 8);  // bits per channel
            EXPECT_EQ(png[at + 17], 6);  // RGBA
        }
        if (type == "IDAT")
            zlib.insert(zlib.end(), png.begin() + static_cast<std::ptrdiff_t>(at + 8),
                        png.begin() + static_cast<std::ptrdiff_t>(at + 8 + length));
        at += 12 + length;
    }
    EXPECT_EQ(types, (std::vector<std::string>{"IHDR", "IDAT", "IEND"}));
    ASSERT_GE(zlib.size(), 2u);
    EXPECT_EQ(zlib[0] & 0x0F, 8) << "not deflate";
    EXPECT_EQ((zlib[0] * 256 + zlib[1]) % 31, 0) << "a broken zlib header";
    EXPECT_LT(png.size(), 32u * 32 * 4) << "the pixels are not compressed";
}

}  // namespace
