// A timer that raises an event at a fixed interval on the main thread.
#pragma once

#include <memory>

#include "Classes.h"

namespace backend {
class TimerPeer;
}

// The system timer runs while Enabled is true, Interval is above zero and
// OnTimer is bound; any change of the three sets it afresh. A tick that
// falls due while a handler runs is delivered after that handler returns.
class TTimer : public TComponent {
public:
    explicit TTimer(TComponent* AOwner);
    ~TTimer() override;

    unsigned Interval() const { return interval_; }
    void SetInterval(unsigned Milliseconds);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool Value);
    const TNotifyEvent& OnTimer() const { return onTimer_; }
    void SetOnTimer(TNotifyEvent Handler);

    void DefineProperties(TPropertyList& List) override;

    // The toolkit's side of this timer; for the backend and for tests.
    backend::TimerPeer& Peer() const { return *peer_; }

private:
    void UpdateTimer();
    void Tick();

    std::unique_ptr<backend::TimerPeer> peer_;
    unsigned interval_ = 1000;
    bool enabled_ = true;
    TNotifyEvent onTimer_;
};
