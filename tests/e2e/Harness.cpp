#include <gtest/gtest.h>

#include "Harness.h"

#include <X11/Xlib.h>
#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

#include "Xvfb.h"

extern char** environ;

namespace e2e {

bool WaitFor(const std::function<bool()>& Condition, std::chrono::milliseconds Timeout)
{
    const auto end = std::chrono::steady_clock::now() + Timeout;
    while (true) {
        if (Condition())
            return true;
        if (std::chrono::steady_clock::now() >= end)
            return false;
        std::this_thread::sleep_for(50ms);
    }
}

TempDir::TempDir()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "rurive-e2e-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
}

TempDir::~TempDir()
{
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::vector<std::string> TempDir::List() const
{
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::recursive_directory_iterator(path_))
        names.push_back(std::filesystem::relative(e.path(), path_).string());
    return names;
}

namespace {
std::string ReadFile(const std::string& Path)
{
    std::ifstream in(Path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

struct ProcStat {
    pid_t pid;
    char state;
    pid_t ppid;
    pid_t pgrp;
};

// Pid's state, parent and process group; nullopt once it is gone.
std::optional<ProcStat> ReadStat(pid_t Pid)
{
    std::string stat = ReadFile("/proc/" + std::to_string(Pid) + "/stat");
    // pid (comm) state ppid pgrp ...; comm may hold spaces and parentheses.
    auto close = stat.rfind(')');
    if (close == std::string::npos)
        return std::nullopt;
    ProcStat p{Pid, 0, 0, 0};
    if (std::sscanf(stat.c_str() + close + 1, " %c %d %d", &p.state, &p.ppid, &p.pgrp) != 3)
        return std::nullopt;
    return p;
}

// Every process /proc lists.
std::vector<ProcStat> Processes()
{
    std::vector<ProcStat> all;
    for (const auto& e : std::filesystem::directory_iterator("/proc")) {
        const std::string name = e.path().filename().string();
        if (name.find_first_not_of("0123456789") != std::string::npos)
            continue;
        if (auto p = ReadStat(std::stoi(name)))
            all.push_back(*p);
    }
    return all;
}

// Whether a living process of group Pgrp is left (zombies do not count).
bool GroupAlive(pid_t Pgrp)
{
    for (const ProcStat& p : Processes())
        if (p.pgrp == Pgrp && p.state != 'Z')
            return true;
    return false;
}

int counter = 0;
}  // namespace

Process::Process(std::vector<std::string> Argv, const std::map<std::string, std::string>& Env,
                 const std::string& OutDir)
{
    const std::string tag = std::to_string(getpid()) + "-" + std::to_string(++counter);
    out_ = OutDir + "/stdout-" + tag;
    err_ = OutDir + "/stderr-" + tag;

    std::map<std::string, std::string> env;
    for (char** e = environ; *e; ++e) {
        std::string kv = *e;
        auto eq = kv.find('=');
        if (eq != std::string::npos)
            env[kv.substr(0, eq)] = kv.substr(eq + 1);
    }
    for (const auto& [k, v] : Env) {
        if (v.empty())
            env.erase(k);
        else
            env[k] = v;
    }
    std::vector<std::string> envStrings;
    for (const auto& [k, v] : env)
        envStrings.push_back(k + "=" + v);
    std::vector<char*> envp, argv;
    for (auto& s : envStrings)
        envp.push_back(s.data());
    envp.push_back(nullptr);
    for (auto& s : Argv)
        argv.push_back(s.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, out_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, err_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    // A process group of its own, so that whatever it starts can be stopped with it.
    posix_spawnattr_t attr;
    posix_spawnattr_init(&attr);
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETPGROUP);
    posix_spawnattr_setpgroup(&attr, 0);
    const int rc = posix_spawnp(&pid_, argv[0], &actions, &attr, argv.data(), envp.data());
    posix_spawnattr_destroy(&attr);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0)
        throw std::runtime_error(std::string("cannot start ") + argv[0] + ": " + std::strerror(rc));
}

Process::~Process()
{
    if (!status_ && pid_ > 0) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
    // Helpers a killed program leaves behind (the web engine's processes)
    // would otherwise go on writing to its home after the test removed it.
    if (pid_ > 0) {
        kill(-pid_, SIGKILL);
        WaitFor([&] { return !GroupAlive(pid_); }, 5s);
    }
    std::remove(out_.c_str());
    std::remove(err_.c_str());
}

std::optional<int> Process::Wait(std::chrono::milliseconds Timeout)
{
    WaitFor(
        [&] {
            if (status_)
                return true;
            int status = 0;
            if (waitpid(pid_, &status, WNOHANG) == pid_)
                status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            return status_.has_value();
        },
        Timeout);
    return status_;
}

bool Process::Running()
{
    return !Wait(0ms).has_value();
}

std::string Process::Stdout() const
{
    return ReadFile(out_);
}

std::string Process::Stderr() const
{
    return ReadFile(err_);
}

namespace {
// Children of Pid, living or dead, as /proc lists them.
std::vector<pid_t> ChildrenWhere(pid_t Pid, bool Zombies)
{
    std::vector<pid_t> children;
    for (const ProcStat& p : Processes())
        if (p.ppid == Pid && (p.state == 'Z') == Zombies)
            children.push_back(p.pid);
    return children;
}
}  // namespace

std::vector<pid_t> ChildrenOf(pid_t Pid)
{
    return ChildrenWhere(Pid, false);
}

std::vector<pid_t> ZombiesOf(pid_t Pid)
{
    return ChildrenWhere(Pid, true);
}

bool Alive(pid_t Pid)
{
    const auto p = ReadStat(Pid);
    return p && p->state != 'Z';
}

Station::Station(const std::string& Page, double Delay)
{
    std::vector<std::string> argv = {PYTHON, FIXTURE, "--page", Page, "--log", dir_.Path() + "/requests.jsonl"};
    if (Delay > 0) {
        argv.push_back("--delay");
        argv.push_back(std::to_string(Delay));
    }
    process_ = std::make_unique<Process>(argv, std::map<std::string, std::string>{}, dir_.Path());
    if (!WaitFor(
            [&] {
                std::string out = process_->Stdout();
                return std::sscanf(out.c_str(), "PORT %d", &port_) == 1;
            },
            10s))
        throw std::runtime_error("the station fixture did not start: " + process_->Stderr());
}

Station::~Station()
{
    kill(process_->Pid(), SIGTERM);
    process_->Wait(5s);
}

std::vector<nlohmann::json> Station::Requests() const
{
    std::vector<nlohmann::json> requests;
    std::istringstream in(ReadFile(dir_.Path() + "/requests.jsonl"));
    for (std::string line; std::getline(in, line);)
        if (!line.empty())
            requests.push_back(nlohmann::json::parse(line));
    return requests;
}

bool Station::Painted() const
{
    for (const auto& r : Requests())
        if (r["url"].get<std::string>().find("/dodor/fm/painted") != std::string::npos)
            return true;
    return false;
}

void Image::SavePpm(const std::string& Path) const
{
    std::ofstream out(Path, std::ios::binary);
    out << "P6\n" << width_ << " " << height_ << "\n255\n";
    for (const Pixel& p : pixels_)
        out.put(static_cast<char>(p.R)).put(static_cast<char>(p.G)).put(static_cast<char>(p.B));
}

namespace {
// Xlib's default handler ends the process on any error, leaving the
// programs under test running; a window that went away is no reason to.
int lastXError = 0;
int RecordXError(Display*, XErrorEvent* e)
{
    lastXError = e->error_code;
    return 0;
}
}  // namespace

XServer::XServer() : display_(XOpenDisplay(nullptr))
{
    if (!display_)
        throw std::runtime_error("cannot open the test display");
    XSetErrorHandler(RecordXError);
}

XServer::~XServer()
{
    XCloseDisplay(display_);
}

std::vector<long> XServer::CardinalProperty(XWindow W, const char* Name)
{
    std::vector<long> values;
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display_, W, XInternAtom(display_, Name, False), 0, 1 << 20, False, AnyPropertyType, &type,
                           &format, &count, &after, &data) == Success &&
        data) {
        if (format == 32)
            values.assign(reinterpret_cast<long*>(data), reinterpret_cast<long*>(data) + count);
        XFree(data);
    }
    return values;
}

