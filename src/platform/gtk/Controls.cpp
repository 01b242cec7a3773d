// Panels and forms: GtkLayout containers, and the top-level window.
#include <string>

#include "../SkinPackage.h"
#include "Widgets.h"

namespace backend::gtk {

Widget::Widget(GtkWidget* W) : widget_(AdoptSink(W)) {}

Widget::~Widget()
{
    SetParent(nullptr);
    gtk_widget_destroy(widget_.get());
}

void Widget::SetBounds(const Bounds& B)
{
    bounds_ = B;
    gtk_widget_set_size_request(widget_.get(), B.Width, B.Height);
    if (parent_)
        gtk_layout_move(parent_, widget_.get(), B.Left, B.Top);
}

void Widget::SetParent(ContainerPeer* Parent)
{
    if (parent_)
        gtk_container_remove(GTK_CONTAINER(parent_), widget_.get());
    parent_ = nullptr;
    if (!Parent)
        return;
    auto* container = dynamic_cast<Container*>(Parent);
    parent_ = container->Layout();
    gtk_layout_put(parent_, widget_.get(), bounds_.Left, bounds_.Top);
    gtk_widget_show(widget_.get());
}

void SetFocusChain(GtkLayout* Layout, const std::vector<ControlPeer*>& Children)
{
    GList* chain = nullptr;
    for (auto it = Children.rbegin(); it != Children.rend(); ++it)
        chain = g_list_prepend(chain, WidgetOf(**it));
    // Deprecated in favour of GTK 4's focus handling, but GTK 3's only way
    // to give a container an explicit tab order.
    G_GNUC_BEGIN_IGNORE_DEPRECATIONS
    gtk_container_set_focus_chain(GTK_CONTAINER(Layout), chain);
    G_GNUC_END_IGNORE_DEPRECATIONS
    g_list_free(chain);
}

namespace {

GtkWindow* mainWindow = nullptr;

class GtkPanelPeer final : public PanelPeer, public Container {
public:
    GtkPanelPeer() : widget_(gtk_layout_new(nullptr, nullptr)) {}

