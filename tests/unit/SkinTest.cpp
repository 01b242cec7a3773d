// The stored skin: unpacking it, its failures, and the component that
// applies it.
#include <gtest/gtest.h>

#include "ParamName.h"
#include <zlib.h>

#include <filesystem>
#include <fstream>

#include "Unit1.h"
#include "platform/Application.h"
#include "platform/FormLoader.h"
#include "platform/Resources.h"
#include "platform/Skin.h"
#include "platform/SkinPackage.h"
#include "platform/dummy/Dummy.h"

namespace {

std::vector<unsigned char> Stored()
{
    auto s = FindEmbeddedFile("skin.rskn");
    return {s.begin(), s.end()};
}

// A package of Files, with the given header fields.
std::vector<unsigned char> Pack(const std::map<std::string, std::string>& Files, unsigned Version = 1)
{
    std::string payload;
    for (const auto& [name, data] : Files) {
        payload += static_cast<char>(name.size() & 0xFF);
        payload += static_cast<char>(name.size() >> 8);
        payload += name;
        for (int i = 0; i < 4; ++i)
            payload += static_cast<char>((data.size() >> (8 * i)) & 0xFF);
        payload += data;
    }
    uLongf length = compressBound(payload.size());
    std::vector<unsigned char> z(length);
    compress(z.data(), &length, reinterpret_cast<const Bytef*>(payload.data()), payload.size());
    std::vector<unsigned char> out = {'R', 'S', 'K', 'N', static_cast<unsigned char>(Version), 0, 0, 0};
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<unsigned char>((payload.size() >> (8 * i)) & 0xFF));
    out.insert(out.end(), z.begin(), z.begin() + length);
    return out;
}

std::map<std::string, std::string> Files()
{
    const TSkinPackage p = UnpackSkin(Stored());
    std::map<std::string, std::string> files;
    for (const auto& [name, data] : p.Files)
        files[name] = std::string(data.begin(), data.end());
    return files;
}

TEST(SkinPackage, StoredSkinGivesTheLookOfTheWindow)
{
    const TSkinLook l = UnpackSkin(Stored()).Look;
    EXPECT_EQ(l.TitleHeight, 30);
    EXPECT_EQ((std::tuple{l.TitleShadow.R, l.TitleShadow.G, l.TitleShadow.B}), (std::tuple{179, 179, 179}));
    EXPECT_EQ((std::tuple{l.CloseOffset, l.MaximizeOffset, l.MinimizeOffset, l.CaptionTop}), (std::tuple{30, 56, 82, 8}));
    EXPECT_EQ((std::tuple{l.CaptionWidth, l.CaptionHeight}), (std::tuple{20, 15}));
    EXPECT_EQ((std::tuple{l.FrameLeft, l.FrameRight, l.FrameBottom}), (std::tuple{8, 8, 4}));
    EXPECT_EQ((std::tuple{l.ButtonStates, l.ButtonTop, l.ButtonBottom, l.ButtonLeft, l.ButtonRight}),
              (std::tuple{5, 11, 11, 16, 18}));
    auto rgb = [](TSkinColor c) { return std::tuple{int(c.R), int(c.G), int(c.B)}; };
    EXPECT_EQ(rgb(l.BtnFace), (std::tuple{238, 233, 213}));
    EXPECT_EQ(rgb(l.Window), (std::tuple{250, 246, 234}));
    EXPECT_EQ(rgb(l.ActiveTitle), (std::tuple{0, 74, 128}));
    EXPECT_EQ(rgb(l.InactiveTitle), (std::tuple{133, 174, 194}));
    EXPECT_EQ(rgb(l.Highlight), (std::tuple{133, 174, 194}));
    EXPECT_EQ(rgb(l.BtnShadow), (std::tuple{192, 192, 192}));
    EXPECT_EQ(rgb(l.BtnHighlight), (std::tuple{255, 255, 255}));
    EXPECT_EQ(rgb(l.GrayText), (std::tuple{128, 128, 128}));
    EXPECT_EQ(l.FontName, "Tahoma");
    EXPECT_EQ(l.FontHeight, 12);
}

