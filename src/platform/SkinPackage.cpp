#include "SkinPackage.h"

#include <zlib.h>

#include <charconv>
#include <cstdint>
#include <sstream>

namespace {

constexpr std::size_t kHeaderSize = 12;
// A skin is a few dozen kilobytes; anything claiming more is damaged.
constexpr std::uint32_t kMaxPayload = 16u << 20;

std::uint32_t Read(std::span<const unsigned char> D, std::size_t At, int Bytes)
{
    std::uint32_t v = 0;
    for (int i = Bytes - 1; i >= 0; --i)
        v = v << 8 | D[At + i];
    return v;
}

std::vector<unsigned char> Inflate(std::span<const unsigned char> Compressed, std::uint32_t Size)
{
    std::vector<unsigned char> out(Size);
    uLongf length = Size;
    if (Size == 0 || uncompress(out.data(), &length, Compressed.data(), Compressed.size()) != Z_OK ||
        length != Size)
        throw ESkinError("The stored skin's data is damaged");
    return out;
}

std::string Trim(std::string S)
{
    const auto first = S.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return "";
    return S.substr(first, S.find_last_not_of(" \t\r") - first + 1);
}

class Settings {
public:
    explicit Settings(const std::string& Text) : sections_(ParseSettings(Text)) {}

    std::string Text(const std::string& Section, const std::string& Key) const
    {
        auto s = sections_.find(Section);
        if (s != sections_.end())
            if (auto k = s->second.find(Key); k != s->second.end() && !k->second.empty())
                return k->second;
        throw ESkinError("The skin has no setting " + Section + "." + Key);
    }

    int Int(const std::string& Section, const std::string& Key, int Min, int Max) const
    {
        const std::string t = Text(Section, Key);
        int v = 0;
        auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), v);
        if (ec != std::errc() || end != t.data() + t.size() || v < Min || v > Max)
            throw ESkinError("The skin's setting " + Section + "." + Key + " is not a number from " +
                             std::to_string(Min) + " to " + std::to_string(Max));
        return v;
    }

    TSkinColor Color(const std::string& Section, const std::string& Key) const
    {
        std::istringstream in(Text(Section, Key));
        int c[3];
        char comma1 = 0, comma2 = 0;
        if (!(in >> c[0] >> comma1 >> c[1] >> comma2 >> c[2]) || comma1 != ',' || comma2 != ',' || !in.eof())
            throw ESkinError("The skin's colour " + Section + "." + Key + " is not red,green,blue");
        for (int v : c)
            if (v < 0 || v > 255)
                throw ESkinError("The skin's colour " + Section + "." + Key + " is out of range");
        return {static_cast<unsigned char>(c[0]), static_cast<unsigned char>(c[1]), static_cast<unsigned char>(c[2])};
    }

private:
    std::map<std::string, std::map<std::string, std::string>> sections_;
};

TSkinLook ReadLook(const Settings& S)
{
    TSkinLook l;
    l.TitleHeight = S.Int("Title", "Height", 1, 200);
    l.TitleImage = S.Text("Title", "Image");
    l.TitleShadow = S.Color("Title", "ActiveShadow");
    l.ActiveTitleText = S.Color("Title", "ActiveText");
    l.InactiveTitleText = S.Color("Title", "InactiveText");
    l.TitleTextLeft = S.Int("Title", "TextLeft", 0, 1000);
    l.TitleIconLeft = S.Int("Title", "IconLeft", 0, 1000);
    l.CloseOffset = S.Int("CaptionButtons", "Close", 0, 1000);
    l.MaximizeOffset = S.Int("CaptionButtons", "Maximize", 0, 1000);
    l.MinimizeOffset = S.Int("CaptionButtons", "Minimize", 0, 1000);
    l.CaptionTop = S.Int("CaptionButtons", "Top", 0, 200);
    l.CaptionWidth = S.Int("CaptionButtons", "Width", 1, 200);
    l.CaptionHeight = S.Int("CaptionButtons", "Height", 1, 200);
    l.CloseImage = S.Text("CaptionButtons", "CloseImage");
    l.MaximizeImage = S.Text("CaptionButtons", "MaximizeImage");
    l.RestoreImage = S.Text("CaptionButtons", "RestoreImage");
    l.MinimizeImage = S.Text("CaptionButtons", "MinimizeImage");
    l.FrameLeft = S.Int("Frame", "Left", 0, 100);
    l.FrameRight = S.Int("Frame", "Right", 0, 100);
    l.FrameBottom = S.Int("Frame", "Bottom", 0, 100);
    l.FrameLeftImage = S.Text("Frame", "LeftImage");
    l.FrameRightImage = S.Text("Frame", "RightImage");
    l.FrameBottomImage = S.Text("Frame", "BottomImage");
    l.ButtonImage = S.Text("Button", "Image");
    l.ButtonStates = S.Int("Button", "States", 1, 16);
    l.ButtonTop = S.Int("Button", "Top", 0, 100);
    l.ButtonBottom = S.Int("Button", "Bottom", 0, 100);
    l.ButtonLeft = S.Int("Button", "Left", 0, 100);
    l.ButtonRight = S.Int("Button", "Right", 0, 100);
    l.BtnFace = S.Color("Colors", "BtnFace");
    l.Window = S.Color("Colors", "Window");
    l.ActiveTitle = S.Color("Colors", "ActiveTitle");
    l.InactiveTitle = S.Color("Colors", "InactiveTitle");
    l.Highlight = S.Color("Colors", "Highlight");
    l.BtnShadow = S.Color("Colors", "BtnShadow");
    l.BtnHighlight = S.Color("Colors", "BtnHighlight");
    l.GrayText = S.Color("Colors", "GrayText");
    l.FontName = S.Text("Font", "Name");
    l.FontHeight = S.Int("Font", "Height", 1, 200);
    return l;
}

}  // namespace

