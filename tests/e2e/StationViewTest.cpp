// The station view: what it shows of the page and what it asks the web for.
#include <gtest/gtest.h>

#include <set>

#include "Harness.h"

using namespace e2e;

namespace {

struct Shown {
    Image Picture;
    std::string Saved;
};

// Starts the program on the coordinates page and captures its client area
// once the page has painted, at Scale device pixels per layout pixel.
Shown CaptureCoordinates(int Scale)
{
    Station station("coords");
    std::map<std::string, std::string> env;
    if (Scale != 1)
        env["GDK_SCALE"] = std::to_string(Scale);
    MusicBox box(station.ProxyUrl(), env);
    XServer screen;
    XWindow w = screen.WaitForWindow(box.Proc().Pid(), kCaption);
    if (!w)
        throw std::runtime_error("no window: " + box.Proc().Stderr());
    if (!WaitFor([&] { return station.Painted(); }, 30s))
        throw std::runtime_error("the page never painted");
    // The page's first frame is on its way to the screen. The skin's frame
    // scales with the rest.
    Rect g = screen.Geometry(w);
    g = {g.X + Scale * kFrameLeft, g.Y + Scale * kTitleHeight, Scale * 519, Scale * 515};
    Image image = screen.Capture(g);
    WaitFor(
        [&] {
            image = screen.Capture(g);
            // Settled once the page shows at its corners and middle.
            const int s = Scale;
            for (auto [x, y] : {std::pair{0, 52}, {518, 52}, {0, 514}, {518, 514}, {100, 300}})
                if (!(image.At(s * x + s / 2, s * y + s / 2) == PageColour(x + 140, y - 4)))
                    return false;
            return true;
        },
        10s);
    // Kept beside the test binary, for a person to look at after a failure.
    const std::string path = "e2e-crop-x" + std::to_string(Scale) + ".ppm";
    image.SavePpm(path);
    screen.RequestClose(w);
    box.Proc().Wait(15s);
    return {image, path};
}

TEST(StationView, ShowsExactlyTheFixedRectangleOfThePage)
{
    Shown shown = CaptureCoordinates(1);
    const Image& img = shown.Picture;
    ASSERT_EQ((std::tuple{img.Width(), img.Height()}), (std::tuple{519, 515}));

    // Rows 52 to 514: client point (x, y) shows page point (x + 140, y - 4),
    // which puts page columns 140..658 and rows 48..510 on screen and the
    // view's edges and scroll bars (the page is 1000 x 1000) off it.
    // The upgrade button lies over the page at client (264..353, 438..470).
    auto onUpgradeButton = [](int x, int y) { return x >= 264 && x <= 353 && y >= 438 && y <= 470; };
    int wrong = 0;
    std::string first;
    for (int y = 52; y < 515; ++y)
        for (int x = 0; x < 519; ++x)
            if (!onUpgradeButton(x, y) && !(img.At(x, y) == PageColour(x + 140, y - 4)) && wrong++ == 0)
                first = "client (" + std::to_string(x) + ", " + std::to_string(y) + ")";
    EXPECT_EQ(wrong, 0) << "first wrong pixel at " << first << "; picture in " << shown.Saved;

    // Rows 50 and 51, between the button row and the view, show the
    // window's background and nothing of the page.
    const Pixel background = img.At(0, 50);
    for (int y = 50; y < 52; ++y)
        for (int x = 0; x < 519; ++x)
            ASSERT_EQ(img.At(x, y), background) << "at (" << x << ", " << y << ") in " << shown.Saved;
    EXPECT_FALSE(background == PageColour(140, 0));
}

TEST(StationView, ScaleFactorTwoKeepsTheSameRectangleOfThePage)
{
    Shown shown = CaptureCoordinates(2);
    const Image& img = shown.Picture;
    ASSERT_EQ((std::tuple{img.Width(), img.Height()}), (std::tuple{1038, 1030}));
    const struct {
        int X, Y;
    } samples[] = {{0, 52}, {518, 52}, {0, 514}, {518, 514}, {259, 283}, {100, 400}};
    for (auto s : samples) {
        // Each layout pixel is 2 x 2 device pixels; read the inner one.
        EXPECT_EQ(img.At(2 * s.X + 1, 2 * s.Y + 1), PageColour(s.X + 140, s.Y - 4))
            << "client (" << s.X << ", " << s.Y << ") in " << shown.Saved;
    }
}

TEST(StationView, NavigatesOnceWithAPlainGetToTheStationAddress)
{
    Station station;
    MusicBox box(station.ProxyUrl());
    XServer screen;
    XWindow w = screen.WaitForWindow(box.Proc().Pid(), kCaption);
    ASSERT_NE(w, 0u);
    ASSERT_TRUE(WaitFor([&] { return station.Painted(); }, 30s));
    std::this_thread::sleep_for(1s);  // time for any further navigation to show

    int toStation = 0;
    for (const auto& r : station.Requests()) {
        if (r["url"] != "http://app.rurive.com/dodor/fm/")
            continue;
        ++toStation;
        EXPECT_EQ(r["method"], "GET");
        const std::set<std::string> standard = {"Host", "Accept", "User-Agent", "Accept-Encoding",
                                                "Accept-Language", "Connection", "Upgrade-Insecure-Requests"};
        for (const auto& [name, value] : r["headers"].items())
            EXPECT_TRUE(standard.count(name)) << "extra header " << name << ": " << value;
    }
    EXPECT_EQ(toStation, 1);
    screen.RequestClose(w);
    EXPECT_EQ(box.Proc().Wait(15s), 0);
}

TEST(StationView, WithoutNetworkTheWindowOpensAndNoErrorBoxAppears)
{
    // Port 9 on loopback refuses connections: the engine gets no page at all.
    MusicBox box("http://127.0.0.1:9/");
    XServer screen;
    XWindow w = screen.WaitForWindow(box.Proc().Pid(), kCaption);
    ASSERT_NE(w, 0u) << box.Proc().Stderr();
    std::this_thread::sleep_for(4s);
    EXPECT_EQ(screen.WindowsOf(box.Proc().Pid()), std::vector<XWindow>{w}) << "a second window appeared";
    EXPECT_TRUE(box.Proc().Running());
    screen.RequestClose(w);
    EXPECT_EQ(box.Proc().Wait(15s), 0);
}

}  // namespace

