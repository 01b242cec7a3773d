// The skin on GTK: decoded images, the frame and title bar drawn around a
// form's client area, and the pieces both share.
#include <gdk/gdkkeysyms.h>

#include "../SkinPackage.h"
#include "Widgets.h"

namespace backend {

namespace {

GObjectPtr<GdkPixbuf> DecodeImage(const TSkinPackage& Package, const std::string& Name, int Width, int Height)
{
    const auto& data = Package.File(Name);
    g_autoptr(GdkPixbufLoader) loader = gdk_pixbuf_loader_new();
    if (!gdk_pixbuf_loader_write(loader, data.data(), data.size(), nullptr) ||
        !gdk_pixbuf_loader_close(loader, nullptr) || !gdk_pixbuf_loader_get_pixbuf(loader))
        throw ESkinError("The skin's image " + Name + " is damaged");
    GdkPixbuf* image = gdk_pixbuf_loader_get_pixbuf(loader);
    if (gdk_pixbuf_get_width(image) != Width || gdk_pixbuf_get_height(image) != Height)
        throw ESkinError("The skin's image " + Name + " is not " + std::to_string(Width) + " x " +
                         std::to_string(Height));
    return GObjectPtr<GdkPixbuf>(GDK_PIXBUF(g_object_ref(image)));
}

}  // namespace

std::shared_ptr<const SkinImages> DecodeSkin(const TSkinPackage& Package)
{
    const TSkinLook& l = Package.Look;
    auto images = std::make_shared<SkinImages>();
    // Two states (active above inactive) of the title and the frame edges,
    // three (normal, hot, pressed) of each caption button.
    images->Title = DecodeImage(Package, l.TitleImage, 312, 2 * l.TitleHeight);
    images->Close = DecodeImage(Package, l.CloseImage, 3 * l.CaptionWidth, l.CaptionHeight);
    images->Maximize = DecodeImage(Package, l.MaximizeImage, 3 * l.CaptionWidth, l.CaptionHeight);
    images->Restore = DecodeImage(Package, l.RestoreImage, 3 * l.CaptionWidth, l.CaptionHeight);
    images->Minimize = DecodeImage(Package, l.MinimizeImage, 3 * l.CaptionWidth, l.CaptionHeight);
    images->FrameLeft = DecodeImage(Package, l.FrameLeftImage, 2 * l.FrameLeft, 1);
    images->FrameRight = DecodeImage(Package, l.FrameRightImage, 2 * l.FrameRight, 1);
    images->FrameBottom = DecodeImage(Package, l.FrameBottomImage, 1, 2 * l.FrameBottom);
    images->Button = DecodeImage(Package, l.ButtonImage, 50, 23 * l.ButtonStates);
    if (l.ButtonLeft + l.ButtonRight >= 50 || l.ButtonTop + l.ButtonBottom >= 23)
        throw ESkinError("The skin's button borders are larger than its faces");
    return images;
}

namespace gtk {

void DrawStretched(cairo_t* Cr, GdkPixbuf* Source, int SX, int SY, int SW, int SH, double DX, double DY, double DW,
                   double DH)
{
    if (SW <= 0 || SH <= 0 || DW <= 0 || DH <= 0)
        return;
    cairo_save(Cr);
    cairo_rectangle(Cr, DX, DY, DW, DH);
    cairo_clip(Cr);
    cairo_translate(Cr, DX, DY);
    cairo_scale(Cr, DW / SW, DH / SH);
    gdk_cairo_set_source_pixbuf(Cr, Source, -SX, -SY);
    // Nearest neighbour: the skin's edges stay crisp when stretched.
    cairo_pattern_set_filter(cairo_get_source(Cr), CAIRO_FILTER_NEAREST);
    cairo_pattern_set_extend(cairo_get_source(Cr), CAIRO_EXTEND_PAD);
    cairo_paint(Cr);
    cairo_restore(Cr);
}

void DrawNineSlice(cairo_t* Cr, GdkPixbuf* Source, int SY, int SH, int Left, int Top, int Right, int Bottom,
                   double W, double H)
{
    const int sw = gdk_pixbuf_get_width(Source);
    const int sx[] = {0, Left, sw - Right}, swidth[] = {Left, sw - Left - Right, Right};
    const int sy[] = {SY, SY + Top, SY + SH - Bottom}, sheight[] = {Top, SH - Top - Bottom, Bottom};
    const double dx[] = {0, double(Left), W - Right}, dwidth[] = {double(Left), W - Left - Right, double(Right)};
    const double dy[] = {0, double(Top), H - Bottom}, dheight[] = {double(Top), H - Top - Bottom, double(Bottom)};
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col)
            DrawStretched(Cr, Source, sx[col], sy[row], swidth[col], sheight[row], dx[col], dy[row], dwidth[col],
                          dheight[row]);
}

namespace {

void SetColor(cairo_t* Cr, const TSkinColor& C)
{
    cairo_set_source_rgb(Cr, C.R / 255.0, C.G / 255.0, C.B / 255.0);
}

// The frame around the client area: a title bar with the window's icon,
// caption and buttons, and left, right and bottom edges, each drawn in its
// active or inactive state. The title bar moves the window and opens the
// system menu.
class GtkSkinFrame final : public SkinFrame {
public:
    GtkSkinFrame(GtkWindow* Window, GtkWidget* Client, const TSkinLook& Look, std::shared_ptr<const SkinImages> Images,
                 bool SystemMenu, unsigned Icons, std::function<void()> Close)
        : window_(Window), client_(Client), look_(Look), images_(std::move(Images)), icons_(Icons),
          close_(std::move(Close)), grid_(AdoptSink(gtk_layout_new(nullptr, nullptr))), title_(gtk_drawing_area_new()),
          left_(gtk_drawing_area_new()), right_(gtk_drawing_area_new()), bottom_(gtk_drawing_area_new())
    {
        int w = 0, h = 0;
        gtk_widget_get_size_request(client_, &w, &h);
        const int outer = look_.FrameLeft + w + look_.FrameRight;
        gtk_widget_set_size_request(title_, outer, look_.TitleHeight);
        gtk_widget_set_size_request(left_, look_.FrameLeft, h);
        gtk_widget_set_size_request(right_, look_.FrameRight, h);
        gtk_widget_set_size_request(bottom_, outer, look_.FrameBottom);

        // The frame is a layout of its own: the client area first, the edges
        // and title bar placed after it, so that they lie above whatever
        // reaches past the client area (the top row's last button, the
        // station view) and cut it off there.
        g_object_ref(client_);
        gtk_container_remove(GTK_CONTAINER(window_), client_);
        GtkLayout* frame = GTK_LAYOUT(grid_.get());
        gtk_widget_set_size_request(grid_.get(), outer, look_.TitleHeight + h + look_.FrameBottom);
        gtk_layout_put(frame, client_, look_.FrameLeft, look_.TitleHeight);
        gtk_layout_put(frame, title_, 0, 0);
        gtk_layout_put(frame, left_, 0, look_.TitleHeight);
        gtk_layout_put(frame, right_, look_.FrameLeft + w, look_.TitleHeight);
        gtk_layout_put(frame, bottom_, 0, look_.TitleHeight + h);
        g_object_unref(client_);
        gtk_container_add(GTK_CONTAINER(window_), grid_.get());
        gtk_widget_show_all(grid_.get());
        gtk_window_set_decorated(window_, FALSE);

        gtk_widget_add_events(title_, GDK_BUTTON_PRESS_MASK | GDK_BUTTON_RELEASE_MASK | GDK_POINTER_MOTION_MASK |
                                          GDK_LEAVE_NOTIFY_MASK);
        signals_.emplace_back(title_, "draw", G_CALLBACK(OnDrawTitle), this);
        signals_.emplace_back(left_, "draw", G_CALLBACK(OnDrawLeft), this);
        signals_.emplace_back(right_, "draw", G_CALLBACK(OnDrawRight), this);
        signals_.emplace_back(bottom_, "draw", G_CALLBACK(OnDrawBottom), this);
        signals_.emplace_back(title_, "button-press-event", G_CALLBACK(OnPress), this);
        signals_.emplace_back(title_, "button-release-event", G_CALLBACK(OnRelease), this);
        signals_.emplace_back(title_, "motion-notify-event", G_CALLBACK(OnMotion), this);
        signals_.emplace_back(title_, "leave-notify-event", G_CALLBACK(OnLeave), this);
        signals_.emplace_back(window_, "notify::is-active", G_CALLBACK(OnActiveChanged), this);
        signals_.emplace_back(window_, "notify::title", G_CALLBACK(OnActiveChanged), this);
        signals_.emplace_back(window_, "key-press-event", G_CALLBACK(OnKey), this);

        if (SystemMenu)
            BuildMenu();
    }

