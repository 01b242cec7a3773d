#include "Controls.h"

#include <algorithm>

#include "Backend.h"

TControl::TControl(TComponent* AOwner, std::unique_ptr<backend::ControlPeer> Peer)
    : TComponent(AOwner), peer_(std::move(Peer))
{
}

TControl::~TControl()
{
    SetParent(nullptr);
}

void TControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    left_ = ALeft;
    top_ = ATop;
    width_ = AWidth;
    height_ = AHeight;
    peer_->SetBounds({left_, top_, width_, height_});
}

void TControl::SetParent(TWinControl* AParent)
{
    if (AParent == parent_)
        return;
    if (parent_) {
        auto& siblings = parent_->controls_;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
    }
    parent_ = AParent;
    if (parent_)
        parent_->controls_.push_back(this);
    peer_->SetParent(parent_ ? &parent_->ContainerPeer() : nullptr);
}

void TControl::DefineProperties(TPropertyList& List)
{
    TComponent::DefineProperties(List);
    List.Int("Left", [this](int v) { SetBounds(v, top_, width_, height_); });
    List.Int("Top", [this](int v) { SetBounds(left_, v, width_, height_); });
    List.Int("Width", [this](int v) { SetBounds(left_, top_, v, height_); });
    List.Int("Height", [this](int v) { SetBounds(left_, top_, width_, v); });
    List.Int("TabOrder", [this](int v) { SetTabOrder(v); });
}

TWinControl::TWinControl(TComponent* AOwner, std::unique_ptr<backend::ContainerPeer> Peer)
    : TControl(AOwner, std::move(Peer))
{
}

TWinControl::~TWinControl()
{
    // Children owned elsewhere must not point back at a dead parent.
    while (!controls_.empty())
        controls_.back()->SetParent(nullptr);
}

backend::ContainerPeer& TWinControl::ContainerPeer() const
{
    return dynamic_cast<backend::ContainerPeer&>(Peer());
}

void TWinControl::Loaded()
{
    TControl::Loaded();
    // Tab order: by TabOrder, ties (and controls without one) in placement order.
    std::vector<TControl*> order;
    for (TControl* c : controls_)
        if (c->TabOrder() >= 0)
            order.push_back(c);
    std::stable_sort(order.begin(), order.end(),
                     [](const TControl* a, const TControl* b) { return a->TabOrder() < b->TabOrder(); });
    std::vector<backend::ControlPeer*> peers;
    for (TControl* c : order)
        peers.push_back(&c->Peer());
    ContainerPeer().SetFocusOrder(peers);
}

TPanel::TPanel(TComponent* AOwner) : TWinControl(AOwner, backend::CreatePanelPeer()) {}

void TPanel::DefineProperties(TPropertyList& List)
{
    TWinControl::DefineProperties(List);
    // The caption is kept but not drawn: the panel's children cover it.
    List.String("Caption", [this](const std::string& v) { SetCaption(v); });
}
