#include "conversion/Catalogue.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace sorvanti {
namespace {

TEST(Catalogue, CompareIgnoresAsciiCaseOnly) {
    EXPECT_EQ(compareNamesIgnoringCase("Abc", "aBC"), 0);
    EXPECT_LT(compareNamesIgnoringCase("abc", "ABD"), 0);
    EXPECT_GT(compareNamesIgnoringCase("b", "A"), 0);
    EXPECT_LT(compareNamesIgnoringCase("a", "ab"), 0);
    EXPECT_LT(compareNamesIgnoringCase("", "a"), 0);
    // Letters fold to lower case, so '_' (0x5F) sorts before every letter.
    EXPECT_LT(compareNamesIgnoringCase("_x", "Ax"), 0);
    // Bytes of Japanese names compare unsigned, after ASCII; they are not folded.
    EXPECT_GT(compareNamesIgnoringCase("方言", "z"), 0);
    EXPECT_NE(compareNamesIgnoringCase("\x82\x60", "\x82\x81"), 0); // Ａ and ａ differ
}

TEST(Catalogue, InsertSortedAndExactMatch) {
    std::vector<std::string> names;
    for (const char* n : {"b", "a", "C", "B", "方言", "_x"})
        insertSorted(names, n);
    EXPECT_EQ(names, (std::vector<std::string>{"_x", "a", "b", "B", "C", "方言"}));
    // Equal names ignoring case go after the ones already there.
    EXPECT_EQ(insertSorted(names, "A"), 2u);

    EXPECT_EQ(findExactName(names, "B"), 4);
    EXPECT_EQ(findExactName(names, "c"), -1); // letter case counts
    EXPECT_EQ(findExactName(names, "C"), 5);
    EXPECT_EQ(findExactName(names, ""), -1);
}

TEST(Catalogue, ListsTheTextFilesOfTheDictionaryFolder) {
    test::TempFolder program;
    EXPECT_TRUE(findDictionaryNames(program.path()).empty()); // no folder at all

    program.write("辞書/b.txt", "x\ty\n");
    program.write("辞書/a.txt", "");
    program.write("辞書/関西弁.txt", "");
    program.write("辞書/notes.md", "");
    program.write("辞書/upper.TXT", "");
    program.write("辞書/a.txt.bak", "");
    program.write("辞書/folder.txt/inner.txt", "");
    program.write("other.txt", "");

    std::vector<std::string> names = findDictionaryNames(program.path());
    std::sort(names.begin(), names.end()); // the file system's order is not fixed
    EXPECT_EQ(names, (std::vector<std::string>{"a", "b", "関西弁"}));

    // The folder argument may come without its trailing separator.
    std::string bare = program.path();
    bare.pop_back();
    EXPECT_EQ(findDictionaryNames(bare).size(), 3u);
}

TEST(Catalogue, EmptyDictionaryFolderListsNothing) {
    test::TempFolder program;
    std::filesystem::create_directory(program.path() + "辞書");
    EXPECT_TRUE(findDictionaryNames(program.path()).empty());
}

} // namespace
} // namespace sorvanti
