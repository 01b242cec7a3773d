// Rurive儿歌音乐盒: a children's-song radio in one window.
#include "Unit1.h"
#include "platform/Application.h"
#include "platform/ErrorReport.h"

int main()
{
    try {
        Application->Initialize();
        Application->Title = "Rurive儿歌音乐盒";
        Application->CreateForm(Form1);
        Application->Run();
    } catch (const std::exception& E) {
        return ReportFatalError(E);
    }
    return 0;
}
