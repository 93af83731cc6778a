// "関連付け(&K)" and "設定(&S)": the dialogs, the names derived from the program file, the
// edits of mimeapps.list, and registering and removing in temporary XDG folders.
#include "DocumentWindow.h"
#include "integration/FileAssociation.h"
#include "integration/TOKBDkanren.h"
#include "integration/TOKBDsettei.h"
#include "support/Tools.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include <pwd.h>
#include <unistd.h>

#include <optional>
#include <vector>

namespace sorvanti::test {
namespace {

using Window = TVeruzazur;
namespace as = association;

TEST(AssociationNames, IdentifierMimeTypeAndExecComeFromTheProgramFile) {
    TempFolder folder;
    const QString entry = QString::fromStdString(folder.path()) + u("Sorvanti.svt.desktop");
    struct Case {
        const char *program, *identifier, *mime, *exec;
    };
    const Case cases[] = {
        {"/opt/Sorvanti", "Sorvanti.svt", "application/x-sorvanti-svt", R"("/opt/Sorvanti" %f)"},
        {"/x.y/a.b.exe", "a.b.svt", "application/x-a-b-svt", R"("/x.y/a.b.exe" %f)"},
        {"/home/u/my apps/My Prog", "My Prog.svt", "application/x-my-prog-svt",
         R"("/home/u/my apps/My Prog" %f)"},
        {R"(/t/100%/a"b$c`d\e)", "a\"b$c`d\\e.svt", "application/x-a-b$c-d-e-svt",
         R"("/t/100%%/a\\"b\\$c\\`d\\\\e" %f)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.program);
        const QString id = as::documentTypeIdentifier(u(c.program));
        EXPECT_EQ(id, u(c.identifier));
        EXPECT_EQ(as::mimeTypeFor(id), u(c.mime));
        EXPECT_EQ(as::execValue(u(c.program)), u(c.exec));
        QFile file(entry);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(as::desktopEntryText(u(c.program), id).toUtf8());
        file.close();
        const ToolResult r = runTool(u("desktop-file-validate"), {entry});
        EXPECT_EQ(r.exitCode, 0) << r.out.toStdString();
    }
}

TEST(MimeappsList, OnlyTheTypesOwnLineChangesAndRemovalRestoresTheRest) {
    const QString type = u("application/x-sorvanti-svt");
    const QString ours = u("Sorvanti.svt.desktop");
    struct Case {
        const char *before, *registered, *removed;
    };
    const Case cases[] = {
        // Left with an empty section only, the list file itself goes.
        {"", "[Default Applications]\napplication/x-sorvanti-svt=Sorvanti.svt.desktop;\n",
         "[Default Applications]\n"},
        {"[Added Associations]\ntext/plain=a.desktop;\n",
         "[Added Associations]\ntext/plain=a.desktop;\n\n[Default Applications]\n"
         "application/x-sorvanti-svt=Sorvanti.svt.desktop;\n",
         "[Added Associations]\ntext/plain=a.desktop;\n\n[Default Applications]\n"},
        {"# mine\n[Default Applications]\ntext/plain=a.desktop;\n\n[Other]\nk=v\n",
         "# mine\n[Default Applications]\ntext/plain=a.desktop;\n"
         "application/x-sorvanti-svt=Sorvanti.svt.desktop;\n\n[Other]\nk=v\n",
         "# mine\n[Default Applications]\ntext/plain=a.desktop;\n\n[Other]\nk=v\n"},
        {"[Default Applications]\napplication/x-sorvanti-svt=b.desktop;\n",
         "[Default Applications]\napplication/x-sorvanti-svt=Sorvanti.svt.desktop;b.desktop;\n",
         "[Default Applications]\napplication/x-sorvanti-svt=b.desktop;\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.before);
        const QString registered = as::withDefault(u(c.before), type, ours);
        EXPECT_EQ(registered, u(c.registered));
        EXPECT_EQ(as::withDefault(registered, type, ours), registered) << "registered twice";
        EXPECT_EQ(as::withoutDefault(registered, type, ours), u(c.removed));
        EXPECT_EQ(as::isEmptyList(u(c.removed)), c.before[0] == '\0');
    }
    EXPECT_TRUE(as::isEmptyList(u("[Default Applications]\n\n")));
}

TEST(AssociationDialogs, ChoiceTextsAndTheSharedBevelLayout) {
    TOKBDkanren kanren;
    TOKBDsettei settei;
    EXPECT_EQ(kanren.Label1->text(), u("レジストリに、専用データの関連付けを行います。"));
    QStringList items{kanren.RGsentaku->title()};
    for (const QRadioButton* item : kanren.RGsentaku->findChildren<QRadioButton*>())
        items << item->text();
    EXPECT_EQ(items,
              (QStringList{u("選択"), u("登録する。　又は、場所変更時。"), u("削除する。")}));
    EXPECT_EQ(kanren.ItemIndex(), 0);
    EXPECT_EQ(QStringList({kanren.windowTitle(), settei.windowTitle()}),
              (QStringList{u("関連付け"), u("設定")}));
    for (BevelDialog* d : std::initializer_list<BevelDialog*>{&kanren, &settei}) {
        EXPECT_EQ(d->size(), QSize(313, 214));
        EXPECT_LT(d->Bevel1->geometry().bottom(), d->OKBtn->geometry().top());
        EXPECT_TRUE(d->OKBtn->isDefault());
    }
    // The settings' check boxes lie inside the bevel, off until set.
    for (const QCheckBox* box : {settei.CKnyuuryoku, settei.CKiro}) {
        EXPECT_TRUE(settei.Bevel1->geometry().contains(box->geometry()))
            << box->text().toStdString();
        EXPECT_FALSE(box->isChecked());
    }
    EXPECT_EQ(QStringList({settei.CKnyuuryoku->text(), settei.CKiro->text()}),
              (QStringList{u("入力中に変換"), u("置き換えた語に色を付ける")}));
}

// The association's per-user folders follow the installed layout's rule (DataFolders).
TEST(AssociationPlaces, FollowTheXdgRuleAndTheAccountsHomeWhenHomeIsUnset) {
    const struct passwd* account = ::getpwuid(::getuid());
    ASSERT_NE(account, nullptr);
    const QString own = QString::fromLocal8Bit(account->pw_dir);
    struct Case {
        const char *home, *data, *config; // nullptr: unset
        QString dataHome, configHome;
    };
    const Case cases[] = {
        {"/h", "/d//x/", nullptr, u("/d/x"), u("/h/.config")},
        {"/h", "relative", "/c", u("/h/.local/share"), u("/c")},
        {nullptr, nullptr, "", own + u("/.local/share"), own + u("/.config")},
    };
    const char* const names[] = {"HOME", "XDG_DATA_HOME", "XDG_CONFIG_HOME"};
    std::vector<std::optional<QByteArray>> saved;
    for (const char* name : names)
        saved.push_back(qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name))
                                                        : std::nullopt);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dataHome.toStdString());
        for (const auto& [name, value] :
             {std::pair{"HOME", c.home}, std::pair{"XDG_DATA_HOME", c.data},
              std::pair{"XDG_CONFIG_HOME", c.config}}) {
            if (value)
                qputenv(name, value);
            else
                qunsetenv(name);
        }
        const as::Places places = as::Places::fromEnvironment();
        EXPECT_EQ(places.dataHome, c.dataHome);
        EXPECT_EQ(places.configHome, c.configHome);
    }
    for (size_t i = 0; i < saved.size(); ++i) {
        if (saved[i])
            qputenv(names[i], *saved[i]);
        else
            qunsetenv(names[i]);
    }
}

