// What the program file carries for the system: its icon and version data.
#include <gtest/gtest.h>

#include <elf.h>

#include <cstring>
#include <fstream>
#include <map>

#include "platform/Resources.h"

namespace {

unsigned U16(const unsigned char* P)
{
    return P[0] | P[1] << 8;
}
unsigned U32(const unsigned char* P)
{
    return U16(P) | U16(P + 2) << 16;
}

TEST(ProgramIcon, HoldsFiveDibImagesWithMasksLargestFirst)
{
    auto ico = FindEmbeddedFile("MAINICON.ico");
    ASSERT_GE(ico.size(), 6u);
    const unsigned char* d = ico.data();
    EXPECT_EQ(U16(d), 0u);
    EXPECT_EQ(U16(d + 2), 1u);  // an icon, not a cursor
    ASSERT_EQ(U16(d + 4), 5u);
    const unsigned sizes[] = {128, 64, 48, 32, 16};
    for (unsigned i = 0; i < 5; ++i) {
        SCOPED_TRACE(sizes[i]);
        const unsigned char* e = d + 6 + 16 * i;
        EXPECT_EQ(e[0], sizes[i]);
        EXPECT_EQ(e[1], sizes[i]);
        EXPECT_EQ(U16(e + 6), 32u);  // bits per pixel
        const unsigned bytes = U32(e + 8), offset = U32(e + 12);
        ASSERT_LE(offset + bytes, ico.size());
        const unsigned char* img = d + offset;
        EXPECT_NE(std::memcmp(img, "\x89PNG", 4), 0) << "PNG-compressed";
        EXPECT_EQ(U32(img), 40u);               // BITMAPINFOHEADER
        EXPECT_EQ(U32(img + 4), sizes[i]);      // width
        EXPECT_EQ(U32(img + 8), 2 * sizes[i]);  // colour and mask
        EXPECT_EQ(U16(img + 14), 32u);
        EXPECT_EQ(U32(img + 16), 0u);  // uncompressed
        const unsigned maskStride = (sizes[i] + 31) / 32 * 4;
        EXPECT_EQ(bytes, 40 + sizes[i] * sizes[i] * 4 + maskStride * sizes[i]);
        // Transparent corners, an opaque blue middle; the mask agrees.
        const unsigned char* pixels = img + 40;
        const unsigned char* mask = pixels + sizes[i] * sizes[i] * 4;
        EXPECT_EQ(pixels[3], 0);
        EXPECT_TRUE(mask[0] & 0x80);
        const unsigned char* middle = pixels + ((sizes[i] * 6 / 10) * sizes[i] + sizes[i] / 2) * 4;
        EXPECT_EQ(middle[3], 255);
        EXPECT_GT(middle[0], middle[2]) << "not blue";  // BGRA
    }
}

// The version note, as readelf -n finds it in the built program.
std::vector<unsigned char> VersionNote()
{
    std::ifstream in(PROGRAM, std::ios::binary);
    std::vector<unsigned char> file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (file.size() < sizeof(Elf64_Ehdr))
        return {};
    Elf64_Ehdr eh;
    std::memcpy(&eh, file.data(), sizeof eh);
    for (unsigned i = 0; i < eh.e_shnum; ++i) {
        Elf64_Shdr sh;
        std::memcpy(&sh, file.data() + eh.e_shoff + i * eh.e_shentsize, sizeof sh);
        if (sh.sh_type != SHT_NOTE)
            continue;
        for (size_t at = sh.sh_offset; at + 12 <= sh.sh_offset + sh.sh_size;) {
            const unsigned namesz = U32(&file[at]), descsz = U32(&file[at + 4]), type = U32(&file[at + 8]);
            const size_t desc = at + 12 + ((namesz + 3) & ~3u);
            if (type == 1 && namesz == 7 && std::memcmp(&file[at + 12], "Rurive", 7) == 0)
                return {file.begin() + desc, file.begin() + desc + descsz};
            at = desc + ((descsz + 3) & ~3u);
        }
    }
    return {};
}

TEST(VersionNote, CarriesTheVersionBlock)
{
    const std::vector<unsigned char> d = VersionNote();
    ASSERT_GE(d.size(), 40u) << "no version note in " << PROGRAM;
    const unsigned char* p = d.data();
    EXPECT_EQ((std::vector<unsigned>{U16(p), U16(p + 2), U16(p + 4), U16(p + 6)}),
              (std::vector<unsigned>{3, 0, 2, 0}));
    EXPECT_EQ((std::vector<unsigned>{U16(p + 8), U16(p + 10), U16(p + 12), U16(p + 14)}),
              (std::vector<unsigned>{3, 0, 2, 0}));
    EXPECT_EQ(U32(p + 16), 0x3Fu);  // flags mask
    EXPECT_EQ(U32(p + 20), 0u);     // no debug, pre-release, patched or special build
    EXPECT_EQ(U32(p + 24), 0x4u);
    EXPECT_EQ(U32(p + 28), 1u);  // application
    EXPECT_EQ(U32(p + 32), 0u);
    EXPECT_EQ(U16(p + 36), 0x0804u);
    EXPECT_EQ(U16(p + 38), 0x03A8u);

    std::vector<std::pair<std::string, std::string>> strings;
    const char* s = reinterpret_cast<const char*>(p + 40);
    const char* end = reinterpret_cast<const char*>(p + d.size());
    while (s < end && *s) {
        std::string key = s;
        s += key.size() + 1;
        std::string value = s;
        s += value.size() + 1;
        strings.emplace_back(key, value);
    }
    EXPECT_EQ(strings, (std::vector<std::pair<std::string, std::string>>{
                           {"CompanyName", ""},
                           {"FileDescription", "Rurive电台儿歌播放程序"},
                           {"FileVersion", "3.0.2.0"},
                           {"InternalName", ""},
                           {"LegalCopyright", ""},
                           {"LegalTrademarks", ""},
                           {"OriginalFilename", ""},
                           {"ProductName", ""},
                           {"ProductVersion", "1.0.0.0"},
                           {"Comments", ""},
                       }));
}

}  // namespace
