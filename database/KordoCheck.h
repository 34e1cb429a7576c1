// Finds what in a loaded database would hurt the game or the editor: references that did not
// resolve, names out of their nation's group, counters that disagree with a recount, lists longer
// than the file can store, duplicate identifiers, attribute records used by no one or by two people,
// own numbers that differ from the row, and bytes after the last table.
#pragma once

#include "KordoPregameDatabase.h"

#include <string>
#include <vector>

// One line per finding, each naming the record. The database must be loaded (indexed).
std::vector<std::string> KordoCheckDatabase(const TKordoPregameDatabase& database);

std::string KordoToUtf8(const std::u16string& text);
