// The guard every handler runs in, the error box and the application title.
#include "toolkit/Guard.h"
#include "ScriptedRunner.h"

#include <stdexcept>

#include <gtest/gtest.h>

namespace sorvanti::test {
namespace {

TEST(Guard, EscapingErrorShowsTheStandardErrorBoxAndTheProgramGoesOn) {
    ScriptedRunner runner;
    EXPECT_FALSE(guarded(nullptr, [] { throw Error("ファイル /tmp/a.svt は開けません"); }));
    ASSERT_EQ(runner.boxes.size(), 1u);
    EXPECT_EQ(runner.boxes[0].icon, QMessageBox::Critical);
    EXPECT_EQ(runner.boxes[0].title, QStringLiteral("Sorvanti"));
    EXPECT_EQ(runner.boxes[0].text, QStringLiteral("ファイル /tmp/a.svt は開けません."));
    EXPECT_EQ(runner.boxes[0].buttons, QMessageBox::Ok);
}

TEST(Guard, OtherExceptionsAreShownTheSameWay) {
    ScriptedRunner runner;
    guarded(nullptr, [] { throw std::out_of_range("範囲チェックエラー"); });
    guarded(nullptr, [] { throw 42; });
    EXPECT_EQ(runner.texts(), (QStringList{"範囲チェックエラー.", "."}));
}

TEST(Guard, SilentAbortShowsNothingAndCompletedHandlersReportSuccess) {
    ScriptedRunner runner;
    EXPECT_FALSE(guarded(nullptr, [] { throw Abort(); }));
    int ran = 0;
    EXPECT_TRUE(guarded(nullptr, [&] { ++ran; }));
    EXPECT_EQ(ran, 1);
    EXPECT_TRUE(runner.boxes.empty());
}

TEST(ApplicationTitle, FileNameCutBeforeItsFirstDotWithTheRestInLowerCase) {
    EXPECT_EQ(applicationTitleFor(QStringLiteral("/work/build/Sorvanti")),
              QStringLiteral("Sorvanti"));
    EXPECT_EQ(applicationTitleFor(QStringLiteral("/a.b/SORVANTI.EXE")), QStringLiteral("Sorvanti"));
    EXPECT_EQ(applicationTitleFor(QStringLiteral("sorvanti.v2.bin")), QStringLiteral("sorvanti"));
}

} // namespace
} // namespace sorvanti::test
