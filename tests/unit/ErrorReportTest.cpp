#include <gtest/gtest.h>

#include "platform/Application.h"
#include "platform/ErrorReport.h"
#include "platform/dummy/Dummy.h"

namespace {

struct FullStopCase {
    const char* Message;
    const char* Shown;
};

class FullStop : public testing::TestWithParam<FullStopCase> {};

TEST_P(FullStop, AppendedOnlyAfterBytesAboveFullStop)
{
    EXPECT_EQ(WithFullStop(GetParam().Message), GetParam().Shown);
}

INSTANTIATE_TEST_SUITE_P(Endings, FullStop,
                         testing::Values(FullStopCase{"Cannot open", "Cannot open."},
                                         FullStopCase{"Done.", "Done."},
                                         FullStopCase{"Wait...", "Wait..."},
                                         FullStopCase{"Stop!", "Stop!"},
                                         FullStopCase{"(see above)", "(see above)"},
                                         FullStopCase{"a-", "a-"},
                                         FullStopCase{"a,", "a,"},
                                         FullStopCase{"trailing ", "trailing "},
                                         FullStopCase{"error 404", "error 404."},
                                         FullStopCase{"why?", "why?."},
                                         FullStopCase{"a/", "a/."},
                                         FullStopCase{"网络错误", "网络错误."},
                                         FullStopCase{"", ""}));

TEST(FatalErrorText, NamesClassModuleAddressAndMessage)
{
    const void* address = reinterpret_cast<const void*>(std::uintptr_t{0x4A2F1C});
    const std::string text = FatalErrorText("EReadError", "rurive-musicbox", address, "Class TFoo not found");
    const std::string hex(2 * sizeof(void*) - 6, '0');
    EXPECT_EQ(text, "Exception EReadError in module rurive-musicbox at " + hex +
                        "4A2F1C.\nClass TFoo not found.");
}

TEST(ReportFatalError, ShowsLastChanceBoxAndGivesExitCodeOne)
{
    dummy::Reset();
    const int code = ReportFatalError(EReadError("Method FormShow not found in TForm1"));
    EXPECT_EQ(code, 1);
    ASSERT_EQ(dummy::Journal().size(), 1u);
    const std::string& entry = dummy::Journal()[0];
    EXPECT_EQ(entry.rfind("FatalBox Application Error: Exception EReadError in module dummy-module at ", 0), 0u)
        << entry;
    EXPECT_NE(entry.find(".\nMethod FormShow not found in TForm1."), std::string::npos) << entry;
}

TEST(ReportFatalError, NamesStandardExceptionsByTheirClass)
{
    dummy::Reset();
    ReportFatalError(std::out_of_range("index 9"));
    ASSERT_EQ(dummy::Journal().size(), 1u);
    EXPECT_NE(dummy::Journal()[0].find("Exception out_of_range in module"), std::string::npos);
}

TEST(DispatchEvent, HandlerErrorIsReportedAndTheNextEventStillRuns)
{
    dummy::Reset();
    Application->Title = "Rurive儿歌音乐盒";
    int runs = 0;
    TNotifyEvent failing = [&](TObject*) {
        ++runs;
        throw Exception("Disk not ready");
    };
    TNotifyEvent fine = [&](TObject*) { ++runs; };

    EXPECT_NO_THROW(DispatchEvent(failing, nullptr));
    EXPECT_NO_THROW(DispatchEvent(fine, nullptr));
    EXPECT_NO_THROW(DispatchEvent([](TObject*) { throw 42; }, nullptr));

    EXPECT_EQ(runs, 2);
    EXPECT_EQ(dummy::Journal(), (std::vector<std::string>{"ErrorBox Rurive儿歌音乐盒: Disk not ready.",
                                                         "ErrorBox Rurive儿歌音乐盒: Unknown error."}));
}

}  // namespace
