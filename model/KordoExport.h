// Tables of a loaded database as CSV (UTF-8, a header row, RFC 4180 quoting) or JSON (an array of
// objects, texts in full Unicode, numbers as numbers), for spreadsheets and scripts.
#pragma once

#include "KordoPregameDatabase.h"
#include "KordoSearch.h"

#include <ostream>
#include <string>

enum class TKordoExportFormat { Csv, Json };
enum class TKordoExportTable { People, Clubs, Nations };

// Each writes one row per record of the table, in table order. A cell the record has no value for
// (an attribute of another staff type, a person without a club) is empty in CSV and null in JSON.
// Returns false when the stream failed.
bool KordoExportPeople(TKordoPregameDatabase& database, std::ostream& out, TKordoExportFormat format);
bool KordoExportClubs(TKordoPregameDatabase& database, std::ostream& out, TKordoExportFormat format);
bool KordoExportNations(TKordoPregameDatabase& database, std::ostream& out, TKordoExportFormat format);
bool KordoExportTable(TKordoPregameDatabase& database, TKordoExportTable table, std::ostream& out,
                      TKordoExportFormat format);

// The rows of a search as its list shows them, in its order, a column per column of the list (number
// columns as numbers). An empty cell is empty in CSV and null in JSON.
bool KordoExportSearch(const TKordoSearch& search, std::ostream& out, TKordoExportFormat format);

// Appends the UTF-8 form of UTF-16 text; an unpaired surrogate becomes U+FFFD.
void KordoAppendUtf8(std::string& out, std::u16string_view text);