    ~GtkSkinFrame() override
    {
        signals_.clear();
        if (menu_)
            gtk_widget_destroy(menu_.get());
    }

private:
    enum Button { kNone = -1, kClose, kMaximize, kMinimize };

    bool Active() const { return gtk_window_is_active(window_); }

    bool HasButton(int B) const
    {
        switch (B) {
        case kClose:
            return icons_ & kSystemMenu;
        case kMinimize:
            return icons_ & kMinimize;
        default:
            return (icons_ & kMaximize) && gtk_window_get_resizable(window_);
        }
    }

    GdkRectangle ButtonRect(int B) const
    {
        const int offset = B == kClose ? look_.CloseOffset : B == kMinimize ? look_.MinimizeOffset : look_.MaximizeOffset;
        return {gtk_widget_get_allocated_width(title_) - offset, look_.CaptionTop, look_.CaptionWidth,
                look_.CaptionHeight};
    }

    int ButtonAt(double X, double Y) const
    {
        for (int b : {kClose, kMaximize, kMinimize}) {
            const GdkRectangle r = ButtonRect(b);
            if (HasButton(b) && X >= r.x && X < r.x + r.width && Y >= r.y && Y < r.y + r.height)
                return b;
        }
        return kNone;
    }

    void DrawTitle(cairo_t* Cr)
    {
        const int w = gtk_widget_get_allocated_width(title_), h = look_.TitleHeight;
        const bool active = Active();
        DrawStretched(Cr, images_->Title.get(), 0, active ? 0 : h, 312, h, 0, 0, w, h);

        if (GList* icons = gtk_window_get_default_icon_list()) {
            GdkPixbuf* best = nullptr;
            for (GList* l = icons; l; l = l->next)
                if (!best || std::abs(gdk_pixbuf_get_width(GDK_PIXBUF(l->data)) - 16) <
                                 std::abs(gdk_pixbuf_get_width(best) - 16))
                    best = GDK_PIXBUF(l->data);
            const int size = 16;
            DrawStretched(Cr, best, 0, 0, gdk_pixbuf_get_width(best), gdk_pixbuf_get_height(best), look_.TitleIconLeft,
                          (h - size) / 2.0, size, size);
            g_list_free(icons);
        }

        const char* caption = gtk_window_get_title(window_);
        if (caption) {
            PangoLayout* layout = gtk_widget_create_pango_layout(title_, caption);
            PangoFontDescription* font = pango_font_description_from_string(look_.FontName.c_str());
            pango_font_description_set_absolute_size(font, look_.FontHeight * PANGO_SCALE);
            pango_font_description_set_weight(font, PANGO_WEIGHT_BOLD);
            pango_layout_set_font_description(layout, font);
            pango_font_description_free(font);
            int tw = 0, th = 0;
            pango_layout_get_pixel_size(layout, &tw, &th);
            const double y = (h - th) / 2.0;
            if (active) {
                SetColor(Cr, look_.TitleShadow);
                cairo_move_to(Cr, look_.TitleTextLeft + 1, y + 1);
                pango_cairo_show_layout(Cr, layout);
            }
            SetColor(Cr, active ? look_.ActiveTitleText : look_.InactiveTitleText);
            cairo_move_to(Cr, look_.TitleTextLeft, y);
            pango_cairo_show_layout(Cr, layout);
            g_object_unref(layout);
        }

        for (int b : {kClose, kMaximize, kMinimize}) {
            if (!HasButton(b))
                continue;
            GdkPixbuf* image = b == kClose ? images_->Close.get() : b == kMinimize ? images_->Minimize.get()
                                                                                     : images_->Maximize.get();
            const int state = pressed_ == b && hot_ == b ? 2 : hot_ == b ? 1 : 0;
            const GdkRectangle r = ButtonRect(b);
            DrawStretched(Cr, image, state * look_.CaptionWidth, 0, look_.CaptionWidth, look_.CaptionHeight, r.x, r.y,
                          r.width, r.height);
        }
    }

