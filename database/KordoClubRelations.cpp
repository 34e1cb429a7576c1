#include "KordoClubRelations.h"

#include <algorithm>

TKordoRelation* KordoFindRelation(std::vector<TKordoRelation>& relations, uint8_t kind,
                                  const TKordoRecordRef& target) {
    for (auto entry = relations.rbegin(); entry != relations.rend(); ++entry)
        if (entry->Kind == kind && entry->Target == target)
            return &*entry;
    return nullptr;
}

bool KordoRemoveRelation(std::vector<TKordoRelation>& relations, uint8_t kind,
                         const TKordoRecordRef& target) {
    auto found = std::find_if(relations.begin(), relations.end(),
                              [&](const TKordoRelation& e) { return e.Kind == kind && e.Target == target; });
    if (found == relations.end())
        return false;
    relations.erase(found);
    return true;
}

void KordoSetRival(TKordoClub& club, TKordoClub* rival, uint16_t amount) {
    TKordoRelation* entry = KordoFindRelation(club.Relations, KordoKindClub, rival);
    if (!entry)
        entry = &club.Relations.emplace_back();
    entry->Kind = KordoKindClub;
    entry->Relation = KordoRelationRivalClub;
    entry->Amount = amount;
    entry->Target = rival;
}

namespace {

int CompareClubRelations(const TKordoRelation& a, const TKordoRelation& b) {
    if (a.Kind == KordoKindClub && b.Kind == KordoKindClub)
        return a.Amount > b.Amount ? -1 : a.Amount < b.Amount ? 1 : 0;
    if (a.Kind == KordoKindClub)
        return -1;
    if (b.Kind == KordoKindClub)
        return 1;
    if (a.Kind == 5 && b.Kind == 5)
        return 0;
    if (a.Kind == 5)
        return -1;
    if (b.Kind == 5)
        return 1;
    return 0;
}

} // namespace

void KordoSortClubRelations(TKordoClub& club) {
    std::vector<TKordoRelation> sorted = club.Relations;
    KordoListSort(sorted, CompareClubRelations);
    club.Relations.clear();
    for (const TKordoRelation& entry : sorted)
        if (entry.Kind == KordoKindClub) {
            TKordoRelation copy = entry;
            copy.Relation = KordoRelationRivalClub;
            copy.Amount = 100;
            club.Relations.push_back(copy);
        }
    club.Relations.insert(club.Relations.end(), sorted.begin(), sorted.end());
}

void KordoCleanClubRelations(TKordoClub& club) {
    std::vector<TKordoRelation> entries;
    entries.swap(club.Relations);
    for (const TKordoRelation& entry : entries) {
        if (entry.Kind != KordoKindClub) {
            club.Relations.push_back(entry);
        } else if (TKordoRelation* rival = KordoFindRelation(club.Relations, KordoKindClub, entry.Target)) {
            rival->Relation = KordoRelationRivalClub;
            rival->Amount = entry.Amount;
        } else {
            // A rival's first occurrence keeps its place and its stored number.
            club.Relations.push_back(entry);
            club.Relations.back().Relation = KordoRelationRivalClub;
        }
    }
}

size_t KordoSavedRelationCount(const TKordoClub& club) {
    return club.Relations.size() + static_cast<size_t>(std::count_if(
                                       club.Relations.begin(), club.Relations.end(),
                                       [](const TKordoRelation& e) { return e.Kind == KordoKindClub; }));
}
