#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <utility>

#include "runtime/surface.h"

namespace {

using rt::Surface;

TEST(Blit, CopyAndOrAndOnMixedColours) {
    Surface dst(2, 1), src(2, 1);
    dst.at(0, 0) = 0x00F0F0F0u;
    dst.at(1, 0) = 0x00123456u;
    src.at(0, 0) = 0x000F00FFu;
    src.at(1, 0) = 0x00FF0000u;
    Surface d = dst;
    ASSERT_TRUE(rt::blit(d, 0, 0, 2, 1, src, 0, 0, rt::SRCAND));
    EXPECT_EQ(d.at(0, 0), 0x000000F0u);
    EXPECT_EQ(d.at(1, 0), 0x00120000u);
    d = dst;
    ASSERT_TRUE(rt::blit(d, 0, 0, 2, 1, src, 0, 0, rt::SRCPAINT));
    EXPECT_EQ(d.at(0, 0), 0x00FFF0FFu);
    EXPECT_EQ(d.at(1, 0), 0x00FF3456u);
    d = dst;
    ASSERT_TRUE(rt::blit(d, 0, 0, 2, 1, src, 0, 0, rt::SRCCOPY));
    EXPECT_EQ(d.pixels, src.pixels);
}

}  // namespace

namespace {

using rt::Pixel;

// Every pixel different, so that a misplaced copy shows.
Surface numbered(int w, int h, Pixel base) {
    Surface s(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) s.at(x, y) = base + static_cast<Pixel>(y * 16 + x);
    return s;
}

Pixel apply(std::int32_t rop, Pixel d, Pixel s) {
    if (rop == rt::SRCAND) return d & s;
    if (rop == rt::SRCPAINT) return d | s;
    return s;
}

// The blit's contract, pixel by pixel: a pixel is written only when both its destination and its
// source lie inside their surfaces.
Surface expectedBlit(Surface dst, int x, int y, int w, int h, const Surface& src, int sx, int sy, std::int32_t rop) {
    const Surface before = dst;
    for (int j = 0; j < h; ++j)
        for (int i = 0; i < w; ++i) {
            const int dx = x + i, dy = y + j, ssx = sx + i, ssy = sy + j;
            if (dx < 0 || dy < 0 || dx >= dst.width || dy >= dst.height) continue;
            if (ssx < 0 || ssy < 0 || ssx >= src.width || ssy >= src.height) continue;
            dst.at(dx, dy) = apply(rop, before.at(dx, dy), src.at(ssx, ssy));
        }
    return dst;
}

TEST(Blit, MaskThenSpriteKeepsTheBackgroundAroundTheSprite) {
    // A mask is white where the sprite is transparent and black where it is drawn; the sprite is
    // black where it is transparent.
    Surface back(3, 1);
    back.at(0, 0) = 0x00808000u;
    back.at(1, 0) = 0x00C0C0C0u;
    back.at(2, 0) = 0x00123456u;
    Surface mask(3, 1), sprite(3, 1);
    mask.at(0, 0) = 0x00FFFFFFu;
    sprite.at(0, 0) = 0;
    mask.at(1, 0) = 0;
    sprite.at(1, 0) = 0x0000FF00u;
    mask.at(2, 0) = 0x00FFFFFFu;
    sprite.at(2, 0) = 0;
    ASSERT_TRUE(rt::blit(back, 0, 0, 3, 1, mask, 0, 0, rt::SRCAND));
    ASSERT_TRUE(rt::blit(back, 0, 0, 3, 1, sprite, 0, 0, rt::SRCPAINT));
    EXPECT_EQ(back.at(0, 0), 0x00808000u);
    EXPECT_EQ(back.at(1, 0), 0x0000FF00u);
    EXPECT_EQ(back.at(2, 0), 0x00123456u);
}

TEST(Blit, UnknownOperationCopiesNothing) {
    Surface dst = numbered(4, 4, 0x100), src = numbered(4, 4, 0x900);
    const Surface before = dst;
    EXPECT_FALSE(rt::blit(dst, 0, 0, 4, 4, src, 0, 0, 0x00660046));  // an XOR, which the system never uses
    EXPECT_EQ(dst.pixels, before.pixels);
}

TEST(Blit, ClipsAtEveryEdgeOfDestinationAndSource) {
    const Surface src = numbered(3, 4, 0x00AB0000u);
    const Surface dst0 = numbered(5, 4, 0x00005500u);
    for (const std::int32_t rop : {rt::SRCCOPY, rt::SRCAND, rt::SRCPAINT})
        for (int x = -4; x <= 6; ++x)
            for (int sx = -4; sx <= 4; ++sx)
                for (int w = -1; w <= 8; ++w)
                    for (const int y : {-3, 0, 1, 3, 5})
                        for (const int sy : {-5, -1, 0, 2, 4})
                            for (const int h : {0, 1, 3, 7}) {
                                Surface dst = dst0;
                                rt::blit(dst, x, y, w, h, src, sx, sy, rop);
                                const Surface want = expectedBlit(dst0, x, y, w, h, src, sx, sy, rop);
                                ASSERT_EQ(dst.pixels, want.pixels)
                                    << "rop " << rop << " at " << x << "," << y << " size " << w << "x" << h << " from "
                                    << sx << "," << sy;
                            }
}

TEST(Blit, NamedEdgeCases) {
    const Surface src = numbered(4, 4, 0x00AB0000u);
    const Surface dst0(6, 6, 0x00FFFFFFu);

    // Negative destination: the rectangle's hidden part is skipped in the source too.
    Surface d = dst0;
    rt::blit(d, -2, -1, 4, 4, src, 0, 0, rt::SRCCOPY);
    EXPECT_EQ(d.at(0, 0), src.at(2, 1));
    EXPECT_EQ(d.at(1, 2), src.at(3, 3));
    EXPECT_EQ(d.at(2, 0), 0x00FFFFFFu);
    EXPECT_EQ(d.at(0, 3), 0x00FFFFFFu);

    // Right and bottom overflow of the destination.
    d = dst0;
    rt::blit(d, 4, 5, 4, 4, src, 0, 0, rt::SRCCOPY);
    EXPECT_EQ(d.at(4, 5), src.at(0, 0));
    EXPECT_EQ(d.at(5, 5), src.at(1, 0));
    EXPECT_EQ(d.at(3, 5), 0x00FFFFFFu);

    // Negative source offsets: the destination moves along with them.
    d = dst0;
    rt::blit(d, 1, 1, 4, 4, src, -1, -2, rt::SRCCOPY);
    EXPECT_EQ(d.at(1, 1), 0x00FFFFFFu);
    EXPECT_EQ(d.at(2, 3), src.at(0, 0));
    EXPECT_EQ(d.at(4, 4), src.at(2, 1));

    // A source rectangle wholly beyond the source copies nothing.
    d = dst0;
    EXPECT_TRUE(rt::blit(d, 0, 0, 4, 4, src, 4, 0, rt::SRCCOPY));
    EXPECT_TRUE(rt::blit(d, 0, 0, 4, 4, src, 0, 9, rt::SRCCOPY));
    EXPECT_EQ(d.pixels, dst0.pixels);

    // Zero and negative sizes copy nothing.
    for (const auto& [w, h] : {std::pair{0, 4}, std::pair{4, 0}, std::pair{-3, 4}, std::pair{4, -1}}) {
        d = dst0;
        rt::blit(d, 0, 0, w, h, src, 0, 0, rt::SRCCOPY);
        EXPECT_EQ(d.pixels, dst0.pixels) << w << "x" << h;
    }
}

TEST(Blit, ExtremeCoordinatesNeitherCrashNorWrap) {
    const Surface src = numbered(4, 4, 0x00AB0000u);
    const Surface dst0(6, 6, 0x00FFFFFFu);
    constexpr int kMax = std::numeric_limits<int>::max(), kMin = std::numeric_limits<int>::min();
    Surface d = dst0;
    rt::blit(d, kMax, 0, kMax, 4, src, 0, 0, rt::SRCCOPY);
    rt::blit(d, kMin, kMin, kMax, kMax, src, 0, 0, rt::SRCCOPY);
    rt::blit(d, 0, 0, kMax, kMax, src, kMin, kMin, rt::SRCCOPY);
    rt::blit(d, 0, 0, kMax, kMax, src, kMax, 0, rt::SRCCOPY);
    EXPECT_EQ(d.pixels, dst0.pixels);
    // A huge size is cut down to what both surfaces hold.
    rt::blit(d, -1, -1, kMax, kMax, src, 0, 0, rt::SRCCOPY);
    EXPECT_EQ(d.at(0, 0), src.at(1, 1));
    EXPECT_EQ(d.at(2, 2), src.at(3, 3));
    EXPECT_EQ(d.at(3, 3), 0x00FFFFFFu);
}

TEST(Blit, OverlappingCopyWithinOneSurfaceReadsTheOriginal) {
    Surface s = numbered(5, 2, 0x100);
    const Surface before = s;
    rt::blit(s, 1, 0, 4, 2, s, 0, 0, rt::SRCCOPY);
    for (int y = 0; y < 2; ++y) {
        EXPECT_EQ(s.at(0, y), before.at(0, y));
        for (int x = 1; x < 5; ++x) EXPECT_EQ(s.at(x, y), before.at(x - 1, y)) << x << "," << y;
    }
}

TEST(SurfaceTable, RemovedHandleStaysInvalidAndIsNeverReused) {
    rt::SurfaceTable table;
    Surface a(1, 1), b(1, 1);
    const rt::Handle ha = table.add(&a);
    const rt::Handle hb = table.add(&b);
    EXPECT_NE(ha, 0);
    EXPECT_NE(ha, hb);
    EXPECT_EQ(table.find(ha), &a);
    table.remove(ha);
    EXPECT_EQ(table.find(ha), nullptr);
    EXPECT_EQ(table.find(hb), &b);
    const rt::Handle hc = table.add(&a);
    EXPECT_NE(hc, ha);
    EXPECT_EQ(table.find(ha), nullptr);
    EXPECT_EQ(table.find(0), nullptr);
    table.remove(12345);  // an unknown handle: nothing happens
    EXPECT_EQ(table.find(hb), &b);
}

}  // namespace

// Filling takes a memset path for colours whose bytes are alike and an element loop for the rest;
// every size must come out whole.
TEST(SurfaceFill, EveryPixelTakesTheColourWhateverTheSize) {
    const rt::Pixel colours[] = {rt::colour::black, rt::colour::white, rt::colour::olive, rt::rgb(1, 2, 3)};
    const std::pair<int, int> sizes[] = {{1, 1}, {7, 3}, {16, 16}, {257, 1}, {600, 500}, {513, 3}};
    for (const auto& [w, h] : sizes) {
        for (const rt::Pixel c : colours) {
            rt::Surface s(w, h, rt::rgb(9, 9, 9));
            s.fill(c);
            const auto wrong = std::count_if(s.pixels.begin(), s.pixels.end(), [&](rt::Pixel p) { return p != c; });
            EXPECT_EQ(wrong, 0) << w << "x" << h << " colour " << std::hex << c;
        }
    }
    rt::Surface empty;
    empty.fill(rt::colour::red);  // no pixels: nothing to do, nothing touched
    EXPECT_TRUE(empty.pixels.empty());
}