namespace {

// What pages may start on their own: no window opens, no permission is
// given, and nothing is saved unless the user picks where.
TEST(StationView, PageCannotOpenWindowsGetPermissionsOrSaveFilesByItself)
{
    Station station("policies");
    MusicBox box(station.ProxyUrl());
    XServer screen;
    XWindow w = screen.WaitForWindow(box.Proc().Pid(), kCaption);
    ASSERT_NE(w, 0u);

    auto reported = [&](const std::string& what) {
        for (const auto& r : station.Requests())
            if (r["url"].get<std::string>().find("painted?" + what) != std::string::npos)
                return true;
        return false;
    };
    ASSERT_TRUE(WaitFor([&] { return reported("popup="); }, 30s));
    EXPECT_TRUE(reported("popup=none"));
    EXPECT_TRUE(WaitFor([&] { return reported("notification=denied"); }, 10s));
    EXPECT_TRUE(WaitFor([&] { return reported("geolocation=denied"); }, 10s));

    // The download asks where to save; dismissing the question saves nothing.
    XWindow chooser = 0;
    ASSERT_TRUE(WaitFor(
        [&] {
            for (XWindow other : screen.WindowsOf(box.Proc().Pid()))
                if (other != w)
                    chooser = other;
            return chooser != 0;
        },
        20s))
        << "no save dialog for the download";
    screen.RequestClose(chooser);
    EXPECT_TRUE(WaitFor([&] { return screen.WindowsOf(box.Proc().Pid()) == std::vector<XWindow>{w}; }, 10s));
    std::this_thread::sleep_for(1s);

    for (const auto& r : station.Requests())
        EXPECT_EQ(r["url"].get<std::string>().find("hao.rurive.com"), std::string::npos) << "the pop-up was loaded";
    for (const std::string& name : box.Home().List())
        EXPECT_EQ(name.find("song"), std::string::npos) << "saved " << name;
    EXPECT_TRUE(box.Tmp().List().empty());

    screen.RequestClose(w);
    EXPECT_EQ(box.Proc().Wait(15s), 0);
}

}  // namespace
