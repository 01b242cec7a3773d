// The main window as its definition builds it, on the dummy backend.
#include <gtest/gtest.h>

#include "Unit1.h"
#include "platform/Application.h"
#include "platform/dummy/Dummy.h"

namespace {

class MainForm : public testing::Test {
protected:
    void SetUp() override
    {
        dummy::Reset();
        Application->Title = "Rurive儿歌音乐盒";
    }
    // Run returns at once on the dummy backend and destroys the forms.
    void TearDown() override { Application->Run(); }
};

TEST_F(MainForm, DefinitionBuildsTheWindowAndStationView)
{
    Application->CreateForm(Form1);
    ASSERT_NE(Form1, nullptr);
    EXPECT_EQ(Application->MainForm(), Form1);
    EXPECT_EQ(Form1->Name(), "Form1");

    auto& window = dynamic_cast<dummy::FormPeer&>(Form1->Peer());
    EXPECT_EQ(window.Caption, "Rurive儿歌音乐盒 V3.2正式版");
    EXPECT_EQ(window.Bounds.Left, 355);
    EXPECT_EQ(window.Bounds.Top, 159);
    EXPECT_EQ(window.Bounds.Width, 519);
    EXPECT_EQ(window.Bounds.Height, 515);
    EXPECT_TRUE(window.Fixed);
    EXPECT_EQ(window.Icons, backend::kSystemMenu | backend::kMinimize);
    EXPECT_EQ(window.Font.Name, "MS Sans Serif");
    EXPECT_EQ(window.Font.Height, -11);
    EXPECT_FALSE(window.Font.Bold);

    ASSERT_NE(Form1->Panel1, nullptr);
    ASSERT_NE(Form1->WebBrowser1, nullptr);
    EXPECT_EQ(Form1->Panel1->Parent(), Form1);
    EXPECT_EQ(Form1->WebBrowser1->Parent(), Form1->Panel1);
    EXPECT_EQ(Form1->Panel1->Caption(), "Panel1");

    auto& panel = dynamic_cast<dummy::PanelPeer&>(Form1->Panel1->Peer());
    EXPECT_EQ(panel.Parent, &window);
    EXPECT_EQ((std::tuple{panel.Bounds.Left, panel.Bounds.Top, panel.Bounds.Width, panel.Bounds.Height}),
              (std::tuple{0, 52, 625, 481}));
    auto& view = dynamic_cast<dummy::WebViewPeer&>(Form1->WebBrowser1->Peer());
    EXPECT_EQ(view.Parent, &panel);
    EXPECT_EQ((std::tuple{view.Bounds.Left, view.Bounds.Top, view.Bounds.Width, view.Bounds.Height}),
              (std::tuple{-140, -48, 800, 800}));
    EXPECT_EQ(window.FocusOrder, std::vector<backend::ControlPeer*>{&panel});
    EXPECT_EQ(panel.FocusOrder, std::vector<backend::ControlPeer*>{&view});
}

TEST_F(MainForm, ComponentsAreCreatedInDocumentOrder)
{
    Application->CreateForm(Form1);
    std::vector<std::string> names;
    for (int i = 0; i < Form1->ComponentCount(); ++i)
        names.push_back(Form1->Components(i)->Name());
    EXPECT_EQ(names, (std::vector<std::string>{"Panel1", "WebBrowser1"}));
}

TEST_F(MainForm, FormCreateNavigatesOnceToTheStation)
{
    Application->CreateForm(Form1);
    auto& view = dynamic_cast<dummy::WebViewPeer&>(Form1->WebBrowser1->Peer());
    EXPECT_EQ(view.Navigations, std::vector<std::u16string>{u"http://app.rurive.com/dodor/fm/"});
    EXPECT_EQ(dummy::Journal(), std::vector<std::string>{"Navigate"});
}

TEST_F(MainForm, RefusedNavigationIsReportedAndTheWindowStillOpens)
{
    dummy::NavigateFailure = "The address is not valid";
    Application->CreateForm(Form1);
    ASSERT_NE(Form1, nullptr);
    EXPECT_EQ(Application->MainForm(), Form1);
    EXPECT_EQ(dummy::Journal(),
              (std::vector<std::string>{"Navigate", "ErrorBox Rurive儿歌音乐盒: The address is not valid."}));
}

TEST_F(MainForm, ClosingTheMainWindowEndsTheLoopAndDestroysTheForm)
{
    Application->CreateForm(Form1);
    Form1->Close();
    EXPECT_TRUE(Application->Terminated());
    EXPECT_EQ(dummy::Journal().back(), "Quit");
}

}  // namespace
