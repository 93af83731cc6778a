#pragma once

#include <QGroupBox>

#include <string>
#include <vector>

class QLabel;
class QLineEdit;
class QTextBrowser;

namespace sorvanti {

class DictionaryModel;
struct TextMatch;

// "試す": a text typed here is converted with the editor's table as it stands, saved or not,
// both ways: "変換" into REkekka0, "逆変換" into REkekka1. Each replaced word is coloured, its
// tool tip names the line that replaced it, and clicking it asks for that line. When the rows
// declare word mode, it converts in word mode, as "変換" will; without the analyser it converts
// plainly and Lnote, under the field, says so.
class TrialConversion : public QGroupBox {
    Q_OBJECT
public:
    TrialConversion(DictionaryModel& model, QWidget* parent = nullptr);

    QLineEdit* Etamesu = nullptr;
    QTextBrowser* REkekka0 = nullptr;
    QTextBrowser* REkekka1 = nullptr;
    QLabel* Lnote = nullptr; // shown only when word mode cannot be had
    QTextBrowser* result(int side) const { return side == 0 ? REkekka0 : REkekka1; }

    // Converts the text again; the window calls it whenever the findings are made anew.
    void refresh();

signals:
    // A replaced word was clicked: the row of the line that replaced it.
    void lineChosen(int row);

private:
    void show(int side, const std::u16string& out, const std::vector<TextMatch>& matches);
    DictionaryModel& model_;
};

} // namespace sorvanti
