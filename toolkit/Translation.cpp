#include "toolkit/Translation.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QIdentityProxyModel>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <cstring>

namespace sorvanti {

namespace {

// The texts of the standard dialogs that Qt's Japanese leaves in English, found by recording
// the lookups it does not answer while each dialog is shown and used.
struct Text {
    const char* context;
    const char* source;
    const char* japanese;
};

constexpr Text kTexts[] = {
    {"QPrintSettingsOutput", "Pages", "ページ指定"},
    {"QPrintSettingsOutput",
     "Specify pages or ranges separated by commas. Ranges are specified by two numbers separated "
     "by a hyphen. E.g: 3,5-7,9 prints pages 3, 5, 6, 7 and 9.",
     "ページまたは範囲をカンマで区切って指定します。範囲は二つの数をハイフンでつなぎます。"
     "例: 3,5-7,9 で 3、5、6、7、9 ページを印刷します。"},
    {"QPrintSettingsOutput", "Double Sided Printing", "両面印刷"},
    {"QPrintSettingsOutput", "Off", "しない"},
    {"QPrintSettingsOutput", "Long side binding", "長辺綴じ"},
    {"QPrintSettingsOutput", "Short side binding", "短辺綴じ"},
    {"QAbstractFileIconProvider", "Folder", "フォルダー"},
    {"QAbstractFileIconProvider", "Drive", "ドライブ"},
    {"QAbstractFileIconProvider", "Shortcut", "ショートカット"},
    {"QAbstractFileIconProvider", "Unknown", "不明"},
};

class OwnJapanese : public QTranslator {
public:
    bool isEmpty() const override { return false; }
    QString translate(const char* context, const char* source, const char* /*disambiguation*/,
                      int /*n*/) const override {
        for (const Text& text : kTexts)
            if (std::strcmp(text.context, context) == 0 && std::strcmp(text.source, source) == 0)
                return QString::fromUtf8(text.japanese);
        return {};
    }
};

// The file dialog's model as the dialog shows it, with sizes and dates in the default locale.
class LocalFileDetails : public QIdentityProxyModel {
public:
    using QIdentityProxyModel::QIdentityProxyModel;

    QVariant data(const QModelIndex& index, int role) const override {
        const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
        if (!files || role != Qt::DisplayRole || (index.column() != 1 && index.column() != 3))
            return QIdentityProxyModel::data(index, role);
        const QModelIndex file = mapToSource(index);
        if (index.column() == 3)
            return QLocale().toString(files->lastModified(file), QLocale::ShortFormat);
        // Folders have no size.
        return files->isDir(file) ? QString() : QLocale().formattedDataSize(files->size(file));
    }
};

} // namespace

bool installToolkitTranslation() {
    static QTranslator qtJapanese;
    static OwnJapanese ownJapanese;
    static bool installed = false;
    if (installed)
        return !qtJapanese.isEmpty();
    installed = true;
    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
    const bool found = qtJapanese.load(QStringLiteral("qtbase_ja"),
                                       QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
                       QCoreApplication::installTranslator(&qtJapanese);
    QCoreApplication::installTranslator(&ownJapanese);
    return found;
}

void showFileDetailsInJapanese(QFileDialog& dialog) {
    dialog.setProxyModel(new LocalFileDetails(&dialog));
}

} // namespace sorvanti
