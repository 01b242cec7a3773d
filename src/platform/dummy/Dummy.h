// A backend without a display, for tests: every peer records what it is
// told, and the process-wide operations go to a journal.
#pragma once

#include <string>
#include <vector>

#include "../Backend.h"

namespace dummy {

// Every process-wide call and every navigation, in order.
std::vector<std::string>& Journal();
// When not empty, the next navigations fail with this message.
extern std::string NavigateFailure;
// Clears the journal and the failure switches.
void Reset();

class ControlPeer : public virtual backend::ControlPeer {
public:
    void SetBounds(const backend::Bounds& B) override { Bounds = B; }
    void SetParent(backend::ContainerPeer* P) override;
    void* Handle() const override { return const_cast<ControlPeer*>(this); }
    ~ControlPeer() override { SetParent(nullptr); }

    backend::Bounds Bounds;
    backend::ContainerPeer* Parent = nullptr;
};

class ContainerPeer : public virtual ControlPeer, public virtual backend::ContainerPeer {
public:
    void SetFocusOrder(const std::vector<backend::ControlPeer*>& C) override { FocusOrder = C; }

    std::vector<backend::ControlPeer*> Children;  // bottom to top
    std::vector<backend::ControlPeer*> FocusOrder;
};

class PanelPeer : public ContainerPeer, public virtual backend::PanelPeer {};

class FormPeer : public ContainerPeer, public virtual backend::FormPeer {
public:
    void SetCaption(const std::string& T) override { Caption = T; }
    void SetFixedBorder(bool F) override { Fixed = F; }
    void SetBorderIcons(unsigned I) override { Icons = I; }
    void SetFont(const backend::FontSpec& F) override { Font = F; }
    void Show() override { Shown = true; }
    void ApplySkin(const TSkinLook&, std::shared_ptr<const backend::SkinImages>, bool SystemMenu) override
    {
        Skinned = true;
        SkinnedSystemMenu = SystemMenu;
    }
    void Close() override
    {
        Shown = false;
        if (OnClosed)
            OnClosed();
    }

    std::string Caption;
    bool Fixed = false;
    unsigned Icons = 0;
    backend::FontSpec Font;
    bool Shown = false;
    bool Skinned = false, SkinnedSystemMenu = false;
};

class WebViewPeer : public ControlPeer, public virtual backend::WebViewPeer {
public:
    void Navigate(const std::u16string& URL) override;
    std::vector<std::u16string> Navigations;
};

class ButtonPeer : public ControlPeer, public virtual backend::ButtonPeer {
public:
    void SetCaption(const std::string& T) override { Caption = T; }
    void SetGlyph(std::span<const unsigned char> B) override { Glyph.assign(B.begin(), B.end()); }
    void ApplySkin(const TSkinLook&, std::shared_ptr<const backend::SkinImages>) override { Skinned = true; }
    // What a click by the user does.
    void Click()
    {
        if (OnClick)
            OnClick();
    }

    std::string Caption;
    std::vector<unsigned char> Glyph;
    bool Skinned = false;
};

class TimerPeer : public backend::TimerPeer {
public:
    bool Start(unsigned Milliseconds, std::function<void()> T) override
    {
        if (RefuseTimers)
            return false;
        Journal().push_back("TimerStart " + std::to_string(Milliseconds));
        Interval = Milliseconds;
        Tick = std::move(T);
        Running = true;
        ++Starts;
        return true;
    }
    void Stop() override { Running = false; }
    // What the system timer does when it expires.
    void Fire()
    {
        if (Running)
            Tick();
    }

    static inline bool RefuseTimers = false;
    unsigned Interval = 0;
    bool Running = false;
    int Starts = 0;
    std::function<void()> Tick;
};

}  // namespace dummy