std::string XServer::Property(XWindow W, const char* Name)
{
    std::string value;
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display_, W, XInternAtom(display_, Name, False), 0, 1 << 20, False, AnyPropertyType,
                           &type, &format, &count, &after, &data) == Success &&
        data) {
        if (format == 8)
            value.assign(reinterpret_cast<char*>(data), count);
        XFree(data);
    }
    return value;
}

std::string XServer::Title(XWindow W)
{
    return Property(W, "_NET_WM_NAME");
}

std::pair<std::string, std::string> XServer::WmClass(XWindow W)
{
    std::string raw = Property(W, "WM_CLASS");
    auto nul = raw.find('\0');
    if (nul == std::string::npos)
        return {raw, ""};
    std::string cls = raw.substr(nul + 1);
    if (!cls.empty() && cls.back() == '\0')
        cls.pop_back();
    return {raw.substr(0, nul), cls};
}

std::vector<XWindow> XServer::WindowsOf(pid_t Pid, const std::string& TitleFilter)
{
    std::vector<XWindow> found;
    Window root, parent, *children = nullptr;
    unsigned count = 0;
    XSync(display_, False);
    if (!XQueryTree(display_, DefaultRootWindow(display_), &root, &parent, &children, &count))
        return found;
    for (unsigned i = 0; i < count; ++i) {
        XWindowAttributes a;
        if (!XGetWindowAttributes(display_, children[i], &a) || a.map_state != IsViewable)
            continue;
        auto pid = CardinalProperty(children[i], "_NET_WM_PID");
        if (pid.empty() || pid[0] != Pid)
            continue;
        if (!TitleFilter.empty() && Title(children[i]) != TitleFilter)
            continue;
        found.push_back(children[i]);
    }
    if (children)
        XFree(children);
    return found;
}

