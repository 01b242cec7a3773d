// The skinned window: its frame, title bar and buttons as drawn on screen,
// what its title bar does, and the standard look when the skin is damaged.
#include <gtest/gtest.h>

#include <thread>

#include "Harness.h"

using namespace e2e;

namespace {

bool SlateBlue(Pixel P)
{
    return P.B > P.R + 60 && P.B < 200 && P.G < 140;
}
bool LightGrey(Pixel P)
{
    return P.R >= 160 && std::abs(P.R - P.G) < 8 && std::abs(P.G - P.B) < 8;
}

class Skin : public testing::Test {
protected:
    void SetUp() override
    {
        box_ = std::make_unique<MusicBox>(station_.ProxyUrl());
        window_ = screen_.WaitForWindow(box_->Proc().Pid(), kCaption);
        ASSERT_NE(window_, 0u) << box_->Proc().Stderr();
        ASSERT_TRUE(WaitFor([&] { return station_.Painted(); }, 30s));
        outer_ = screen_.Geometry(window_);
        screen_.ParkPointer();
    }
    void TearDown() override
    {
        if (box_->Proc().Running()) {
            screen_.RequestClose(window_);
            EXPECT_EQ(box_->Proc().Wait(15s), 0);
        }
    }
    Image Shot(std::chrono::milliseconds Settle = 400ms)
    {
        std::this_thread::sleep_for(Settle);
        return screen_.Capture(outer_);
    }

