// The zoom of a pane changes what the pane shows and nothing that leaves it: saved RTF and
// plain text and printed PDF stay byte for byte (text, positions, fonts) the same, while the
// picture scales and clicks still land on the character under the pointer.
#include "editing/PaneZoom.h"
#include "documents/DocumentFiles.h"
#include "documents/Printing.h"
#include "gui/ScriptedRunner.h"
#include "support/TempFolder.h"
#include "support/Tools.h"
#include "toolkit/FontDialog.h"
#include "toolkit/FormFont.h"
#include "toolkit/PrintDialog.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QScrollBar>
#include <QTest>
#include <QTextEdit>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <memory>

namespace sorvanti::test {
namespace {

QString u(const char* utf8) {
    return QString::fromUtf8(utf8);
}

// A pane as the window makes it: form font, no wrap, shown.
std::unique_ptr<QTextEdit> makePane(const QString& html) {
    auto pane = std::make_unique<QTextEdit>();
    pane->setFont(formFont());
    pane->setLineWrapMode(QTextEdit::NoWrap);
    pane->resize(400, 300);
    pane->setHtml(html);
    pane->show();
    QApplication::processEvents();
    return pane;
}

QByteArray bytesOf(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

// What leaves the pane: its RTF and plain-text files and its printout (words with their
// boxes, and the fonts), as the window's save and print commands write them.
std::vector<QByteArray> outputs(QTextEdit& pane, const QFont& printFont, const TempFolder& folder) {
    const QString dir = QString::fromStdString(folder.path());
    writeDocument(*pane.document(), dir + "a.rtf", false, {});
    writeDocument(*pane.document(), dir + "a.txt", true, {});
    ScriptedRunner runner;
    runner.printAnswers = {{true, dir + "a.pdf", 0, 0}};
    PrintDialog print(nullptr);
    FontDialog font(nullptr);
    font.Font = printFont;
    printing::printPane(print, pane, font);
    const QString words = runTool("pdftotext", {"-bbox", dir + "a.pdf", "-"}).out;
    return {bytesOf(dir + "a.rtf"), bytesOf(dir + "a.txt"),
            words.mid(words.indexOf("<page")).toUtf8(), pdfFonts(dir + "a.pdf").join(',').toUtf8()};
}

void wheel(QTextEdit& pane, int notches) {
    QWidget* v = pane.viewport();
    const QPointF at(20, 20);
    QWheelEvent e(at, v->mapToGlobal(at), {}, {0, 120 * notches}, Qt::NoButton, Qt::ControlModifier,
                  Qt::NoScrollPhase, false);
    QApplication::sendEvent(v, &e);
}

const QString kHtml = u("<p>行1 ありがとう <b>太字</b> <span style=\"font-size:20pt\">大</span> "
                        "<span style=\"color:#ff0000\">red</span></p><p>二行目 plain</p>");

TEST(PaneZoom, SavedFilesAndPrintingStayTheSameWhateverTheZoom) {
    struct Case {
        const char* how;
        int percent; // set directly
        int notches; // of Ctrl+wheel
        bool leaks;  // the widget's own zoom, as a check that the comparison sees a leak
    };
    const Case cases[] = {{"200 %", 200, 0, false},
                          {"25 %", 25, 0, false},
                          {"Ctrl+wheel", 0, 3, false},
                          {"QTextEdit::zoomIn", 0, 0, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.how);
        TempFolder folder;
        auto pane = makePane(kHtml);
        const QFont font = pane->font();
        const QFont documentFont = pane->document()->defaultFont();
        const auto before = outputs(*pane, font, folder);
        ASSERT_TRUE(before[0].startsWith("{\\rtf1") && before[2].contains("ありがとう"));
        if (c.leaks)
            pane->zoomIn(4);
        else
            PaneZoom::attach(pane.get())->setPercent(c.percent ? c.percent : 100);
        wheel(*pane, c.notches);
        QApplication::processEvents();
        const auto after = outputs(*pane, font, folder);
        for (int i : {1, 2, 3})
            EXPECT_EQ(after[i], before[i]) << i;
        EXPECT_EQ(after[0] != before[0], c.leaks);
        EXPECT_EQ(pane->document()->defaultFont() != documentFont, c.leaks);
        EXPECT_EQ(pane->font() != font, c.leaks);
    }
}

// The bounding box of the dark pixels the viewport shows.
QRect ink(QTextEdit& pane) {
    QApplication::processEvents();
    const QImage image = pane.viewport()->grab().toImage();
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 128)
                box |= QRect(x, y, 1, 1);
    return box;
}

TEST(PaneZoom, ThePictureScalesAndClicksLandOnTheCharacterUnderThePointer) {
    auto pane = makePane(u("<p>あいうえお ABC</p><p>かきくけこ def ghi</p>"));
    pane->setFocus();
    const QRect normal = ink(*pane);
    PaneZoom* zoom = PaneZoom::attach(pane.get());
    for (int percent : {50, 200, 400}) {
        SCOPED_TRACE(percent);
        zoom->setPercent(percent);
        const double s = percent / 100.0;
        const QRect scaled = ink(*pane);
        EXPECT_NEAR(scaled.right() / double(normal.right()), s, 0.15 * s);
        EXPECT_NEAR(scaled.bottom() / double(normal.bottom()), s, 0.15 * s);
        for (int k : {2, 16}) {
            QTextCursor at(pane->document());
            at.setPosition(k);
            const QRect r = pane->cursorRect(at); // the pane's own, unscaled
            const QPoint click = (QPointF(r.left() + 0.5, r.center().y()) * s).toPoint();
            QTest::mouseClick(pane->viewport(), Qt::LeftButton, {}, click, 500);
            EXPECT_EQ(pane->textCursor().position(), k) << "click at " << click.x();
        }
    }
}

TEST(PaneZoom, TheCaretStaysInViewAndTheKeysAndWheelStepThroughTheZoom) {
    QStringList lines;
    for (int i = 0; i < 200; ++i)
        lines << u("行 %1 ありがとう、とても助かりました ABCdef").arg(i);
    auto pane = makePane(lines.join("<br>"));
    const ZoomActions keys = createZoomActions(pane.get(), [&] { return pane.get(); });
    QList<int> steps; // after each key, or three notches of Ctrl+wheel towards the user
    for (QAction* key : {keys.zoomIn, keys.zoomIn, (QAction*)nullptr, keys.zoomOut, keys.reset}) {
        key ? key->trigger() : wheel(*pane, -3);
        steps << PaneZoom::attach(pane.get())->percent();
    }
    EXPECT_EQ(steps, QList<int>({110, 125, 90, 80, 100}));
    PaneZoom* zoom = PaneZoom::attach(pane.get());

    for (int percent : {50, 200, 400}) {
        SCOPED_TRACE(percent);
        zoom->setPercent(percent);
        for (auto to : {QTextCursor::End, QTextCursor::Start}) {
            QTextCursor c = pane->textCursor();
            c.movePosition(to);
            pane->setTextCursor(c);
            QApplication::processEvents();
            const QRect r = pane->cursorRect();
            const QRectF shown(QPointF(r.topLeft()) * percent / 100.0,
                               QSizeF(r.size()) * percent / 100.0);
            EXPECT_TRUE(QRectF(pane->viewport()->rect()).contains(shown))
                << to << ": caret at " << shown.x() << "," << shown.y();
        }
        // Page Down from the top goes a view's height of the scaled view, caret and view.
        const double lineHeight = pane->cursorRect().height();
        const int top = pane->verticalScrollBar()->value();
        QTest::keyClick(pane.get(), Qt::Key_PageDown);
        const double shownHeight = pane->viewport()->height() * 100.0 / percent;
        EXPECT_NEAR(pane->cursorRect().top() + pane->verticalScrollBar()->value(),
                    pane->document()->documentMargin() + shownHeight, 2 * lineHeight);
        EXPECT_NEAR(pane->verticalScrollBar()->value() - top, shownHeight, 1);
    }
}

} // namespace
} // namespace sorvanti::test