// The main window in temporary XDG data and config folders.
class Association : public DocumentWindow {
protected:
    void SetUp() override {
        DocumentWindow::SetUp();
        qputenv("XDG_DATA_HOME", QByteArray::fromStdString(xdg.path() + "data"));
        qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(xdg.path() + "config"));
    }
    void TearDown() override {
        qunsetenv("XDG_DATA_HOME");
        qunsetenv("XDG_CONFIG_HOME");
    }
    // The user picks `item` and confirms, or cancels.
    void choose(int item, bool confirm = true) {
        runner.dialogAnswers = {[=](QDialog& d) {
            EXPECT_EQ(static_cast<TOKBDkanren&>(d).ItemIndex(), 0);
            static_cast<TOKBDkanren&>(d).setItemIndex(item);
            return confirm ? QDialog::Accepted : QDialog::Rejected;
        }};
        DocumentWindow::choose(&Window::Kanren1Click);
    }
    as::Files files() const {
        return as::filesFor(u("Sorvanti.svt"), as::Places::fromEnvironment());
    }
    QStringList written() const {
        const as::Files f = files();
        QStringList present;
        for (const QString& p :
             {f.mimePackage, f.desktopEntry, f.programIcon, f.documentIcon, f.mimeappsList})
            if (QFileInfo::exists(p))
                present << QFileInfo(p).fileName();
        return present;
    }
    QString data(const char* name) const {
        return QString::fromStdString(xdg.path() + "data/") + u(name);
    }
    TempFolder xdg;
};

