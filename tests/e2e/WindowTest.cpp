// The main window as the X server and a window manager see it.
#include <gtest/gtest.h>

#include <algorithm>

#include "Harness.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

using namespace e2e;

namespace {

// _MOTIF_WM_HINTS bits.
constexpr long kFuncResize = 1L << 1, kFuncMove = 1L << 2, kFuncMinimize = 1L << 3, kFuncMaximize = 1L << 4,
               kFuncClose = 1L << 5;
constexpr long kDecorResize = 1L << 2, kDecorMaximize = 1L << 6;

TEST(Window, OpensAtItsPlaceWithAFixedClientAreaAndTheProductCaption)
{
    Station station;
    MusicBox box(station.ProxyUrl());
    XServer screen;
    XWindow w = screen.WaitForWindow(box.Proc().Pid(), kCaption);
    ASSERT_NE(w, 0u) << box.Proc().Stderr();

    // The skin's frame opens at the window's place, the client area inside it.
    const Rect g = screen.Geometry(w);
    EXPECT_EQ((std::tuple{g.X, g.Y, g.Width, g.Height}), (std::tuple{355, 159, 535, 549}));
    const Rect c = screen.Client(w);
    EXPECT_EQ((std::tuple{c.X, c.Y, c.Width, c.Height}), (std::tuple{363, 189, 519, 515}));
    EXPECT_EQ(screen.WmClass(w), (std::pair<std::string, std::string>{"rurive-musicbox", kTitle}));

    XSizeHints hints{};
    long supplied = 0;
    ASSERT_TRUE(XGetWMNormalHints(screen.Get(), w, &hints, &supplied));
    ASSERT_TRUE(hints.flags & PMinSize);
    ASSERT_TRUE(hints.flags & PMaxSize);
    EXPECT_EQ((std::tuple{hints.min_width, hints.min_height, hints.max_width, hints.max_height}),
              (std::tuple{535, 549, 535, 549}));

    auto motif = screen.CardinalProperty(w, "_MOTIF_WM_HINTS");
    ASSERT_GE(motif.size(), 3u);
    const long functions = motif[1], decorations = motif[2];
    EXPECT_EQ(functions, kFuncMove | kFuncMinimize | kFuncClose);
    EXPECT_FALSE(functions & (kFuncResize | kFuncMaximize));
    EXPECT_FALSE(decorations & (kDecorResize | kDecorMaximize));
}

TEST(Window, TwoStartsGiveTwoIndependentWindows)
{
    Station station;
    MusicBox first(station.ProxyUrl());
    MusicBox second(station.ProxyUrl());
    XServer screen;
    XWindow a = screen.WaitForWindow(first.Proc().Pid(), kCaption);
    XWindow b = screen.WaitForWindow(second.Proc().Pid(), kCaption);
    ASSERT_NE(a, 0u);
    ASSERT_NE(b, 0u);
    EXPECT_NE(a, b);

    screen.RequestClose(a);
    EXPECT_EQ(first.Proc().Wait(15s), 0);
    EXPECT_TRUE(second.Proc().Running()) << "closing one window must not end the other program";
    screen.RequestClose(b);
    EXPECT_EQ(second.Proc().Wait(15s), 0);
}

TEST(Window, ScaleFactorTwoScalesTheWholeWindow)
{
    Station station;
    MusicBox box(station.ProxyUrl(), {{"GDK_SCALE", "2"}});
    XServer screen;
    XWindow w = screen.WaitForWindow(box.Proc().Pid(), kCaption);
    ASSERT_NE(w, 0u) << box.Proc().Stderr();
    const Rect g = screen.Geometry(w);
    EXPECT_EQ((std::tuple{g.Width, g.Height}), (std::tuple{2 * 535, 2 * 549}));
}

}  // namespace

namespace {

TEST(Window, ShowsTheProgramIconInEverySize)
{
    Station station;
    MusicBox box(station.ProxyUrl());
    XServer screen;
    XWindow w = screen.WaitForWindow(box.Proc().Pid(), kCaption);
    ASSERT_NE(w, 0u);
    // _NET_WM_ICON: width, height, then width * height ARGB pixels, per image.
    const std::vector<long> icon = screen.CardinalProperty(w, "_NET_WM_ICON");
    std::vector<long> sizes;
    for (size_t at = 0; at + 2 <= icon.size();) {
        const long width = icon[at], height = icon[at + 1];
        ASSERT_EQ(width, height);
        ASSERT_LE(at + 2 + width * height, icon.size());
        sizes.push_back(width);
        const unsigned long corner = static_cast<unsigned long>(icon[at + 2]) & 0xFFFFFFFFul;
        const unsigned long middle =
            static_cast<unsigned long>(icon[at + 2 + (height * 6 / 10) * width + width / 2]) & 0xFFFFFFFFul;
        EXPECT_EQ(corner >> 24, 0u) << "opaque corner at size " << width;
        EXPECT_EQ(middle >> 24, 255u) << "size " << width;
        EXPECT_GT(middle & 0xFF, (middle >> 16) & 0xFF) << "not blue at size " << width;
        at += 2 + width * height;
    }
    std::sort(sizes.begin(), sizes.end());
    EXPECT_EQ(sizes, (std::vector<long>{16, 32, 48, 64, 128}));
}

}  // namespace
