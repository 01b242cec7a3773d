// The GTK backend in a real X server, looked at from inside the process.
#include <gtest/gtest.h>

#include "../e2e/Xvfb.h"
#include "platform/Application.h"
#include "platform/Buttons.h"
#include "platform/Resources.h"
#include "platform/Timer.h"
#include "platform/WebBrowser.h"
#include "platform/Backend.h"

// Xlib's macros last: they clash with the names above.
#include <gdk/gdkx.h>
#include <gtk/gtk.h>
#include <X11/extensions/XTest.h>

namespace {

struct BoxSeen {
    bool Shown = false;
    std::string Title, Text, Icon;
    bool Modal = false;
    bool HasOk = false;
    int Buttons = 0;
};

// Finds the open message box, notes what it shows and presses OK.
gboolean InspectAndDismiss(gpointer Data)
{
    auto* seen = static_cast<BoxSeen*>(Data);
    GList* toplevels = gtk_window_list_toplevels();
    for (GList* l = toplevels; l; l = l->next) {
        if (!GTK_IS_MESSAGE_DIALOG(l->data) || !gtk_widget_get_visible(GTK_WIDGET(l->data)))
            continue;
        GtkWidget* dialog = GTK_WIDGET(l->data);
        seen->Shown = true;
        seen->Title = gtk_window_get_title(GTK_WINDOW(dialog));
        g_autofree char* text = nullptr;
        g_object_get(dialog, "text", &text, nullptr);
        seen->Text = text ? text : "";
        seen->Modal = gtk_window_get_modal(GTK_WINDOW(dialog));
        G_GNUC_BEGIN_IGNORE_DEPRECATIONS
        GtkWidget* image = gtk_message_dialog_get_image(GTK_MESSAGE_DIALOG(dialog));
        G_GNUC_END_IGNORE_DEPRECATIONS
        if (GTK_IS_IMAGE(image) && gtk_image_get_storage_type(GTK_IMAGE(image)) == GTK_IMAGE_ICON_NAME) {
            const char* name = nullptr;
            gtk_image_get_icon_name(GTK_IMAGE(image), &name, nullptr);
            seen->Icon = name ? name : "";
        }
        seen->HasOk = gtk_dialog_get_widget_for_response(GTK_DIALOG(dialog), GTK_RESPONSE_OK) != nullptr;
        G_GNUC_BEGIN_IGNORE_DEPRECATIONS
        GList* buttons = gtk_container_get_children(GTK_CONTAINER(gtk_dialog_get_action_area(GTK_DIALOG(dialog))));
        G_GNUC_END_IGNORE_DEPRECATIONS
        seen->Buttons = static_cast<int>(g_list_length(buttons));
        g_list_free(buttons);
        gtk_dialog_response(GTK_DIALOG(dialog), GTK_RESPONSE_OK);
        break;
    }
    g_list_free(toplevels);
    return seen->Shown ? G_SOURCE_REMOVE : G_SOURCE_CONTINUE;
}

class GtkBackend : public testing::Test {
protected:
    void SetUp() override
    {
        Application->Initialize();
        Application->Title = "Rurive儿歌音乐盒";
    }
};

TEST_F(GtkBackend, ErrorBoxShowsTheMessageWithItsFullStopUnderTheTitle)
{
    BoxSeen seen;
    g_timeout_add(50, InspectAndDismiss, &seen);
    Application->ShowException(Exception("无法连接到电台"));
    ASSERT_TRUE(seen.Shown);
    EXPECT_EQ(seen.Title, "Rurive儿歌音乐盒");
    EXPECT_EQ(seen.Text, "无法连接到电台.");
    EXPECT_EQ(seen.Icon, "dialog-error");
    EXPECT_TRUE(seen.Modal);
    EXPECT_TRUE(seen.HasOk);
    EXPECT_EQ(seen.Buttons, 1);
}

TEST_F(GtkBackend, HandlerErrorInTheLoopIsShownAndTheLoopGoesOn)
{
    BoxSeen seen;
    bool later = false;
    g_timeout_add(50, InspectAndDismiss, &seen);
    g_idle_add_once(
        [](gpointer) { DispatchEvent([](TObject*) { throw Exception("Stream ended!"); }, nullptr); }, nullptr);
    g_timeout_add_once(
        300,
        [](gpointer Later) {
            *static_cast<bool*>(Later) = true;
            gtk_main_quit();
        },
        &later);
    gtk_main();
    EXPECT_TRUE(seen.Shown);
    EXPECT_EQ(seen.Text, "Stream ended!");
    EXPECT_TRUE(later) << "the loop stopped after the handler's error";
}

TEST_F(GtkBackend, WebViewRefusesAddressesItCannotParse)
{
    TWebBrowser view(nullptr);
    const std::u16string refused[] = {u"not an address", u"http://[::1/dodor/fm/", u"http://app.rurive.com/%zz",
                                      u"http://app.rurive.com/\xD800" /* lone surrogate */};
    for (const auto& address : refused) {
        try {
            view.Navigate(address);
            ADD_FAILURE() << "accepted address " << address.size() << " units long";
        } catch (const EWebBrowserError& e) {
            EXPECT_STRNE(e.what(), "");
        }
    }
    EXPECT_NO_THROW(view.Navigate(u"http://127.0.0.1:9/dodor/fm/"));
}

// A tick that pumps events handles a click that came in during the tick
// before the tick's handler returns.
TEST_F(GtkBackend, ClickQueuedDuringATickIsHandledByItsPump)
{
    TForm form(nullptr);
    form.SetBounds(100, 100, 200, 100);
    auto* button = new TBitBtn(&form);
    button->SetParent(&form);
    button->SetBounds(10, 10, 80, 30);
    form.Loaded();
    form.Show();
    bool shown = false;
    for (int i = 0; i < 200 && !shown; ++i) {
        Application->ProcessMessages();
        GtkWidget* w = static_cast<GtkWidget*>(button->Peer().Handle());
        shown = gtk_widget_get_mapped(w);
        g_usleep(10000);
    }
    ASSERT_TRUE(shown);
    g_usleep(200000);
    Application->ProcessMessages();

    std::vector<std::string> order;
    button->OnClick = [&](TObject*) { order.push_back("click"); };
    TTimer timer(nullptr);
    timer.SetInterval(50);
    timer.SetOnTimer([&](TObject*) {
        timer.SetEnabled(false);
        // Real input from the X server: a click on the button, queued now.
        GtkWidget* w = static_cast<GtkWidget*>(button->Peer().Handle());
        int x = 0, y = 0;
        gdk_window_get_origin(gtk_widget_get_window(w), &x, &y);
        Display* d = XOpenDisplay(nullptr);
        XTestFakeMotionEvent(d, -1, x + 40, y + 15, CurrentTime);
        XTestFakeButtonEvent(d, 1, True, CurrentTime);
        XTestFakeButtonEvent(d, 1, False, CurrentTime);
        XSync(d, False);
        XCloseDisplay(d);
        g_usleep(100000);  // the events are on their way to this process
        order.push_back("pump");
        Application->ProcessMessages();
        order.push_back("tick returns");
        gtk_main_quit();
    });
    gtk_main();
    EXPECT_EQ(order, (std::vector<std::string>{"pump", "click", "tick returns"}));
}

}  // namespace

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    testing::AddGlobalTestEnvironment(new XvfbEnvironment);
    return RUN_ALL_TESTS();
}
