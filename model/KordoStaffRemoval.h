// Taking a person out of the database without leaving anything that points at him.
#pragma once

#include "KordoPregameDatabase.h"

// Takes the person out of the database: out of the lists of his jobs, his names released, his
// nation's count lowered, his attribute records given back; then every other reference to him (other
// people's and clubs' preferences, squad and club lists, managers and chairmen, contract employers
// excepted as they name clubs and nations) is removed, and he leaves the staff table's list. The caller
// removes any list row that shows him first. Every record written is touched in the database's
// journal first, when it has one.
void KordoDeleteStaff(TKordoPregameDatabase& database, TKordoStaff* staff);
