#include "client/catalogue/LookupTables.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {
LookupList Items(const CLookupTables& tables, const std::string& name)
{
    const auto list = tables.Lookup(name);
    return list ? *list : LookupList{};
}
}  // namespace

TEST(LookupTables, Defaults)
{
    CLookupTables tables;
    tables.LoadDefaults();
    EXPECT_EQ(Items(tables, "Genres"), (LookupList{{0, "Unknown"}, {201, "Rock"}}));
    EXPECT_EQ(Items(tables, "Country"), (LookupList{{0, "unknown"}, {1190, "USA"}}));
    EXPECT_EQ(Items(tables, "HeardAboutSource"), (LookupList{{0, "unspecified"}}));
    EXPECT_EQ(Items(tables, "MaritalStatus"),
              (LookupList{{0, "unspecified"}, {1, "Single"}, {2, "Married"}, {3, "Taken"}, {4, "Swingin'"}}));
    EXPECT_EQ(Items(tables, "SexCode"), (LookupList{{0, "unspecified"}, {1, "Female"}, {2, "Male"}}));
    EXPECT_EQ(tables.Lookup("Mood"), nullptr);
    EXPECT_EQ(tables.Lookup("Theme"), nullptr);
    EXPECT_EQ(tables.Lookup("SubGenres"), nullptr);
    EXPECT_EQ(tables.Lookup("genres"), nullptr);
    EXPECT_EQ(tables.Names().size(), 5u);
}

TEST(LookupTables, LoadRules)
{
    CLookupTables tables;
    ASSERT_TRUE(tables.Load(
        "<Tables>"
        "<Select Name='Mood'><Item ID='1' Text='Calm'/><Item ID=' ' Text='blank'/><Item Text='none'/></Select>"
        "<Select Name=' Theme '><Item ID=' 4 ' Text='  Beach  '/><item ID='5' Text='lower'/><Other ID='6'/></Select>"
        "<Select Name='Mood'><Item ID='2' Text='Wild'/></Select>"
        "<Select Name='subgenres'><Item ID='9' Text='x'/></Select>"
        "<Select><Item ID='3' Text='nameless'/></Select>"
        "</Tables>",
        true));
    EXPECT_EQ(Items(tables, "Mood"), (LookupList{{1, "Calm"}, {2, "Wild"}}));
    EXPECT_EQ(Items(tables, "Theme"), (LookupList{{4, "Beach"}, {5, "lower"}}));
    EXPECT_EQ(Items(tables, ""), (LookupList{{3, "nameless"}}));
    EXPECT_EQ(tables.Lookup("subgenres"), nullptr);
}

TEST(LookupTables, ClearFirstAndFailedLoads)
{
    CLookupTables tables;
    tables.LoadDefaults();
    const auto before = tables.Lookup("Genres");

    // Without clearing, items are appended to existing tables.
    ASSERT_TRUE(tables.Load("<D><Select Name='Genres'><Item ID='300' Text='Jazz'/></Select></D>", false));
    EXPECT_EQ(Items(tables, "Genres").size(), 3u);
    EXPECT_EQ(before->size(), 2u) << "a list handed out earlier is a stable snapshot";

    EXPECT_FALSE(tables.Load("not a document", true));
    EXPECT_EQ(Items(tables, "Genres").size(), 3u);
    EXPECT_NE(tables.Lookup("Country"), nullptr);

    ASSERT_TRUE(tables.Load("<D><Select Name='Mood'><Item ID='1' Text='Calm'/></Select></D>", true));
    EXPECT_EQ(tables.Lookup("Genres"), nullptr);
    EXPECT_EQ(Items(tables, "Mood").size(), 1u);

    tables.Add("Mood", {2, "Wild"});
    tables.Add("New", {1, "one"});
    EXPECT_EQ(Items(tables, "Mood"), (LookupList{{1, "Calm"}, {2, "Wild"}}));
    EXPECT_EQ(Items(tables, "New"), (LookupList{{1, "one"}}));
    tables.Clear();
    EXPECT_TRUE(tables.Names().empty());
}

// A reader never sees a table between the old and the new content.
TEST(LookupTables, ReadersSeeWholeTablesWhileLoading)
{
    CLookupTables tables;
    const std::string doc =
        "<D><Select Name='Genres'><Item ID='1' Text='a'/><Item ID='2' Text='b'/><Item ID='3' Text='c'/>"
        "</Select><Select Name='Genres'><Item ID='4' Text='d'/></Select></D>";
    tables.Load(doc, true);
    std::atomic<bool> stop{false};
    std::atomic<int> torn{0};
    std::thread reader([&] {
        while (!stop) {
            const auto list = tables.Lookup("Genres");
            if (!list || list->size() != 4)
                ++torn;
        }
    });
    for (int i = 0; i < 200; ++i)
        tables.Load(doc, true);
    stop = true;
    reader.join();
    EXPECT_EQ(torn.load(), 0);
}
