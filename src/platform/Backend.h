// The toolkit's side of the platform: one peer per control, and the few
// process-wide operations. The portable classes hold every setting and
// drive their peer; a backend (the GTK one for the program, a dummy one for
// tests without a display) implements the peers and the free functions.
// No toolkit type appears here.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

class TForm;
struct TSkinLook;
struct TSkinPackage;

namespace backend {

// A skin's images, decoded for the toolkit.
struct SkinImages;
// Decodes the images a skin names; throws ESkinError when one cannot be.
std::shared_ptr<const SkinImages> DecodeSkin(const TSkinPackage& Package);

struct Bounds {
    int Left = 0, Top = 0, Width = 0, Height = 0;
};

// Border icons of a form, as a bit mask.
enum BorderIcon : unsigned { kSystemMenu = 1u << 0, kMinimize = 1u << 1, kMaximize = 1u << 2 };

struct FontSpec {
    std::string Name;
    int Height = 0;  // negative: character height in pixels, as form definitions give it
    bool Bold = false, Italic = false, Underline = false, StrikeOut = false;
};

class ContainerPeer;

// Peers derive virtually, so that a backend can share one implementation of
// the control part among its kinds of peer.
class ControlPeer {
public:
    virtual ~ControlPeer() = default;
    // Position in the parent's client area and size, in pixels at 96 dpi.
    virtual void SetBounds(const Bounds& B) = 0;
    // Places the control in Parent at its bounds; a control placed later
    // lies on top of the ones placed before it.
    virtual void SetParent(ContainerPeer* Parent) = 0;
    // The toolkit's object for this control.
    virtual void* Handle() const = 0;
};

class ContainerPeer : public virtual ControlPeer {
public:
    // Keyboard focus moves through these children in this order.
    virtual void SetFocusOrder(const std::vector<ControlPeer*>& Children) = 0;
};

class PanelPeer : public virtual ContainerPeer {};

class FormPeer : public virtual ContainerPeer {
public:
    virtual void SetCaption(const std::string& Text) = 0;
    virtual void SetFixedBorder(bool Fixed) = 0;
    virtual void SetBorderIcons(unsigned Icons) = 0;
    virtual void SetFont(const FontSpec& Font) = 0;
    virtual void Show() = 0;
    virtual void Close() = 0;
    // Draws the frame, the title bar and its buttons from the skin, with
    // SystemMenu the title bar's menu; the client area keeps its size.
    virtual void ApplySkin(const TSkinLook& Look, std::shared_ptr<const SkinImages> Images, bool SystemMenu) = 0;
    // Called when the window has been closed, by the user or by Close().
    std::function<void()> OnClosed;
};

class WebViewPeer : public virtual ControlPeer {
public:
    // Starts loading URL; throws EWebBrowserError when the view refuses it.
    virtual void Navigate(const std::u16string& URL) = 0;
};

class ButtonPeer : public virtual ControlPeer {
public:
    virtual void SetCaption(const std::string& Text) = 0;
    // A Windows bitmap; its bottom-left pixel's colour is drawn transparent.
    // Throws EReadError when it cannot be decoded.
    virtual void SetGlyph(std::span<const unsigned char> Bitmap) = 0;
    // Draws the face from the skin's button states, and the caption in its font.
    virtual void ApplySkin(const TSkinLook& Look, std::shared_ptr<const SkinImages> Images) = 0;
    // Called when the user clicks the button.
    std::function<void()> OnClick;
};

class TimerPeer {
public:
    virtual ~TimerPeer() = default;
    // Calls Tick every Milliseconds on the main thread until Stop(); false
    // when the system refuses the timer.
    virtual bool Start(unsigned Milliseconds, std::function<void()> Tick) = 0;
    virtual void Stop() = 0;
};

std::unique_ptr<FormPeer> CreateFormPeer();
std::unique_ptr<TimerPeer> CreateTimerPeer();
std::unique_ptr<ButtonPeer> CreateButtonPeer();
std::unique_ptr<PanelPeer> CreatePanelPeer();
std::unique_ptr<WebViewPeer> CreateWebViewPeer();

// Connects to the display; throws EOutOfResources when there is none.
void Initialize();
// Runs the event loop until Quit().
void RunLoop();
void Quit();
// Dispatches every pending event, returning when none is left.
void ProcessPending();
// A modal error box: Text, caption Title, one OK button, the error icon.
void ShowErrorBox(const std::string& Title, const std::string& Text);
// A modal message box with one OK button, captioned Title.
void ShowMessageBox(const std::string& Title, const std::string& Text);
// The last-chance box; on standard error when no display can be used.
void ShowFatalBox(const std::string& Title, const std::string& Text);
// The program file's name, for the last-chance report.
std::string ModuleName();
// The application's icon, from a Windows icon file: every window without an
// icon of its own shows it. Throws EReadError when it cannot be decoded.
void SetApplicationIcon(std::span<const unsigned char> IconFile);
// The application's name as the desktop shows it.
void SetApplicationTitle(const std::string& Title);

}  // namespace backend
