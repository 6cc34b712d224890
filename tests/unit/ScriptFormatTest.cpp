#include <gtest/gtest.h>

#include <string>

#include "RegistryLine.h"
#include "ScriptFormat.h"

TEST(StarterLine, NameLosesOuterQuotesOnlyAndPrefixStaysAsWritten)
{
    StarterFields fields = ParseStarterLine("\" Alpha \",P,2");
    EXPECT_EQ(" Alpha ", fields.name);
    EXPECT_EQ("P", fields.prefix);
    EXPECT_EQ(2, fields.number);

    fields = ParseStarterLine("\"\"Al\"pha\"\", VC ,-12abc");
    EXPECT_EQ("Al\"pha", fields.name);
    EXPECT_EQ(" VC ", fields.prefix);
    EXPECT_EQ(-12, fields.number);

    // The manufacturer section keeps the whole line, "=" included.
    fields = ParseStarterLine("Alpha=Beta,VC,1");
    EXPECT_EQ("Alpha=Beta", fields.name);
    EXPECT_EQ("VC", fields.prefix);
}

TEST(StarterLine, MissingFieldsAreEmptyAndTheNumberZero)
{
    StarterFields fields = ParseStarterLine("Alpha");
    EXPECT_EQ("Alpha", fields.name);
    EXPECT_EQ("", fields.prefix);
    EXPECT_EQ(0, fields.number);

    fields = ParseStarterLine("Alpha,VC");
    EXPECT_EQ("VC", fields.prefix);
    EXPECT_EQ(0, fields.number);

    // Only the first two commas split; quotes do not protect a comma.
    fields = ParseStarterLine("\"A,B\",P,3");
    EXPECT_EQ("A", fields.name);
    EXPECT_EQ("B\"", fields.prefix);
    EXPECT_EQ(0, fields.number);
    fields = ParseStarterLine("N,P,3,4");
    EXPECT_EQ(3, fields.number);

    fields = ParseStarterLine("N,P,x9");
    EXPECT_EQ(0, fields.number);
    fields = ParseStarterLine("N,P,99999999999");
    EXPECT_EQ(2147483647, fields.number);
    EXPECT_EQ("", ParseStarterLine(nullptr).name);
}

TEST(ScriptSections, CategoryIsTheTextAfterTheLastDot)
{
    std::string prefix;
    const CategorySection* category = FindCategoryOfSection("VC.files", &prefix);
    ASSERT_NE(nullptr, category);
    EXPECT_EQ(LIST_FILES, category->list);
    EXPECT_EQ("VC", prefix);
    category = FindCategoryOfSection("A.B.RegistryKeys", &prefix);
    ASSERT_NE(nullptr, category);
    EXPECT_EQ(LIST_REGISTRY_KEYS, category->list);
    EXPECT_EQ("A.B", prefix);
    EXPECT_NE(nullptr, FindCategoryOfSection(".Files", &prefix));
    EXPECT_EQ("", prefix);
    EXPECT_EQ(nullptr, FindCategoryOfSection("VC.Flies", nullptr));
    EXPECT_EQ(nullptr, FindCategoryOfSection("UnPrinterDrivers", nullptr));
}

TEST(RegistryLine, SplitsAtTheFirstThreeCommasAndDropsQuotes)
{
    RegistryLine line;
    ASSERT_EQ(REGLINE_OK, ParseRegistryLine("hklm,\"SOFTWARE\\VANTO\\Filters\",\"\",1", line));
    EXPECT_EQ(ROOT_HKLM, line.root);
    EXPECT_EQ("SOFTWARE\\VANTO\\Filters", line.key);
    EXPECT_EQ("", line.value);
    EXPECT_TRUE(line.hasFlag);
    EXPECT_EQ("1", line.flag);

    ASSERT_EQ(REGLINE_OK, ParseRegistryLine("HKU,k,v,4,extra", line));
    EXPECT_EQ(ROOT_HKU, line.root);
    EXPECT_EQ("4,extra", line.flag);

    // Two commas: no flag field, the key alone is deleted.
    ASSERT_EQ(REGLINE_OK, ParseRegistryLine("HKCR,k,", line));
    EXPECT_FALSE(line.hasFlag);
    EXPECT_EQ("", line.value);

    EXPECT_EQ(REGLINE_TOO_FEW_FIELDS, ParseRegistryLine("HKLM,k", line));
    EXPECT_EQ(REGLINE_TOO_FEW_FIELDS, ParseRegistryLine(nullptr, line));
    EXPECT_EQ(REGLINE_UNKNOWN_ROOT, ParseRegistryLine("HKEY_LOCAL_MACHINE,k,,1", line));
    EXPECT_EQ(REGLINE_EMPTY_KEY, ParseRegistryLine("HKCU,\"\",,1", line));
}
