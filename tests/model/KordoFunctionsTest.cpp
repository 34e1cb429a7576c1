#include "KordoFunctions.h"

#include <gtest/gtest.h>

using namespace std::chrono;

namespace {

TKordoGameDate Game(uint16_t day, uint16_t year) {
    return TKordoGameDate{day, year};
}

} // namespace

TEST(GameDates, ConvertBothWaysAtTheYearBoundaries) {
    EXPECT_EQ(GameDateToDateTime(Game(0, 1900)), sys_days(1900y / January / 1));
    EXPECT_EQ(DateTimeToGameDate(2000y / December / 31), Game(365, 2000));
    EXPECT_EQ(DateTimeToGameDate(2001y / December / 31), Game(364, 2001));
    EXPECT_EQ(DateTimeToGameDate(2004y / March / 1), Game(60, 2004));
    // No bound on the day: it runs on into the next year.
    EXPECT_EQ(GameDateToDateTime(Game(365, 2001)), sys_days(2002y / January / 1));
}

TEST(GameDates, EveryDayOfALeapAndACommonYearRoundTrips) {
    for (sys_days day = 1999y / January / 1; day <= sys_days(2000y / December / 31); day += days(1)) {
        TKordoGameDate game = DateTimeToGameDate(day);
        EXPECT_EQ(GameDateToDateTime(game), day);
        EXPECT_EQ(DateTimeToGameDate(*GameDateToDateTime(game)), game);
    }
}

TEST(GameDates, YearsTheCalendarCannotHoldGiveNoDate) {
    EXPECT_FALSE(GameDateToDateTime(Game(10, 0)).has_value());
    EXPECT_FALSE(GameDateToDateTime(Game(0, 10000)).has_value());
    EXPECT_TRUE(GameDateToDateTime(Game(0, 9999)).has_value());
}

TEST(Jobs, OnlyBoardJobsAndTheUnspecifiedJobHaveNoContract) {
    for (int code : {0, 4, 8, 10, 24})
        EXPECT_FALSE(JobHasContract(static_cast<uint8_t>(code))) << code;
    for (int code : {1, 3, 14, 16, 21, 5, 255})
        EXPECT_TRUE(JobHasContract(static_cast<uint8_t>(code))) << code;
    EXPECT_EQ(JobText(21), u"Player / Assistant Manager");
    EXPECT_EQ(JobText(5), u"");
}

TEST(DisplayName, CommonNameWinsThenSecondCommaFirst) {
    TKordoName first, second, common, empty;
    first.Name = u"John";
    second.Name = u"Smith";
    common.Name = u"Pelé";
    TKordoStaff staff;
    EXPECT_EQ(StaffDisplayName(staff), u"");
    staff.FirstName = &first;
    EXPECT_EQ(StaffDisplayName(staff), u"John");
    staff.SecondName = &second;
    EXPECT_EQ(StaffDisplayName(staff), u"Smith, John");
    staff.CommonName = &common;
    EXPECT_EQ(StaffDisplayName(staff), u"Pelé");
    staff.CommonName = nullptr;
    staff.FirstName = nullptr;
    EXPECT_EQ(StaffDisplayName(staff), u"Smith");
    staff.SecondName = &empty; // an empty second name gives no comma
    staff.FirstName = &first;
    EXPECT_EQ(StaffDisplayName(staff), u"John");
}
