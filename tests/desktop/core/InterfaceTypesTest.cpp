#include <gtest/gtest.h>

#include <set>
#include <string>

#include "desktop/core/InterfaceTypes.h"

namespace {

using wexal::desktop::AddInterfaceType;
using wexal::desktop::BuildInterfaceTypes;
using wexal::desktop::FindInterfaceType;
using wexal::desktop::FindInterfaceTypeById;
using wexal::desktop::InterfaceTypeInfo;

// The flags of a row as the numbers that set them, for comparing rows.
std::set<int> FlagNumbers(const InterfaceTypeInfo& row) {
    std::set<int> numbers;
    const bool flags[] = {row.RouteFile, row.ReadingsFile, row.Flag3,    row.Excel,
                          row.Server,    row.DSN,          row.Database, row.UserID,
                          row.Password,  row.Test,         row.Install,  row.Flag12};
    for (int n = 1; n <= 12; ++n) {
        if (flags[n - 1]) {
            numbers.insert(n);
        }
    }
    return numbers;
}

TEST(InterfaceTypesTest, TheThirtyEightRows) {
    const auto table = BuildInterfaceTypes();
    ASSERT_EQ(table.size(), 38u);
    std::set<int> ids;
    std::set<std::string> codes;
    for (std::size_t k = 0; k < table.size(); ++k) {
        const InterfaceTypeInfo& row = table[k];
        SCOPED_TRACE(row.Code);
        EXPECT_EQ(row.Id, static_cast<int>(10 * (k + 1) + 5));
        ids.insert(row.Id);
        codes.insert(row.Code);
        if (row.Code == "SQLDirect") {
            EXPECT_EQ(FlagNumbers(row), (std::set<int>{5, 7, 8, 9}));
        } else if (row.Code == "ODBC") {
            EXPECT_EQ(FlagNumbers(row), (std::set<int>{6, 7, 8, 9}));
        } else if (row.Code == "EXCEL") {
            EXPECT_EQ(FlagNumbers(row), std::set<int>{4});
        } else {
            EXPECT_EQ(FlagNumbers(row), (std::set<int>{1, 2}));
        }
    }
    EXPECT_EQ(ids.size(), 38u);
    EXPECT_EQ(codes.size(), 38u);
    EXPECT_EQ(table.back().Id, 385);
    EXPECT_EQ(table.back().DisplayName, "Williamson Law Book");
    for (int row : {6, 16, 17, 23, 31}) {
        EXPECT_EQ(table[row - 1].DisplayName, table[row - 1].Code);
    }
    EXPECT_EQ(table[2].DisplayName, "AutoAdmin SQLDirect");
    EXPECT_EQ(table[28].Code, "TAKTECH");
    EXPECT_EQ(table[34].Code, "Text");
}

TEST(InterfaceTypesTest, LookupsAndFlagNumbers) {
    const auto table = BuildInterfaceTypes();
    ASSERT_NE(FindInterfaceType(table, "SQLDIRECT"), nullptr);
    EXPECT_EQ(FindInterfaceType(table, "SQLDIRECT")->Id, 35);
    ASSERT_NE(FindInterfaceType(table, "text"), nullptr);
    EXPECT_EQ(FindInterfaceType(table, "text")->DisplayName, "Text Files");
    EXPECT_EQ(FindInterfaceType(table, "TEXT FILES"), nullptr);
    EXPECT_EQ(FindInterfaceType(table, ""), nullptr);
    ASSERT_NE(FindInterfaceTypeById(table, 225), nullptr);
    EXPECT_EQ(FindInterfaceTypeById(table, 225)->Code, "NORTHSTAR");
    EXPECT_EQ(FindInterfaceTypeById(table, 20), nullptr);

    std::vector<InterfaceTypeInfo> built;
    AddInterfaceType(built, 15, "A", "A", {2, 1});
    AddInterfaceType(built, 25, "A", "A", {"2", "1", "1"});
    AddInterfaceType(built, 35, "A", "A", {0, 13, "x", "2.5", -1, 12});
    AddInterfaceType(built, 45, "A", "A", {});
    EXPECT_EQ(FlagNumbers(built[0]), (std::set<int>{1, 2}));
    EXPECT_EQ(FlagNumbers(built[1]), FlagNumbers(built[0]));
    EXPECT_EQ(FlagNumbers(built[2]), std::set<int>{12});
    EXPECT_TRUE(FlagNumbers(built[3]).empty());
}

}  // namespace