struct Damage {
    const char* What;
    std::function<std::vector<unsigned char>()> Make;
    bool Version;  // fails as another format version
};

class DamagedSkin : public testing::TestWithParam<Damage> {};

TEST_P(DamagedSkin, IsRefused)
{
    const std::vector<unsigned char> bad = GetParam().Make();
    if (GetParam().Version)
        EXPECT_THROW(UnpackSkin(bad), ESkinVersionError);
    else
        try {
            UnpackSkin(bad);
            FAIL() << "accepted";
        } catch (const ESkinVersionError&) {
            FAIL() << "taken for another version";
        } catch (const ESkinError&) {
        }
}

std::vector<unsigned char> Without(const std::string& Name)
{
    auto f = Files();
    f.erase(Name);
    return Pack(f);
}

std::vector<unsigned char> WithSetting(const std::string& From, const std::string& To)
{
    auto f = Files();
    auto& ini = f["skin.ini"];
    ini.replace(ini.find(From), From.size(), To);
    return Pack(f);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DamagedSkin,
    testing::Values(
        Damage{"empty", [] { return std::vector<unsigned char>{}; }, false},
        Damage{"truncated header", [] { auto s = Stored(); s.resize(7); return s; }, false},
        Damage{"truncated data", [] { auto s = Stored(); s.resize(s.size() / 2); return s; }, false},
        Damage{"wrong magic", [] { auto s = Stored(); s[0] = 'X'; return s; }, false},
        Damage{"older version", [] { return Pack(Files(), 0); }, true},
        Damage{"newer version", [] { return Pack(Files(), 2); }, true},
        Damage{"corrupt compressed data", [] { auto s = Stored(); for (size_t i = 14; i < s.size(); i += 7) s[i] ^= 0x5A; return s; }, false},
        Damage{"size that lies", [] { auto s = Stored(); s[8] ^= 1; return s; }, false},
        Damage{"huge size", [] { auto s = Stored(); s[11] = 0x7F; return s; }, false},
        Damage{"no settings", [] { return Without("skin.ini"); }, false},
        Damage{"missing image", [] { return Without("button.png"); }, false},
        Damage{"missing setting", [] { return WithSetting("Height=30", "Hight=30"); }, false},
        Damage{"bad colour", [] { return WithSetting("BtnFace=238,233,213", "BtnFace=238;233;213"); }, false},
        Damage{"colour out of range", [] { return WithSetting("BtnFace=238,233,213", "BtnFace=238,233,313"); }, false},
        Damage{"bad number", [] { return WithSetting("Left=8", "Left=eight"); }, false},
        Damage{"broken section", [] { return WithSetting("[Frame]", "[Frame"); }, false}),
    CaseName<Damage>);

// Inputs the fuzzer found interesting; none may crash the unpacker.
TEST(SkinPackage, FuzzCorpusNeverCrashes)
{
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(SKIN_CORPUS)) {
        std::ifstream in(entry.path(), std::ios::binary);
        std::vector<unsigned char> data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        try {
            UnpackSkin(data);
        } catch (const ESkinError&) {
        }
        ++files;
    }
    EXPECT_GT(files, 10);
}

class SkinComponent : public testing::Test {
protected:
    void SetUp() override
    {
        dummy::Reset();
        Application->Title = "Rurive儿歌音乐盒";
    }
    void TearDown() override { Application->Run(); }
};

