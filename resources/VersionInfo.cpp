// The program file's version data, as an ELF note that tools read without
// running the program (readelf -n shows it). Layout, all little-endian:
//
//   note header   namesz = 7, descsz, type = 1; name "Rurive\0", padded to 4
//   desc          u16 file version[4], u16 product version[4],
//                 u32 flags mask, u32 flags, u32 operating system,
//                 u32 file type, u32 file subtype,
//                 u16 language, u16 code page,
//                 then the string table: key NUL value NUL pairs (UTF-8),
//                 ended by an empty key, padded with NULs to 4 bytes
#include <array>
#include <cstddef>
#include <cstdint>

namespace {

template <std::size_t N>
constexpr auto PaddedToFour(const char (&Text)[N])
{
    std::array<char, (N + 3) & ~std::size_t{3}> padded{};
    for (std::size_t i = 0; i < N; ++i)
        padded[i] = Text[i];
    return padded;
}

// String table "080403A8": Chinese (PRC), code page 936.
constexpr char kStrings[] =
    "CompanyName\0" "\0"
    "FileDescription\0" "Rurive电台儿歌播放程序\0"
    "FileVersion\0" "3.0.2.0\0"
    "InternalName\0" "\0"
    "LegalCopyright\0" "\0"
    "LegalTrademarks\0" "\0"
    "OriginalFilename\0" "\0"
    "ProductName\0" "\0"
    "ProductVersion\0" "1.0.0.0\0"
    "Comments\0" "\0"
    "";  // the empty key that ends the table

struct Desc {
    std::uint16_t FileVersion[4];
    std::uint16_t ProductVersion[4];
    std::uint32_t FlagsMask, Flags, OperatingSystem, FileType, FileSubtype;
    std::uint16_t Language, CodePage;
    decltype(PaddedToFour(kStrings)) Strings;
};

struct Note {
    std::uint32_t NameSize, DescSize, Type;
    char Name[8];
    Desc Description;
};

[[gnu::used, gnu::section(".note.rurive.version")]] alignas(4) const Note kVersionNote = {
    7, sizeof(Desc), 1, "Rurive",
    {{3, 0, 2, 0}, {3, 0, 2, 0}, 0x3F, 0, 0x4, 1, 0, 0x0804, 0x03A8, PaddedToFour(kStrings)},
};

}  // namespace
