// The skin: the window's own look, from a package stored in the form
// definition, in place of the window manager's frame and the theme's buttons.
#pragma once

#include <memory>
#include <optional>

#include "Classes.h"
#include "SkinPackage.h"

enum TSkinFormType { sfMainform, sfOnlyThisForm, sfDialog };

// Kinds of control the skin may draw, as bits of SkinControls.
enum TSkinControl {
    xcMainMenu, xcPopupMenu, xcToolbar, xcControlbar, xcCombo, xcCheckBox, xcRadioButton, xcProgress,
    xcScrollbar, xcEdit, xcButton, xcBitBtn, xcSpeedButton, xcPanel, xcGroupBox, xcStatusBar, xcTab,
    xcSystemMenu, xcFastReport
};

// Unpacks its stored skin as soon as the definition gives it one; when the
// definition has been read, and the skin is active, it takes over the look
// of its form and of the form's controls of the kinds in SkinControls,
// except those whose Tag is DisableTag. A skin that cannot be unpacked or
// drawn makes the component inactive: the form keeps the standard look.
class TSkinData : public TComponent {
public:
    explicit TSkinData(TComponent* AOwner);
    ~TSkinData() override;

    bool Active() const { return active_; }
    int DisableTag() const { return disableTag_; }
    unsigned SkinControls() const { return skinControls_; }
    TSkinFormType SkinFormType() const { return formType_; }
    // Unpacks Stored at once; see the class comment for failures.
    void SetSkinStream(std::span<const unsigned char> Stored);

    void DefineProperties(TPropertyList& List) override;
    void Loaded() override;

private:
    void Apply();

    bool active_ = false;
    TSkinFormType formType_ = sfMainform;
    int disableTag_ = 99;
    unsigned skinControls_ = 0;
    std::optional<TSkinPackage> package_;
};
