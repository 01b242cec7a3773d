// Start-up failures and the end of the program.
#include <gtest/gtest.h>

#include "Harness.h"

#include <csignal>

using namespace e2e;

namespace {

TEST(Lifecycle, ClosingWhileThePageLoadsExitsZeroAndLeavesNoProcessBehind)
{
    Station station("station", 60);  // the page hangs
    MusicBox box(station.ProxyUrl());
    XServer screen;
    XWindow w = screen.WaitForWindow(box.Proc().Pid(), kCaption);
    ASSERT_NE(w, 0u);
    ASSERT_TRUE(WaitFor([&] { return !station.Requests().empty(); }, 20s)) << "the page was never asked for";
    const std::vector<pid_t> helpers = ChildrenOf(box.Proc().Pid());
    EXPECT_FALSE(helpers.empty()) << "the web engine's helper processes were not found";

    screen.RequestClose(w);
    EXPECT_EQ(box.Proc().Wait(15s), 0);
    EXPECT_FALSE(station.Painted());
    for (pid_t helper : helpers)
        EXPECT_TRUE(WaitFor([&] { return !Alive(helper); }, 10s)) << "helper " << helper << " outlived the program";
}

TEST(Lifecycle, BrokenDefinitionShowsTheLastChanceBoxAndExitsOne)
{
    Station station;
    MusicBox box(station.ProxyUrl(), {}, BADFORM_PROGRAM);
    XServer screen;
    XWindow box_window = screen.WaitForWindow(box.Proc().Pid(), "Application Error");
    ASSERT_NE(box_window, 0u) << box.Proc().Stderr();
    EXPECT_TRUE(screen.WindowsOf(box.Proc().Pid(), kCaption).empty()) << "the main window must not open";

    const std::string err = box.Proc().Stderr();
    EXPECT_NE(err.find("Exception EReadError in module rurive-musicbox-badform at "), std::string::npos) << err;
    EXPECT_NE(err.find(".\nError reading Form1.OnCreate: Method FormShow not found in TForm1.\n"), std::string::npos)
        << err;

    screen.RequestClose(box_window);  // dismisses the box
    EXPECT_EQ(box.Proc().Wait(15s), 1);
    EXPECT_TRUE(station.Requests().empty()) << "nothing may be loaded when construction fails";
}

TEST(Lifecycle, WithoutADisplayTheErrorGoesToStandardErrorAndExitsOne)
{
    MusicBox box("http://127.0.0.1:9/", {{"DISPLAY", ""}, {"WAYLAND_DISPLAY", ""}});
    EXPECT_EQ(box.Proc().Wait(15s), 1);
    const std::string err = box.Proc().Stderr();
    EXPECT_NE(err.find("Exception EOutOfResources in module rurive-musicbox at "), std::string::npos) << err;
    EXPECT_NE(err.find(".\nCannot open display.\n"), std::string::npos) << err;
}

}  // namespace

namespace {

TEST(Lifecycle, TerminateSignalEndsTheProgramLikeClosingTheWindow)
{
    Station station;
    MusicBox box(station.ProxyUrl());
    XServer screen;
    ASSERT_NE(screen.WaitForWindow(box.Proc().Pid(), kCaption), 0u);
    ASSERT_TRUE(WaitFor([&] { return station.Painted(); }, 30s));
    const std::vector<pid_t> helpers = ChildrenOf(box.Proc().Pid());
    kill(box.Proc().Pid(), SIGTERM);
    EXPECT_EQ(box.Proc().Wait(15s), 0);
    for (pid_t helper : helpers)
        EXPECT_TRUE(WaitFor([&] { return !Alive(helper); }, 10s)) << "helper " << helper << " outlived the program";
}

}  // namespace
