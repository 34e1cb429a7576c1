#include "KordoFunctions.h"

using namespace std::chrono;

std::optional<sys_days> GameDateToDateTime(TKordoGameDate date) {
    if (date.Year == 0 || date.Year > 9999)
        return std::nullopt;
    return sys_days(year(date.Year) / January / 1) + days(date.Day);
}

std::string KordoDateText(TKordoGameDate date) {
    auto padded = [](int value, size_t width) {
        std::string digits = std::to_string(value);
        return std::string(digits.size() < width ? width - digits.size() : 0, '0') + digits;
    };
    if (auto day = GameDateToDateTime(date)) {
        const year_month_day ymd(*day);
        return padded(static_cast<int>(ymd.year()), 4) + "-" +
               padded(static_cast<int>(static_cast<unsigned>(ymd.month())), 2) + "-" +
               padded(static_cast<int>(static_cast<unsigned>(ymd.day())), 2);
    }
    return "year " + std::to_string(date.Year) + " day " + std::to_string(date.Day);
}

int32_t KordoCalendarYear(TKordoGameDate date) {
    if (auto day = GameDateToDateTime(date))
        return static_cast<int>(year_month_day(*day).year());
    return date.Year;
}

TKordoGameDate DateTimeToGameDate(year_month_day date) {
    sys_days first = year(date.year()) / January / 1;
    return TKordoGameDate{static_cast<uint16_t>((sys_days(date) - first).count()),
                          static_cast<uint16_t>(static_cast<int>(date.year()))};
}

TKordoGameDate DateTimeToGameDate(sys_days date) {
    return DateTimeToGameDate(year_month_day(date));
}

bool JobHasContract(uint8_t job) {
    return job != 0 && job != 4 && job != 8 && job != 10 && job != 24;
}

namespace {

struct TJob {
    uint8_t Code;
    const char16_t* Text;
};
constexpr TJob Jobs[] = {
    {0, u"<Unspecified>"},
    {1, u"Player"},
    {2, u"Coach"},
    {3, u"Player / Coach"},
    {4, u"Chairman"},
    {8, u"Managing Director"},
    {10, u"Director Of Football"},
    {12, u"Physio"},
    {14, u"Scout"},
    {16, u"Manager"},
    {17, u"Player / Manager"},
    {20, u"Assistant Manager"},
    {21, u"Player / Assistant Manager"},
    {24, u"General Manager"},
};

} // namespace

std::u16string JobText(uint8_t job) {
    for (const TJob& entry : Jobs)
        if (entry.Code == job)
            return entry.Text;
    return {};
}

const std::vector<uint8_t>& JobCodes() {
    static const std::vector<uint8_t> codes = [] {
        std::vector<uint8_t> result;
        for (const TJob& entry : Jobs)
            result.push_back(entry.Code);
        return result;
    }();
    return codes;
}

std::u16string StaffTypeText(uint8_t staffType) {
    switch (staffType) {
    case KordoStaffNonPlayer:
        return u"Non Player";
    case KordoStaffPlayer:
        return u"Player";
    case KordoStaffPlayerNonPlayer:
        return u"Player / Non Player";
    case KordoStaffReferee:
        return u"Referee";
    default:
        return {};
    }
}

std::u16string StaffDisplayName(const TKordoStaff& staff) {
    if (staff.CommonName)
        return staff.CommonName->Name;
    std::u16string result;
    if (staff.SecondName)
        result = staff.SecondName->Name;
    if (staff.FirstName) {
        if (result.empty())
            result = staff.FirstName->Name;
        else
            result += u", " + staff.FirstName->Name;
    }
    return result;
}

std::vector<TKordoSquad*> KordoClubSquads(const TKordoClub& club) {
    std::vector<TKordoSquad*> squads;
    for (TKordoSquad* squad : club.Squads)
        if (squad)
            squads.push_back(squad);
    return squads;
}
