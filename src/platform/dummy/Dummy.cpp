#include "Dummy.h"

#include <algorithm>

#include "../Classes.h"
#include "../Launcher.h"
#include "../MemoryTrim.h"
#include "../SkinPackage.h"

namespace dummy {

std::string NavigateFailure;

std::vector<std::string>& Journal()
{
    static std::vector<std::string> journal;
    return journal;
}

void Reset()
{
    Journal().clear();
    NavigateFailure.clear();
    TimerPeer::RefuseTimers = false;
    MemoryTrimSupported = false;
}

void ControlPeer::SetParent(backend::ContainerPeer* P)
{
    if (auto* old = dynamic_cast<ContainerPeer*>(Parent))
        old->Children.erase(std::remove(old->Children.begin(), old->Children.end(), this), old->Children.end());
    Parent = P;
    if (auto* now = dynamic_cast<ContainerPeer*>(Parent))
        now->Children.push_back(this);
}

void WebViewPeer::Navigate(const std::u16string& URL)
{
    Journal().push_back("Navigate");
    if (!NavigateFailure.empty())
        throw EWebBrowserError(NavigateFailure);
    Navigations.push_back(URL);
}

}  // namespace dummy

bool MemoryTrimSupported = false;

void TrimWorkingSet()
{
    dummy::Journal().push_back("Trim");
}

void LaunchBrowser(const std::string& Address)
{
    dummy::Journal().push_back("Launch " + Address);
}

namespace backend {

// Nothing to decode without a toolkit; an image that is not a PNG stands
// for one the toolkit could not read.
struct SkinImages {};

std::shared_ptr<const SkinImages> DecodeSkin(const TSkinPackage& Package)
{
    const TSkinLook& l = Package.Look;
    for (const std::string* name : {&l.TitleImage, &l.CloseImage, &l.MaximizeImage, &l.RestoreImage, &l.MinimizeImage,
                                    &l.FrameLeftImage, &l.FrameRightImage, &l.FrameBottomImage, &l.ButtonImage}) {
        const auto& data = Package.File(*name);
        if (data.size() < 8 || data[0] != 0x89 || data[1] != 'P')
            throw ESkinError("The skin's image " + *name + " is damaged");
    }
    return std::make_shared<SkinImages>();
}

void ShowMessageBox(const std::string& Title, const std::string& Text)
{
    dummy::Journal().push_back("MessageBox " + Title + ": " + Text);
}

std::unique_ptr<FormPeer> CreateFormPeer()
{
    return std::make_unique<dummy::FormPeer>();
}

std::unique_ptr<PanelPeer> CreatePanelPeer()
{
    return std::make_unique<dummy::PanelPeer>();
}

std::unique_ptr<TimerPeer> CreateTimerPeer()
{
    return std::make_unique<dummy::TimerPeer>();
}

std::unique_ptr<ButtonPeer> CreateButtonPeer()
{
    return std::make_unique<dummy::ButtonPeer>();
}

std::unique_ptr<WebViewPeer> CreateWebViewPeer()
{
    return std::make_unique<dummy::WebViewPeer>();
}

void Initialize()
{
    dummy::Journal().push_back("Initialize");
}

void RunLoop()
{
    dummy::Journal().push_back("RunLoop");
}

void Quit()
{
    dummy::Journal().push_back("Quit");
}

void ProcessPending()
{
    dummy::Journal().push_back("ProcessPending");
}

void ShowErrorBox(const std::string& Title, const std::string& Text)
{
    dummy::Journal().push_back("ErrorBox " + Title + ": " + Text);
}

void ShowFatalBox(const std::string& Title, const std::string& Text)
{
    dummy::Journal().push_back("FatalBox " + Title + ": " + Text);
}

std::string ModuleName()
{
    return "dummy-module";
}

void SetApplicationTitle(const std::string& Title) {}

void SetApplicationIcon(std::span<const unsigned char> IconFile)
{
    dummy::Journal().push_back("Icon " + std::to_string(IconFile.size()));
}

}  // namespace backend