    void DrawEdge(cairo_t* Cr, GtkWidget* Edge, GdkPixbuf* Image, bool Vertical, int Thickness)
    {
        const int w = gtk_widget_get_allocated_width(Edge), h = gtk_widget_get_allocated_height(Edge);
        const int state = Active() ? 0 : 1;
        if (Vertical)
            DrawStretched(Cr, Image, state * Thickness, 0, Thickness, 1, 0, 0, w, h);
        else
            DrawStretched(Cr, Image, 0, state * Thickness, 1, Thickness, 0, 0, w, h);
    }

    void Redraw()
    {
        for (GtkWidget* w : {title_, left_, right_, bottom_})
            gtk_widget_queue_draw(w);
    }

    void BuildMenu()
    {
        menu_ = AdoptSink(gtk_menu_new());
        auto item = [&](const char* label, bool enabled, GCallback action) {
            GtkWidget* i = gtk_menu_item_new_with_mnemonic(label);
            gtk_widget_set_sensitive(i, enabled);
            if (action)
                signals_.emplace_back(i, "activate", action, this);
            gtk_menu_shell_append(GTK_MENU_SHELL(menu_.get()), i);
        };
        // The usual entries; a fixed window cannot be restored, sized or maximised.
        item("还原(_R)", false, nullptr);
        item("移动(_M)", true, G_CALLBACK(OnMenuMove));
        item("大小(_S)", false, nullptr);
        item("最小化(_N)", HasButton(kMinimize), G_CALLBACK(OnMenuMinimize));
        item("最大化(_X)", false, nullptr);
        gtk_menu_shell_append(GTK_MENU_SHELL(menu_.get()), gtk_separator_menu_item_new());
        item("关闭(_C)\tAlt+F4", HasButton(kClose), G_CALLBACK(OnMenuClose));
        gtk_widget_show_all(menu_.get());
        gtk_menu_attach_to_widget(GTK_MENU(menu_.get()), title_, nullptr);
    }

