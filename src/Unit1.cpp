#include "Unit1.h"

TForm1* Form1 = nullptr;

TForm1::TForm1(TComponent* Owner) : TForm(Owner) {}

void TForm1::Publish(TPublished& P)
{
    P.Field("Panel1", Panel1);
    P.Field("WebBrowser1", WebBrowser1);
    P.Method("FormCreate", &TForm1::FormCreate, this);
}

void TForm1::FormCreate(TObject* Sender)
{
    WebBrowser1->Navigate(u"http://app.rurive.com/dodor/fm/");
}
