// "印刷" and "ページ設定" through the real printer into PDF files, read back with poppler.
#include "DocumentWindow.h"
#include "documents/Printing.h"
#include "support/Tools.h"
#include "toolkit/FontDialog.h"
#include "toolkit/PrintDialog.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QPageLayout>
#include <QPrintDialog>
#include <QPushButton>
#include <QScopeGuard>
#include <QTimer>

namespace sorvanti::test {
namespace {

using Window = TVeruzazur;
using Answer = ScriptedRunner::PrintAnswer;
const Answer kConfirm{true, {}, 0, 0};
const Answer kCancel{false, {}, 0, 0};

// Lines "行001 text" … ; lines(a, b) are the numbers a to b.
QStringList lines(int from, int to) {
    QStringList list;
    for (int i = from; i <= to; ++i)
        list << QStringLiteral("行%1 text").arg(i, 3, 10, QLatin1Char('0'));
    return list;
}

class Printing : public DocumentWindow {
protected:
    QString print(int p, int count, Answer answer = kConfirm) {
        w->pane(p).edit()->setPlainText(count ? lines(1, count).join('\n') + '\n' : QString());
        makeActive(p);
        answer.pdfFile = path("out.pdf");
        runner.printAnswers = {answer};
        choose(&Window::Print1Click);
        return answer.pdfFile;
    }
};

TEST_F(Printing, LinesGoAHundredToAPageAndTheDialogOffersAndHonoursThosePages) {
    struct Case {
        int lines;
        Answer answer;
        int offered;
        std::vector<std::pair<int, int>> printed; // per page: its first and last line
    };
    const Case cases[] = {
        {0, kConfirm, 1, {{1, 0}}},
        {100, kConfirm, 1, {{1, 100}}},
        {150, kConfirm, 2, {{1, 100}, {101, 150}}},
        {250, {true, {}, 2, 2}, 3, {{101, 200}}},
        {250, {true, {}, 2, 3}, 3, {{101, 200}, {201, 250}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.lines);
        runner.printRequests.clear();
        const QString pdf = print(1, c.lines, c.answer);
        ASSERT_EQ(runner.printRequests.size(), 1u);
        const PrintDialogRequest& r = runner.printRequests[0];
        EXPECT_EQ(std::tuple(r.pageNums, r.fromPage, r.toPage, r.minPage, r.maxPage),
                  std::tuple(true, 1, c.offered, 1, c.offered));
        std::vector<QStringList> expected;
        for (const auto& [first, last] : c.printed)
            expected.push_back(lines(first, last));
        EXPECT_EQ(pdfPages(pdf), expected);
    }
    EXPECT_TRUE(runner.boxes.empty());
}

TEST_F(Printing, LinesStartAtTheLeftEdgeAHundredthOfThePageHeightApart) {
    const QString pdf = print(0, 3);
    // The first word of each line: <word xMin="…" yMin="…" …>行00N</word>.
    std::vector<std::pair<double, double>> starts;
    for (const QString& row : runTool("pdftotext", {"-bbox", pdf, "-"}).out.split('\n'))
        if (row.contains(QStringLiteral(">行")))
            starts.emplace_back(row.section('"', 1, 1).toDouble(),
                                row.section('"', 3, 3).toDouble());
    QPrinter& printer = w->PrintDialog1->Printer();
    const double pitch = (printer.height() / 100) * 72.0 / printer.resolution();
    ASSERT_EQ(starts.size(), 3u);
    EXPECT_NEAR(starts[0].first, printer.pageLayout().paintRect(QPageLayout::Point).left(), 1.0);
    for (size_t i = 1; i < starts.size(); ++i) {
        EXPECT_DOUBLE_EQ(starts[i].first, starts[0].first);
        EXPECT_NEAR(starts[i].second - starts[i - 1].second, pitch, 0.05);
    }
}

TEST_F(Printing, ThePaneDialogsFontPrintsWhateverTheTextIsFormattedIn) {
    w->pane(0).edit()->setHtml(u("<p><span style=\"font-family:'DejaVu Serif'\">serif</span> "
                                 "<b>太字</b></p><p style=\"font-size:20pt\">大きい</p>"));
    for (const QString& family : {u("IPAGothic"), u("IPAPGothic")}) {
        w->pane(0).fontDialog()->Font = QFont(family, 11);
        runner.printAnswers = {{true, path("font.pdf"), 0, 0}};
        choose(&Window::Print1Click);
        EXPECT_EQ(pdfFonts(path("font.pdf")), QStringList{family});
        EXPECT_EQ(pdfPages(path("font.pdf")),
                  (std::vector<QStringList>{{u("serif 太字"), u("大きい")}}));
    }
    // The pane's initial "-12" (pixels) prints at 9 points.
    QFont initial;
    initial.setPixelSize(12);
    EXPECT_DOUBLE_EQ(printing::printerFont(initial).pointSizeF(), 9.0);
}

TEST_F(Printing, CancelAndPageSetupPrintNothing) {
    // Page setup before any print offers no page range; after one, the range that print set.
    runner.printAnswers = {{true, path("setup1.pdf"), 0, 0}};
    choose(&Window::PrintSetup1Click);
    print(0, 5, kCancel);
    EXPECT_FALSE(QFileInfo::exists(path("out.pdf")));
    print(0, 120);
    runner.printAnswers = {{true, path("setup2.pdf"), 0, 0}};
    choose(&Window::PrintSetup1Click);

    ASSERT_EQ(runner.printRequests.size(), 4u);
    EXPECT_FALSE(runner.printRequests[0].pageNums);
    EXPECT_EQ(runner.printRequests[3].maxPage, 2);
    EXPECT_FALSE(QFileInfo::exists(path("setup1.pdf")) || QFileInfo::exists(path("setup2.pdf")));
    EXPECT_EQ(pdfPages(path("out.pdf")).size(), 2u);
}

// The real dialog: the PDF file chosen in it is what it proposes next time, and page setup is
// confirmed with "OK" where printing is confirmed with its print button.
TEST_F(Printing, TheRealDialogKeepsTheLastFileAndPageSetupConfirmsWithOk) {
    DialogRunner real;
    DialogRunner::install(&real);
    const auto scripted = qScopeGuard([this] { DialogRunner::install(&runner); });
    PrintDialog dialog(nullptr);
    QStringList seen; // file field and confirming button, each time the dialog shows
    auto confirm = [&](const QString& file) {
        QTimer::singleShot(100, [&seen, file] {
            auto* shown = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(shown, nullptr);
            auto* field = shown->findChild<QLineEdit*>(QStringLiteral("filename"));
            seen << field->text()
                 << shown->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->text();
            field->setText(file.isEmpty() ? field->text() : file);
            shown->accept();
        });
    };
    confirm(path("chosen.pdf"));
    ASSERT_TRUE(dialog.Execute());
    confirm({});
    ASSERT_TRUE(dialog.ExecuteSetup());
    EXPECT_EQ(dialog.Printer().outputFileName(), path("chosen.pdf"));
    EXPECT_EQ(seen.mid(2), (QStringList{path("chosen.pdf"), "OK"}));
    EXPECT_NE(seen.value(1), "OK");
}

TEST_F(Printing, APrinterThatRefusesTheJobIsReportedInTheErrorBox) {
    runner.printAnswers = {{true, path("no folder/out.pdf"), 0, 0}};
    choose(&Window::Print1Click);
    ASSERT_EQ(runner.boxes.size(), 1u);
    EXPECT_EQ(runner.boxes[0].icon, QMessageBox::Critical);
    EXPECT_EQ(runner.boxes[0].text,
              u("ファイル ") + path("no folder/out.pdf") + u(" に印刷できません."));
}

} // namespace
} // namespace sorvanti::test
