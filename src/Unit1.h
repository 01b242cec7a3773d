// The main window.
#pragma once

#include "platform/Controls.h"
#include "platform/Forms.h"
#include "platform/WebBrowser.h"

class TForm1 : public TForm {
public:
    // Components, created from the form definition.
    TPanel* Panel1 = nullptr;
    TWebBrowser* WebBrowser1 = nullptr;

    // Handlers, bound to events by name in the form definition.
    void FormCreate(TObject* Sender);

    explicit TForm1(TComponent* Owner);
    void Publish(TPublished& P) override;
};

extern TForm1* Form1;
