// Start-up, the event loop and the message boxes.
#include <glib-unix.h>

#include <csignal>
#include <cstdio>
#include <string>

#include "../Classes.h"
#include "Widgets.h"

namespace backend {
namespace {

bool quitRequested = false;

std::string ExecutableName()
{
    g_autofree char* target = g_file_read_link("/proc/self/exe", nullptr);
    if (target) {
        g_autofree char* base = g_path_get_basename(target);
        return base;
    }
    return program_invocation_short_name;
}

void RunMessageBox(const std::string& Title, const std::string& Text)
{
    GtkWindow* parent = gtk::MainWindow();
    if (parent && !gtk_widget_get_visible(GTK_WIDGET(parent)))
        parent = nullptr;
    GtkWidget* dialog =
        gtk_message_dialog_new(parent, GTK_DIALOG_MODAL, GTK_MESSAGE_ERROR, GTK_BUTTONS_OK, "%s", Text.c_str());
    gtk_window_set_title(GTK_WINDOW(dialog), Title.c_str());
    // GTK 3 message boxes no longer show their type's icon; the error box must.
    G_GNUC_BEGIN_IGNORE_DEPRECATIONS
    GtkWidget* icon = gtk_image_new_from_icon_name("dialog-error", GTK_ICON_SIZE_DIALOG);
    gtk_message_dialog_set_image(GTK_MESSAGE_DIALOG(dialog), icon);
    G_GNUC_END_IGNORE_DEPRECATIONS
    gtk_widget_show(icon);
    gtk_window_set_position(GTK_WINDOW(dialog), parent ? GTK_WIN_POS_CENTER_ON_PARENT : GTK_WIN_POS_CENTER);
    gtk_dialog_run(GTK_DIALOG(dialog));
    gtk_widget_destroy(dialog);
}

// Logout, shutdown or kill(1): end the way closing the window does.
gboolean OnTerminateSignal(gpointer)
{
    Quit();
    return G_SOURCE_CONTINUE;
}

}  // namespace

void Initialize()
{
    // Window position and fixed size only hold on X11; under Wayland, GDK
    // goes through XWayland.
    gdk_set_allowed_backends("x11");
    g_set_prgname(ExecutableName().c_str());
    if (!gtk_init_check(nullptr, nullptr))
        throw EOutOfResources("Cannot open display");
    for (int signal : {SIGTERM, SIGINT, SIGHUP})
        g_unix_signal_add(signal, OnTerminateSignal, nullptr);
}

void SetApplicationTitle(const std::string& Title)
{
    if (Title.empty())
        return;
    // GLib allows the application name to be set once.
    static bool named = false;
    if (!named) {
        g_set_application_name(Title.c_str());
        named = true;
    }
}

void RunLoop()
{
    if (quitRequested)
        return;
    gtk_main();
}

void Quit()
{
    quitRequested = true;
    if (gtk_main_level() > 0)
        gtk_main_quit();
}

void ProcessPending()
{
    while (gtk_events_pending())
        gtk_main_iteration_do(FALSE);
}

void ShowErrorBox(const std::string& Title, const std::string& Text)
{
    RunMessageBox(Title, Text);
}

void ShowFatalBox(const std::string& Title, const std::string& Text)
{
    // Also on standard error: whoever started the program from a terminal,
    // or without a display, learns why it ended.
    std::fprintf(stderr, "%s\n", Text.c_str());
    std::fflush(stderr);
    if (gdk_display_get_default())
        RunMessageBox(Title, Text);
}

std::string ModuleName()
{
    return ExecutableName();
}

}  // namespace backend
