#include "Resources.h"

#include <string>

#include "Classes.h"

std::span<const unsigned char> FindEmbeddedFile(std::string_view Name)
{
    for (const TEmbeddedFile& f : EmbeddedFiles())
        if (Name == f.Name)
            return {f.Data, f.Size};
    throw EReadError("Resource " + std::string(Name) + " not found");
}
