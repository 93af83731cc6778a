#pragma once

#include <QString>
#include <QStringList>

// The file dialogs' filter text: pairs of a description and a pattern, all separated by "|",
// as in "ﾃｷｽﾄﾌｧｲﾙ (*.txt)|*.txt|All|*".
namespace sorvanti::filtertext {

// The form QFileDialog takes as name filters: one entry per pair, the description alone when
// it ends with its patterns already ("ﾃｷｽﾄﾌｧｲﾙ (*.txt)"), otherwise with them added ("All (*)",
// "テキスト (UTF-8) (*.svt *.txt)").
QStringList qtNameFilters(const QString& filter);

// The extension (".txt") of pair `index` (0-based), taken from the first mask of its pattern;
// empty when the pair does not exist or its pattern names no single extension.
QString extension(const QString& filter, int index);

} // namespace sorvanti::filtertext
