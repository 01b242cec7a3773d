// Starting the desktop's opener for an address.
#include <glib.h>

#include "../Launcher.h"

namespace {

void Reap(GPid Pid, gint, gpointer)
{
    g_spawn_close_pid(Pid);
}

}  // namespace

void LaunchBrowser(const std::string& Address)
{
    const char* argv[] = {"xdg-open", Address.c_str(), nullptr};
    GPid pid = 0;
    // Not waited for: the window goes on while the browser starts. The child
    // watch reaps the opener when it ends, so none is left a zombie.
    if (g_spawn_async(nullptr, const_cast<char**>(argv), nullptr,
                      static_cast<GSpawnFlags>(G_SPAWN_SEARCH_PATH | G_SPAWN_DO_NOT_REAP_CHILD |
                                               G_SPAWN_STDIN_FROM_DEV_NULL),
                      nullptr, nullptr, &pid, nullptr))
        g_child_watch_add(pid, Reap, nullptr);
}
