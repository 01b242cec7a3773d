#include "WebBrowser.h"

#include "Backend.h"

TWebBrowser::TWebBrowser(TComponent* AOwner) : TControl(AOwner, backend::CreateWebViewPeer()) {}

backend::WebViewPeer& TWebBrowser::WebViewPeer() const
{
    return dynamic_cast<backend::WebViewPeer&>(Peer());
}

void TWebBrowser::Navigate(const std::u16string& URL)
{
    WebViewPeer().Navigate(URL);
}
