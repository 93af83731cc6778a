// The real file dialogs behind the dialog components, driven the way a user drives them:
// a name typed into the dialog, a type picked in its list, then confirmed.
#include "documents/DocumentFormat.h"
#include "support/TempFolder.h"
#include "support/Utf8.h"
#include "toolkit/OpenDialog.h"
#include "toolkit/SaveDialog.h"

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>

namespace sorvanti::test {
namespace {

// Runs `user` on the file dialog once it is open. A question box that the dialog might
// raise on top is answered No and recorded, so a wrong question fails instead of hanging.
class DialogUser : public QObject {
public:
    explicit DialogUser(std::function<void(QFileDialog&)> user) : user_(std::move(user)) {
        QTimer::singleShot(0, this, [this] { act(); });
    }
    bool sawDialog = false;
    QStringList questions;

private:
    void act() {
        // The next look is due before acting: the user's action may open a nested box.
        if (++rounds_ < 100)
            QTimer::singleShot(20, this, [this] { act(); });
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            questions << box->text();
            box->done(QMessageBox::No);
        } else if (auto* dialog = qobject_cast<QFileDialog*>(modal)) {
            // After a question, or when the user's action left it open, the dialog is
            // cancelled so the test ends.
            if (sawDialog)
                dialog->reject();
            else {
                sawDialog = true;
                user_(*dialog);
            }
        }
    }
    std::function<void(QFileDialog&)> user_;
    int rounds_ = 0;
};

void typeName(QFileDialog& dialog, const QString& name, int typeIndex) {
    dialog.selectNameFilter(dialog.nameFilters().value(typeIndex));
    auto* edit = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    ASSERT_NE(edit, nullptr);
    edit->setText(name);
    static_cast<QDialog&>(dialog).accept();
}

class RealFileDialogs : public ::testing::Test {
protected:
    QString path(const char* name) const { return QString::fromStdString(folder.path()) + u(name); }
    template <typename D> void prepare(D& dialog) {
        dialog.Filter = dialogFilter();
        dialog.DefaultExt = dialogDefaultExt();
    }

    TempFolder folder;
    QWidget owner;
};

TEST_F(RealFileDialogs, SaveAddsTheChosenTypesExtensionAndKeepsTheType) {
    SaveDialog dialog(&owner);
    prepare(dialog);
    dialog.FileName = path("start.svt");
    QString proposed;
    DialogUser user([&](QFileDialog& d) {
        proposed = d.selectedFiles().value(0);
        typeName(d, path("memo"), 2);
    });
    ASSERT_TRUE(dialog.Execute());
    EXPECT_TRUE(user.sawDialog);
    EXPECT_EQ(proposed, path("start.svt"));
    EXPECT_EQ(dialog.FileName, path("memo.rtf"));
    EXPECT_EQ(dialog.FilterIndex, 3);
}

TEST_F(RealFileDialogs, SaveReplacesAnExistingFileWithoutAsking) {
    folder.write("there.txt", "old");
    SaveDialog dialog(&owner);
    prepare(dialog);
    DialogUser user([&](QFileDialog& d) { typeName(d, path("there.txt"), 0); });
    ASSERT_TRUE(dialog.Execute());
    EXPECT_TRUE(user.questions.isEmpty()) << user.questions.join('|').toStdString();
    EXPECT_EQ(dialog.FileName, path("there.txt"));
    EXPECT_EQ(dialog.FilterIndex, 1);
}

TEST_F(RealFileDialogs, OpenTakesTheNameOfAFileThatDoesNotExist) {
    OpenDialog dialog(&owner);
    prepare(dialog);
    DialogUser user([&](QFileDialog& d) { typeName(d, path("missing"), 1); });
    ASSERT_TRUE(dialog.Execute());
    EXPECT_TRUE(user.questions.isEmpty()) << user.questions.join('|').toStdString();
    EXPECT_EQ(dialog.FileName, path("missing.txt"));
    EXPECT_EQ(dialog.FilterIndex, 2);
}

TEST_F(RealFileDialogs, CancelKeepsNameAndType) {
    OpenDialog dialog(&owner);
    prepare(dialog);
    dialog.FileName = path("kept.svt");
    dialog.FilterIndex = 3;
    DialogUser user([](QFileDialog& d) { d.reject(); });
    EXPECT_FALSE(dialog.Execute());
    EXPECT_EQ(dialog.FileName, path("kept.svt"));
    EXPECT_EQ(dialog.FilterIndex, 3);
}

} // namespace
} // namespace sorvanti::test
