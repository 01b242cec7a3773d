// The embedded web view.
#pragma once

#include <string>

#include "Controls.h"

namespace backend {
class WebViewPeer;
}

// A web view that plays sound on its own, opens no new windows, saves
// nothing without the user choosing where, and denies pages' requests for
// devices, location and notifications.
class TWebBrowser : public TControl {
public:
    explicit TWebBrowser(TComponent* AOwner);

    // Starts loading URL and returns at once; throws EWebBrowserError when
    // the view refuses the address.
    void Navigate(const std::u16string& URL);

private:
    backend::WebViewPeer& WebViewPeer() const;
};
