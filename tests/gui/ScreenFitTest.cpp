// Stored window geometries against the screens there are.
#include "app/ScreenFit.h"
#include "ProgramFolder.h"
#include "ScriptedRunner.h"
#include "settings/Oini.h"

#include <QGuiApplication>
#include <QScreen>

#include <gtest/gtest.h>

namespace sorvanti::test {
namespace {

TEST(ScreenFit, AGeometryIsKeptWhileTheUserCanReachItAndBroughtBackOtherwise) {
    const QList<QRect> oneScreen{QRect(0, 0, 1024, 768)};
    const QList<QRect> twoScreens{QRect(0, 0, 1024, 768), QRect(1024, 0, 1280, 1024)};
    struct Case {
        const char* name;
        QList<QRect> screens;
        StoredGeometry stored; // left, top, width, height
        QRect shown;
    };
    const Case cases[] = {
        {"centred", oneScreen, {291, 219, 441, 330}, QRect(291, 219, 441, 330)},
        {"partly off to the left, still reachable",
         oneScreen,
         {-50, 100, 441, 330},
         QRect(-50, 100, 441, 330)},
        {"on the second screen", twoScreens, {1500, 600, 600, 400}, QRect(1500, 600, 600, 400)},
        {"huge", oneScreen, {0, 0, 99999999, 99999999}, QRect(0, 0, 1024, 768)},
        {"far right", oneScreen, {5000, 100, 441, 330}, QRect(583, 100, 441, 330)},
        {"far up and left", oneScreen, {-3000, -3000, 441, 330}, QRect(0, 0, 441, 330)},
        {"title bar above the screen", oneScreen, {100, -10, 441, 330}, QRect(100, 0, 441, 330)},
        {"only a sliver visible", oneScreen, {1000, 100, 441, 330}, QRect(583, 100, 441, 330)},
        {"extreme values", oneScreen, {INT32_MAX, INT32_MIN, INT32_MAX, 10}, QRect(0, 0, 1024, 10)},
        {"too tall for the screen it is on",
         twoScreens,
         {1100, 0, 500, 2000},
         QRect(1100, 0, 500, 1024)},
        {"no screen known", {}, {5000, 5000, 10, 10}, QRect(5000, 5000, 10, 10)},
        {"no screen, far edge out of range",
         {},
         {INT32_MAX, INT32_MIN, 10, -3},
         QRect(INT32_MAX - 10, INT32_MIN + 1, 10, 0)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(fitToScreens(c.stored, c.screens), c.shown) << c.name;
}

// A stored size below the window's minimum is replaced by the default size, and the centring
// that follows from it stays in range (each case also runs under UBSan in check-asan).
TEST(ScreenFit, SizesBelowTheWindowsMinimumGiveTheDefaultSize) {
    ScriptedRunner runner;
    ProgramFolder program;
    const QSize min = program.openWindow()->minimumSize();
    const int areaHeight = QGuiApplication::primaryScreen()->availableGeometry().height();
    const std::pair<std::string, QSize> cases[] = {
        {"Width=-5\nHeight=300", {441, 300}},
        {"Width=500\nHeight=-2147483648", {500, 330}},
        {"Width=-2147483648\nHeight=2147483647", {441, areaHeight}},
        {"Width=" + std::to_string(min.width()) + "\nHeight=" + std::to_string(min.height() - 1),
         {min.width(), 330}},
    };
    for (const auto& [settings, shown] : cases) {
        program.writeSettings("[メイン]\n" + settings + "\n");
        EXPECT_EQ(program.openWindow()->size(), shown) << settings;
    }
}

TEST(ScreenFit, AHugeStoredWindowOpensOnTheScreenAndIsWrittenBackAsShown) {
    ScriptedRunner runner;
    ProgramFolder program;
    program.writeSettings("[メイン]\nWidth=99999999\nHeight=99999999\nTop=5000\nLeft=-3000\n");
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    {
        auto w = program.openWindow();
        EXPECT_EQ(QRect(w->pos(), w->size()), area);
    }
    Oini ini(program.programPath());
    EXPECT_EQ(ini.ReadInteger("メイン", "Width", 0), area.width());
    EXPECT_EQ(ini.ReadInteger("メイン", "Height", 0), area.height());
    EXPECT_EQ(ini.ReadInteger("メイン", "Top", 1), area.top());
    EXPECT_EQ(ini.ReadInteger("メイン", "Left", 1), area.left());
}

} // namespace
} // namespace sorvanti::test
