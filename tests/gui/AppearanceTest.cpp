// Colours through the pop-up menu, kept across runs, and the font button.
#include "ProgramFolder.h"
#include "ScriptedRunner.h"
#include "appearance/ColorValue.h"
#include "settings/Oini.h"
#include "support/Utf8.h"
#include "toolkit/ColorDialog.h"
#include "toolkit/FontDialog.h"

#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QGroupBox>
#include <QMenu>
#include <QStatusBar>
#include <QTextCursor>
#include <QTextEdit>
#include <QToolButton>

#include <gtest/gtest.h>

namespace sorvanti::test {
namespace {

class Appearance : public ::testing::Test {
protected:
    void SetUp() override {
        program.addDictionary("方言", "犬 わんこ\n");
        w = program.openWindow();
    }

    // A right click on `component`, as the user makes it; the menu is closed again.
    void rightClick(QWidget* component) {
        // A pane's clicks land on its viewport.
        if (auto* edit = qobject_cast<QTextEdit*>(component))
            component = edit->viewport();
        const QPoint at(3, 3);
        QContextMenuEvent event(QContextMenuEvent::Mouse, at, component->mapToGlobal(at));
        QApplication::sendEvent(component, &event);
        w->PopupMenu1->hide();
    }
    void setAll(int32_t value) {
        for (ColorSurface s : colors::kAllSurfaces)
            w->colors().set(s, value);
    }
    QColor shown(QWidget* widget) const {
        const auto role = qobject_cast<QTextEdit*>(widget) ? QPalette::Base : QPalette::Window;
        return widget->palette().color(role);
    }

