// Timers: GLib timeout sources on the main context.
#include <glib.h>

#include "../Backend.h"

namespace backend::gtk {
namespace {

class GlibTimerPeer final : public TimerPeer {
public:
    ~GlibTimerPeer() override { Stop(); }

    bool Start(unsigned Milliseconds, std::function<void()> Tick) override
    {
        Stop();
        tick_ = std::move(Tick);
        // GLib does not run a source again while it is being dispatched, so
        // a tick never starts inside another, even when the handler pumps
        // events.
        source_ = g_timeout_add(Milliseconds, OnTimeout, this);
        return source_ != 0;
    }

    void Stop() override
    {
        if (source_)
            g_source_remove(source_);
        source_ = 0;
    }

private:
    static gboolean OnTimeout(gpointer Self)
    {
        static_cast<GlibTimerPeer*>(Self)->tick_();
        return G_SOURCE_CONTINUE;
    }

    std::function<void()> tick_;
    guint source_ = 0;
};

}  // namespace
}  // namespace backend::gtk

std::unique_ptr<backend::TimerPeer> backend::CreateTimerPeer()
{
    return std::make_unique<gtk::GlibTimerPeer>();
}
