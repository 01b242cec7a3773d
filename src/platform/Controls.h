// Visual controls: their geometry, parent and tab order, and the panel.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "Classes.h"

namespace backend {
class ControlPeer;
class ContainerPeer;
class PanelPeer;
}  // namespace backend

class TWinControl;

// A control with a position and size in its parent's client area, in pixels
// at 96 pixels per inch.
class TControl : public TComponent {
public:
    ~TControl() override;

    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);

    TWinControl* Parent() const { return parent_; }
    // Later children lie on top of earlier ones.
    void SetParent(TWinControl* AParent);

    int TabOrder() const { return tabOrder_; }
    void SetTabOrder(int Value) { tabOrder_ = Value; }

    void DefineProperties(TPropertyList& List) override;

    // The toolkit's side of this control; for the backend and for tests.
    backend::ControlPeer& Peer() const { return *peer_; }

protected:
    TControl(TComponent* AOwner, std::unique_ptr<backend::ControlPeer> Peer);

private:
    std::unique_ptr<backend::ControlPeer> peer_;
    TWinControl* parent_ = nullptr;
    int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    int tabOrder_ = -1;
};

// A control that holds other controls and clips them to its client area.
class TWinControl : public TControl {
public:
    ~TWinControl() override;
    const std::vector<TControl*>& Controls() const { return controls_; }
    void Loaded() override;

protected:
    TWinControl(TComponent* AOwner, std::unique_ptr<backend::ContainerPeer> Peer);
    backend::ContainerPeer& ContainerPeer() const;

private:
    friend class TControl;
    std::vector<TControl*> controls_;  // in the order they were placed
};

class TPanel : public TWinControl {
public:
    explicit TPanel(TComponent* AOwner);

    const std::string& Caption() const { return caption_; }
    void SetCaption(std::string Value) { caption_ = std::move(Value); }

    void DefineProperties(TPropertyList& List) override;

private:
    std::string caption_;
};
