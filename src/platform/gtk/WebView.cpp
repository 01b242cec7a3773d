// The web view: a WebKitWebView placed like any control.
#include <webkit2/webkit2.h>

#include "../Classes.h"
#include "Widgets.h"

namespace backend::gtk {
namespace {

// Runs while the user picks where a download goes; the download waits.
struct SaveRequest {
    GObjectPtr<WebKitDownload> Download;
    GObjectPtr<GtkFileChooserNative> Chooser;
};

void OnSaveResponse(GtkNativeDialog* Dialog, gint Response, gpointer Data)
{
    std::unique_ptr<SaveRequest> request(static_cast<SaveRequest*>(Data));
    g_signal_handlers_disconnect_by_data(Dialog, Data);
    if (Response == GTK_RESPONSE_ACCEPT) {
        g_autofree char* path = gtk_file_chooser_get_filename(GTK_FILE_CHOOSER(Dialog));
        webkit_download_set_allow_overwrite(request->Download.get(), TRUE);  // the chooser asked already
        webkit_download_set_destination(request->Download.get(), path);
    } else {
        webkit_download_cancel(request->Download.get());
    }
}

// WebKit would save a download silently into the Downloads folder; ask the
// user where instead, and save nothing unless they choose a place.
gboolean OnDecideDestination(WebKitDownload* Download, gchar* SuggestedName, gpointer)
{
    WebKitWebView* view = webkit_download_get_web_view(Download);
    GtkWidget* toplevel = view ? gtk_widget_get_toplevel(GTK_WIDGET(view)) : nullptr;
    auto* request = new SaveRequest{
        GObjectPtr<WebKitDownload>(WEBKIT_DOWNLOAD(g_object_ref(Download))),
        GObjectPtr<GtkFileChooserNative>(gtk_file_chooser_native_new(
            nullptr, GTK_IS_WINDOW(toplevel) ? GTK_WINDOW(toplevel) : nullptr, GTK_FILE_CHOOSER_ACTION_SAVE,
            nullptr, nullptr))};
    GtkFileChooser* chooser = GTK_FILE_CHOOSER(request->Chooser.get());
    gtk_file_chooser_set_do_overwrite_confirmation(chooser, TRUE);
    if (SuggestedName && *SuggestedName)
        gtk_file_chooser_set_current_name(chooser, SuggestedName);
    g_signal_connect(request->Chooser.get(), "response", G_CALLBACK(OnSaveResponse), request);
    gtk_native_dialog_show(GTK_NATIVE_DIALOG(request->Chooser.get()));
    return TRUE;  // decided later, in OnSaveResponse
}

void OnDownloadStarted(WebKitWebContext*, WebKitDownload* Download, gpointer)
{
    g_signal_connect(Download, "decide-destination", G_CALLBACK(OnDecideDestination), nullptr);
}

// The page asks for a new window (window.open, target="_blank"): none opens.
GtkWidget* OnCreate(WebKitWebView*, WebKitNavigationAction*, gpointer)
{
    return nullptr;
}

// Camera, microphone, location, notifications and the like: denied.
gboolean OnPermissionRequest(WebKitWebView*, WebKitPermissionRequest* Request, gpointer)
{
    webkit_permission_request_deny(Request);
    return TRUE;
}

WebKitWebView* NewWebView()
{
    static bool contextReady = false;
    WebKitWebContext* context = webkit_web_context_get_default();
    if (!contextReady) {
        // The default context lives as long as the process.
        g_signal_connect(context, "download-started", G_CALLBACK(OnDownloadStarted), nullptr);
        contextReady = true;
    }
    // A radio plays on its own: let media with sound start without a click.
    g_autoptr(WebKitWebsitePolicies) policies =
        webkit_website_policies_new_with_policies("autoplay", WEBKIT_AUTOPLAY_ALLOW, nullptr);
    // Accelerated compositing draws a view placed at a negative offset only
    // in part (the crop's top rows stay blank), and a radio page gains
    // nothing from it: paint in software, always.
    g_autoptr(WebKitSettings) settings = webkit_settings_new();
    webkit_settings_set_hardware_acceleration_policy(settings, WEBKIT_HARDWARE_ACCELERATION_POLICY_NEVER);
    return WEBKIT_WEB_VIEW(g_object_new(WEBKIT_TYPE_WEB_VIEW, "web-context", context, "settings", settings,
                                        "website-policies", policies, nullptr));
}

class GtkWebViewPeer final : public WebViewPeer {
public:
    GtkWebViewPeer()
        : widget_(GTK_WIDGET(NewWebView())), create_(widget_.Get(), "create", G_CALLBACK(OnCreate), nullptr),
          permission_(widget_.Get(), "permission-request", G_CALLBACK(OnPermissionRequest), nullptr)
    {
    }

    void SetBounds(const Bounds& B) override { widget_.SetBounds(B); }
    void SetParent(ContainerPeer* Parent) override { widget_.SetParent(Parent); }
    void* Handle() const override { return widget_.Get(); }

    void Navigate(const std::u16string& URL) override
    {
        g_autoptr(GError) error = nullptr;
        g_autofree char* uri = g_utf16_to_utf8(reinterpret_cast<const gunichar2*>(URL.data()),
                                               static_cast<glong>(URL.size()), nullptr, nullptr, &error);
        if (!uri)
            throw EWebBrowserError(error->message);
        if (!g_uri_is_valid(uri, G_URI_FLAGS_NONE, &error))
            throw EWebBrowserError(error->message);
        webkit_web_view_load_uri(WEBKIT_WEB_VIEW(widget_.Get()), uri);
    }

private:
    Widget widget_;
    SignalConnection create_;
    SignalConnection permission_;
};

}  // namespace
}  // namespace backend::gtk

std::unique_ptr<backend::WebViewPeer> backend::CreateWebViewPeer()
{
    return std::make_unique<gtk::GtkWebViewPeer>();
}
