// The glyph files: Windows bitmaps of the sizes and pixel formats the
// buttons were drawn for, with a white bottom-left pixel.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/Resources.h"

namespace {

std::uint32_t U32(std::span<const unsigned char> D, size_t At)
{
    return D[At] | D[At + 1] << 8 | D[At + 2] << 16 | static_cast<std::uint32_t>(D[At + 3]) << 24;
}
std::uint16_t U16(std::span<const unsigned char> D, size_t At)
{
    return static_cast<std::uint16_t>(D[At] | D[At + 1] << 8);
}

struct GlyphCase {
    const char* File;
    int Width, Height, Bits;
};

class Glyph : public testing::TestWithParam<GlyphCase> {};

TEST_P(Glyph, IsADeviceIndependentBitmapOfItsSizeAndFormat)
{
    const GlyphCase& c = GetParam();
    auto d = FindEmbeddedFile(c.File);
    ASSERT_GE(d.size(), 54u);
    EXPECT_EQ(std::memcmp(d.data(), "BM", 2), 0);
    EXPECT_EQ(U32(d, 2), d.size());
    EXPECT_EQ(U32(d, 14), 40u);  // BITMAPINFOHEADER
    EXPECT_EQ(static_cast<int>(U32(d, 18)), c.Width);
    EXPECT_EQ(static_cast<int>(U32(d, 22)), c.Height);  // positive: bottom-up
    EXPECT_EQ(U16(d, 28), c.Bits);
    const std::uint32_t offset = U32(d, 10);
    if (c.Bits == 16) {
        EXPECT_EQ(U32(d, 30), 3u);  // BI_BITFIELDS
        EXPECT_EQ(U32(d, 54), 0x7C00u);
        EXPECT_EQ(U32(d, 58), 0x03E0u);
        EXPECT_EQ(U32(d, 62), 0x001Fu);
        EXPECT_EQ(U16(d, offset), 0x7FFF) << "bottom-left pixel not white";
    } else {
        EXPECT_EQ(U32(d, 30), 0u);  // BI_RGB
        EXPECT_EQ(d[offset], 255);
        EXPECT_EQ(d[offset + 1], 255);
        EXPECT_EQ(d[offset + 2], 255);
    }
    const size_t stride = (c.Width * c.Bits / 8 + 3) & ~size_t{3};
    EXPECT_EQ(d.size(), offset + stride * c.Height);
}

INSTANTIATE_TEST_SUITE_P(Files, Glyph,
                         testing::Values(GlyphCase{"glyph-eyes.bmp", 18, 16, 24},
                                         GlyphCase{"glyph-tao.bmp", 18, 16, 24},
                                         GlyphCase{"glyph-shang.bmp", 17, 17, 24},
                                         GlyphCase{"glyph-check.bmp", 24, 16, 16}));

}  // namespace