    ScriptedRunner runner;
    ProgramFolder program;
    std::unique_ptr<TVeruzazur> w;
};

TEST_F(Appearance, EachComponentIsClassifiedInTheOrderFrameThenPaneThenPanelThenStatusBar) {
    struct Case {
        QWidget* clicked;
        QWidget* target;                     // the pop-up target the click records
        std::optional<ColorSurface> surface; // with pane 0 active
    };
    const Case cases[] = {
        {w->pane(0).frame(), w->pane(0).frame(), ColorSurface::FrameAct},
        {w->pane(1).frame(), w->pane(1).frame(), ColorSurface::FrameDis},
        // A text edit is a frame too; it still counts as a pane.
        {w->pane(0).edit(), w->pane(0).edit(), ColorSurface::Edit0},
        {w->pane(1).edit(), w->pane(1).edit(), ColorSurface::Edit1},
        {w->PiconBar, w->PiconBar, ColorSurface::IconBar},
        {w->SBhenkan0, w->PiconBar, ColorSurface::IconBar},
        {w->SBfont, w->PiconBar, ColorSurface::IconBar},
        {w->StatusBar1, w->StatusBar1, ColorSurface::StatusBar},
    };
    for (const Case& c : cases) {
        w->PopupComponent = nullptr;
        rightClick(c.clicked);
        EXPECT_EQ(w->PopupComponent, c.target) << c.clicked->objectName().toStdString();
        const auto target = w->colors().surfaceOf(w->PopupComponent);
        ASSERT_TRUE(target.has_value());
        EXPECT_EQ(*target, c.surface);
    }
    for (QObject* other :
         {static_cast<QObject*>(w->Pcenter), static_cast<QObject*>(w->CBdictionary),
          static_cast<QObject*>(w.get())}) {
        runner.boxes.clear();
        w->PopupComponent = qobject_cast<QWidget*>(other);
        w->colorClick(w->color);
        w->DefoltClick(w->Defolt);
        EXPECT_EQ(runner.texts(),
                  (QStringList{u("指定した場所は選べません"), u("指定した場所は選べません")}));
        EXPECT_TRUE(runner.colorRequests.empty());
    }
}

TEST_F(Appearance, AColourChosenForTheInactiveFrameFollowsThatRole) {
    rightClick(w->pane(1).frame());
    runner.colorAnswers.push_back(QColor(10, 20, 30));
    w->color->trigger();
    ASSERT_EQ(runner.colorRequests.size(), 1u);
    EXPECT_EQ(runner.colorRequests[0], QApplication::palette().color(QPalette::Button));
    EXPECT_EQ(w->colors().value(ColorSurface::FrameDis), 0x001E140A);
    EXPECT_EQ(w->colors().value(ColorSurface::FrameAct), colorvalue::kSkyBlue);
    EXPECT_EQ(shown(w->pane(1).frame()), QColor(10, 20, 30));

    w->GBframe0MouseUp(w->pane(1).frame(), Qt::LeftButton);
    EXPECT_EQ(shown(w->pane(1).frame()), QColor(166, 202, 240));
    EXPECT_EQ(shown(w->pane(0).frame()), QColor(10, 20, 30));

    // A cancelled dialog changes nothing.
    rightClick(w->pane(0).frame());
    runner.colorAnswers.push_back(std::nullopt);
    w->color->trigger();
    EXPECT_EQ(w->colors().value(ColorSurface::FrameDis), 0x001E140A);
    EXPECT_EQ(shown(w->pane(0).frame()), QColor(10, 20, 30));
}

TEST_F(Appearance, EachResetRestoresOnlyTheSurfaceOfItsTarget) {
    struct Case {
        QWidget* clicked;
        ColorSurface reset;
    };
    const Case cases[] = {
        {w->pane(0).frame(), ColorSurface::FrameAct},
        {w->pane(1).frame(), ColorSurface::FrameDis},
        {w->pane(0).edit(), ColorSurface::Edit0},
        {w->pane(1).edit(), ColorSurface::Edit1},
        {w->SBvh, ColorSurface::IconBar},
        {w->StatusBar1, ColorSurface::StatusBar},
    };
    const int32_t changed = 0x00123456;
    for (const Case& c : cases) {
        setAll(changed);
        rightClick(c.clicked);
        w->Defolt->trigger();
        for (ColorSurface s : colors::kAllSurfaces)
            EXPECT_EQ(w->colors().value(s), s == c.reset ? colors::defaultColor(s) : changed)
                << colors::settingsKey(s) << " after a reset on "
                << c.clicked->objectName().toStdString();
    }
    // The two panes have different defaults.
    EXPECT_NE(colors::defaultColor(ColorSurface::Edit0), colors::defaultColor(ColorSurface::Edit1));

    setAll(changed);
    rightClick(w->pane(1).edit());
    w->AllDefolt->trigger();
    for (ColorSurface s : colors::kAllSurfaces)
        EXPECT_EQ(w->colors().value(s), colors::defaultColor(s)) << colors::settingsKey(s);
    EXPECT_EQ(shown(w->pane(1).edit()), QColor(192, 220, 192));
    EXPECT_EQ(shown(w->StatusBar1), QApplication::palette().color(QPalette::Button));
    EXPECT_TRUE(runner.boxes.empty());
}

TEST_F(Appearance, SixColoursComeBackAtTheNextStart) {
    int32_t value = 0x00010203;
    for (ColorSurface s : colors::kAllSurfaces)
        w->colors().set(s, value += 0x00010101);
    w.reset();

    Oini ini(program.programPath());
    value = 0x00010203;
    for (const auto& e : SurfaceColors::settingRows()) {
        if (std::string(e.section) == "カラー") {
            EXPECT_EQ(ini.ReadInteger(e.section, e.key, 0), value += 0x00010101) << e.key;
        }
    }

    w = program.openWindow();
    value = 0x00010203;
    for (ColorSurface s : colors::kAllSurfaces)
        EXPECT_EQ(w->colors().value(s), value += 0x00010101) << colors::settingsKey(s);
    EXPECT_EQ(shown(w->StatusBar1), colorvalue::toQColor(value, QApplication::palette()));
}

TEST_F(Appearance, AChosenFontGoesToTheSelectionOnlyAndEachPaneRemembersItsOwn) {
    w->pane(0).edit()->setPlainText(u("あいうえお"));
    w->pane(1).edit()->setPlainText(u("かきくけこ"));
    QTextCursor c = w->pane(0).edit()->textCursor();
    c.setPosition(1);
    c.setPosition(3, QTextCursor::KeepAnchor);
    w->pane(0).edit()->setTextCursor(c);

    QFont chosen(QStringLiteral("IPAGothic"));
    chosen.setPointSize(20);
    chosen.setBold(true);
    runner.fontAnswers.push_back(chosen);
    w->SBfont->click();
    ASSERT_EQ(runner.fontRequests.size(), 1u);
    EXPECT_EQ(runner.fontRequests[0].pointSize(), 9);

    const auto formatAt = [](QTextEdit* edit, int pos) {
        QTextCursor at(edit->document());
        at.setPosition(pos);
        return at.charFormat();
    };
    for (int pos = 1; pos <= 5; ++pos) {
        const bool inside = pos == 2 || pos == 3; // the format of the character before pos
        EXPECT_EQ(formatAt(w->pane(0).edit(), pos).fontPointSize() == 20, inside) << pos;
        EXPECT_EQ(formatAt(w->pane(0).edit(), pos).fontWeight() == QFont::Bold, inside) << pos;
        EXPECT_NE(formatAt(w->pane(1).edit(), pos).fontPointSize(), 20) << pos;
    }
    EXPECT_EQ(w->pane(0).fontDialog()->Font.pointSize(), 20);

    // The lower pane's dialog still offers its own start font; cancelling changes nothing.
    w->SetActivePane(1);
    runner.fontAnswers.push_back(std::nullopt);
    w->SBfont->click();
    EXPECT_EQ(runner.fontRequests.at(1).pointSize(), 9);
    EXPECT_EQ(w->pane(1).fontDialog()->Font.pointSize(), 9);

    // With nothing selected only what is typed at the caret takes the font.
    w->SetActivePane(0);
    c.setPosition(5);
    w->pane(0).edit()->setTextCursor(c);
    chosen.setPointSize(30);
    runner.fontAnswers.push_back(chosen);
    w->SBfont->click();
    EXPECT_NE(formatAt(w->pane(0).edit(), 5).fontPointSize(), 30);
    w->pane(0).edit()->textCursor().insertText(u("ん"));
    EXPECT_EQ(formatAt(w->pane(0).edit(), 6).fontPointSize(), 30);
}

} // namespace
} // namespace sorvanti::test
