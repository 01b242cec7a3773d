#include "Application.h"

#include "Backend.h"
#include "ErrorReport.h"
#include "FormLoader.h"
#include "Resources.h"

namespace {
TApplication& TheApplication()
{
    static TApplication instance;
    return instance;
}
}  // namespace

TApplication* Application = &TheApplication();

TApplication::TApplication() : TComponent(nullptr) {}

TApplication::~TApplication() = default;

void TApplication::Initialize()
{
    backend::Initialize();
    for (const TEmbeddedFile& f : EmbeddedFiles())
        if (std::string_view(f.Name) == "MAINICON.ico")
            backend::SetApplicationIcon({f.Data, f.Size});
}

void TApplication::LoadForm(TForm& Form, const std::string& ClassName)
{
    backend::SetApplicationTitle(Title);
    LoadFormDefinition(Form, ClassName);
}

void TApplication::AddForm(TForm* Form)
{
    if (mainForm_)
        return;
    mainForm_ = Form;
    mainForm_->OnClosed = [this] { Terminate(); };
}

void TApplication::Run()
{
    if (mainForm_ && !terminated_) {
        backend::SetApplicationTitle(Title);
        mainForm_->Show();
        backend::RunLoop();
    }
    // Closing the main window ends the program: its forms and every
    // component they own go with it.
    mainForm_ = nullptr;
    DestroyComponents();
}

void TApplication::ProcessMessages()
{
    backend::ProcessPending();
}

void TApplication::Terminate()
{
    if (terminated_)
        return;
    terminated_ = true;
    backend::Quit();
}

void TApplication::ShowException(const std::exception& E)
{
    backend::ShowErrorBox(Title, WithFullStop(E.what()));
}

void TApplication::HandleException(TObject*)
{
    try {
        throw;
    } catch (const std::exception& e) {
        ShowException(e);
    } catch (...) {
        ShowException(Exception("Unknown error"));
    }
}

void DispatchEvent(const TNotifyEvent& Handler, TObject* Sender) noexcept
{
    try {
        Handler(Sender);
    } catch (...) {
        try {
            Application->HandleException(Sender);
        } catch (...) {
            // The report itself failed (no display left): nothing more to say.
        }
    }
}
