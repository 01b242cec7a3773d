// The link buttons, clicked for real, with a stand-in opener on PATH that
// records what it was given.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "Harness.h"

using namespace e2e;

namespace {

std::string PathWith(const std::string& Dir)
{
    return Dir + ":" + (getenv("PATH") ? getenv("PATH") : "/usr/bin:/bin");
}

class Buttons : public testing::Test {
protected:
    void Start(const std::map<std::string, std::string>& Extra = {})
    {
        std::map<std::string, std::string> env = {{"PATH", PathWith(opener_.Dir())}};
        for (const auto& [k, v] : Extra)
            env[k] = v;
        box_ = std::make_unique<MusicBox>(station_.ProxyUrl(), env);
        window_ = screen_.WaitForWindow(box_->Proc().Pid(), kCaption);
        ASSERT_NE(window_, 0u) << box_->Proc().Stderr();
        origin_ = screen_.Client(window_);
        std::this_thread::sleep_for(500ms);  // first frame drawn
    }
    void ClickClient(int X, int Y) { screen_.Click(origin_.X + X, origin_.Y + Y); }
    bool WaitForLaunches(size_t N) { return WaitFor([&] { return opener_.Launches().size() >= N; }, 10s); }
    void TearDown() override
    {
        if (box_ && window_) {
            screen_.RequestClose(window_);
            EXPECT_EQ(box_->Proc().Wait(15s), 0);
        }
    }

