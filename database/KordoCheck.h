// Finds what in a loaded database would hurt the game or the editor: references that did not
// resolve, names out of their nation's group, counters that disagree with a recount, lists longer
// than the file can store, duplicate identifiers, attribute records used by no one or by two people,
// own numbers that differ from the row, texts with control characters or longer than 255 characters, a
// club that is its own rival, attribute table sizes in the Staff header that disagree with the tables,
// and bytes after the last table.
#pragma once

#include "KordoPregameDatabase.h"

#include <string>
#include <string_view>
#include <vector>

// One line per finding, each naming the record. The database must be loaded (indexed).
std::vector<std::string> KordoCheckDatabase(const TKordoPregameDatabase& database);

std::string KordoToUtf8(const std::u16string& text);
// Whether a text holds a control character (U+0000 to U+001F, U+007F to U+009F): the game cannot show
// one, and a line break or NUL in a name breaks the lines of every tool that lists names.
bool KordoHasControlCharacter(std::u16string_view text);