    Station station_;
    XServer screen_;
    std::unique_ptr<MusicBox> box_;
    XWindow window_ = 0;
    Rect outer_;
};

TEST_F(Skin, FrameAndTitleBarShowTheActiveAndTheInactiveState)
{
    ASSERT_EQ((std::tuple{outer_.X, outer_.Y, outer_.Width, outer_.Height}), (std::tuple{355, 159, 535, 549}));
    // Shadow pixels: the shadow's colour just below and right of a pixel of
    // the caption's own colour. Grey text on grey antialiases through the
    // shadow's grey now and then, so the inactive count is compared with
    // the active one rather than with zero.
    auto shadowPixels = [](const Image& img, Pixel Text) {
        int n = 0;
        for (int y = 1; y < kTitleHeight; ++y)
            for (int x = 21; x < 260; ++x)
                n += img.At(x, y) == Pixel{179, 179, 179} && img.At(x - 1, y - 1) == Text;
        return n;
    };
    auto frameIs = [](const Image& img, const std::function<bool(Pixel)>& Colour) {
        for (int y = kTitleHeight; y < 549; y += 37) {
            for (int x = 0; x < kFrameLeft; ++x)
                if (!Colour(img.At(x, y)))
                    return false;
            for (int x = 535 - kFrameRight; x < 535; ++x)
                if (!Colour(img.At(x, y)))
                    return false;
        }
        for (int y = 549 - kFrameBottom; y < 549; ++y)
            for (int x = 0; x < 535; x += 13)
                if (!Colour(img.At(x, y)))
                    return false;
        return true;
    };

    screen_.Focus(window_);
    Image active = Shot();
    active.SavePpm("e2e-skin-active.ppm");  // for a person to look at
    EXPECT_TRUE(SlateBlue(active.At(330, 15))) << "title not slate blue while active";
    const int activeShadow = shadowPixels(active, {255, 255, 255});
    EXPECT_GT(activeShadow, 15) << "no caption shadow while active";
    EXPECT_TRUE(frameIs(active, SlateBlue));
    // The frame is exactly as wide as the skin says: the next pixel inward is
    // the client area (here the station page, bright at its left edge).
    EXPECT_FALSE(SlateBlue(active.At(kFrameLeft, 300)));
    EXPECT_FALSE(SlateBlue(active.At(535 - kFrameRight - 1, 300)));
    EXPECT_FALSE(SlateBlue(active.At(200, 549 - kFrameBottom - 1)));

    screen_.Focus(0);
    Image inactive = Shot();
    inactive.SavePpm("e2e-skin-inactive.ppm");
    EXPECT_TRUE(LightGrey(inactive.At(330, 15))) << "title not light grey while inactive";
    EXPECT_LT(shadowPixels(inactive, {90, 90, 90}), activeShadow / 4) << "caption shadow while inactive";
    int caption = 0;  // the check above means something only if the caption is there
    for (int y = 0; y < kTitleHeight; ++y)
        for (int x = 20; x < 260; ++x)
            caption += inactive.At(x, y) == Pixel{90, 90, 90};
    EXPECT_GT(caption, 10) << "no caption while inactive";
    EXPECT_TRUE(frameIs(inactive, LightGrey));
}

TEST_F(Skin, ButtonsWearPillFacesBeigeAtRestBlueUnderThePointer)
{
    Image rest = Shot();
    // Mid-height, left of the glyph, on BitBtn2's face.
    const int fx = kFrameLeft + 104 + 8, fy = kTitleHeight + 25;
    const Pixel face = rest.At(fx, fy);
    EXPECT_TRUE(face.R > face.B + 15 && face.R > 200) << "not beige: " << int(face.R) << "," << int(face.G) << ","
                                                      << int(face.B);
    // The pill's rounded corner leaves the window background showing.
    const Pixel corner = rest.At(kFrameLeft + 104 + 1, kTitleHeight + 1);
    EXPECT_FALSE(corner == face);

    screen_.MovePointer(outer_.X + fx + 50, outer_.Y + fy + 10);  // over BitBtn2
    Image hot = Shot();
    const Pixel blue = hot.At(fx, fy);
    EXPECT_TRUE(blue.B > blue.R + 20) << "not blue under the pointer: " << int(blue.R) << "," << int(blue.G) << ","
                                      << int(blue.B);
}

TEST_F(Skin, CaptionButtonsSitWhereTheSettingsPutThemAndWork)
{
    screen_.WatchRoot();
    // Minimise at 82 from the right, close at 30; no maximise box.
    Image img = Shot();
    auto whiteIn = [&](int Left) {
        int n = 0;
        for (int y = 8; y < 8 + 15; ++y)
            for (int x = Left; x < Left + 20; ++x)
                n += img.At(x, y) == Pixel{255, 255, 255};
        return n;
    };
    EXPECT_GT(whiteIn(535 - 30), 8) << "no close glyph";
    EXPECT_GT(whiteIn(535 - 82), 8) << "no minimise glyph";
    EXPECT_EQ(whiteIn(535 - 56), 0) << "a maximise box on a fixed window";

    screen_.Click(outer_.X + 535 - 82 + 10, outer_.Y + 15);
    EXPECT_TRUE(screen_.RootReceived("WM_CHANGE_STATE", window_, 5s)) << "minimise asked nothing of the desktop";
    EXPECT_TRUE(box_->Proc().Running());

    screen_.Click(outer_.X + 535 - 30 + 10, outer_.Y + 15);
    EXPECT_EQ(box_->Proc().Wait(15s), 0) << "the close button did not end the program";
}

TEST_F(Skin, TitleBarMovesTheWindowAndOpensTheSystemMenu)
{
    screen_.Drag(outer_.X + 300, outer_.Y + 15, outer_.X + 340, outer_.Y + 45);
    EXPECT_TRUE(WaitFor(
        [&] {
            const Rect g = screen_.Geometry(window_);
            return g.X == outer_.X + 40 && g.Y == outer_.Y + 30;
        },
        5s))
        << "dragging the title bar did not move the window";
    outer_ = screen_.Geometry(window_);

    auto menuOpen = [&] { return screen_.WindowsOf(box_->Proc().Pid()).size() > 1; };
    screen_.Click(outer_.X + 300, outer_.Y + 15, 3);
    EXPECT_TRUE(WaitFor(menuOpen, 5s)) << "a right click on the title bar opened no system menu";
    screen_.Key("Escape");
    EXPECT_TRUE(WaitFor([&] { return !menuOpen(); }, 5s));

    screen_.Focus(window_);
    screen_.Key("space", {"Alt_L"});
    EXPECT_TRUE(WaitFor(menuOpen, 5s)) << "Alt+Space opened no system menu";
    screen_.Key("Escape");
    EXPECT_TRUE(WaitFor([&] { return !menuOpen(); }, 5s));
    // Its last entry closes the window.
    screen_.Key("space", {"Alt_L"});
    ASSERT_TRUE(WaitFor(menuOpen, 5s));
    screen_.Key("c");
    EXPECT_EQ(box_->Proc().Wait(15s), 0) << "the menu's close entry did not end the program";
}

TEST_F(Skin, WritesNothingToTheTemporaryDirectory)
{
    for (const std::string& name : box_->Tmp().List())
        ADD_FAILURE() << "left in the temporary directory: " << name;
    const auto home = box_->Home().List();
    EXPECT_TRUE(home.end() ==
                std::find_if(home.begin(), home.end(),
                             [](const std::string& n) { return n.find("skin") != std::string::npos; }));
}

TEST(DamagedSkin, LeavesTheStandardLookAndEverythingElseWorking)
{
    Station station("coords");
    MusicBox box(station.ProxyUrl(), {}, BADSKIN_PROGRAM);
    XServer screen;
    XWindow w = screen.WaitForWindow(box.Proc().Pid(), kCaption);
    ASSERT_NE(w, 0u) << box.Proc().Stderr();
    const Rect g = screen.Geometry(w);
    EXPECT_EQ((std::tuple{g.X, g.Y, g.Width, g.Height}), (std::tuple{355, 159, 519, 515}));
    auto motif = screen.CardinalProperty(w, "_MOTIF_WM_HINTS");
    ASSERT_GE(motif.size(), 3u);
    EXPECT_NE(motif[2], 0) << "the window manager is told to draw no frame";
    ASSERT_TRUE(WaitFor([&] { return station.Painted(); }, 30s));
    // The crop as always, at the window's own client area.
    EXPECT_TRUE(WaitFor(
        [&] {
            const Image img = screen.Capture(screen.Client(w, false));
            return img.At(0, 52) == PageColour(140, 48) && img.At(518, 514) == PageColour(658, 510) &&
                   img.At(100, 300) == PageColour(240, 296);
        },
        10s));
    EXPECT_EQ(screen.WindowsOf(box.Proc().Pid()), std::vector<XWindow>{w}) << "a message about the skin appeared";
    screen.RequestClose(w);
    EXPECT_EQ(box.Proc().Wait(15s), 0);
}

}  // namespace
