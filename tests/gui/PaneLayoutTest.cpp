// Pane layout, split toggle, active pane, frame colours and the Save/Save As enabling.
#include "app/PaneLayout.h"
#include "ProgramFolder.h"
#include "ScriptedRunner.h"
#include "app/ToolGlyphs.h"
#include "toolkit/OpenDialog.h"

#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QMenu>
#include <QScrollBar>
#include <QTest>
#include <QTextEdit>
#include <QToolButton>

#include <gtest/gtest.h>

namespace sorvanti::test {
namespace {

TEST(PaneLayoutFigures, StackedAndSideBySideForTheDesignPanel) {
    const PaneLayout stacked = PaneLayout::compute(433, 229, 0);
    EXPECT_EQ(stacked.frame[0], QRect(0, 0, 431, 113));
    EXPECT_EQ(stacked.frame[1], QRect(0, 113, 431, 113));
    EXPECT_EQ(stacked.pane[0], QRect(6, 12, 419, 95));
    EXPECT_EQ(stacked.pane[1], QRect(6, 12, 419, 95));

    const PaneLayout side = PaneLayout::compute(433, 229, 1);
    EXPECT_EQ(side.frame[0], QRect(0, 0, 215, 227));
    EXPECT_EQ(side.frame[1], QRect(215, 0, 215, 227));
    EXPECT_EQ(side.pane[1], QRect(6, 12, 203, 209));
}

TEST(PaneLayoutFigures, FreeStripIsTwoPixelsOrThreeAlongAnOddHalvedEdge) {
    // 433 x 229: W = 431 and H = 227 are odd, so the halved edge keeps 3 pixels free.
    const PaneLayout stacked = PaneLayout::compute(433, 229, 0);
    EXPECT_EQ(229 - (stacked.frame[1].y() + stacked.frame[1].height()), 3);
    EXPECT_EQ(433 - stacked.frame[1].width(), 2);
    const PaneLayout side = PaneLayout::compute(433, 229, 1);
    EXPECT_EQ(433 - (side.frame[1].x() + side.frame[1].width()), 3);
    EXPECT_EQ(229 - side.frame[1].height(), 2);
    const PaneLayout even = PaneLayout::compute(434, 230, 0);
    EXPECT_EQ(230 - (even.frame[1].y() + even.frame[1].height()), 2);
}

TEST(PaneLayoutFigures, SixteenBitArithmeticWithoutClamping) {
    const PaneLayout tiny = PaneLayout::compute(5, 5, 0);
    EXPECT_EQ(tiny.frame[0].height(), 1);
    EXPECT_EQ(tiny.pane[0].width(), -9);
    EXPECT_EQ(tiny.pane[0].height(), -17);
    // Widths beyond 16 bits wrap the way the 16-bit fields hold them.
    const PaneLayout huge = PaneLayout::compute(70000, 229, 1);
    EXPECT_EQ(huge.frame[0].width(), static_cast<int16_t>(69998) >> 1);
}

TEST(SplitGlyphs, SideBySideAndStackedPictures) {
    const QImage vh0 = glyphs::splitGlyph(0).toImage();
    const QImage vh1 = glyphs::splitGlyph(1).toImage();
    ASSERT_EQ(vh0.size(), QSize(16, 17));
    ASSERT_EQ(vh1.size(), QSize(16, 17));
    EXPECT_EQ(vh0.pixelColor(0, 0), QColor(0, 0, 255));
    EXPECT_EQ(vh0.pixelColor(3, 8), QColor(255, 255, 255));
    EXPECT_EQ(vh0.pixelColor(11, 8), QColor(0, 128, 0));
    EXPECT_EQ(vh1.pixelColor(8, 3), QColor(255, 255, 255));
    EXPECT_EQ(vh1.pixelColor(8, 11), QColor(0, 128, 0));
    for (int x = 0; x < 16; ++x)
        EXPECT_EQ(vh0.pixelColor(x, 16).alpha(), 0);
}

class PaneWindow : public ::testing::Test {
protected:
    void SetUp() override {
        w = program.openWindow();
        w->show();
        QApplication::processEvents();
    }
    // Resizes the window so that the centre panel gets `size`.
    void setCentreSize(QSize size) {
        w->resize(w->size() + size - w->Pcenter->size());
        QApplication::processEvents();
        ASSERT_EQ(w->Pcenter->size(), size);
    }
    void click(QWidget* target, Qt::MouseButton button) {
        QTest::mouseClick(target, button, Qt::NoModifier, QPoint(2, 2));
    }
    QColor frameColor(int p) { return w->pane(p).frame()->palette().color(QPalette::Window); }

