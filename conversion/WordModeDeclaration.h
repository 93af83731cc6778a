#pragma once

#include <string_view>

// The line by which a dictionary asks that its words match only on word boundaries: a
// comment line among the comment and blank lines before its first entry, so that a reader
// that knows nothing of it skips it. Example of a dictionary's head:
//   # 関西弁辞書
//   #@単語単位
//   ねこ		ねこやん
namespace sorvanti::wordmode {

// The declaration as the program writes it (UTF-8), and its code page 932 bytes.
constexpr std::string_view kDeclarationUtf8 = "#@単語単位";
constexpr std::string_view kDeclaration = "#@\x92\x50\x8C\xEA\x92\x50\x88\xCA";

// Whether the code page 932 `line` is the declaration: blanks and tabs, then kDeclaration;
// whatever follows it on the line is ignored. Only a line before the first line that yields
// an entry declares anything (the loader and the check both hold to that).
bool isDeclaration(std::string_view line);

} // namespace sorvanti::wordmode
