#include "Buttons.h"

#include "Application.h"
#include "Backend.h"

TBitBtn::TBitBtn(TComponent* AOwner) : TControl(AOwner, backend::CreateButtonPeer())
{
    ButtonPeer().OnClick = [this] { Click(); };
}

TBitBtn::~TBitBtn()
{
    ButtonPeer().OnClick = nullptr;
}

backend::ButtonPeer& TBitBtn::ButtonPeer() const
{
    return dynamic_cast<backend::ButtonPeer&>(Peer());
}

void TBitBtn::SetCaption(std::string Value)
{
    caption_ = std::move(Value);
    ButtonPeer().SetCaption(caption_);
}

void TBitBtn::SetGlyph(std::span<const unsigned char> Bitmap)
{
    ButtonPeer().SetGlyph(Bitmap);
}

void TBitBtn::Click()
{
    if (OnClick)
        DispatchEvent(OnClick, this);
}

void TBitBtn::DefineProperties(TPropertyList& List)
{
    TControl::DefineProperties(List);
    List.String("Caption", [this](const std::string& v) { SetCaption(v); });
    List.Data("Glyph", [this](std::span<const unsigned char> v) { SetGlyph(v); });
    List.Event("OnClick", [this](TNotifyEvent e) { OnClick = std::move(e); });
}