const QStringList kAllFiles = {u("Sorvanti.svt.xml"), u("Sorvanti.svt.desktop"), u("sorvanti.svg"),
                               u("application-x-sorvanti-svt.svg"), u("mimeapps.list")};

TEST_F(Association, RegisterWritesEveryFileAndRemoveTakesThemAway) {
    choose(0);
    EXPECT_EQ(written(), kAllFiles);
    const as::Files f = files();
    const QString package = QString::fromUtf8(bytesOf(f.mimePackage));
    for (const char* part : {"type=\"application/x-sorvanti-svt\"", "<comment>そるばんち文章",
                             "<icon name=\"application-x-sorvanti-svt\"/>", "pattern=\"*.svt\""})
        EXPECT_TRUE(package.contains(u(part))) << part;
    EXPECT_TRUE(QString::fromUtf8(bytesOf(f.desktopEntry))
                    .contains(u("\nExec=\"") + w->environment().programPath + u("\" %f\n")));
    const QString icons = qEnvironmentVariable("SORVANTI_SOURCE_DIR") + u("/resources/icons/");
    EXPECT_EQ(bytesOf(f.programIcon), bytesOf(icons + u("sorvanti.svg")));
    EXPECT_EQ(bytesOf(f.documentIcon), bytesOf(icons + u("application-x-sorvanti-svt.svg")));
    // The desktop was told: its MIME cache knows the new type.
    EXPECT_TRUE(QFileInfo::exists(data("mime/application/x-sorvanti-svt.xml")));
    EXPECT_TRUE(runner.boxes.empty());

    choose(1);
    EXPECT_EQ(written(), QStringList());
    EXPECT_FALSE(QFileInfo::exists(data("mime/application/x-sorvanti-svt.xml")));
    EXPECT_TRUE(runner.boxes.empty());
}

TEST_F(Association, RegisteringAgainAfterAMoveReplacesTheProgramPath) {
    choose(0);
    const std::string first = bytesOf(files().desktopEntry);
    const std::string list = bytesOf(files().mimeappsList);
    choose(0);
    EXPECT_EQ(bytesOf(files().desktopEntry), first);
    EXPECT_EQ(bytesOf(files().mimeappsList), list);

    ProgramFolder moved;
    moved.addDictionary("方言", "犬 わんこ\n");
    w = moved.openWindow();
    choose(0);
    const QString entry = QString::fromUtf8(bytesOf(files().desktopEntry));
    EXPECT_TRUE(entry.contains(QString::fromStdString(moved.programPath())));
    EXPECT_FALSE(entry.contains(QString::fromStdString(program.programPath())));
    EXPECT_EQ(bytesOf(files().mimeappsList), list);
}

TEST_F(Association, CancelRemovingNothingAndTheSettingsDialogWriteNothingAndSayNothing) {
    choose(0, false);
    choose(1, false);
    choose(1);
    EXPECT_TRUE(w->Settei1->isEnabled());
    runner.dialogAnswers = {[](QDialog&) { return int(QDialog::Accepted); }};
    DocumentWindow::choose(&Window::Settei1Click);
    EXPECT_EQ(written(), QStringList());
    EXPECT_TRUE(runner.boxes.empty());
    EXPECT_EQ(runner.dialogNames, (std::vector<QString>{u("OKBDkanren"), u("OKBDkanren"),
                                                        u("OKBDkanren"), u("OKBDsettei")}));
}

TEST_F(Association, AFailedWriteStopsWithTheSettingErrorAndTellsTheDesktopNothing) {
    // The applications folder is taken by a file, so the desktop entry cannot be written.
    QDir().mkpath(data(""));
    QFile blocker(data("applications"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    choose(0);
    ASSERT_EQ(runner.texts(), QStringList{u("'' の設定に失敗しました.")});
    EXPECT_EQ(runner.boxes[0].icon, QMessageBox::Critical);
    // What came before the failure stays; the rest is not written; no cache was rebuilt.
    EXPECT_EQ(written(), (QStringList{u("Sorvanti.svt.xml"), u("sorvanti.svg"),
                                      u("application-x-sorvanti-svt.svg")}));
    EXPECT_FALSE(QFileInfo::exists(data("mime/mime.cache")));
}

} // namespace
} // namespace sorvanti::test
