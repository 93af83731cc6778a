// The document named on the command line: the `" "` rule and its opening at start-up.
#include "app/CommandLine.h"
#include "DocumentWindow.h"

namespace sorvanti::test {
namespace {

TEST(CommandLineRule, TextAfterTheFirstQuoteBlankQuoteLessItsLastCharacter) {
    using commandline::documentName;
    EXPECT_EQ(documentName(u("\"/opt/Sorvanti\" \"/home/a/文書.svt\"")), u("/home/a/文書.svt"));
    EXPECT_EQ(documentName(u("\"/opt/Sorvanti\" \"/a b/c d.svt\"")), u("/a b/c d.svt"));
    EXPECT_EQ(documentName(u("\"/opt/Sorvanti\" \"a.svt\" \"b.svt\"")), u("a.svt\" \"b.svt"));
    EXPECT_EQ(documentName(u("\"/opt/Sorvanti\" \"\"")), QString());
    EXPECT_FALSE(documentName(u("\"/opt/Sorvanti\"")));
    EXPECT_FALSE(documentName(u("\"/opt/Sorvanti\" /home/a/b.svt")));
    EXPECT_FALSE(documentName(u("/opt/Sorvanti \"/home/a/b.svt\"")));
}

class StartupDocument : public ::testing::Test {
protected:
    void SetUp() override { program.addDictionary("方言", "犬 わんこ\n"); }
    // Starts the window with `commandLine`, where %P stands for the program's path.
    void start(QString commandLine) {
        Environment env = program.environment();
        env.commandLine = commandLine.replace(u("%P"), env.programPath);
        w = std::make_unique<TVeruzazur>(env);
    }
    QString file(const std::string& name, const std::string& utf8) {
        return QString::fromStdString(docs.write(name, ProgramFolder::cp932(utf8)));
    }

    ScriptedRunner runner;
    ProgramFolder program;
    TempFolder docs;
    std::unique_ptr<TVeruzazur> w;
};

TEST_F(StartupDocument, QuotedDocumentOpensInTheUpperPane) {
    const QString doc = file("起動 文書.svt", "開いた\r\n文書");
    const Environment env =
        Environment::forProgram(QString::fromStdString(program.programPath()), {doc});
    w = std::make_unique<TVeruzazur>(env);
    EXPECT_TRUE(runner.boxes.empty());
    EXPECT_EQ(w->pane(0).edit()->toPlainText(), u("開いた\n文書"));
    EXPECT_TRUE(w->pane(1).edit()->toPlainText().isEmpty());
    EXPECT_EQ(w->pane(0).fileName(), doc);
    EXPECT_EQ(w->ActivePane, 0);
    EXPECT_TRUE(w->Save1->isEnabled());
    EXPECT_TRUE(w->SaveAs1->isEnabled());
    EXPECT_FALSE(w->pane(0).edit()->document()->isModified());
}

TEST_F(StartupDocument, UnquotedPartsOpenNothing) {
    const QString doc = file("a.svt", "a");
    start(u("\"%P\" ") + doc);
    EXPECT_TRUE(w->pane(0).edit()->toPlainText().isEmpty());
    EXPECT_TRUE(w->pane(0).fileName().isEmpty());
    start(u("%P \"") + doc + u("\""));
    EXPECT_TRUE(w->pane(0).edit()->toPlainText().isEmpty());
    EXPECT_FALSE(w->Save1->isEnabled());
    EXPECT_TRUE(runner.boxes.empty());
}

TEST_F(StartupDocument, TwoDocumentsGiveOneNameThatFailsToOpen) {
    const QString a = file("a.svt", "a"), b = file("b.svt", "b");
    const Environment env =
        Environment::forProgram(QString::fromStdString(program.programPath()), {a, b});
    w = std::make_unique<TVeruzazur>(env);
    const QString combined = a + u("\" \"") + b;
    EXPECT_EQ(runner.texts(), QStringList{u("ファイル ") + combined + u(" は開けません.")});
    EXPECT_EQ(w->pane(0).fileName(), combined);
    EXPECT_TRUE(w->pane(0).edit()->toPlainText().isEmpty());
    // Save follows the name, which would create that file.
    EXPECT_TRUE(w->Save1->isEnabled());
    // Start-up went on: the window is usable.
    w->show();
    QTest::keyClicks(w->pane(0).edit(), u("x"));
    EXPECT_TRUE(w->SaveAs1->isEnabled());
}

} // namespace
} // namespace sorvanti::test
