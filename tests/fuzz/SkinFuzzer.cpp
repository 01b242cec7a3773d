// libFuzzer target: no byte sequence may crash the skin unpacker.
#include <cstddef>
#include <cstdint>

#include "platform/SkinPackage.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size)
{
    try {
        UnpackSkin({Data, Size});
    } catch (const ESkinError&) {
    }
    return 0;
}
