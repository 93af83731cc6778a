#pragma once

#include "conversion/DictionaryCheck.h"
#include "conversion/DictionaryDocument.h"

#include <QString>

// How the editor words what the check found on a line: a few words for the 問題 column and
// the check's own sentence for its tool tip.
namespace sorvanti::findingtext {

// Example: a pair hidden in the 逆変換 direction by line 3's "X" -> "逆変換では 3 行目「X」が先".
QString brief(const CheckFinding& finding, const CheckReport& report,
              const DictionaryDocument& document);

// The check's message; for a hidden pair, the direction in front ("逆変換: …").
QString full(const CheckFinding& finding);

// A line whose fields the loader reads otherwise (DictionaryDocument::misread): `read` is the
// line as the loader takes it apart.
QString misreadBrief(const DictionaryDocument& document, const DictionaryDocument::Line& read);
QString misreadFull(const DictionaryDocument& document, const DictionaryDocument::Line& read);

} // namespace sorvanti::findingtext