XWindow XServer::WaitForWindow(pid_t Pid, const std::string& TitleFilter, std::chrono::milliseconds Timeout)
{
    XWindow w = 0;
    WaitFor(
        [&] {
            auto all = WindowsOf(Pid, TitleFilter);
            if (!all.empty())
                w = all.front();
            return w != 0;
        },
        Timeout);
    return w;
}

Rect XServer::Geometry(XWindow W)
{
    XWindowAttributes a;
    XGetWindowAttributes(display_, W, &a);
    int x = 0, y = 0;
    Window child;
    XTranslateCoordinates(display_, W, DefaultRootWindow(display_), 0, 0, &x, &y, &child);
    return {x, y, a.width, a.height};
}

Rect XServer::Client(XWindow W, bool Skinned)
{
    Rect g = Geometry(W);
    if (Skinned)
        g = {g.X + kFrameLeft, g.Y + kTitleHeight, g.Width - kFrameLeft - kFrameRight,
             g.Height - kTitleHeight - kFrameBottom};
    return g;
}

Image XServer::Capture(const Rect& Area)
{
    XSync(display_, False);
    XImage* xi = XGetImage(display_, DefaultRootWindow(display_), Area.X, Area.Y, Area.Width, Area.Height, AllPlanes,
                           ZPixmap);
    if (!xi)
        throw std::runtime_error("XGetImage failed with X error " + std::to_string(lastXError));
    Image img(Area.Width, Area.Height);
    for (int y = 0; y < Area.Height; ++y)
        for (int x = 0; x < Area.Width; ++x) {
            unsigned long p = XGetPixel(xi, x, y);
            img.Set(x, y,
                    {static_cast<unsigned char>((p & xi->red_mask) >> 16),
                     static_cast<unsigned char>((p & xi->green_mask) >> 8),
                     static_cast<unsigned char>(p & xi->blue_mask)});
        }
    XDestroyImage(xi);
    return img;
}

void XServer::Click(int X, int Y, unsigned Button)
{
    MovePointer(X, Y);
    std::this_thread::sleep_for(50ms);
    XTestFakeButtonEvent(display_, Button, True, CurrentTime);
    XSync(display_, False);
    std::this_thread::sleep_for(30ms);
    XTestFakeButtonEvent(display_, Button, False, CurrentTime);
    XSync(display_, False);
}

void XServer::MovePointer(int X, int Y)
{
    XTestFakeMotionEvent(display_, -1, X, Y, CurrentTime);
    XSync(display_, False);
}

void XServer::Focus(XWindow W)
{
    if (!W) {
        // A window of the test's own takes the focus, as another program's would.
        if (!elsewhere_) {
            elsewhere_ = XCreateSimpleWindow(display_, DefaultRootWindow(display_), 0, 0, 4, 4, 0, 0, 0);
            XMapWindow(display_, elsewhere_);
            XSync(display_, False);
            std::this_thread::sleep_for(100ms);
        }
        W = elsewhere_;
    }
    XSetInputFocus(display_, W, RevertToNone, CurrentTime);
    XSync(display_, False);
}

