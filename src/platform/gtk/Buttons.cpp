// Picture buttons: a GtkButton holding a glyph and a label.
#include <gdk-pixbuf/gdk-pixbuf.h>

#include <algorithm>

#include "../Classes.h"
#include "../SkinPackage.h"
#include "Widgets.h"

namespace backend::gtk {
namespace {

// Decodes a Windows bitmap and makes every pixel of its bottom-left
// pixel's colour transparent.
GdkPixbuf* DecodeGlyph(std::span<const unsigned char> Bitmap)
{
    g_autoptr(GdkPixbufLoader) loader = gdk_pixbuf_loader_new_with_type("bmp", nullptr);
    g_autoptr(GError) error = nullptr;
    if (!gdk_pixbuf_loader_write(loader, Bitmap.data(), Bitmap.size(), &error) ||
        !gdk_pixbuf_loader_close(loader, &error))
        throw EReadError(std::string("Invalid glyph: ") + (error ? error->message : "not a bitmap"));
    GdkPixbuf* image = gdk_pixbuf_loader_get_pixbuf(loader);
    if (!image)
        throw EReadError("Invalid glyph: no image");
    const guchar* corner = gdk_pixbuf_read_pixels(image) +
                           static_cast<gsize>(gdk_pixbuf_get_height(image) - 1) * gdk_pixbuf_get_rowstride(image);
    return gdk_pixbuf_add_alpha(image, TRUE, corner[0], corner[1], corner[2]);
}

// A button is exactly as large as its bounds, whatever the theme's padding
// and minimum sizes, and casts no shadow: the theme's would fall outside the
// bounds, over the station view's top row. Glyphs are drawn as they are: the
// theme's icon shadow would lighten the face under their edges.
void InstallButtonStyle(GtkWidget* Button)
{
    static GtkCssProvider* provider = nullptr;  // one for the process, like the screen
    if (!provider) {
        provider = gtk_css_provider_new();
        gtk_css_provider_load_from_data(provider, "button.glyph-button { padding: 0; min-width: 0; min-height: 0; box-shadow: none; }"
                                        "button.glyph-button image { -gtk-icon-shadow: none; }", -1,
                                        nullptr);
        gtk_style_context_add_provider_for_screen(gtk_widget_get_screen(Button), GTK_STYLE_PROVIDER(provider),
                                                  GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
    }
    gtk_style_context_add_class(gtk_widget_get_style_context(Button), "glyph-button");
}

// The event box gives the button a window of its own, so that it lies
// above the web view (which has one too) and takes the clicks there.
class GtkButtonPeer final : public ButtonPeer {
public:
    GtkButtonPeer()
        : widget_(gtk_event_box_new()), button_(gtk_button_new()), box_(gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 4)),
          image_(gtk_image_new()), label_(gtk_label_new(nullptr)),
          clicked_(button_, "clicked", G_CALLBACK(OnClicked), this)
    {
        InstallButtonStyle(button_);
        gtk_widget_set_halign(box_, GTK_ALIGN_CENTER);
        gtk_widget_set_valign(box_, GTK_ALIGN_CENTER);
        gtk_box_pack_start(GTK_BOX(box_), image_, FALSE, FALSE, 0);
        gtk_box_pack_start(GTK_BOX(box_), label_, FALSE, FALSE, 0);
        gtk_container_add(GTK_CONTAINER(button_), box_);
        gtk_container_add(GTK_CONTAINER(widget_.Get()), button_);
        gtk_widget_show_all(button_);
        gtk_widget_set_no_show_all(image_, TRUE);
        gtk_widget_hide(image_);
    }

    void SetBounds(const Bounds& B) override { widget_.SetBounds(B); }
    void SetParent(ContainerPeer* Parent) override { widget_.SetParent(Parent); }
    void* Handle() const override { return widget_.Get(); }

    void SetCaption(const std::string& Text) override { gtk_label_set_text(GTK_LABEL(label_), Text.c_str()); }

    void SetGlyph(std::span<const unsigned char> Bitmap) override
    {
        g_autoptr(GdkPixbuf) glyph = DecodeGlyph(Bitmap);
        gtk_image_set_from_pixbuf(GTK_IMAGE(image_), glyph);
        gtk_widget_show(image_);
    }

    void ApplySkin(const TSkinLook& Look, std::shared_ptr<const SkinImages> Images) override
    {
        look_ = Look;
        skin_ = std::move(Images);
        draw_ = SignalConnection(button_, "draw", G_CALLBACK(OnDraw), this);
        gtk_widget_queue_draw(button_);
    }

private:
    // The face from the skin's strip of states, then the glyph and caption.
    static gboolean OnDraw(GtkWidget* Button, cairo_t* Cr, gpointer Self)
    {
        auto* self = static_cast<GtkButtonPeer*>(Self);
        const TSkinLook& l = self->look_;
        const GtkStateFlags flags = gtk_widget_get_state_flags(Button);
        int state = 0;  // normal, hot, pressed, focused, disabled
        if (flags & GTK_STATE_FLAG_INSENSITIVE)
            state = 4;
        else if (flags & GTK_STATE_FLAG_ACTIVE)
            state = 2;
        else if (flags & GTK_STATE_FLAG_PRELIGHT)
            state = 1;
        else if (gtk_widget_has_focus(Button))
            state = 3;
        state = std::min(state, l.ButtonStates - 1);
        DrawNineSlice(Cr, self->skin_->Button.get(), 23 * state, 23, l.ButtonLeft, l.ButtonTop, l.ButtonRight,
                      l.ButtonBottom, gtk_widget_get_allocated_width(Button), gtk_widget_get_allocated_height(Button));
        gtk_container_propagate_draw(GTK_CONTAINER(Button), self->box_, Cr);
        return TRUE;
    }

    static void OnClicked(GtkButton*, gpointer Self)
    {
        auto* self = static_cast<GtkButtonPeer*>(Self);
        if (self->OnClick)
            self->OnClick();
    }

    Widget widget_;
    // Owned by widget_ through GTK's containment.
    GtkWidget* button_;
    GtkWidget* box_;
    GtkWidget* image_;
    GtkWidget* label_;
    SignalConnection clicked_;
    TSkinLook look_;
    std::shared_ptr<const SkinImages> skin_;
    SignalConnection draw_;
};

}  // namespace
}  // namespace backend::gtk

std::unique_ptr<backend::ButtonPeer> backend::CreateButtonPeer()
{
    return std::make_unique<gtk::GtkButtonPeer>();
}
