// The main window.
#pragma once

#include "platform/Buttons.h"
#include "platform/Controls.h"
#include "platform/Forms.h"
#include "platform/Skin.h"
#include "platform/Timer.h"
#include "platform/WebBrowser.h"

class TForm1 : public TForm {
public:
    // Components, created from the form definition.
    TPanel* Panel1 = nullptr;
    TWebBrowser* WebBrowser1 = nullptr;
    TBitBtn* BitBtn1 = nullptr;
    TBitBtn* BitBtn2 = nullptr;
    TBitBtn* BitBtn3 = nullptr;
    TBitBtn* BitBtn4 = nullptr;
    TSkinData* SkinData1 = nullptr;
    TBitBtn* BitBtn5 = nullptr;
    TTimer* Timer1 = nullptr;

    // Handlers, bound to events by name in the form definition.
    void FormCreate(TObject* Sender);
    void BitBtn1Click(TObject* Sender);
    void BitBtn2Click(TObject* Sender);
    void BitBtn3Click(TObject* Sender);
    void BitBtn4Click(TObject* Sender);
    void BitBtn5Click(TObject* Sender);
    void Timer1Timer(TObject* Sender);

    explicit TForm1(TComponent* Owner);
    void Publish(TPublished& P) override;
};

extern TForm1* Form1;
