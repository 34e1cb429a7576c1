// Small shared functions: game dates and calendar dates, job codes, display names.
#pragma once

#include "KordoRecords.h"

#include <chrono>
#include <optional>
#include <string>
#include <vector>

// The calendar date of a game date: 1 January of its year plus its day, with no bound on the day.
// A year the calendar cannot hold (0, or above 9999) gives no date.
std::optional<std::chrono::sys_days> GameDateToDateTime(TKordoGameDate date);
// The game date of a calendar day (any time of day is dropped by the caller's sys_days).
TKordoGameDate DateTimeToGameDate(std::chrono::sys_days date);
TKordoGameDate DateTimeToGameDate(std::chrono::year_month_day date);

// The date as "YYYY-MM-DD", or "year Y day D" for a date the calendar cannot show.
std::string KordoDateText(TKordoGameDate date);
// The year of the calendar date (a day past the year's end falls in a later one), or the stored year
// when the calendar cannot show the date.
int32_t KordoCalendarYear(TKordoGameDate date);

// Whether a job carries contract details (wage, expiry, squad number): every code but 0, 4, 8, 10, 24.
bool JobHasContract(uint8_t job);
// The job's text, or an empty string for a code without a name.
std::u16string JobText(uint8_t job);
// The codes that have a text, in code order.
const std::vector<uint8_t>& JobCodes();
// "Non Player", "Player", "Player / Non Player", "Referee"; empty for other types.
std::u16string StaffTypeText(uint8_t staffType);

// The common name, or "second, first", or whichever of the two is set; empty without names.
std::u16string StaffDisplayName(const TKordoStaff& staff);

// What a line shows for a record without a name, or for a reference that resolved to nothing.
inline constexpr const char16_t* KordoNoNameText = u"<No Name>";

// The club's squads that resolved on loading, in the club's order: a stored squad number that names
// no squad is kept for the file but is no squad of the club.
std::vector<TKordoSquad*> KordoClubSquads(const TKordoClub& club);