    ScriptedRunner runner;
    ProgramFolder program;
    std::unique_ptr<TVeruzazur> w;
};

TEST_F(PaneWindow, PanelLayoutInBothOrientationsAndTwoTogglesRestoreIt) {
    setCentreSize(QSize(433, 229));
    EXPECT_EQ(w->pane(0).frame()->geometry(), QRect(0, 0, 431, 113));
    EXPECT_EQ(w->pane(1).frame()->geometry(), QRect(0, 113, 431, 113));
    EXPECT_EQ(w->pane(1).edit()->geometry(), QRect(6, 12, 419, 95));
    const QImage stackedGlyph = w->SBvh->icon().pixmap(QSize(16, 17)).toImage();
    EXPECT_EQ(stackedGlyph, w->VH[0].toImage());

    w->pane(1).edit()->setFocus();
    w->pane(1).edit()->setPlainText(QStringLiteral("そのまま"));
    w->SBvh->click();
    EXPECT_EQ(w->SBvhTag, 1);
    EXPECT_EQ(w->pane(0).frame()->geometry(), QRect(0, 0, 215, 227));
    EXPECT_EQ(w->pane(1).frame()->geometry(), QRect(215, 0, 215, 227));
    EXPECT_EQ(w->pane(0).edit()->geometry(), QRect(6, 12, 203, 209));
    EXPECT_EQ(w->SBvh->icon().pixmap(QSize(16, 17)).toImage(), w->VH[1].toImage());
    EXPECT_EQ(w->ActivePane, 0);
    EXPECT_EQ(w->pane(1).edit()->toPlainText(), QStringLiteral("そのまま"));

    w->SBvh->click();
    EXPECT_EQ(w->pane(1).frame()->geometry(), QRect(0, 113, 431, 113));
    EXPECT_EQ(w->pane(1).edit()->geometry(), QRect(6, 12, 419, 95));
    EXPECT_EQ(w->SBvh->icon().pixmap(QSize(16, 17)).toImage(), stackedGlyph);
}

TEST_F(PaneWindow, ResizingTheWindowLaysThePanesOutAgain) {
    setCentreSize(QSize(600, 401));
    EXPECT_EQ(w->pane(1).frame()->geometry(), QRect(0, 199, 598, 199));
}

TEST_F(PaneWindow, LeftClickMakesThePaneActiveAndSwapsTheFrameColours) {
    const QColor active(166, 202, 240);
    const QColor inactive = QApplication::palette().color(QPalette::Button);
    EXPECT_EQ(frameColor(0), active);
    EXPECT_EQ(frameColor(1), inactive);

    click(w->pane(1).edit()->viewport(), Qt::LeftButton);
    EXPECT_EQ(w->ActivePane, 1);
    EXPECT_EQ(frameColor(0), inactive);
    EXPECT_EQ(frameColor(1), active);

    click(w->pane(0).frame(), Qt::LeftButton);
    EXPECT_EQ(w->ActivePane, 0);
    EXPECT_EQ(frameColor(0), active);
}

TEST_F(PaneWindow, RightAndMiddleClicksLeaveTheActivePane) {
    click(w->pane(1).edit()->viewport(), Qt::RightButton);
    click(w->pane(1).frame(), Qt::MiddleButton);
    click(w->pane(1).edit()->viewport(), Qt::MiddleButton);
    EXPECT_EQ(w->ActivePane, 0);
    EXPECT_EQ(frameColor(1), QApplication::palette().color(QPalette::Button));
}

TEST_F(PaneWindow, SaveItemsFollowTheActivePanesFileName) {
    w->pane(0).setFileName(QStringLiteral("/tmp/開いた.svt"));
    click(w->pane(1).edit()->viewport(), Qt::LeftButton);
    EXPECT_FALSE(w->Save1->isEnabled());
    EXPECT_FALSE(w->SaveAs1->isEnabled());
    click(w->pane(0).edit()->viewport(), Qt::LeftButton);
    EXPECT_TRUE(w->Save1->isEnabled());
    EXPECT_TRUE(w->SaveAs1->isEnabled());
}

TEST_F(PaneWindow, ClickOnTheActivePaneChangesNothingNotEvenTheMenu) {
    QTest::keyClicks(w->pane(0).edit(), QStringLiteral("a"));
    ASSERT_TRUE(w->SaveAs1->isEnabled());
    click(w->pane(0).edit()->viewport(), Qt::LeftButton);
    EXPECT_TRUE(w->SaveAs1->isEnabled());
    EXPECT_FALSE(w->Save1->isEnabled());
}

TEST_F(PaneWindow, TheSaveItemsDescribeTheActivePaneWhereverTheTypingGoes) {
    QTest::keyClicks(w->pane(1).edit(), QStringLiteral("x"));
    EXPECT_FALSE(w->SaveAs1->isEnabled());
    EXPECT_EQ(w->ActivePane, 0);
    EXPECT_EQ(w->pane(1).edit()->toPlainText(), QStringLiteral("x"));
    click(w->pane(1).edit()->viewport(), Qt::LeftButton);
    EXPECT_TRUE(w->SaveAs1->isEnabled());
    EXPECT_FALSE(w->Save1->isEnabled());
}

TEST_F(PaneWindow, SaveAsFollowsTheTextNotTheKeys) {
    QTest::keyClick(w->pane(0).edit(), Qt::Key_Left);
    QTest::keyClick(w->pane(0).edit(), Qt::Key_Delete);
    QTest::keyClick(w->pane(0).edit(), Qt::Key_C, Qt::ControlModifier);
    QTest::keyClick(w->pane(0).edit(), Qt::Key_Shift);
    EXPECT_FALSE(w->SaveAs1->isEnabled());
    QTest::keyClick(w->pane(0).edit(), Qt::Key_X);
    EXPECT_TRUE(w->SaveAs1->isEnabled());
    // Undone, the pane is empty and unchanged again.
    w->Undo1->trigger();
    EXPECT_TRUE(w->pane(0).document().isEmpty());
    EXPECT_FALSE(w->pane(0).isModified());
    EXPECT_FALSE(w->SaveAs1->isEnabled());
}

TEST_F(PaneWindow, ResetPanesEmptiesBothAndActivatesTheUpperOne) {
    w->pane(0).edit()->setPlainText(QStringLiteral("一\n二\n三"));
    w->pane(1).edit()->setPlainText(QStringLiteral("四"));
    click(w->pane(1).edit()->viewport(), Qt::LeftButton);
    w->ResetPanes();
    for (QTextEdit* edit : {w->pane(0).edit(), w->pane(1).edit()}) {
        EXPECT_TRUE(edit->document()->isEmpty());
        EXPECT_FALSE(edit->document()->isModified());
        EXPECT_EQ(edit->textCursor().position(), 0);
    }
    EXPECT_EQ(w->ActivePane, 0);
    EXPECT_EQ(frameColor(0), QColor(166, 202, 240));
}

TEST_F(PaneWindow, PopUpMenuReplacesThePanesOwnAndKnowsItsTarget) {
    EXPECT_EQ(w->pane(0).edit()->contextMenuPolicy(), Qt::CustomContextMenu);
    emit w->pane(1).edit()->customContextMenuRequested(QPoint(3, 3));
    EXPECT_EQ(w->PopupComponent, w->pane(1).edit());
    w->PopupMenu1->hide();
    emit w->pane(0).frame()->customContextMenuRequested(QPoint(3, 3));
    EXPECT_EQ(w->PopupComponent, w->pane(0).frame());
    w->PopupMenu1->hide();
    EXPECT_EQ(w->ActivePane, 0);
}

TEST_F(PaneWindow, EditMenuShortcutsWinOverThePaneUnlessSwitchedOff) {
    int copies = 0;
    QObject::connect(w->Copy1, &QAction::triggered, [&] { ++copies; });
    w->activateWindow();
    w->pane(0).edit()->setFocus();
    QTest::keyClick(w->pane(0).edit(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(copies, 1);
    EXPECT_FALSE(w->SaveAs1->isEnabled());
    w->setMenuShortcutsWin(false);
    QTest::keyClick(w->pane(0).edit(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(copies, 1);
}

} // namespace
} // namespace sorvanti::test
