#include "Timer.h"

#include "Application.h"
#include "Backend.h"

TTimer::TTimer(TComponent* AOwner) : TComponent(AOwner), peer_(backend::CreateTimerPeer()) {}

TTimer::~TTimer()
{
    peer_->Stop();
}

void TTimer::SetInterval(unsigned Milliseconds)
{
    interval_ = Milliseconds;
    UpdateTimer();
}

void TTimer::SetEnabled(bool Value)
{
    enabled_ = Value;
    UpdateTimer();
}

void TTimer::SetOnTimer(TNotifyEvent Handler)
{
    onTimer_ = std::move(Handler);
    UpdateTimer();
}

void TTimer::UpdateTimer()
{
    peer_->Stop();
    if (enabled_ && interval_ > 0 && onTimer_ && !peer_->Start(interval_, [this] { Tick(); }))
        throw EOutOfResources("Not enough timers available");
}

void TTimer::Tick()
{
    DispatchEvent(onTimer_, this);
}

void TTimer::DefineProperties(TPropertyList& List)
{
    TComponent::DefineProperties(List);
    List.Int("Interval", [this](int v) {
        if (v < 0)
            throw EReadError("Interval must not be negative");
        SetInterval(static_cast<unsigned>(v));
    });
    List.Bool("Enabled", [this](bool v) { SetEnabled(v); });
    List.Event("OnTimer", [this](TNotifyEvent e) { SetOnTimer(std::move(e)); });
}