    void SetBounds(const Bounds& B) override { widget_.SetBounds(B); }
    void SetParent(ContainerPeer* Parent) override { widget_.SetParent(Parent); }
    void* Handle() const override { return widget_.Get(); }
    void SetFocusOrder(const std::vector<ControlPeer*>& Children) override { SetFocusChain(Layout(), Children); }
    GtkLayout* Layout() const override { return GTK_LAYOUT(widget_.Get()); }

private:
    Widget widget_;
};

// A top-level window whose client area is a GtkLayout of the form's client
// size. The window cannot be resized when the border is fixed, and tells the
// window manager which functions its border icons allow.
class GtkFormPeer final : public FormPeer, public Container {
public:
    GtkFormPeer()
        : window_(AdoptSink(gtk_window_new(GTK_WINDOW_TOPLEVEL))), client_(AdoptSink(gtk_layout_new(nullptr, nullptr))),
          css_(gtk_css_provider_new())
    {
        static int serial = 0;
        name_ = "form" + std::to_string(++serial);
        gtk_widget_set_name(GTK_WIDGET(window_.get()), name_.c_str());
        gtk_container_add(GTK_CONTAINER(window_.get()), client_.get());
        gtk_widget_show(client_.get());
        gtk_style_context_add_provider_for_screen(gtk_widget_get_screen(GTK_WIDGET(window_.get())),
                                                  GTK_STYLE_PROVIDER(css_.get()),
                                                  GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
        deleteEvent_ = SignalConnection(window_.get(), "delete-event", G_CALLBACK(OnDeleteEvent), this);
        realize_ = SignalConnection(window_.get(), "realize", G_CALLBACK(OnRealize), this);
        if (!mainWindow)
            mainWindow = GTK_WINDOW(window_.get());
    }

    ~GtkFormPeer() override
    {
        skin_.reset();
        deleteEvent_.Disconnect();
        realize_.Disconnect();
        if (mainWindow == GTK_WINDOW(window_.get()))
            mainWindow = nullptr;
        for (GtkCssProvider* css : {css_.get(), skinCss_.get()})
            if (css)
                gtk_style_context_remove_provider_for_screen(gtk_widget_get_screen(GTK_WIDGET(window_.get())),
                                                             GTK_STYLE_PROVIDER(css));
        gtk_widget_destroy(GTK_WIDGET(window_.get()));
    }

    void SetBounds(const Bounds& B) override
    {
        gtk_window_move(GTK_WINDOW(window_.get()), B.Left, B.Top);
        gtk_widget_set_size_request(client_.get(), B.Width, B.Height);
    }
    void SetParent(ContainerPeer*) override {}
    void* Handle() const override { return window_.get(); }
    GtkLayout* Layout() const override { return GTK_LAYOUT(client_.get()); }
    void SetFocusOrder(const std::vector<ControlPeer*>& Children) override { SetFocusChain(Layout(), Children); }

    void SetCaption(const std::string& Text) override { gtk_window_set_title(GTK_WINDOW(window_.get()), Text.c_str()); }

    void SetFixedBorder(bool Fixed) override
    {
        fixed_ = Fixed;
        gtk_window_set_resizable(GTK_WINDOW(window_.get()), !Fixed);
        ApplyFunctions();
    }

    void SetBorderIcons(unsigned Icons) override
    {
        icons_ = Icons;
        ApplyFunctions();
    }

    void SetFont(const FontSpec& Font) override
    {
        // Height in pixels at 96 dpi; GDK's scale factor scales it with the layout.
        const int px = Font.Height < 0 ? -Font.Height : Font.Height;
        std::string css = "#" + name_ + ", #" + name_ + " * { font-family: \"" + Font.Name +
                          "\", sans-serif; font-size: " + std::to_string(px) + "px; font-weight: " +
                          (Font.Bold ? "bold" : "normal") + "; font-style: " + (Font.Italic ? "italic" : "normal") +
                          "; }";
        if (Font.Underline || Font.StrikeOut)
            css += "#" + name_ + " label { text-decoration-line: " +
                   std::string(Font.Underline ? "underline " : "") + (Font.StrikeOut ? "line-through" : "") + "; }";
        gtk_css_provider_load_from_data(css_.get(), css.c_str(), -1, nullptr);
    }

    void Show() override
    {
        GtkWidget* w = GTK_WIDGET(window_.get());
        // The window class names the application as its title does; GDK
        // reads its own program class only when the display opens, which is
        // before the title is known.
        if (!gtk_widget_get_realized(w) && g_get_application_name()) {
            G_GNUC_BEGIN_IGNORE_DEPRECATIONS
            gtk_window_set_wmclass(GTK_WINDOW(w), g_get_prgname(), g_get_application_name());
            G_GNUC_END_IGNORE_DEPRECATIONS
        }
        gtk_widget_show(w);
        gtk_window_present(GTK_WINDOW(window_.get()));
    }

    void Close() override { Closed(); }

    void ApplySkin(const TSkinLook& Look, std::shared_ptr<const SkinImages> Images, bool SystemMenu) override
    {
        auto rgb = [](const TSkinColor& c) {
            return "rgb(" + std::to_string(c.R) + "," + std::to_string(c.G) + "," + std::to_string(c.B) + ")";
        };
        // The skin's colours and font for the window and its buttons.
        const std::string css = "#" + name_ + " { background-color: " + rgb(Look.BtnFace) + "; } #" + name_ +
                                " button label { font-family: \"" + Look.FontName + "\", sans-serif; font-size: " +
                                std::to_string(Look.FontHeight) + "px; color: black; } #" + name_ +
                                " button:disabled label { color: " + rgb(Look.GrayText) + "; } #" + name_ +
                                " menu, #" + name_ + " menuitem { background-color: " + rgb(Look.Window) + "; }";
        skinCss_.reset(gtk_css_provider_new());
        gtk_css_provider_load_from_data(skinCss_.get(), css.c_str(), -1, nullptr);
        gtk_style_context_add_provider_for_screen(gtk_widget_get_screen(GTK_WIDGET(window_.get())),
                                                  GTK_STYLE_PROVIDER(skinCss_.get()),
                                                  GTK_STYLE_PROVIDER_PRIORITY_APPLICATION + 1);
        skin_ = CreateSkinFrame(GTK_WINDOW(window_.get()), client_.get(), Look, std::move(Images), SystemMenu, icons_,
                                [this] { Closed(); });
    }

private:
    void Closed()
    {
        gtk_widget_hide(GTK_WIDGET(window_.get()));
        if (OnClosed)
            OnClosed();
    }

    void ApplyFunctions()
    {
        GdkWindow* w = gtk_widget_get_window(GTK_WIDGET(window_.get()));
        if (!w)
            return;  // applied on realize
        unsigned functions = GDK_FUNC_MOVE;
        unsigned decorations = GDK_DECOR_BORDER | GDK_DECOR_TITLE;
        if (icons_ & kSystemMenu) {
            functions |= GDK_FUNC_CLOSE;
            decorations |= GDK_DECOR_MENU;
        }
        if (icons_ & kMinimize) {
            functions |= GDK_FUNC_MINIMIZE;
            decorations |= GDK_DECOR_MINIMIZE;
        }
        if ((icons_ & kMaximize) && !fixed_) {
            functions |= GDK_FUNC_MAXIMIZE;
            decorations |= GDK_DECOR_MAXIMIZE;
        }
        if (!fixed_) {
            functions |= GDK_FUNC_RESIZE;
            decorations |= GDK_DECOR_RESIZEH;
        }
        gdk_window_set_functions(w, static_cast<GdkWMFunction>(functions));
        // A skinned window draws its own frame: the window manager draws none.
        gdk_window_set_decorations(w, static_cast<GdkWMDecoration>(skin_ ? 0 : decorations));
    }

    static gboolean OnDeleteEvent(GtkWidget*, GdkEvent*, gpointer Self)
    {
        static_cast<GtkFormPeer*>(Self)->Closed();
        return TRUE;  // the peer destroys the window with the form
    }

    static void OnRealize(GtkWidget*, gpointer Self) { static_cast<GtkFormPeer*>(Self)->ApplyFunctions(); }

    GObjectPtr<GtkWidget> window_;
    GObjectPtr<GtkWidget> client_;
    GObjectPtr<GtkCssProvider> css_;
    SignalConnection deleteEvent_;
    SignalConnection realize_;
    GObjectPtr<GtkCssProvider> skinCss_;
    std::unique_ptr<SkinFrame> skin_;
    std::string name_;
    bool fixed_ = false;
    unsigned icons_ = kSystemMenu | kMinimize | kMaximize;
};

}  // namespace

GtkWindow* MainWindow()
{
    return mainWindow;
}

}  // namespace backend::gtk

namespace backend {

std::unique_ptr<PanelPeer> CreatePanelPeer()
{
    return std::make_unique<gtk::GtkPanelPeer>();
}

std::unique_ptr<FormPeer> CreateFormPeer()
{
    return std::make_unique<gtk::GtkFormPeer>();
}

}  // namespace backend