    void PopupMenu(const GdkEvent* Trigger)
    {
        if (!menu_)
            return;
        if (Trigger && Trigger->type == GDK_BUTTON_PRESS)
            gtk_menu_popup_at_pointer(GTK_MENU(menu_.get()), Trigger);
        else
            gtk_menu_popup_at_widget(GTK_MENU(menu_.get()), title_, GDK_GRAVITY_SOUTH_WEST, GDK_GRAVITY_NORTH_WEST,
                                     Trigger);
    }

    static gboolean OnDrawTitle(GtkWidget*, cairo_t* Cr, gpointer Self)
    {
        static_cast<GtkSkinFrame*>(Self)->DrawTitle(Cr);
        return TRUE;
    }
    static gboolean OnDrawLeft(GtkWidget* W, cairo_t* Cr, gpointer Self)
    {
        auto* s = static_cast<GtkSkinFrame*>(Self);
        s->DrawEdge(Cr, W, s->images_->FrameLeft.get(), true, s->look_.FrameLeft);
        return TRUE;
    }
    static gboolean OnDrawRight(GtkWidget* W, cairo_t* Cr, gpointer Self)
    {
        auto* s = static_cast<GtkSkinFrame*>(Self);
        s->DrawEdge(Cr, W, s->images_->FrameRight.get(), true, s->look_.FrameRight);
        return TRUE;
    }
    static gboolean OnDrawBottom(GtkWidget* W, cairo_t* Cr, gpointer Self)
    {
        auto* s = static_cast<GtkSkinFrame*>(Self);
        s->DrawEdge(Cr, W, s->images_->FrameBottom.get(), false, s->look_.FrameBottom);
        return TRUE;
    }

    static gboolean OnPress(GtkWidget*, GdkEventButton* E, gpointer Self)
    {
        auto* s = static_cast<GtkSkinFrame*>(Self);
        if (E->type != GDK_BUTTON_PRESS)
            return TRUE;  // double clicks: a fixed window does not maximise
        if (E->button == GDK_BUTTON_SECONDARY) {
            s->PopupMenu(reinterpret_cast<GdkEvent*>(E));
            return TRUE;
        }
        if (E->button != GDK_BUTTON_PRIMARY)
            return FALSE;
        s->pressed_ = s->ButtonAt(E->x, E->y);
        s->hot_ = s->pressed_;
        if (s->pressed_ == kNone)
            gtk_window_begin_move_drag(s->window_, E->button, static_cast<int>(E->x_root),
                                       static_cast<int>(E->y_root), E->time);
        s->Redraw();
        return TRUE;
    }

