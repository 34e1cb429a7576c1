#include "KordoPreferences.h"

#include "KordoClubRelations.h"
#include "KordoDataWrappers.h"
#include "KordoFunctions.h"

#include <QString>

#include <algorithm>
#include <stdexcept>

namespace {

constexpr int32_t MinimumAmount = 5;
constexpr int32_t MaximumAmount = 100;
constexpr int32_t AmountStep = 5;

std::u16string NationText(const TKordoNation* nation) {
    return nation ? nation->NationSecondName : u"No Nation";
}

} // namespace

void TKordoPreferenceDialog::OpenPreferenceDialog(bool staffMode, bool favourite, bool adding) {
    StaffMode = staffMode;
    Favourite = favourite;
    Caption = adding ? u"Add " : u"Edit ";
    if (staffMode)
        Caption += favourite ? u"Favourite Staff" : u"Disliked Staff";
    else
        Caption += favourite ? u"Favourite Club" : u"Disliked Club";
    StaffName.clear();
    ClubName.clear();
    NationName.clear();
    DateOfBirth.clear();
    FullClubName.clear();
    ChosenStaff = nullptr;
    ChosenClub = nullptr;
    Amount = MaximumAmount;
}

void TKordoPreferenceDialog::PresetPreferenceDialog(const TKordoRecordRef& target, int32_t amount) {
    // The amount box cannot show more than its range.
    Amount = KordoPreferenceAmount(amount);
    Choose(target);
}

void TKordoPreferenceDialog::Choose(const TKordoRecordRef& record) {
    // A record of the other mode's kind is no choice, as none is.
    if (TKordoStaff* staff = StaffMode ? record.Get<TKordoStaff>() : nullptr) {
        ChosenStaff = staff;
        StaffName = StaffDisplayName(*staff);
        const TKordoSquad* squad = staff->ClubSquad;
        ClubName = squad && squad->OwnerClub ? squad->OwnerClub->ShortClubName : u"No Club";
        NationName = NationText(staff->Nation);
        const std::string born = KordoDateText(staff->DateOfBirth());
        DateOfBirth.assign(born.begin(), born.end());
    } else if (TKordoClub* club = StaffMode ? nullptr : record.Get<TKordoClub>()) {
        ChosenClub = club;
        ClubName = club->ShortClubName;
        NationName = NationText(club->Nation);
        FullClubName = club->ClubName;
    }
}

void TKordoPreferenceDialog::seAmountExit() {
    Amount = std::clamp(Amount, MinimumAmount, MaximumAmount) / AmountStep * AmountStep;
}

TKordoPreferenceList KordoPreferenceListOf(std::string_view list) {
    if (list == "lboxFavouriteStaff")
        return {true, true};
    if (list == "lboxDislikedStaff")
        return {true, false};
    if (list == "lboxFavouriteClubs")
        return {false, true};
    if (list == "lboxDislikedClubs")
        return {false, false};
    // A rivalry is chosen like a disliked club.
    if (list == "lboxRivals")
        return {false, false};
    throw std::out_of_range("no preference list " + std::string(list));
}

bool KordoListHolds(const TKordoPreferenceList& list, const TKordoRecordRef& target) {
    return list.StaffMode ? target.Get<TKordoStaff>() != nullptr : target.Get<TKordoClub>() != nullptr;
}

uint16_t KordoPreferenceAmount(int32_t amount) {
    return static_cast<uint16_t>(std::clamp(amount, MinimumAmount, MaximumAmount));
}

std::optional<TKordoRecordRef> KordoLineRecord(const TKordoControl& list, int32_t line) {
    if (line < 0 || line >= static_cast<int32_t>(list.Items.size()))
        return std::nullopt;
    return list.Items[static_cast<size_t>(line)].Record;
}

uint8_t KordoPreferenceKind(std::string_view list) {
    return KordoPreferenceListOf(list).StaffMode ? KordoKindPerson : KordoKindClub;
}

void KordoDeletePreference(std::vector<TKordoRelation>& relations, const TKordoControl& list, int32_t line) {
    if (std::optional<TKordoRecordRef> target = KordoLineRecord(list, line))
        KordoRemoveRelation(relations, KordoPreferenceKind(list.Name), *target);
}

bool KordoEditPreference(std::vector<TKordoRelation>& relations, const TKordoControl& list, int32_t line,
                         TKordoRecordRef target, int32_t amount) {
    std::optional<TKordoRecordRef> old = KordoLineRecord(list, line);
    TKordoRelation* entry =
        old ? KordoFindRelation(relations, KordoPreferenceKind(list.Name), *old) : nullptr;
    if (!entry || !KordoListHolds(KordoPreferenceListOf(list.Name), target))
        return false;
    // No merging: the target may now have two entries of the kind.
    entry->Target = target;
    entry->Amount = KordoPreferenceAmount(amount);
    return true;
}

bool KordoEditRelations(const std::function<bool()>& edit, std::string* refusal, const std::u16string& owner,
                        bool club) {
    if (edit())
        return true;
    if (refusal) {
        std::string name = QString::fromStdU16String(owner).toStdString();
        if (name.empty())
            name = club ? "this club" : "this person";
        *refusal = "The preference list of " + name + " is full (" + std::to_string(KordoMaxRelations) +
                   (club ? " entries, each rival counting twice" : " entries") +
                   "): nothing more can be added. Nothing was changed.";
    }
    return false;
}
