// The main window as its definition builds it, on the dummy backend.
#include <gtest/gtest.h>

#include "Unit1.h"
#include "platform/MemoryTrim.h"

#include <algorithm>
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
}

TEST_F(MainForm, FormCreateNavigatesOnceToTheStation)
{
    Application->CreateForm(Form1);
    auto& view = dynamic_cast<dummy::WebViewPeer&>(Form1->WebBrowser1->Peer());
    EXPECT_EQ(view.Navigations, std::vector<std::u16string>{u"http://app.rurive.com/dodor/fm/"});
    EXPECT_EQ(dummy::Journal(), (std::vector<std::string>{"TimerStart 60000", "Navigate"}));
}

TEST_F(MainForm, RefusedNavigationIsReportedAndTheWindowStillOpens)
{
    dummy::NavigateFailure = "The address is not valid";
    Application->CreateForm(Form1);
    ASSERT_NE(Form1, nullptr);
    EXPECT_EQ(Application->MainForm(), Form1);
    EXPECT_EQ(dummy::Journal(),
              (std::vector<std::string>{"TimerStart 60000", "Navigate",
                                        "ErrorBox Rurive儿歌音乐盒: The address is not valid."}));
}

TEST_F(MainForm, ClosingTheMainWindowEndsTheLoopAndDestroysTheForm)
{
    Application->CreateForm(Form1);
    Form1->Close();
    EXPECT_TRUE(Application->Terminated());
    EXPECT_EQ(dummy::Journal().back(), "Quit");
}

}  // namespace

namespace {

struct ButtonCase {
    const char* Name;
    int Left, Top, Width, Height, TabOrder;
    const char* Caption;
    const char* Parent;
    const char* Address;
};

const ButtonCase kButtons[] = {
    {"BitBtn1", 0, 0, 105, 50, 1, "网址导航", "Form1", "http://hao.rurive.com/"},
    {"BitBtn2", 104, 0, 105, 50, 2, "淘宝旗舰店", "Form1", "http://shop.rurive.com/"},
    {"BitBtn3", 208, 0, 105, 50, 3, "淘宝商城", "Form1", "http://mall.rurive.com/"},
    {"BitBtn4", 312, 0, 209, 50, 4, "提示\xEF\xBC\x9A软件有更新请立即升级", "Form1", "http://down.rurive.com/viz.exe"},
    {"BitBtn5", 264, 386, 90, 33, 1, "点此升级", "Panel1", "http://down.rurive.com/viz.exe"},
};

TBitBtn* ButtonNamed(const std::string& Name)
{
    for (int i = 0; i < Form1->ComponentCount(); ++i)
        if (Form1->Components(i)->Name() == Name)
            return dynamic_cast<TBitBtn*>(Form1->Components(i));
    return nullptr;
}

TEST_F(MainForm, ButtonsHaveTheirPlaceCaptionAndParent)
{
    Application->CreateForm(Form1);
    for (const ButtonCase& c : kButtons) {
        SCOPED_TRACE(c.Name);
        TBitBtn* b = ButtonNamed(c.Name);
        ASSERT_NE(b, nullptr);
        EXPECT_EQ(b->Parent()->Name(), c.Parent);
        EXPECT_EQ((std::tuple{b->Left(), b->Top(), b->Width(), b->Height(), b->TabOrder()}),
                  (std::tuple{c.Left, c.Top, c.Width, c.Height, c.TabOrder}));
        auto& peer = dynamic_cast<dummy::ButtonPeer&>(b->Peer());
        EXPECT_EQ(peer.Caption, c.Caption);
        EXPECT_FALSE(peer.Glyph.empty());
    }
    EXPECT_EQ(Form1->BitBtn1, ButtonNamed("BitBtn1"));
    EXPECT_EQ(Form1->BitBtn5, ButtonNamed("BitBtn5"));
}

TEST_F(MainForm, ComponentsAreCreatedStackedAndTabbedInTheDefinitionsOrder)
{
    Application->CreateForm(Form1);
    std::vector<std::string> created;
    for (int i = 0; i < Form1->ComponentCount(); ++i)
        created.push_back(Form1->Components(i)->Name());
    EXPECT_EQ(created, (std::vector<std::string>{"Panel1", "WebBrowser1", "BitBtn5", "BitBtn1", "BitBtn2", "BitBtn3",
                                                 "BitBtn4", "SkinData1", "Timer1"}));

    auto& window = dynamic_cast<dummy::FormPeer&>(Form1->Peer());
    auto& panel = dynamic_cast<dummy::PanelPeer&>(Form1->Panel1->Peer());
    const std::vector<backend::ControlPeer*> top = {&Form1->Panel1->Peer(), &Form1->BitBtn1->Peer(),
                                                    &Form1->BitBtn2->Peer(), &Form1->BitBtn3->Peer(),
                                                    &Form1->BitBtn4->Peer()};
    EXPECT_EQ(window.Children, top);  // bottom to top: each button over its left neighbour
    EXPECT_EQ(window.FocusOrder, top);
    const std::vector<backend::ControlPeer*> inPanel = {&Form1->WebBrowser1->Peer(), &Form1->BitBtn5->Peer()};
    EXPECT_EQ(panel.Children, inPanel);  // the upgrade button over the page
    EXPECT_EQ(panel.FocusOrder, inPanel);
}

TEST_F(MainForm, EachClickLaunchesItsButtonsAddressOnce)
{
    Application->CreateForm(Form1);
    for (const ButtonCase& c : kButtons) {
        SCOPED_TRACE(c.Name);
        dummy::Journal().clear();
        auto& peer = dynamic_cast<dummy::ButtonPeer&>(ButtonNamed(c.Name)->Peer());
        peer.Click();
        peer.Click();
        EXPECT_EQ(dummy::Journal(), (std::vector<std::string>(2, std::string("Launch ") + c.Address)));
    }
}

TEST_F(MainForm, UpgradeButtonsShareOneGlyphByteForByte)
{
    Application->CreateForm(Form1);
    EXPECT_EQ(dynamic_cast<dummy::ButtonPeer&>(Form1->BitBtn4->Peer()).Glyph,
              dynamic_cast<dummy::ButtonPeer&>(Form1->BitBtn5->Peer()).Glyph);
    EXPECT_NE(dynamic_cast<dummy::ButtonPeer&>(Form1->BitBtn1->Peer()).Glyph,
              dynamic_cast<dummy::ButtonPeer&>(Form1->BitBtn2->Peer()).Glyph);
}

}  // namespace

