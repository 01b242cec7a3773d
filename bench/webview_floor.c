/* The web engine's floor: one GTK window holding one WebKitGTK view of the
 * music box's client size, loading the station page, and nothing else. It
 * uses the engine settings the music box uses, so that what the music box
 * costs on top of it is its own.
 *
 *   webview-floor URL [--crop] [--defaults]
 *
 * With --crop the view is laid out as the music box lays its view out:
 * 800 x 800 at (-140, 4) in a 519 x 515 client area, so that the figures
 * tell the cost of the crop from the cost of the program around it.
 * With --defaults the engine keeps its own hardware-acceleration policy,
 * which shows what the music box's settings save.
 */
#include <gtk/gtk.h>
#include <glib-unix.h>
#include <webkit2/webkit2.h>

static gboolean on_delete(GtkWidget *window, GdkEvent *event, gpointer data)
{
    gtk_main_quit();
    return FALSE;
}

int main(int argc, char **argv)
{
    gtk_init(&argc, &argv);
    if (argc < 2)
        return 2;
    gboolean crop = FALSE, defaults = FALSE;
    for (int i = 2; i < argc; i++) {
        if (g_str_equal(argv[i], "--crop"))
            crop = TRUE;
        else if (g_str_equal(argv[i], "--defaults"))
            defaults = TRUE;
        else
            return 2;
    }
    GtkWidget *window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    gtk_window_set_default_size(GTK_WINDOW(window), 519, 515);
    WebKitSettings *settings = webkit_settings_new();
    if (!defaults)
        webkit_settings_set_hardware_acceleration_policy(settings, WEBKIT_HARDWARE_ACCELERATION_POLICY_NEVER);
    WebKitWebsitePolicies *policies =
        webkit_website_policies_new_with_policies("autoplay", WEBKIT_AUTOPLAY_ALLOW, NULL);
    GtkWidget *view = g_object_new(WEBKIT_TYPE_WEB_VIEW, "settings", settings, "website-policies", policies, NULL);
    g_object_unref(settings);
    g_object_unref(policies);
    if (crop) {
        GtkWidget *client = gtk_layout_new(NULL, NULL);
        gtk_widget_set_size_request(client, 519, 515);
        gtk_widget_set_size_request(view, 800, 800);
        gtk_layout_put(GTK_LAYOUT(client), view, -140, 4);
        gtk_window_set_resizable(GTK_WINDOW(window), FALSE);
        gtk_container_add(GTK_CONTAINER(window), client);
    } else {
        gtk_container_add(GTK_CONTAINER(window), view);
    }
    g_signal_connect(window, "delete-event", G_CALLBACK(on_delete), NULL);
    g_unix_signal_add(SIGTERM, (GSourceFunc)gtk_main_quit, NULL);
    webkit_web_view_load_uri(WEBKIT_WEB_VIEW(view), argv[1]);
    gtk_widget_show_all(window);
    gtk_main();
    return 0;
}
