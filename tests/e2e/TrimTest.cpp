// The memory trim in the real program: its first tick about a minute after
// start-up, the resident set it hands back, and the program working on.
#include <gtest/gtest.h>

#include <fstream>
#include <thread>

#include "Harness.h"

using namespace e2e;

namespace {

long ResidentKb(pid_t Pid)
{
    std::ifstream in("/proc/" + std::to_string(Pid) + "/status");
    for (std::string line; std::getline(in, line);)
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stol(line.substr(6));
    return -1;
}

TEST(Trim, FirstTickComesAfterAMinuteAndHandsBackMostOfTheResidentSet)
{
    Station station;
    StandInOpener opener;
    const auto started = std::chrono::steady_clock::now();
    MusicBox box(station.ProxyUrl(), {{"PATH", opener.Dir() + ":" + getenv("PATH")}});
    XServer screen;
    XWindow w = screen.WaitForWindow(box.Proc().Pid(), kCaption);
    ASSERT_NE(w, 0u);
    ASSERT_TRUE(WaitFor([&] { return station.Painted(); }, 30s));

    // Sample until well past the first tick; the trim is the first sudden fall.
    struct Sample {
        double Seconds;
        long Kb;
    };
    std::vector<Sample> samples;
    while (std::chrono::steady_clock::now() - started < 80s) {
        samples.push_back({std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count(),
                           ResidentKb(box.Proc().Pid())});
        std::this_thread::sleep_for(200ms);
    }
    size_t fall = 0;
    for (size_t i = 1; i < samples.size() && !fall; ++i)
        if (samples[i].Kb < samples[i - 1].Kb * 8 / 10)
            fall = i;
    ASSERT_NE(fall, 0u) << "the resident set never fell; last " << samples.back().Kb << " kB";
    const Sample before = samples[fall - 1], after = samples[fall];
    EXPECT_GE(before.Seconds, 55.0) << "trimmed too early";
    EXPECT_LE(after.Seconds, 70.0) << "trimmed too late";
    EXPECT_LT(after.Kb, before.Kb / 2) << before.Kb << " kB before, " << after.Kb << " kB after";

    // The program works on after the trim: its pages come back as needed.
    const Rect g = screen.Client(w);
    screen.Click(g.X + 52, g.Y + 25);
    EXPECT_TRUE(WaitFor([&] { return opener.Launches() == std::vector<std::string>{"1|http://hao.rurive.com/"}; }, 10s))
        << "no launch after the trim";
    screen.RequestClose(w);
    EXPECT_EQ(box.Proc().Wait(15s), 0);
}

}  // namespace