    static gboolean OnRelease(GtkWidget*, GdkEventButton* E, gpointer Self)
    {
        auto* s = static_cast<GtkSkinFrame*>(Self);
        if (E->button != GDK_BUTTON_PRIMARY)
            return FALSE;
        const int pressed = s->pressed_;
        s->pressed_ = kNone;
        s->Redraw();
        if (pressed != kNone && s->ButtonAt(E->x, E->y) == pressed) {
            if (pressed == kClose)
                s->close_();
            else if (pressed == kMinimize)
                gtk_window_iconify(s->window_);
        }
        return TRUE;
    }

    static gboolean OnMotion(GtkWidget*, GdkEventMotion* E, gpointer Self)
    {
        auto* s = static_cast<GtkSkinFrame*>(Self);
        const int hot = s->ButtonAt(E->x, E->y);
        if (hot != s->hot_) {
            s->hot_ = hot;
            s->Redraw();
        }
        return FALSE;
    }

    static gboolean OnLeave(GtkWidget*, GdkEventCrossing*, gpointer Self)
    {
        auto* s = static_cast<GtkSkinFrame*>(Self);
        s->hot_ = kNone;
        s->Redraw();
        return FALSE;
    }

    static void OnActiveChanged(GObject*, GParamSpec*, gpointer Self) { static_cast<GtkSkinFrame*>(Self)->Redraw(); }

    // Alt+Space opens the system menu; Alt+F4 closes, as the window
    // manager's frame would have done.
    static gboolean OnKey(GtkWidget*, GdkEventKey* E, gpointer Self)
    {
        auto* s = static_cast<GtkSkinFrame*>(Self);
        if (!(E->state & GDK_MOD1_MASK))
            return FALSE;
        if (E->keyval == GDK_KEY_space) {
            s->PopupMenu(reinterpret_cast<GdkEvent*>(E));
            return TRUE;
        }
        if (E->keyval == GDK_KEY_F4 && s->HasButton(kClose)) {
            s->close_();
            return TRUE;
        }
        return FALSE;
    }

    static void OnMenuMove(GtkMenuItem*, gpointer Self)
    {
        auto* s = static_cast<GtkSkinFrame*>(Self);
        GdkDisplay* display = gtk_widget_get_display(GTK_WIDGET(s->window_));
        GdkDevice* pointer = gdk_seat_get_pointer(gdk_display_get_default_seat(display));
        int x = 0, y = 0;
        gdk_device_get_position(pointer, nullptr, &x, &y);
        gtk_window_begin_move_drag(s->window_, 0, x, y, GDK_CURRENT_TIME);
    }
    static void OnMenuMinimize(GtkMenuItem*, gpointer Self) { gtk_window_iconify(static_cast<GtkSkinFrame*>(Self)->window_); }
    static void OnMenuClose(GtkMenuItem*, gpointer Self) { static_cast<GtkSkinFrame*>(Self)->close_(); }

    GtkWindow* window_;
    GtkWidget* client_;
    const TSkinLook look_;
    std::shared_ptr<const SkinImages> images_;
    unsigned icons_;
    std::function<void()> close_;
    GObjectPtr<GtkWidget> grid_;  // the frame's layout
    // Owned by grid_ through GTK's containment.
    GtkWidget* title_;
    GtkWidget* left_;
    GtkWidget* right_;
    GtkWidget* bottom_;
    GObjectPtr<GtkWidget> menu_;
    std::vector<SignalConnection> signals_;
    int hot_ = kNone;
    int pressed_ = kNone;
};

}  // namespace

std::unique_ptr<SkinFrame> CreateSkinFrame(GtkWindow* Window, GtkWidget* Client, const TSkinLook& Look,
                                           std::shared_ptr<const SkinImages> Images, bool SystemMenu, unsigned Icons,
                                           std::function<void()> Close)
{
    return std::make_unique<GtkSkinFrame>(Window, Client, Look, std::move(Images), SystemMenu, Icons,
                                          std::move(Close));
}

}  // namespace gtk
}  // namespace backend