TEST_F(SkinComponent, ActiveSkinTakesOverTheWindowAndItsButtons)
{
    Application->CreateForm(Form1);
    ASSERT_NE(Form1->SkinData1, nullptr);
    EXPECT_TRUE(Form1->SkinData1->Active());
    EXPECT_EQ(Form1->SkinData1->DisableTag(), 99);
    EXPECT_EQ(Form1->SkinData1->SkinFormType(), sfMainform);
    EXPECT_FALSE(Form1->SkinData1->SkinControls() & (1u << xcFastReport));
    EXPECT_TRUE(Form1->SkinData1->SkinControls() & (1u << xcBitBtn));
    auto& window = dynamic_cast<dummy::FormPeer&>(Form1->Peer());
    EXPECT_TRUE(window.Skinned);
    EXPECT_TRUE(window.SkinnedSystemMenu);
    for (TBitBtn* b : {Form1->BitBtn1, Form1->BitBtn2, Form1->BitBtn3, Form1->BitBtn4, Form1->BitBtn5})
        EXPECT_TRUE(dynamic_cast<dummy::ButtonPeer&>(b->Peer()).Skinned) << b->Name();
}

// A definition of its own, to reach the cases the program's cannot show.
class TSkinTestForm : public TForm {
public:
    TBitBtn* Kept = nullptr;
    TBitBtn* Excluded = nullptr;
    TSkinData* Skin = nullptr;
    using TForm::TForm;
    void Publish(TPublished& P) override
    {
        P.Field("Kept", Kept);
        P.Field("Excluded", Excluded);
        P.Field("Skin", Skin);
    }
};

std::string Definition(const std::string& Stream, const std::string& Controls = R"(["xcBitBtn", "xcSystemMenu"])")
{
    return R"({"name": "F", "class": "TSkinTestForm", "children": [
        {"name": "Kept", "class": "TBitBtn"}, {"name": "Excluded", "class": "TBitBtn", "Tag": 99},
        {"name": "Skin", "class": "TSkinData", "Active": true, "SkinControls": )" +
           Controls + R"(, "SkinStream": ")" + Stream + R"("}]})";
}

TEST_F(SkinComponent, DisableTagKeepsAControlOutOfTheSkin)
{
    TSkinTestForm form(nullptr);
    LoadFormDefinitionText(form, "TSkinTestForm", Definition("skin.rskn"));
    EXPECT_TRUE(form.Skin->Active());
    EXPECT_TRUE(dynamic_cast<dummy::ButtonPeer&>(form.Kept->Peer()).Skinned);
    EXPECT_FALSE(dynamic_cast<dummy::ButtonPeer&>(form.Excluded->Peer()).Skinned);
}

TEST_F(SkinComponent, OnlyTheNamedKindsOfControlAreSkinned)
{
    TSkinTestForm form(nullptr);
    LoadFormDefinitionText(form, "TSkinTestForm", Definition("skin.rskn", R"(["xcPanel"])"));
    EXPECT_TRUE(dynamic_cast<dummy::FormPeer&>(form.Peer()).Skinned);
    EXPECT_FALSE(dynamic_cast<dummy::FormPeer&>(form.Peer()).SkinnedSystemMenu);
    EXPECT_FALSE(dynamic_cast<dummy::ButtonPeer&>(form.Kept->Peer()).Skinned);
}

TEST_F(SkinComponent, DamagedSkinLeavesTheStandardLook)
{
    TSkinTestForm form(nullptr);
    LoadFormDefinitionText(form, "TSkinTestForm", Definition("broken.rskn"));
    EXPECT_FALSE(form.Skin->Active());
    EXPECT_FALSE(dynamic_cast<dummy::FormPeer&>(form.Peer()).Skinned);
    EXPECT_FALSE(dynamic_cast<dummy::ButtonPeer&>(form.Kept->Peer()).Skinned);
    EXPECT_TRUE(dummy::Journal().empty()) << "a damaged skin says nothing";
}

TEST_F(SkinComponent, SkinOfAnotherVersionSaysSoAndLeavesTheStandardLook)
{
    TSkinTestForm form(nullptr);
    LoadFormDefinitionText(form, "TSkinTestForm", Definition("older.rskn"));
    EXPECT_FALSE(form.Skin->Active());
    EXPECT_FALSE(dynamic_cast<dummy::FormPeer&>(form.Peer()).Skinned);
    EXPECT_EQ(dummy::Journal(), (std::vector<std::string>{
                                    "MessageBox Rurive儿歌音乐盒: This is Older Skin File\nPlease update to new version !"}));
}

}  // namespace
