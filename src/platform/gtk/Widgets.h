// The GTK side of the control peers, shared by the peers of each control.
#pragma once

#include <gtk/gtk.h>

#include "../Backend.h"
#include "GObjectPtr.h"

namespace backend {

struct SkinImages {
    GObjectPtr<GdkPixbuf> Title, Close, Maximize, Restore, Minimize, FrameLeft, FrameRight, FrameBottom, Button;
};

}  // namespace backend

namespace backend::gtk {

// The common part of every control: one widget placed in its parent's
// GtkLayout at its bounds. The widget has its own GdkWindow, so a control
// placed later lies on top of its earlier siblings, for drawing and clicks.
class Widget {
public:
    explicit Widget(GtkWidget* W);
    ~Widget();
    Widget(const Widget&) = delete;
    Widget& operator=(const Widget&) = delete;

    GtkWidget* Get() const { return widget_.get(); }
    void SetBounds(const Bounds& B);
    void SetParent(ContainerPeer* Parent);

private:
    GObjectPtr<GtkWidget> widget_;
    GtkLayout* parent_ = nullptr;
    Bounds bounds_;
};

// GTK's side of every container: the GtkLayout its children are placed in.
// A GtkLayout draws into its own window, so it clips its children, and it
// asks for no more room than it is given, so nothing scrolls.
class Container {
public:
    virtual ~Container() = default;
    virtual GtkLayout* Layout() const = 0;
};

void SetFocusChain(GtkLayout* Layout, const std::vector<ControlPeer*>& Children);

inline GtkWidget* WidgetOf(const ControlPeer& Peer)
{
    return static_cast<GtkWidget*>(Peer.Handle());
}

// The main window, once a form peer exists: the parent of error boxes.
GtkWindow* MainWindow();

// Draws the part (SX, SY, SW, SH) of Source into (DX, DY, DW, DH), stretched.
void DrawStretched(cairo_t* Cr, GdkPixbuf* Source, int SX, int SY, int SW, int SH, double DX, double DY, double DW,
                   double DH);
// Draws rows SY to SY + SH of Source into W x H: corners as they are, edges
// stretched along, the middle stretched both ways.
void DrawNineSlice(cairo_t* Cr, GdkPixbuf* Source, int SY, int SH, int Left, int Top, int Right, int Bottom,
                   double W, double H);

// The skin's frame around a window's client area, for as long as it lives.
class SkinFrame {
public:
    virtual ~SkinFrame() = default;
};

// Replaces Window's decorations by the skin's frame around Client. Icons are
// the window's border icons; Close is what its close button does.
std::unique_ptr<SkinFrame> CreateSkinFrame(GtkWindow* Window, GtkWidget* Client, const TSkinLook& Look,
                                           std::shared_ptr<const SkinImages> Images, bool SystemMenu, unsigned Icons,
                                           std::function<void()> Close);

}  // namespace backend::gtk
