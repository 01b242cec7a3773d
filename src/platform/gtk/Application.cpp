// Start-up, the event loop and the message boxes.
#include <glib-unix.h>

#include <csignal>
#include <cstdio>
#include <string>
#include <vector>

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

void RunMessageBox(const std::string& Title, const std::string& Text, GtkMessageType Type = GTK_MESSAGE_ERROR)
{
    GtkWindow* parent = gtk::MainWindow();
    if (parent && !gtk_widget_get_visible(GTK_WIDGET(parent)))
        parent = nullptr;
    GtkWidget* dialog =
        gtk_message_dialog_new(parent, GTK_DIALOG_MODAL, Type, GTK_BUTTONS_OK, "%s", Text.c_str());
    gtk_window_set_title(GTK_WINDOW(dialog), Title.c_str());
    // GTK 3 message boxes no longer show their type's icon; the error box must.
    G_GNUC_BEGIN_IGNORE_DEPRECATIONS
    GtkWidget* icon = gtk_image_new_from_icon_name(Type == GTK_MESSAGE_ERROR ? "dialog-error" : "dialog-information",
                                                   GTK_ICON_SIZE_DIALOG);
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

void SetApplicationIcon(std::span<const unsigned char> IconFile)
{
    // GdkPixbuf reads one image of an icon file; hand it each image as an
    // icon file of its own, so the desktop can pick the size it needs.
    auto u16 = [&](size_t At) { return static_cast<unsigned>(IconFile[At] | IconFile[At + 1] << 8); };
    auto u32 = [&](size_t At) { return u16(At) | u16(At + 2) << 16; };
    if (IconFile.size() < 6 || u16(0) != 0 || u16(2) != 1)
        throw EReadError("Invalid program icon");
    const unsigned count = u16(4);
    GList* icons = nullptr;
    for (unsigned i = 0; i < count && 6 + 16 * (i + 1) <= IconFile.size(); ++i) {
        const size_t entry = 6 + 16 * i;
        const size_t size = u32(entry + 8), offset = u32(entry + 12);
        if (offset > IconFile.size() || size > IconFile.size() - offset)
            break;
        // Header for one image, its directory entry, the image right after.
        const unsigned char header[6] = {0, 0, 1, 0, 1, 0};
        const unsigned char imageAt[4] = {22, 0, 0, 0};
        std::vector<unsigned char> single(header, header + 6);
        single.reserve(22 + size);
        single.insert(single.end(), IconFile.begin() + entry, IconFile.begin() + entry + 12);
        single.insert(single.end(), imageAt, imageAt + 4);
        single.insert(single.end(), IconFile.begin() + offset, IconFile.begin() + offset + size);
        g_autoptr(GdkPixbufLoader) loader = gdk_pixbuf_loader_new_with_type("ico", nullptr);
        if (loader && gdk_pixbuf_loader_write(loader, single.data(), single.size(), nullptr) &&
            gdk_pixbuf_loader_close(loader, nullptr) && gdk_pixbuf_loader_get_pixbuf(loader))
            icons = g_list_append(icons, g_object_ref(gdk_pixbuf_loader_get_pixbuf(loader)));
    }
    if (!icons)
        throw EReadError("Invalid program icon");
    gtk_window_set_default_icon_list(icons);
    g_list_free_full(icons, g_object_unref);
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

void ShowMessageBox(const std::string& Title, const std::string& Text)
{
    RunMessageBox(Title, Text, GTK_MESSAGE_INFO);
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
