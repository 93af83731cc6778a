#include "DocumentTestSupport.h"

#include "documents/DocumentFiles.h"
#include "toolkit/Error.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

using namespace sorvanti;
using namespace sorvanti::test;

namespace {

class DocumentFilesTest : public ::testing::Test {
protected:
    QString path(const char* name) const { return dir_.filePath(QString::fromUtf8(name)); }

    // The message of the Error that `action` throws.
    template <class F> static std::string errorOf(F action) {
        try {
            action();
        } catch (const Error& e) {
            return e.what();
        }
        return "<no error>";
    }

    QStringList filesInDir() const {
        return QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden | QDir::System);
    }

    QTemporaryDir dir_;
};

// Lowers the largest file this process may write, so that a save fails part-way even for
// root, and restores it afterwards.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &old_);
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = old_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, oldHandler_);
    }

private:
    rlimit old_{};
    void (*oldHandler_)(int) = nullptr;
};

} // namespace

TEST_F(DocumentFilesTest, AFileThatCannotBeOpenedLeavesTheDocumentEmpty) {
    QTextDocument doc;
    doc.setPlainText("earlier text");
    const QString missing = path("missing.svt");
    EXPECT_EQ(errorOf([&] { readDocument(doc, missing, true); }),
              "ファイル " + missing.toStdString() + " は開けません");
    EXPECT_TRUE(doc.isEmpty());

    doc.setPlainText("earlier text");
    QDir(dir_.path()).mkdir("folder.rtf");
    const QString folder = path("folder.rtf");
    EXPECT_EQ(errorOf([&] { readDocument(doc, folder, false); }),
              "ファイル " + folder.toStdString() + " は開けません");
    EXPECT_TRUE(doc.isEmpty());
}

TEST_F(DocumentFilesTest, AFileThatCannotBeCreatedIsReported) {
    QTextDocument doc;
    doc.setPlainText("text");
    const QString inMissingFolder = path("no/such/folder/a.txt");
    EXPECT_EQ(errorOf([&] { writeDocument(doc, inMissingFolder, true); }),
              "ファイル " + inMissingFolder.toStdString() + " を作成できません");

    // A folder in the file's place cannot be replaced; it stays as it was.
    QDir(dir_.path()).mkpath("taken.svt/inner");
    const QString folder = path("taken.svt");
    EXPECT_EQ(errorOf([&] { writeDocument(doc, folder, true); }),
              "ファイル " + folder.toStdString() + " を作成できません");
    EXPECT_TRUE(QDir(folder).exists("inner"));
    EXPECT_EQ(filesInDir(), QStringList{});
}

TEST_F(DocumentFilesTest, AFolderWithoutWriteAccessKeepsTheOldFile) {
    if (geteuid() == 0)
        GTEST_SKIP() << "root writes into any folder";
    QDir(dir_.path()).mkdir("locked");
    const QString file = path("locked/a.svt");
    writeBytes(file, "old\r\n");
    QFile::setPermissions(path("locked"), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    QTextDocument doc;
    doc.setPlainText("new");
    const std::string message = errorOf([&] { writeDocument(doc, file, true); });
    QFile::setPermissions(path("locked"),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    EXPECT_EQ(message, "ファイル " + file.toStdString() + " を作成できません");
    EXPECT_EQ(readBytes(file), "old\r\n");
}

TEST_F(DocumentFilesTest, ASaveThatFailsWhileWritingKeepsTheOldFileExactly) {
    const std::string old = "old content that must survive\r\n";
    QTextDocument doc;
    doc.setPlainText(QString(20000, QChar('x')));
    for (const char* name : {"kept.svt", "kept.rtf"}) {
        const QString file = path(name);
        writeBytes(file, old);
        std::string message;
        {
            const FileSizeLimit limit(4096);
            message = errorOf([&] { writeDocument(doc, file, QString(name).endsWith(".svt")); });
        }
        EXPECT_EQ(message, "ストリームへの書き込みに失敗しました") << name;
        EXPECT_EQ(readBytes(file), old) << name;
    }
    EXPECT_EQ(filesInDir(), (QStringList{"kept.rtf", "kept.svt"}));
}

TEST_F(DocumentFilesTest, SavingReplacesTheWholeFile) {
    writeBytes(path("a.svt"), std::string(5000, 'z'));
    QTextDocument doc;
    doc.setPlainText("short");
    writeDocument(doc, path("a.svt"), true);
    EXPECT_EQ(readBytes(path("a.svt")), "short");
}

TEST_F(DocumentFilesTest, ANonRtfFileReadAsRichTextIsReadAsPlainText) {
    const std::string bytes = "\x93\xfa\x96\x7b\r\n{\\rtf is not at the start\r\n\x80";
    writeBytes(path("a.rtf"), bytes);
    QTextDocument doc;
    readDocument(doc, path("a.rtf"), false);
    EXPECT_EQ(doc.blockCount(), 3);
    EXPECT_EQ(doc.begin().text(), u8("日本"));
    // Read as plain text it is still lossless.
    writeDocument(doc, path("b.txt"), true);
    EXPECT_EQ(readBytes(path("b.txt")), bytes);
}

TEST_F(DocumentFilesTest, RichTextFilesAreReadAndWrittenAsRtf) {
    writeBytes(path("a.rtf"), "\xef\xbb\xbf \r\n{\\rtf1\\ansi\\ansicpg932 {\\b \\'93\\'fa}\\par}");
    QTextDocument doc;
    readDocument(doc, path("a.rtf"), false);
    EXPECT_EQ(doc.toPlainText(), u8("日"));
    EXPECT_TRUE(doc.begin().begin().fragment().charFormat().font().bold());

    // The same file named as plain text shows its source.
    writeBytes(path("A.RTF"), "{\\rtf1 x}");
    readDocument(doc, path("A.RTF"), true);
    EXPECT_EQ(doc.toPlainText(), "{\\rtf1 x}");

    writeDocument(doc, path("out.rtf"), false);
    EXPECT_EQ(readBytes(path("out.rtf")).rfind("{\\rtf1\\ansi\\ansicpg932", 0), 0u);
}

TEST_F(DocumentFilesTest, ATextEditGetsTheFileWithAFreshCaretAtTheStart) {
    writeBytes(path("a.svt"), "\x93\xfa\x96\x7b\r\nline 2\r\n");
    writeBytes(path("b.rtf"), "{\\rtf1 {\\b bold}\\par plain}");
    QTextEdit edit;
    edit.show();
    edit.setPlainText("earlier text");
    edit.moveCursor(QTextCursor::End);
    for (const char* name : {"a.svt", "b.rtf"}) {
        readDocument(edit, path(name), QString(name).endsWith(".svt"));
        EXPECT_EQ(edit.textCursor().position(), 0) << name;
        EXPECT_FALSE(edit.textCursor().hasSelection()) << name;
        QTest::keyClicks(&edit, "xy");
        EXPECT_EQ(edit.textCursor().position(), 2) << name;
    }
    EXPECT_EQ(edit.toPlainText(), "xybold\nplain");

    // A failed read leaves an empty pane that still takes typing.
    EXPECT_THROW(readDocument(edit, path("missing.svt"), true), Error);
    EXPECT_TRUE(edit.document()->isEmpty());
    QTest::keyClicks(&edit, "z");
    EXPECT_EQ(edit.toPlainText(), "z");
}
