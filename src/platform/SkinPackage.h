// The stored skin: a versioned, zlib-compressed package of images and one
// settings file. Reading it needs no toolkit.
#pragma once

#include <map>
#include <span>
#include <string>
#include <vector>

#include "Classes.h"

// The package cannot be read: bad header, bad compressed data, a missing
// image or setting.
class ESkinError : public Exception {
    using Exception::Exception;
};

// The package is of another format version than this program reads.
class ESkinVersionError : public ESkinError {
    using ESkinError::ESkinError;
};

inline constexpr unsigned kSkinFormatVersion = 1;

struct TSkinColor {
    unsigned char R = 0, G = 0, B = 0;
};

// What the settings file gives the window, checked and typed.
struct TSkinLook {
    int TitleHeight = 0, TitleTextLeft = 0, TitleIconLeft = 0;
    TSkinColor TitleShadow, ActiveTitleText, InactiveTitleText;
    // Right-aligned offsets of the caption buttons, their top and size.
    int CloseOffset = 0, MaximizeOffset = 0, MinimizeOffset = 0, CaptionTop = 0, CaptionWidth = 0,
        CaptionHeight = 0;
    int FrameLeft = 0, FrameRight = 0, FrameBottom = 0;
    int ButtonStates = 0, ButtonTop = 0, ButtonBottom = 0, ButtonLeft = 0, ButtonRight = 0;
    TSkinColor BtnFace, Window, ActiveTitle, InactiveTitle, Highlight, BtnShadow, BtnHighlight, GrayText;
    std::string FontName;
    int FontHeight = 0;
    // Image file names in the package.
    std::string TitleImage, CloseImage, MaximizeImage, RestoreImage, MinimizeImage, FrameLeftImage,
        FrameRightImage, FrameBottomImage, ButtonImage;
};

struct TSkinPackage {
    std::map<std::string, std::vector<unsigned char>> Files;
    TSkinLook Look;

    const std::vector<unsigned char>& File(const std::string& Name) const;
};

// Unpacks a stored skin in memory. Throws ESkinVersionError for another
// format version and ESkinError for anything else it cannot read.
TSkinPackage UnpackSkin(std::span<const unsigned char> Stored);

// Sections of key=value lines; ';' starts a comment line.
std::map<std::string, std::map<std::string, std::string>> ParseSettings(const std::string& Text);
