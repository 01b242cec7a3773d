#include "Skin.h"

#include "Application.h"
#include "Backend.h"
#include "Buttons.h"
#include "Forms.h"

TSkinData::TSkinData(TComponent* AOwner) : TComponent(AOwner) {}

TSkinData::~TSkinData() = default;

void TSkinData::SetSkinStream(std::span<const unsigned char> Stored)
{
    try {
        package_ = UnpackSkin(Stored);
    } catch (const ESkinVersionError& e) {
        package_.reset();
        backend::ShowMessageBox(Application->Title, e.what());
    } catch (const ESkinError&) {
        package_.reset();
    }
}

void TSkinData::DefineProperties(TPropertyList& List)
{
    TComponent::DefineProperties(List);
    List.Bool("Active", [this](bool v) { active_ = v; });
    List.Enum("SkinFormtype", {"sfMainform", "sfOnlyThisForm", "sfDialog"},
              [this](int v) { formType_ = static_cast<TSkinFormType>(v); });
    List.Int("DisableTag", [this](int v) { disableTag_ = v; });
    List.Set("SkinControls",
             {"xcMainMenu", "xcPopupMenu", "xcToolbar", "xcControlbar", "xcCombo", "xcCheckBox", "xcRadioButton",
              "xcProgress", "xcScrollbar", "xcEdit", "xcButton", "xcBitBtn", "xcSpeedButton", "xcPanel",
              "xcGroupBox", "xcStatusBar", "xcTab", "xcSystemMenu", "xcFastReport"},
             [this](unsigned v) { skinControls_ = v; });
    // Menus are redrawn whenever they change; there is nothing to switch.
    List.Bool("MenuUpdate", [](bool) {});
    // A status text for designers, with no meaning while running.
    List.String("SkinStore", [](const std::string&) {});
    List.Data("SkinStream", [this](std::span<const unsigned char> v) { SetSkinStream(v); });
}

void TSkinData::Loaded()
{
    TComponent::Loaded();
    if (!package_)
        active_ = false;
    if (active_)
        Apply();
}

void TSkinData::Apply()
{
    auto* form = dynamic_cast<TForm*>(Owner());
    if (!form || form->Tag() == disableTag_) {
        active_ = false;
        return;
    }
    std::shared_ptr<const backend::SkinImages> images;
    try {
        images = backend::DecodeSkin(*package_);
    } catch (const ESkinError&) {
        active_ = false;
        return;
    }
    const TSkinLook& look = package_->Look;
    dynamic_cast<backend::FormPeer&>(form->Peer()).ApplySkin(look, images, skinControls_ & (1u << xcSystemMenu));
    if (!(skinControls_ & (1u << xcBitBtn)))
        return;
    for (int i = 0; i < form->ComponentCount(); ++i)
        if (auto* button = dynamic_cast<TBitBtn*>(form->Components(i)); button && button->Tag() != disableTag_)
            dynamic_cast<backend::ButtonPeer&>(button->Peer()).ApplySkin(look, images);
}
