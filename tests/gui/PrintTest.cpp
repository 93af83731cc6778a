// "印刷" and "ページ設定" through the real printer into PDF files, read back with poppler.
#include "DocumentWindow.h"
#include "documents/Printing.h"
#include "support/Tools.h"
#include "toolkit/FontDialog.h"
#include "toolkit/PrintDialog.h"

#include <QFileInfo>
#include <QPageLayout>

namespace sorvanti::test {
namespace {

using Pane = TVeruzazur;
using Answer = ScriptedRunner::PrintAnswer;

QString numbered(int count) {
    QStringList lines;
    for (int i = 1; i <= count; ++i)
        lines << QStringLiteral("行%1 text").arg(i, 3, 10, QLatin1Char('0'));
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

QStringList numberedRange(int from, int to) {
    return numbered(to).split(QLatin1Char('\n')).mid(from - 1, to - from + 1);
}

class Printing : public DocumentWindow {
protected:
    QString printPane(int p, const QString& text, Answer answer = {true}) {
        w->REedit[p]->setPlainText(text);
        makeActive(p);
        answer.pdfFile = path("out.pdf");
        runner.printAnswers = {answer};
        choose(&Pane::Print1Click);
        return answer.pdfFile;
    }
};

TEST_F(Printing, LinesGoAHundredToAPageAndTheDialogOffersThosePages) {
    struct Case {
        int lines;
        Answer answer;
        int offeredPages;
        std::vector<std::pair<int, int>> printed; // per page: first and last line
    };
    const Case cases[] = {
        {150, {true}, 2, {{1, 100}, {101, 150}}},
        {100, {true}, 1, {{1, 100}}},
        {101, {true}, 2, {{1, 100}, {101, 101}}},
        {250, {true, {}, 2, 2}, 3, {{101, 200}}},
        {250, {true, {}, 2, 3}, 3, {{101, 200}, {201, 250}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.lines);
        runner.printRequests.clear();
        const QString pdf = printPane(1, numbered(c.lines), c.answer);
        ASSERT_EQ(runner.printRequests.size(), 1u);
        const PrintDialogRequest& r = runner.printRequests[0];
        EXPECT_TRUE(r.pageNums);
        EXPECT_EQ(std::tuple(r.fromPage, r.toPage, r.minPage, r.maxPage),
                  std::tuple(1, c.offeredPages, 1, c.offeredPages));
        ASSERT_EQ(pdfPages(pdf), int(c.printed.size()));
        for (size_t page = 0; page < c.printed.size(); ++page)
            EXPECT_EQ(pdfLines(pdf, int(page) + 1),
                      numberedRange(c.printed[page].first, c.printed[page].second));
    }
    EXPECT_TRUE(runner.boxes.empty());
}

TEST_F(Printing, LinesStandAtTheLeftEdgeAHundredthOfThePageApart) {
    const QString pdf = printPane(0, numbered(3));
    const QString box =
        runTool(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")})
            .out;
    // Each line's first word: <word xMin="…" yMin="…" …>行00N</word>.
    std::vector<std::pair<double, double>> starts;
    for (const QString& row : box.split(QLatin1Char('\n')))
        if (row.contains(QStringLiteral(">行")))
            starts.emplace_back(row.section(QLatin1Char('"'), 1, 1).toDouble(),
                                row.section(QLatin1Char('"'), 3, 3).toDouble());
    ASSERT_EQ(starts.size(), 3u);
    const QPageLayout layout = w->PrintDialog1->Printer().pageLayout();
    const double pitch = double(w->PrintDialog1->Printer().height() / 100) * 72.0 /
                         w->PrintDialog1->Printer().resolution();
    EXPECT_NEAR(starts[0].first, layout.paintRect(QPageLayout::Point).left(), 1.0);
    for (size_t i = 1; i < starts.size(); ++i) {
        EXPECT_DOUBLE_EQ(starts[i].first, starts[0].first);
        EXPECT_NEAR(starts[i].second - starts[i - 1].second, pitch, 0.05);
    }
}

TEST_F(Printing, ThePaneDialogsFontPrintsWhateverTheTextIsFormattedIn) {
    w->REedit[0]->setHtml(QStringLiteral("<p><span style=\"font-family:'DejaVu Serif'\">serif"
                                         "</span> <b>太字</b></p><p style=\"font-size:20pt\">"
                                         "大きい</p>"));
    for (const QString family : {QStringLiteral("IPAGothic"), QStringLiteral("IPAPGothic")}) {
        SCOPED_TRACE(family.toStdString());
        w->FDfont[0]->Font = QFont(family, 11);
        runner.printAnswers = {{true, path("font.pdf")}};
        choose(&Pane::Print1Click);
        EXPECT_EQ(pdfFonts(path("font.pdf")), QStringList{family});
        EXPECT_EQ(pdfLines(path("font.pdf"), 1), (QStringList{u("serif 太字"), u("大きい")}));
    }
}

TEST_F(Printing, AnEmptyPanePrintsOneEmptyPage) {
    const QString pdf = printPane(0, QString());
    EXPECT_EQ(pdfPages(pdf), 1);
    EXPECT_TRUE(pdfLines(pdf, 1).isEmpty());
}

TEST_F(Printing, CancelAndPageSetupPrintNothing) {
    // Page setup before any print: no page range; after one, the range that print set.
    runner.printAnswers = {{true, path("setup1.pdf")}};
    choose(&Pane::PrintSetup1Click);
    printPane(0, numbered(5), {false});
    EXPECT_FALSE(QFileInfo::exists(path("out.pdf")));
    printPane(0, numbered(120));
    runner.printAnswers = {{true, path("setup2.pdf")}};
    choose(&Pane::PrintSetup1Click);

    ASSERT_EQ(runner.printRequests.size(), 4u);
    EXPECT_FALSE(runner.printRequests[0].pageNums);
    EXPECT_TRUE(runner.printRequests[3].pageNums);
    EXPECT_EQ(runner.printRequests[3].maxPage, 2);
    for (const char* name : {"setup1.pdf", "setup2.pdf"})
        EXPECT_FALSE(QFileInfo::exists(path(name))) << name;
    EXPECT_EQ(pdfPages(path("out.pdf")), 2);
}

TEST_F(Printing, APrinterThatRefusesTheJobIsReportedInTheErrorBox) {
    runner.printAnswers = {{true, path("no folder/out.pdf")}};
    choose(&Pane::Print1Click);
    ASSERT_EQ(runner.boxes.size(), 1u);
    EXPECT_EQ(runner.boxes[0].icon, QMessageBox::Critical);
    EXPECT_EQ(runner.boxes[0].text,
              u("ファイル ") + path("no folder/out.pdf") + u(" に印刷できません."));
}

TEST(PrinterFont, PixelSizesBecomePointsAtNinetySixDotsPerInch) {
    const std::pair<QFont, double> cases[] = {
        {[] {
             QFont f;
             f.setPixelSize(12);
             return f;
         }(),
         9.0},
        {[] {
             QFont f;
             f.setPixelSize(16);
             return f;
         }(),
         12.0},
        {QFont(QStringLiteral("IPAGothic"), 11), 11.0},
    };
    for (const auto& [font, points] : cases)
        EXPECT_DOUBLE_EQ(printing::printerFont(font).pointSizeF(), points);
}

} // namespace
} // namespace sorvanti::test
