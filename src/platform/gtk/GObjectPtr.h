// Ownership helpers for GObject references and signal connections.
#pragma once

#include <glib-object.h>

#include <memory>

struct GObjectUnref {
    void operator()(gpointer Object) const
    {
        if (Object)
            g_object_unref(Object);
    }
};

// An owned reference to a GObject.
template <class T>
using GObjectPtr = std::unique_ptr<T, GObjectUnref>;

// Takes ownership of a new object, sinking a floating reference (widgets).
template <class T>
GObjectPtr<T> AdoptSink(T* Object)
{
    return GObjectPtr<T>(static_cast<T*>(g_object_ref_sink(Object)));
}

// A signal handler that is disconnected when this goes, so that it can
// never run on a dead peer.
class SignalConnection {
public:
    SignalConnection() = default;
    SignalConnection(gpointer Instance, const char* Signal, GCallback Handler, gpointer Data)
        : instance_(G_OBJECT(Instance)), id_(g_signal_connect(Instance, Signal, Handler, Data))
    {
    }
    SignalConnection(SignalConnection&& Other) noexcept : instance_(Other.instance_), id_(Other.id_)
    {
        Other.id_ = 0;
    }
    SignalConnection& operator=(SignalConnection&& Other) noexcept
    {
        if (this != &Other) {
            Disconnect();
            instance_ = Other.instance_;
            id_ = Other.id_;
            Other.id_ = 0;
        }
        return *this;
    }
    ~SignalConnection() { Disconnect(); }

    void Disconnect()
    {
        if (id_ && instance_)
            g_signal_handler_disconnect(instance_, id_);
        id_ = 0;
    }

private:
    GObject* instance_ = nullptr;
    gulong id_ = 0;
};
