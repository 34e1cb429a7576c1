#include "KordoStaffRemoval.h"

#include "KordoDataWrappers.h"

#include <algorithm>

namespace {

template <class T> void Erase(std::vector<T*>& list, const TKordoStaff* staff) {
    list.erase(std::remove(list.begin(), list.end(), staff), list.end());
}

void EraseRelations(std::vector<TKordoRelation>& relations, TKordoStaff* staff) {
    relations.erase(std::remove_if(relations.begin(), relations.end(),
                                   [&](const TKordoRelation& entry) {
                                       return entry.Kind == KordoKindPerson && entry.Target == staff;
                                   }),
                    relations.end());
}

} // namespace

void KordoDeleteStaff(TKordoPregameDatabase& database, TKordoStaff* staff) {
    if (!staff)
        return;
    TKordoStaffWrapper wrapper(staff);
    wrapper.LeaveClubJob();
    wrapper.LeaveNationJob();

    for (auto [name, table] : {std::pair{staff->FirstName, &database.FirstNames},
                               std::pair{staff->SecondName, &database.SecondNames},
                               std::pair{staff->CommonName, &database.CommonNames}})
        if (name)
            table->Release(name);
    staff->FirstName = staff->SecondName = staff->CommonName = nullptr;
    // A damaged count of 0 stays 0 rather than wrap to four thousand million.
    if (staff->Nation && staff->Nation->StaffCount() > 0)
        staff->Nation->SetStaffCount(staff->Nation->StaffCount() - 1);

    if (staff->MentalAtts)
        database.MentalAtts.GiveBack(staff->MentalAtts);
    if (staff->PlayerAtts)
        database.PlayerAtts.GiveBack(staff->PlayerAtts);
    if (staff->NonPlayerAtts)
        database.NonPlayerAtts.GiveBack(staff->NonPlayerAtts);
    staff->MentalAtts = nullptr;
    staff->PlayerAtts = nullptr;
    staff->NonPlayerAtts = nullptr;

    // The lists of his jobs are not the only places that name him: a stored list may carry him where
    // his job does not say, and other people and clubs keep him among their preferences. Saving
    // would write his ID into all of them, pointing at nobody.
    for (TKordoSquad& squad : database.Squads.Records) {
        Erase(squad.Players, staff);
        Erase(squad.Coaches, staff);
        Erase(squad.Physios, staff);
        if (squad.Manager == staff)
            squad.Manager = nullptr;
    }
    for (TKordoClub& club : database.Clubs.Records) {
        Erase(club.BoardMembers, staff);
        Erase(club.Scouts, staff);
        if (club.Chairman == staff)
            club.Chairman = nullptr;
        EraseRelations(club.Relations, staff);
    }
    for (TKordoStaff* other : database.Staffs.List())
        if (other != staff)
            EraseRelations(other->Relations, staff);

    database.Staffs.RemoveStaff(staff);
    database.Modified = true;
}
