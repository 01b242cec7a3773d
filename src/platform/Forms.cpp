#include "Forms.h"

#include "Application.h"
#include "Backend.h"

bool TPublished::Assign(const std::string& Name, TComponent* Component) const
{
    auto it = fields_.find(Name);
    return it != fields_.end() && it->second(Component);
}

std::vector<std::string> TPublished::FieldNames() const
{
    std::vector<std::string> names;
    for (const auto& [name, assign] : fields_)
        names.push_back(name);
    return names;
}

TNotifyEvent TPublished::Handler(const std::string& Name) const
{
    auto it = methods_.find(Name);
    return it == methods_.end() ? TNotifyEvent{} : it->second;
}

TForm::TForm(TComponent* AOwner) : TWinControl(AOwner, backend::CreateFormPeer())
{
    FormPeer().OnClosed = [this] {
        if (OnClosed)
            OnClosed();
    };
}

TForm::~TForm()
{
    // Controls go first, while the window that holds them still exists.
    DestroyComponents();
    FormPeer().OnClosed = nullptr;
}

backend::FormPeer& TForm::FormPeer() const
{
    return dynamic_cast<backend::FormPeer&>(Peer());
}

void TForm::SetCaption(std::string Value)
{
    caption_ = std::move(Value);
    FormPeer().SetCaption(caption_);
}

void TForm::Show()
{
    FormPeer().Show();
}

void TForm::Close()
{
    FormPeer().Close();
}

void TForm::DoCreate()
{
    if (OnCreate)
        DispatchEvent(OnCreate, this);
}

void TForm::Publish(TPublished&) {}

void TForm::ApplyFont()
{
    backend::FontSpec font;
    font.Name = fontName_;
    font.Height = fontHeight_;
    font.Bold = fontStyle_ & (1u << fsBold);
    font.Italic = fontStyle_ & (1u << fsItalic);
    font.Underline = fontStyle_ & (1u << fsUnderline);
    font.StrikeOut = fontStyle_ & (1u << fsStrikeOut);
    FormPeer().SetFont(font);
}

void TForm::DefineProperties(TPropertyList& List)
{
    TWinControl::DefineProperties(List);
    List.Int("ClientWidth", [this](int v) { SetBounds(Left(), Top(), v, Height()); });
    List.Int("ClientHeight", [this](int v) { SetBounds(Left(), Top(), Width(), v); });
    List.String("Caption", [this](const std::string& v) { SetCaption(v); });
    List.Enum("BorderStyle", {"bsNone", "bsSingle", "bsSizeable", "bsDialog", "bsToolWindow", "bsSizeToolWin"},
              [this](int v) {
                  borderStyle_ = static_cast<TBorderStyle>(v);
                  FormPeer().SetFixedBorder(borderStyle_ != bsSizeable && borderStyle_ != bsSizeToolWin);
              });
    List.Set("BorderIcons", {"biSystemMenu", "biMinimize", "biMaximize", "biHelp"}, [this](unsigned v) {
        borderIcons_ = v;
        unsigned icons = 0;
        if (v & (1u << biSystemMenu))
            icons |= backend::kSystemMenu;
        if (v & (1u << biMinimize))
            icons |= backend::kMinimize;
        if (v & (1u << biMaximize))
            icons |= backend::kMaximize;
        FormPeer().SetBorderIcons(icons);
    });
    // The window always wears the theme's button-face background.
    List.Enum("Color", {"clBtnFace"}, [](int) {});
    List.String("Font.Name", [this](const std::string& v) { fontName_ = v; ApplyFont(); });
    List.Int("Font.Height", [this](int v) { fontHeight_ = v; ApplyFont(); });
    List.Set("Font.Style", {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"},
             [this](unsigned v) { fontStyle_ = v; ApplyFont(); });
    // Fontconfig picks the glyphs for each script and the theme the text
    // colour, so the charset and the window-text colour need no setting here.
    List.Enum("Font.Charset", {"DEFAULT_CHARSET"}, [](int) {});
    List.Enum("Font.Color", {"clWindowText"}, [](int) {});
    // Layout is in pixels at 96 dpi; the toolkit's scale factor does the
    // scaling for other resolutions, keeping every proportion.
    List.Int("PixelsPerInch", [](int) {});
    List.Int("TextHeight", [](int) {});
    // OnCreate always runs once the whole definition has been read.
    List.Bool("OldCreateOrder", [](bool v) {
        if (v)
            throw EReadError("OldCreateOrder True is not supported");
    });
    List.Event("OnCreate", [this](TNotifyEvent e) { OnCreate = std::move(e); });
}