void XServer::Key(const char* Keysym, const std::vector<const char*>& Modifiers)
{
    for (const char* m : Modifiers)
        XTestFakeKeyEvent(display_, XKeysymToKeycode(display_, XStringToKeysym(m)), True, CurrentTime);
    const KeyCode code = XKeysymToKeycode(display_, XStringToKeysym(Keysym));
    XTestFakeKeyEvent(display_, code, True, CurrentTime);
    XTestFakeKeyEvent(display_, code, False, CurrentTime);
    for (auto it = Modifiers.rbegin(); it != Modifiers.rend(); ++it)
        XTestFakeKeyEvent(display_, XKeysymToKeycode(display_, XStringToKeysym(*it)), False, CurrentTime);
    XSync(display_, False);
}

void XServer::Drag(int FromX, int FromY, int ToX, int ToY)
{
    XTestFakeMotionEvent(display_, -1, FromX, FromY, CurrentTime);
    XSync(display_, False);
    std::this_thread::sleep_for(100ms);
    XTestFakeButtonEvent(display_, 1, True, CurrentTime);
    XSync(display_, False);
    for (int i = 1; i <= 10; ++i) {
        std::this_thread::sleep_for(30ms);
        XTestFakeMotionEvent(display_, -1, FromX + (ToX - FromX) * i / 10, FromY + (ToY - FromY) * i / 10,
                             CurrentTime);
        XSync(display_, False);
    }
    std::this_thread::sleep_for(100ms);
    XTestFakeButtonEvent(display_, 1, False, CurrentTime);
    XSync(display_, False);
}

void XServer::WatchRoot()
{
    XSelectInput(display_, DefaultRootWindow(display_), SubstructureNotifyMask);
    XSync(display_, False);
}

bool XServer::RootReceived(const char* Type, XWindow W, std::chrono::milliseconds Timeout)
{
    const Atom type = XInternAtom(display_, Type, False);
    return WaitFor(
        [&] {
            while (XPending(display_)) {
                XEvent e;
                XNextEvent(display_, &e);
                if (e.type == ClientMessage && e.xclient.message_type == type && e.xclient.window == W)
                    return true;
            }
            return false;
        },
        Timeout);
}

void XServer::ParkPointer()
{
    XTestFakeMotionEvent(display_, -1, 0, 0, CurrentTime);
    XSync(display_, False);
}

void XServer::RequestClose(XWindow W)
{
    XEvent e{};
    e.xclient.type = ClientMessage;
    e.xclient.window = W;
    e.xclient.message_type = XInternAtom(display_, "WM_PROTOCOLS", False);
    e.xclient.format = 32;
    e.xclient.data.l[0] = static_cast<long>(XInternAtom(display_, "WM_DELETE_WINDOW", False));
    e.xclient.data.l[1] = CurrentTime;
    XSendEvent(display_, W, False, NoEventMask, &e);
    XFlush(display_);
}

StandInOpener::StandInOpener()
{
    const std::string script = dir_.Path() + "/xdg-open";
    std::ofstream(script) << "#!/bin/sh\nprintf '%s|%s\\n' \"$#\" \"$*\" >> \"" << Record()
                          << "\"\nexec sleep \"${STANDIN_SLEEP:-0}\"\n";
    chmod(script.c_str(), 0755);
}

std::vector<std::string> StandInOpener::Launches() const
{
    std::istringstream in(ReadFile(Record()));
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

MusicBox::MusicBox(const std::string& Proxy, const std::map<std::string, std::string>& Env, const std::string& Program)
{
    std::map<std::string, std::string> env = {
        {"HOME", home_.Path()},      {"TMPDIR", tmp_.Path()},     {"http_proxy", Proxy},
        {"XDG_RUNTIME_DIR", runtime_.Path()},
        {"XDG_CONFIG_HOME", ""},     {"XDG_CACHE_HOME", ""},      {"XDG_DATA_HOME", ""},
        {"no_proxy", ""},            {"GDK_BACKEND", ""},         {"GDK_SCALE", ""},
    };
    for (const auto& [k, v] : Env)
        env[k] = v;
    process_ = std::make_unique<Process>(std::vector<std::string>{Program}, env, out_.Path());
}

}  // namespace e2e

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    testing::AddGlobalTestEnvironment(new XvfbEnvironment);
    return RUN_ALL_TESTS();
}
