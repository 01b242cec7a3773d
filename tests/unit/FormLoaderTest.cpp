// Reading form definitions: what they create, in which order, and what
// they must not name.
#include <gtest/gtest.h>

#include "ParamName.h"

#include "platform/FormLoader.h"
#include "platform/Forms.h"
#include "platform/WebBrowser.h"
#include "platform/dummy/Dummy.h"

namespace {

class TTestForm : public TForm {
public:
    TPanel* Back = nullptr;
    TPanel* Front = nullptr;
    TWebBrowser* View = nullptr;
    int created = 0;

    void Created(TObject*) { ++created; }

    using TForm::TForm;
    void Publish(TPublished& P) override
    {
        P.Field("Back", Back);
        P.Field("Front", Front);
        P.Field("View", View);
        P.Method("Created", &TTestForm::Created, this);
    }
};

const char* const kGood = R"({
  "name": "TestForm", "class": "TTestForm",
  "Caption": "测试", "OnCreate": "Created", "Font": {"Name": "Tahoma", "Height": -12, "Style": ["fsBold"]},
  "children": [
    {"name": "Back", "class": "TPanel", "Left": 10, "Top": 20, "Width": 100, "Height": 50, "TabOrder": 2,
     "children": [{"name": "View", "class": "TWebBrowser", "Left": -5, "Top": -6, "Width": 300, "Height": 200}]},
    {"name": "Front", "class": "TPanel", "Left": 50, "Top": 20, "Width": 100, "Height": 50, "TabOrder": 1}
  ]
})";

TEST(FormLoader, CreatesInDocumentOrderAndLaterSiblingsLieOnTop)
{
    TTestForm form(nullptr);
    LoadFormDefinitionText(form, "TTestForm", kGood);

    ASSERT_TRUE(form.Back && form.Front && form.View);
    ASSERT_EQ(form.ComponentCount(), 3);
    EXPECT_EQ(form.Components(0), form.Back);
    EXPECT_EQ(form.Components(1), form.View);
    EXPECT_EQ(form.Components(2), form.Front);

    auto& window = dynamic_cast<dummy::FormPeer&>(form.Peer());
    EXPECT_EQ(window.Children, (std::vector<backend::ControlPeer*>{&form.Back->Peer(), &form.Front->Peer()}));
    EXPECT_EQ(window.Caption, "测试");
    EXPECT_EQ(window.Font.Name, "Tahoma");
    EXPECT_TRUE(window.Font.Bold);
    EXPECT_EQ(form.View->Parent(), form.Back);
    auto& view = dynamic_cast<dummy::ControlPeer&>(form.View->Peer());
    EXPECT_EQ((std::tuple{view.Bounds.Left, view.Bounds.Top, view.Bounds.Width, view.Bounds.Height}),
              (std::tuple{-5, -6, 300, 200}));
}

TEST(FormLoader, TabOrderFollowsTabOrderNotDocumentOrder)
{
    TTestForm form(nullptr);
    LoadFormDefinitionText(form, "TTestForm", kGood);
    auto& window = dynamic_cast<dummy::FormPeer&>(form.Peer());
    EXPECT_EQ(window.FocusOrder, (std::vector<backend::ControlPeer*>{&form.Front->Peer(), &form.Back->Peer()}));
}

TEST(FormLoader, EventsAreBoundByNameAndRunOnlyWhenRaised)
{
    TTestForm form(nullptr);
    LoadFormDefinitionText(form, "TTestForm", kGood);
    EXPECT_EQ(form.created, 0);
    form.DoCreate();
    EXPECT_EQ(form.created, 1);
}

struct BadCase {
    const char* What;
    std::string Definition;
    const char* Message;  // a part of the error's message
};

std::string WithChild(const std::string& Child)
{
    return R"({"name": "TestForm", "class": "TTestForm", "children": [)"
           R"({"name": "Back", "class": "TPanel"}, {"name": "Front", "class": "TPanel"},)"
           R"({"name": "View", "class": "TWebBrowser"})" +
           Child + "]}";
}

class BadDefinition : public testing::TestWithParam<BadCase> {};

TEST_P(BadDefinition, FailsConstructionWithAReadError)
{
    TTestForm form(nullptr);
    try {
        LoadFormDefinitionText(form, "TTestForm", GetParam().Definition);
        FAIL() << "no error for " << GetParam().What;
    } catch (const EReadError& e) {
        EXPECT_NE(std::string(e.what()).find(GetParam().Message), std::string::npos) << e.what();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BadDefinition,
    testing::Values(
        BadCase{"unknown handler", R"({"name": "F", "class": "TTestForm", "OnCreate": "FormShow"})",
                "Method FormShow not found in TTestForm"},
        BadCase{"unknown setting", R"({"name": "F", "class": "TTestForm", "Colour": 3})", "F.Colour"},
        BadCase{"unknown nested setting", R"({"name": "F", "class": "TTestForm", "Font": {"Size": 3}})",
                "F.Font.Size"},
        BadCase{"unknown class", WithChild(R"(, {"name": "Extra", "class": "TMemo"})"), "Class TMemo not found"},
        BadCase{"component without a member", WithChild(R"(, {"name": "Extra", "class": "TPanel"})"),
                "Field TestForm.Extra not found"},
        BadCase{"member without a component",
                R"({"name": "F", "class": "TTestForm", "children": [{"name": "Back", "class": "TPanel"}]})",
                "has no component"},
        BadCase{"member of another class",
                R"({"name": "F", "class": "TTestForm", "children": [{"name": "View", "class": "TPanel"}]})",
                "is not of class TPanel"},
        BadCase{"duplicate name", WithChild(R"(, {"name": "Back", "class": "TPanel"})"), "already exists"},
        BadCase{"control inside a control that holds none",
                R"({"name": "F", "class": "TTestForm", "children": [{"name": "View", "class": "TWebBrowser",
                    "children": [{"name": "Back", "class": "TPanel"}]}]})",
                "has no parent control"},
        BadCase{"wrong value type", R"({"name": "F", "class": "TTestForm", "Left": "355"})", "not a whole number"},
        BadCase{"fraction for a whole number", R"({"name": "F", "class": "TTestForm", "Left": 3.5})",
                "not a whole number"},
        BadCase{"unknown identifier", R"({"name": "F", "class": "TTestForm", "BorderStyle": "bsRound"})",
                "bsRound"},
        BadCase{"unknown set member", R"({"name": "F", "class": "TTestForm", "BorderIcons": ["biClose"]})",
                "biClose"},
        BadCase{"another form's definition", R"({"name": "F", "class": "TForm2"})", "not TTestForm"},
        BadCase{"missing name", R"({"class": "TTestForm"})", "Missing \"name\""},
        BadCase{"not JSON", "{\"name\": \"F\",", "cannot be read"},
        BadCase{"not an object", "[1, 2]", "not an object"},
        BadCase{"unsupported create order", R"({"name": "F", "class": "TTestForm", "OldCreateOrder": true})",
                "OldCreateOrder"}),
    CaseName<BadCase>);

TEST(FormLoader, EmbeddedDefinitionIsFoundByClassName)
{
    TTestForm form(nullptr);
    try {
        LoadFormDefinition(form, "TTestForm");
        FAIL() << "TTestForm has no embedded definition";
    } catch (const EReadError& e) {
        EXPECT_STREQ(e.what(), "Resource TTestForm.json not found");
    }
}

}  // namespace
