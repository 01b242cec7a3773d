// Files embedded in the program at build time.
#pragma once

#include <span>
#include <string_view>

struct TEmbeddedFile {
    const char* Name;
    const unsigned char* Data;
    std::size_t Size;
};

// Every embedded file; the build generates its definition.
std::span<const TEmbeddedFile> EmbeddedFiles();

// The embedded file named Name; throws EReadError when there is none.
std::span<const unsigned char> FindEmbeddedFile(std::string_view Name);
