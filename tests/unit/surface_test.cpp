#include <gtest/gtest.h>

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
