// Push buttons that draw a picture beside their caption.
#pragma once

#include <string>

#include "Controls.h"

namespace backend {
class ButtonPeer;
}

// Glyph to the left of the caption, the two centred together with 4 pixels
// between them; the glyph's bottom-left pixel gives its transparent colour.
class TBitBtn : public TControl {
public:
    explicit TBitBtn(TComponent* AOwner);
    ~TBitBtn() override;

    const std::string& Caption() const { return caption_; }
    void SetCaption(std::string Value);
    void SetGlyph(std::span<const unsigned char> Bitmap);

    TNotifyEvent OnClick;
    // Runs OnClick as a click by the user does.
    void Click();

    void DefineProperties(TPropertyList& List) override;

private:
    backend::ButtonPeer& ButtonPeer() const;
    std::string caption_;
};
