#include "documents/DocumentFormat.h"
#include "toolkit/FilterText.h"

#include <gtest/gtest.h>

using namespace sorvanti;

TEST(DocumentFormat, RichTextOnlyWhenThePathHoldsDotRtfExactly) {
    EXPECT_FALSE(isPlainTextName("a.rtf"));
    EXPECT_FALSE(isPlainTextName("/home/u/x.rtf.txt"));
    EXPECT_FALSE(isPlainTextName("/home/u/my.rtfs/a.txt"));
    EXPECT_FALSE(isPlainTextName("/tmp/.rtf"));
    EXPECT_TRUE(isPlainTextName("A.RTF"));
    EXPECT_TRUE(isPlainTextName("Report.Rtf"));
    EXPECT_TRUE(isPlainTextName("/tmp/a.svt"));
    EXPECT_TRUE(isPlainTextName("/tmp/a.txt"));
    EXPECT_TRUE(isPlainTextName("/tmp/rtf"));
    EXPECT_TRUE(isPlainTextName("/tmp/a_rtf"));
    EXPECT_TRUE(isPlainTextName(""));
}

TEST(DocumentFormat, DialogTextsComeFromTheTypeTableInOrder) {
    EXPECT_EQ(dialogFilter(), QString::fromUtf8("ｿﾙﾊﾞﾝﾁﾌｧｲﾙ (*.svt)|*.svt|ﾃｷｽﾄﾌｧｲﾙ (*.txt)|*.txt|"
                                                "ﾘｯﾁﾃｷｽﾄﾌｧｲﾙ (*.rtf)|*.rtf"));
    EXPECT_EQ(dialogDefaultExt(), QStringLiteral("|*.svt|*.txt|*.rtf"));
    for (const DocumentType& type : documentTypes())
        EXPECT_EQ(type.plainText, isPlainTextName(QStringLiteral("x") + type.extension));
}

TEST(DocumentFormat, FilterSplitsIntoNameFiltersAndExtensions) {
    const QString filter = dialogFilter();
    EXPECT_EQ(
        filtertext::qtNameFilters(filter),
        (QStringList{QString::fromUtf8("ｿﾙﾊﾞﾝﾁﾌｧｲﾙ (*.svt)"), QString::fromUtf8("ﾃｷｽﾄﾌｧｲﾙ (*.txt)"),
                     QString::fromUtf8("ﾘｯﾁﾃｷｽﾄﾌｧｲﾙ (*.rtf)")}));
    EXPECT_EQ(filtertext::extension(filter, 0), ".svt");
    EXPECT_EQ(filtertext::extension(filter, 1), ".txt");
    EXPECT_EQ(filtertext::extension(filter, 2), ".rtf");
    EXPECT_EQ(filtertext::extension(filter, 3), "");
    EXPECT_EQ(filtertext::extension(filter, -1), "");
    EXPECT_EQ(filtertext::extension("All (*)|*|Text (*.text;*.txt)|*.text;*.txt", 0), "");
    EXPECT_EQ(filtertext::extension("All (*)|*|Text (*.text;*.txt)|*.text;*.txt", 1), ".text");
}