namespace {

dummy::TimerPeer& Timer1Peer()
{
    return dynamic_cast<dummy::TimerPeer&>(Form1->Timer1->Peer());
}

TEST_F(MainForm, TimerIsSetForAMinuteBeforeFormCreateRuns)
{
    Application->CreateForm(Form1);
    ASSERT_NE(Form1->Timer1, nullptr);
    EXPECT_EQ(Form1->Timer1->Interval(), 60000u);
    EXPECT_TRUE(Form1->Timer1->Enabled());
    EXPECT_TRUE(Timer1Peer().Running);
    EXPECT_EQ(Timer1Peer().Interval, 60000u);
    EXPECT_EQ(Timer1Peer().Starts, 1) << "set once, when its handler was bound";
    EXPECT_EQ(dummy::Journal(), (std::vector<std::string>{"TimerStart 60000", "Navigate"}));
}

TEST_F(MainForm, TickDoesNothingAtAllWhereTheTrimIsUnsupported)
{
    MemoryTrimSupported = false;
    Application->CreateForm(Form1);
    dummy::Journal().clear();
    Timer1Peer().Fire();
    EXPECT_TRUE(dummy::Journal().empty());
}

TEST_F(MainForm, TickTrimsThenDrainsTheEventQueue)
{
    MemoryTrimSupported = true;
    Application->CreateForm(Form1);
    dummy::Journal().clear();
    Timer1Peer().Fire();
    Timer1Peer().Fire();
    EXPECT_EQ(dummy::Journal(), (std::vector<std::string>{"Trim", "ProcessPending", "Trim", "ProcessPending"}));
    EXPECT_TRUE(Timer1Peer().Running);
}

TEST_F(MainForm, RefusedTimerFailsConstruction)
{
    dummy::TimerPeer::RefuseTimers = true;
    try {
        Application->CreateForm(Form1);
        FAIL() << "construction went on without its timer";
    } catch (const EOutOfResources& e) {
        EXPECT_STREQ(e.what(), "Not enough timers available");
    }
    EXPECT_EQ(Form1, nullptr);
    EXPECT_EQ(Application->MainForm(), nullptr);
}

TEST(Timer, ErrorInTheHandlerIsReportedAndTheTimerKeepsRunning)
{
    dummy::Reset();
    Application->Title = "Rurive儿歌音乐盒";
    TTimer timer(nullptr);
    int ticks = 0;
    timer.SetOnTimer([&](TObject*) {
        ++ticks;
        throw Exception("Out of memory");
    });
    auto& peer = dynamic_cast<dummy::TimerPeer&>(timer.Peer());
    peer.Fire();
    peer.Fire();
    EXPECT_EQ(ticks, 2);
    EXPECT_TRUE(peer.Running);
    EXPECT_EQ(std::count(dummy::Journal().begin(), dummy::Journal().end(), "ErrorBox Rurive儿歌音乐盒: Out of memory."),
              2);
}

TEST(Timer, RunsOnlyWhileEnabledWithAnIntervalAndAHandler)
{
    TTimer timer(nullptr);
    auto& peer = dynamic_cast<dummy::TimerPeer&>(timer.Peer());
    EXPECT_FALSE(peer.Running) << "no handler yet";
    timer.SetOnTimer([](TObject*) {});
    EXPECT_TRUE(peer.Running);
    EXPECT_EQ(peer.Interval, 1000u);
    timer.SetInterval(0);
    EXPECT_FALSE(peer.Running);
    timer.SetInterval(250);
    EXPECT_TRUE(peer.Running);
    EXPECT_EQ(peer.Interval, 250u);
    timer.SetEnabled(false);
    EXPECT_FALSE(peer.Running);
}

}  // namespace
