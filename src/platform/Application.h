// The application object: start-up, the one message loop, and the report
// of errors raised by event handlers.
#pragma once

#include <exception>
#include <memory>
#include <string>

#include "Classes.h"
#include "Forms.h"

class TApplication : public TComponent {
public:
    TApplication();
    ~TApplication() override;

    // The application's name: the desktop's name for it and the caption of
    // every error box it shows.
    std::string Title;

    // Prepares the toolkit; throws when no display can be used.
    void Initialize();

    // Constructs a form of class T from its definition, stores it in
    // Reference (before its OnCreate runs) and, if it is the first, makes it
    // the main form. When the definition cannot be loaded, Reference is left
    // null and the error passes on.
    template <class T>
    void CreateForm(T*& Reference);

    // Shows the main form and processes events until it is closed; then
    // destroys the forms.
    void Run();
    // Dispatches every pending event and returns when none is left.
    void ProcessMessages();
    void Terminate();
    bool Terminated() const { return terminated_; }

    TForm* MainForm() const { return mainForm_; }

    // The standard error report: the message with its full stop, in a box
    // captioned with Title.
    void ShowException(const std::exception& E);
    // Reports the exception being handled (call from inside a catch block).
    void HandleException(TObject* Sender);

private:
    void LoadForm(TForm& Form, const std::string& ClassName);
    void AddForm(TForm* Form);

    TForm* mainForm_ = nullptr;
    bool terminated_ = false;
};

extern TApplication* Application;

// Runs an event handler the way the message loop does: an error it raises
// is shown by the standard error report and does not propagate.
void DispatchEvent(const TNotifyEvent& Handler, TObject* Sender) noexcept;

template <class T>
void TApplication::CreateForm(T*& Reference)
{
    auto form = std::make_unique<T>(this);
    Reference = form.get();
    try {
        LoadForm(*form, ClassNameOf(typeid(T)));
    } catch (...) {
        Reference = nullptr;
        throw;
    }
    Reference->DoCreate();
    AddForm(form.release());
}
