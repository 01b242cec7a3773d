// Running the real program under Xvfb and looking at it from outside: its
// process, its windows, their pixels, and the station fixture it talks to.
#pragma once

#include <chrono>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

struct _XDisplay;

namespace e2e {

using namespace std::chrono_literals;
using XWindow = unsigned long;  // an X window id, without Xlib's macros

// Polls Condition until it holds or Timeout passes.
bool WaitFor(const std::function<bool()>& Condition, std::chrono::milliseconds Timeout);

// A fresh directory, removed with everything in it when this goes.
class TempDir {
public:
    TempDir();
    ~TempDir();
    const std::string& Path() const { return path_; }
    std::vector<std::string> List() const;  // names of the entries, recursively

private:
    std::string path_;
};

// A child process with its output in files.
class Process {
public:
    // Starts Argv with the test's environment plus Env (an empty value
    // removes the variable).
    Process(std::vector<std::string> Argv, const std::map<std::string, std::string>& Env, const std::string& OutDir);
    ~Process();  // kills and reaps it if it still runs
    Process(const Process&) = delete;

    pid_t Pid() const { return pid_; }
    // The exit code, or nullopt if it is still running after Timeout; a
    // death by signal reads as 128 + signal.
    std::optional<int> Wait(std::chrono::milliseconds Timeout);
    bool Running();
    std::string Stdout() const;
    std::string Stderr() const;

private:
    pid_t pid_ = -1;
    std::optional<int> status_;
    std::string out_, err_;
};

// The pids of Pid's living child processes, and of its unreaped dead ones.
std::vector<pid_t> ChildrenOf(pid_t Pid);
std::vector<pid_t> ZombiesOf(pid_t Pid);
bool Alive(pid_t Pid);

// The local station: an HTTP proxy on loopback that serves the maker's hosts.
class Station {
public:
    explicit Station(const std::string& Page = "station", double Delay = 0);
    ~Station();
    std::string ProxyUrl() const { return "http://127.0.0.1:" + std::to_string(port_) + "/"; }
    // Every request it has seen, in order.
    std::vector<nlohmann::json> Requests() const;
    // True once the page has reported its first paint.
    bool Painted() const;

private:
    TempDir dir_;
    std::unique_ptr<Process> process_;
    int port_ = 0;
};

struct Rect {
    int X = 0, Y = 0, Width = 0, Height = 0;
};

struct Pixel {
    unsigned char R = 0, G = 0, B = 0;
    bool operator==(const Pixel&) const = default;
};

// The coordinates page paints page point (x, y) in this colour.
inline Pixel PageColour(int X, int Y)
{
    return {static_cast<unsigned char>(X & 255), static_cast<unsigned char>(Y & 255),
            static_cast<unsigned char>(((X >> 8) << 4) | (Y >> 8))};
}

// A captured part of the screen.
class Image {
public:
    Image(int W, int H) : width_(W), height_(H), pixels_(static_cast<size_t>(W) * H) {}
    int Width() const { return width_; }
    int Height() const { return height_; }
    Pixel At(int X, int Y) const { return pixels_.at(static_cast<size_t>(Y) * width_ + X); }
    void Set(int X, int Y, Pixel P) { pixels_.at(static_cast<size_t>(Y) * width_ + X) = P; }
    // Writes a PNG-free, dependency-free picture for a person to look at.
    void SavePpm(const std::string& Path) const;

private:
    int width_, height_;
    std::vector<Pixel> pixels_;
};

// A connection to the test's X server.
class XServer {
public:
    XServer();
    ~XServer();
    _XDisplay* Get() const { return display_; }

    // Mapped top-level windows of Pid, optionally only those titled Title.
    std::vector<XWindow> WindowsOf(pid_t Pid, const std::string& Title = "");
    // Waits for such a window; 0 when none appears within Timeout.
    XWindow WaitForWindow(pid_t Pid, const std::string& Title, std::chrono::milliseconds Timeout = 30s);

    std::string Title(XWindow W);
    std::string Property(XWindow W, const char* Name);  // a text property
    std::vector<long> CardinalProperty(XWindow W, const char* Name);
    std::pair<std::string, std::string> WmClass(XWindow W);
    // The window's area on the screen.
    Rect Geometry(XWindow W);
    // Its client area: inside the skin's frame, unless Skinned is false.
    Rect Client(XWindow W, bool Skinned = true);
    Image Capture(const Rect& Area);
    // A click with a button (1 left, 3 right) at a screen position.
    void Click(int X, int Y, unsigned Button = 1);
    void MovePointer(int X, int Y);
    // Moves the pointer to the screen's corner, away from every window.
    void ParkPointer();
    // What a window manager sends for the close box.
    void RequestClose(XWindow W);
    // Gives W the keyboard focus, or takes it from every window (W = 0).
    void Focus(XWindow W);
    // Presses and releases a key (an X keysym name) with the given modifier
    // keysyms held.
    void Key(const char* Keysym, const std::vector<const char*>& Modifiers = {});
    // Button 1 pressed at one screen position and released at another.
    void Drag(int FromX, int FromY, int ToX, int ToY);
    // From now on, notes the client messages sent to the root window, as a
    // window manager would receive them.
    void WatchRoot();
    // Whether a client message of this type about W has reached the root.
    bool RootReceived(const char* Type, XWindow W, std::chrono::milliseconds Timeout);

private:
    _XDisplay* display_;
    XWindow elsewhere_ = 0;
};

// The skin's frame around the 519 x 515 client area.
inline constexpr int kFrameLeft = 8, kFrameRight = 8, kTitleHeight = 30, kFrameBottom = 4;

// An xdg-open for PATH that appends "<argument count>|<arguments>" to a
// file and then sleeps for as long as STANDIN_SLEEP says.
class StandInOpener {
public:
    StandInOpener();
    std::string Dir() const { return dir_.Path(); }
    std::string Record() const { return dir_.Path() + "/launches"; }
    std::vector<std::string> Launches() const;

private:
    TempDir dir_;
};

inline const std::string kCaption = "Rurive儿歌音乐盒 V3.2正式版";
inline const std::string kTitle = "Rurive儿歌音乐盒";

// The program, started with a home and temporary directory of its own and
// the web engine pointed at a proxy.
class MusicBox {
public:
    explicit MusicBox(const std::string& Proxy, const std::map<std::string, std::string>& Env = {},
                      const std::string& Program = PROGRAM);
    Process& Proc() { return *process_; }
    const TempDir& Home() const { return home_; }
    const TempDir& Tmp() const { return tmp_; }

private:
    TempDir home_;
    TempDir tmp_;
    TempDir runtime_;  // XDG_RUNTIME_DIR, as every desktop session has one
    TempDir out_;
    std::unique_ptr<Process> process_;
};

}  // namespace e2e