    Station station_;
    StandInOpener opener_;
    XServer screen_;
    std::unique_ptr<MusicBox> box_;
    XWindow window_ = 0;
    Rect origin_;
};

TEST_F(Buttons, ClicksHandTheButtonsAddressUnchangedToTheOpener)
{
    Start();
    const struct {
        int X, Y;
        const char* Address;
    } clicks[] = {
        {52, 25, "http://hao.rurive.com/"},          {103, 10, "http://hao.rurive.com/"},
        {104, 10, "http://shop.rurive.com/"},        {156, 25, "http://shop.rurive.com/"},
        {208, 10, "http://mall.rurive.com/"},        {260, 40, "http://mall.rurive.com/"},
        {312, 10, "http://down.rurive.com/viz.exe"}, {416, 25, "http://down.rurive.com/viz.exe"},
        {517, 25, "http://down.rurive.com/viz.exe"},
        {309, 454, "http://down.rurive.com/viz.exe"},  // the upgrade button over the page
    };
    size_t n = 0;
    for (const auto& c : clicks) {
        ClickClient(c.X, c.Y);
        ASSERT_TRUE(WaitForLaunches(++n)) << "no launch for a click at (" << c.X << ", " << c.Y << ")";
        EXPECT_EQ(opener_.Launches().back(), std::string("1|") + c.Address) << "click at (" << c.X << ", " << c.Y << ")";
    }
    // Outside every button: the gap between the row and the page, and the page.
    ClickClient(200, 51);
    ClickClient(100, 300);
    std::this_thread::sleep_for(1s);
    EXPECT_EQ(opener_.Launches().size(), n);
}

TEST_F(Buttons, ClickReturnsAtOnceWhileTheBrowserIsStillStarting)
{
    Start({{"STANDIN_SLEEP", "30"}});
    ClickClient(52, 25);
    ASSERT_TRUE(WaitForLaunches(1));
    const auto before = std::chrono::steady_clock::now();
    ClickClient(156, 25);
    ASSERT_TRUE(WaitForLaunches(2)) << "the first launch blocked the window";
    EXPECT_LT(std::chrono::steady_clock::now() - before, 5s);
    EXPECT_EQ(opener_.Launches()[1], "1|http://shop.rurive.com/");
}

TEST_F(Buttons, RepeatedClicksEachLaunchAndLeaveNoZombie)
{
    Start();
    for (int i = 0; i < 20; ++i) {
        ClickClient(52, 25);
        std::this_thread::sleep_for(60ms);
    }
    ASSERT_TRUE(WaitForLaunches(20));
    EXPECT_EQ(opener_.Launches().size(), 20u);
    EXPECT_TRUE(WaitFor([&] { return ZombiesOf(box_->Proc().Pid()).empty(); }, 5s))
        << ZombiesOf(box_->Proc().Pid()).size() << " launches left unreaped";
}

TEST_F(Buttons, WithoutAnOpenerAClickDoesNothingVisible)
{
    TempDir empty;
    Start({{"PATH", empty.Path()}});
    ClickClient(416, 25);
    ClickClient(309, 454);
    std::this_thread::sleep_for(1500ms);
    EXPECT_TRUE(box_->Proc().Running());
    EXPECT_EQ(screen_.WindowsOf(box_->Proc().Pid()), std::vector<XWindow>{window_}) << "a message appeared";
    EXPECT_TRUE(ZombiesOf(box_->Proc().Pid()).empty());
}

// A glyph as its file holds it, bottom-up rows turned the right way.
struct Glyph {
    int Width = 0, Height = 0;
    std::vector<Pixel> Pixels;
    Pixel At(int X, int Y) const { return Pixels[Y * Width + X]; }
};

Glyph ReadGlyph(const std::string& Name)
{
    std::ifstream in(std::string(GLYPH_DIR) + "/" + Name, std::ios::binary);
    std::string d((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    auto u32 = [&](size_t at) { return static_cast<std::uint32_t>(static_cast<unsigned char>(d[at]) |
                                                                  static_cast<unsigned char>(d[at + 1]) << 8 |
                                                                  static_cast<unsigned char>(d[at + 2]) << 16); };
    Glyph g;
    g.Width = static_cast<int>(u32(18));
    g.Height = static_cast<int>(u32(22));
    const int bits = static_cast<unsigned char>(d[28]);
    const size_t offset = u32(10), stride = (g.Width * bits / 8 + 3) & ~3;
    g.Pixels.resize(g.Width * g.Height);
    for (int y = 0; y < g.Height; ++y)
        for (int x = 0; x < g.Width; ++x) {
            const auto* p = reinterpret_cast<const unsigned char*>(d.data() + offset +
                                                                   (g.Height - 1 - y) * stride + x * bits / 8);
            Pixel px;
            if (bits == 24) {
                px = {p[2], p[1], p[0]};
            } else {
                const unsigned v = p[0] | p[1] << 8;
                auto expand = [](unsigned c) { return static_cast<unsigned char>(c << 3 | c >> 2); };
                px = {expand(v >> 10 & 31), expand(v >> 5 & 31), expand(v & 31)};
            }
            g.Pixels[y * g.Width + x] = px;
        }
    return g;
}

bool Near(Pixel A, Pixel B)
{
    return std::abs(A.R - B.R) <= 8 && std::abs(A.G - B.G) <= 8 && std::abs(A.B - B.B) <= 8;
}

TEST_F(Buttons, GlyphsAreDrawnWithTheirWhiteShowingTheButtonFace)
{
    Start();
    screen_.ParkPointer();  // no button hovered, no hover animation running
    std::this_thread::sleep_for(500ms);
    const Image shot = screen_.Capture(origin_);
    const struct {
        const char* File;
        Rect Button;  // in client coordinates
    } buttons[] = {{"glyph-eyes.bmp", {0, 0, 104, 50}},    {"glyph-tao.bmp", {105, 0, 103, 50}},
                   {"glyph-shang.bmp", {209, 0, 103, 50}}, {"glyph-check.bmp", {313, 0, 205, 50}},
                   {"glyph-check.bmp", {264, 438, 90, 33}}};
    const Pixel white{255, 255, 255};
    for (const auto& b : buttons) {
        SCOPED_TRACE(b.File);
        const Glyph g = ReadGlyph(b.File);
        // Find where the glyph's coloured pixels are on screen.
        int gx = -1, gy = -1;
        for (int y = b.Button.Y; y + g.Height <= b.Button.Y + b.Button.Height && gx < 0; ++y)
            for (int x = b.Button.X; x + g.Width <= b.Button.X + b.Button.Width && gx < 0; ++x) {
                bool match = true;
                for (int j = 0; j < g.Height && match; ++j)
                    for (int i = 0; i < g.Width && match; ++i)
                        if (!(g.At(i, j) == white))
                            match = Near(shot.At(x + i, y + j), g.At(i, j));
                if (match)
                    gx = x, gy = y;
            }
        ASSERT_GE(gx, 0) << "glyph not drawn";
        // Its white pixels show the face: what lies beside the glyph on that row.
        int whites = 0;
        for (int j = 0; j < g.Height; ++j)
            for (int i = 0; i < g.Width; ++i)
                if (g.At(i, j) == white) {
                    ++whites;
                    EXPECT_FALSE(shot.At(gx + i, gy + j) == white) << "white pixel (" << i << ", " << j << ") drawn";
                    EXPECT_TRUE(Near(shot.At(gx + i, gy + j), shot.At(gx - 2, gy + j)))
                        << "pixel (" << i << ", " << j << ") is not the face: " << int(shot.At(gx + i, gy + j).R) << "," << int(shot.At(gx + i, gy + j).G) << "," << int(shot.At(gx + i, gy + j).B) << " beside " << int(shot.At(gx - 2, gy + j).R) << "," << int(shot.At(gx - 2, gy + j).G) << "," << int(shot.At(gx - 2, gy + j).B);
                }
        EXPECT_GT(whites, 0);
    }
}

}  // namespace
