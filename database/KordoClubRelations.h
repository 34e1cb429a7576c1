// A club's relation list: its rival clubs and its favourite and disliked people. Saving writes every
// rival twice (a leading copy with Amount 100, then the real entry); loading folds the copies again.
#pragma once

#include "KordoRecords.h"

// The last entry of this kind whose Target is the record, or nullptr.
TKordoRelation* KordoFindRelation(std::vector<TKordoRelation>& relations, uint8_t kind,
                                  const TKordoRecordRef& target);
// The first entry of this kind whose Target is the record is removed; false when there is none.
bool KordoRemoveRelation(std::vector<TKordoRelation>& relations, uint8_t kind, const TKordoRecordRef& target);

// Sets the club's rival entry for the target club (the last one found, or a new one at the end).
void KordoSetRival(TKordoClub& club, TKordoClub* rival, uint16_t amount);
// Rivals first (strongest first), then entries of kind 5, then the rest, with the list sort; then a
// copy of every rival with Amount 100 in front.
void KordoSortClubRelations(TKordoClub& club);
// Each rival club once, as a rival, at its first place, with the Amount of its last occurrence.
void KordoCleanClubRelations(TKordoClub& club);
// How many entries the club's list takes in the file once saving has doubled its rivals.
size_t KordoSavedRelationCount(const TKordoClub& club);