std::map<std::string, std::map<std::string, std::string>> ParseSettings(const std::string& Text)
{
    std::map<std::string, std::map<std::string, std::string>> sections;
    std::string section;
    std::istringstream in(Text);
    int number = 0;
    for (std::string line; std::getline(in, line);) {
        ++number;
        line = Trim(line);
        if (line.empty() || line[0] == ';')
            continue;
        if (line.front() == '[') {
            if (line.back() != ']')
                throw ESkinError("The skin's settings are damaged at line " + std::to_string(number));
            section = Trim(line.substr(1, line.size() - 2));
            continue;
        }
        const auto eq = line.find('=');
        if (eq == std::string::npos || section.empty())
            throw ESkinError("The skin's settings are damaged at line " + std::to_string(number));
        sections[section][Trim(line.substr(0, eq))] = Trim(line.substr(eq + 1));
    }
    return sections;
}

const std::vector<unsigned char>& TSkinPackage::File(const std::string& Name) const
{
    auto it = Files.find(Name);
    if (it == Files.end())
        throw ESkinError("The skin has no file " + Name);
    return it->second;
}

TSkinPackage UnpackSkin(std::span<const unsigned char> Stored)
{
    if (Stored.size() < kHeaderSize || Stored[0] != 'R' || Stored[1] != 'S' || Stored[2] != 'K' || Stored[3] != 'N')
        throw ESkinError("The stored skin is not a skin");
    if (Read(Stored, 4, 2) != kSkinFormatVersion)
        throw ESkinVersionError("This is Older Skin File\nPlease update to new version !");
    const std::uint32_t size = Read(Stored, 8, 4);
    if (size > kMaxPayload)
        throw ESkinError("The stored skin's data is damaged");
    const std::vector<unsigned char> payload = Inflate(Stored.subspan(kHeaderSize), size);

    TSkinPackage package;
    const std::span<const unsigned char> p(payload);
    for (std::size_t at = 0; at < p.size();) {
        if (p.size() - at < 2)
            throw ESkinError("The stored skin's file list is damaged");
        const std::size_t nameLength = Read(p, at, 2);
        if (p.size() - at - 2 < nameLength + 4 || nameLength == 0)
            throw ESkinError("The stored skin's file list is damaged");
        std::string name(reinterpret_cast<const char*>(p.data() + at + 2), nameLength);
        const std::size_t length = Read(p, at + 2 + nameLength, 4);
        const std::size_t data = at + 2 + nameLength + 4;
        if (p.size() - data < length)
            throw ESkinError("The stored skin's file list is damaged");
        package.Files[name].assign(p.begin() + data, p.begin() + data + length);
        at = data + length;
    }
    const auto& ini = package.File("skin.ini");
    package.Look = ReadLook(Settings(std::string(ini.begin(), ini.end())));
    for (const std::string* image :
         {&package.Look.TitleImage, &package.Look.CloseImage, &package.Look.MaximizeImage,
          &package.Look.RestoreImage, &package.Look.MinimizeImage, &package.Look.FrameLeftImage,
          &package.Look.FrameRightImage, &package.Look.FrameBottomImage, &package.Look.ButtonImage})
        package.File(*image);
    return package;
}
