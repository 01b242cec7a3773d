#include "Unit1.h"

#include "platform/Application.h"
#include "platform/Launcher.h"
#include "platform/MemoryTrim.h"

TForm1* Form1 = nullptr;

TForm1::TForm1(TComponent* Owner) : TForm(Owner) {}

void TForm1::Publish(TPublished& P)
{
    P.Field("Panel1", Panel1);
    P.Field("WebBrowser1", WebBrowser1);
    P.Field("BitBtn1", BitBtn1);
    P.Field("BitBtn2", BitBtn2);
    P.Field("BitBtn3", BitBtn3);
    P.Field("BitBtn4", BitBtn4);
    P.Field("SkinData1", SkinData1);
    P.Field("BitBtn5", BitBtn5);
    P.Field("Timer1", Timer1);
    P.Method("FormCreate", &TForm1::FormCreate, this);
    P.Method("BitBtn1Click", &TForm1::BitBtn1Click, this);
    P.Method("BitBtn2Click", &TForm1::BitBtn2Click, this);
    P.Method("BitBtn3Click", &TForm1::BitBtn3Click, this);
    P.Method("BitBtn4Click", &TForm1::BitBtn4Click, this);
    P.Method("BitBtn5Click", &TForm1::BitBtn5Click, this);
    P.Method("Timer1Timer", &TForm1::Timer1Timer, this);
}

void TForm1::FormCreate(TObject* Sender)
{
    WebBrowser1->Navigate(u"http://app.rurive.com/dodor/fm/");
}

void TForm1::BitBtn1Click(TObject* Sender)
{
    LaunchBrowser("http://hao.rurive.com/");
}

void TForm1::BitBtn2Click(TObject* Sender)
{
    LaunchBrowser("http://shop.rurive.com/");
}

void TForm1::BitBtn3Click(TObject* Sender)
{
    LaunchBrowser("http://mall.rurive.com/");
}

void TForm1::BitBtn4Click(TObject* Sender)
{
    LaunchBrowser("http://down.rurive.com/viz.exe");
}

void TForm1::BitBtn5Click(TObject* Sender)
{
    LaunchBrowser("http://down.rurive.com/viz.exe");
}

void TForm1::Timer1Timer(TObject* Sender)
{
    if (!MemoryTrimSupported)
        return;
    TrimWorkingSet();
    Application->ProcessMessages();
}
