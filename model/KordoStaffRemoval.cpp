#include "KordoStaffRemoval.h"

#include "KordoDataWrappers.h"

#include <algorithm>

namespace {

// Takes every reference to the person out of the list, touching the list's owner first when it names
// him.
template <class Owner, class T>
void Erase(TKordoChangeJournal* journal, Owner& owner, std::vector<T*>& list, const TKordoStaff* staff) {
    if (std::find(list.begin(), list.end(), staff) == list.end())
        return;
    KordoTouch(journal, &owner);
    list.erase(std::remove(list.begin(), list.end(), staff), list.end());
}

template <class Owner> void EraseRelations(TKordoChangeJournal* journal, Owner& owner, TKordoStaff* staff) {
    auto names = [&](const TKordoRelation& entry) {
        return entry.Kind == KordoKindPerson && entry.Target == TKordoRecordRef(staff);
    };
    if (std::none_of(owner.Relations.begin(), owner.Relations.end(), names))
        return;
    KordoTouch(journal, &owner);
    std::erase_if(owner.Relations, names);
}

template <class Owner>
void ClearPost(TKordoChangeJournal* journal, Owner& owner, TKordoStaff*& post, const TKordoStaff* staff) {
    if (post != staff)
        return;
    KordoTouch(journal, &owner);
    post = nullptr;
}

} // namespace

void KordoDeleteStaff(TKordoPregameDatabase& database, TKordoStaff* staff) {
    if (!staff)
        return;
    TKordoChangeJournal* journal = database.Journal();
    KordoTouch(journal, staff);
    TKordoStaffWrapper wrapper(staff, journal);
    wrapper.LeaveClubJob();
    wrapper.LeaveNationJob();

    for (auto [name, table] : {std::pair{staff->FirstName, &database.FirstNames},
                               std::pair{staff->SecondName, &database.SecondNames},
                               std::pair{staff->CommonName, &database.CommonNames}})
        if (name)
            table->Release(name);
    staff->FirstName = staff->SecondName = staff->CommonName = nullptr;
    // A damaged count of 0 stays 0 rather than wrap to four thousand million.
    if (staff->Nation && staff->Nation->StaffCount() > 0) {
        KordoTouch(journal, staff->Nation);
        staff->Nation->SetStaffCount(staff->Nation->StaffCount() - 1);
    }

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
        Erase(journal, squad, squad.Players, staff);
        Erase(journal, squad, squad.Coaches, staff);
        Erase(journal, squad, squad.Physios, staff);
        ClearPost(journal, squad, squad.Manager, staff);
    }
    for (TKordoClub& club : database.Clubs.Records) {
        Erase(journal, club, club.BoardMembers, staff);
        Erase(journal, club, club.Scouts, staff);
        ClearPost(journal, club, club.Chairman, staff);
        EraseRelations(journal, club, staff);
    }
    for (TKordoStaff* other : database.Staffs.List())
        if (other != staff)
            EraseRelations(journal, *other, staff);

    database.Staffs.RemoveStaff(staff);
}
