#include "client/catalogue/OleDateTime.h"

#include <gtest/gtest.h>

TEST(OleDateTime, DayCountsFollowTheOleEpochOnBothSides)
{
    struct Case {
        int y, mo, d, h, mi, s;
        double days;
    } cases[] = {
        {1899, 12, 30, 0, 0, 0, 0.0},    {1899, 12, 31, 0, 0, 0, 1.0},      {1900, 1, 1, 0, 0, 0, 2.0},
        {1899, 12, 29, 6, 0, 0, -1.25},  // the fraction counts forward before the epoch
        {1899, 12, 30, 12, 0, 0, 0.5},   {2000, 2, 29, 18, 0, 0, 36585.75}, {2026, 12, 10, 0, 0, 0, 46366.0},
        {100, 1, 1, 0, 0, 0, -657434.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.days);
        const COleDateTime value = COleDateTime::FromParts(c.y, c.mo, c.d, c.h, c.mi, c.s);
        ASSERT_TRUE(value.IsValid());
        EXPECT_DOUBLE_EQ(value.GetDays(), c.days);
        COleDateTime::Parts back{};
        ASSERT_TRUE(value.GetParts(back));
        EXPECT_EQ(back.year, c.y);
        EXPECT_EQ(back.month, c.mo);
        EXPECT_EQ(back.day, c.d);
        EXPECT_EQ(back.hour, c.h);
    }
    EXPECT_FALSE(COleDateTime::FromParts(2026, 2, 29).IsValid());
    EXPECT_FALSE(COleDateTime::FromParts(99, 1, 1).IsValid());
    EXPECT_FALSE(COleDateTime::FromParts(2026, 1, 1, 24).IsValid());
}

TEST(OleDateTime, ParsesTheUsualFormsAndRejectsTheRest)
{
    struct Case {
        const char* text;
        DateOrder order;
        const char* iso;  // nullptr: does not parse
    } cases[] = {
        {"12/10/2026", DateOrder::MonthDayYear, "2026-12-10 00:00:00"},
        {"12/10/2026", DateOrder::DayMonthYear, "2026-10-12 00:00:00"},
        {"2026-12-10 05:22:07", DateOrder::DayMonthYear, "2026-12-10 05:22:07"},
        {"2026-12-10T05:22", DateOrder::MonthDayYear, "2026-12-10 05:22:00"},
        {"2002-03-15 14:30:00.0", DateOrder::MonthDayYear, "2002-03-15 14:30:00"},
        {"3/15/02 2:30 PM", DateOrder::MonthDayYear, "2002-03-15 14:30:00"},
        {"3/15/99 12:05 am", DateOrder::MonthDayYear, "1999-03-15 00:05:00"},
        {"Dec 10, 2026", DateOrder::DayMonthYear, "2026-12-10 00:00:00"},
        {"10 December 2026 23:59:59", DateOrder::MonthDayYear, "2026-12-10 23:59:59"},
        {"  1.2.2003  ", DateOrder::DayMonthYear, "2003-02-01 00:00:00"},
        {"14:30", DateOrder::MonthDayYear, "1899-12-30 14:30:00"},
        {"", DateOrder::MonthDayYear, nullptr},
        {"yesterday", DateOrder::MonthDayYear, nullptr},
        {"2/30/2003", DateOrder::MonthDayYear, nullptr},
        {"13/13/2003", DateOrder::MonthDayYear, nullptr},
        {"12/10/2026 25:00", DateOrder::MonthDayYear, nullptr},
        {"12/10-2026", DateOrder::MonthDayYear, nullptr},
        {"13:00 PM", DateOrder::MonthDayYear, nullptr},
        {"12/10/2026 x", DateOrder::MonthDayYear, nullptr},
        {"1/1/10000", DateOrder::MonthDayYear, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        COleDateTime value;
        const bool parsed = value.ParseDateTime(c.text, c.order);
        EXPECT_EQ(parsed, c.iso != nullptr);
        EXPECT_EQ(value.IsValid(), c.iso != nullptr);
        if (c.iso) {
            EXPECT_EQ(value.FormatIso(), c.iso);
        }
    }
}

TEST(OleDateTime, AFailedParseLeavesAnInvalidValue)
{
    COleDateTime value = COleDateTime::FromParts(2026, 12, 10);
    EXPECT_FALSE(value.ParseDateTime("not a date", DateOrder::MonthDayYear));
    EXPECT_EQ(value.GetStatus(), COleDateTime::invalid);
    EXPECT_EQ(value.FormatIso(), "");
}
