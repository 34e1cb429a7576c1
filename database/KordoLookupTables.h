// The ten small tables whose records the editor keeps but never changes: awards, cities, club
// competitions, continents, injuries, media, languages, stadiums, stages and weather.
#pragma once

#include "KordoContainer.h"

// One piece of a record in the file: a byte range of the image, or (Length 0) a wide string for the
// text slot at Offset.
struct TKordoPiece {
    uint16_t Offset;
    uint16_t Length;
};

template <size_t Size, size_t TextCount> struct TKordoLookupRecord : TKordoImage<Size> {
    std::array<std::u16string, TextCount> Texts;
};

template <class Record, size_t PieceCount> class TKordoLookupTable : public TKordoContainer {
public:
    TKordoLookupTable(const char* tableName, const std::array<TKordoPiece, PieceCount>& pieces)
        : Pieces(pieces) {
        TableName = tableName;
    }
    ~TKordoLookupTable() override { Clear(); }
    void Clear() override {
        Records.clear();
        Records.shrink_to_fit();
    }
    int32_t Count() const { return static_cast<int32_t>(Records.size()); }
    Record* Item(int32_t row) { return &Records[static_cast<size_t>(row)]; }
    const Record* Item(int32_t row) const { return &Records[static_cast<size_t>(row)]; }

    void LoadFromStream(TKordoFileStream& stream) {
        stream.SetTable(TableName);
        int32_t count = stream.ReadValue<int32_t>();
        stream.CheckCount(count, MinFileSize(), "record count");
        Records.clear();
        Records.resize(static_cast<size_t>(count));
        for (int32_t row = 0; row < count; ++row) {
            stream.SetRecord(row);
            Record& record = Records[static_cast<size_t>(row)];
            size_t text = 0;
            for (const TKordoPiece& piece : Pieces) {
                if (piece.Length == 0)
                    stream.ReadWideString(record.Texts[text++]);
                else
                    stream.Read(record.Image.data() + piece.Offset, piece.Length);
            }
            ReportProgress(count, row);
        }
    }

    void SaveToStream(TKordoFileStream& stream) const {
        stream.SetTable(TableName);
        stream.WriteValue<int32_t>(Count());
        for (int32_t row = 0; row < Count(); ++row) {
            stream.SetRecord(row);
            const Record& record = Records[static_cast<size_t>(row)];
            size_t text = 0;
            for (const TKordoPiece& piece : Pieces) {
                if (piece.Length == 0)
                    stream.WriteWideString(record.Texts[text++]);
                else
                    stream.Write(record.Image.data() + piece.Offset, piece.Length);
            }
            ReportProgress(Count(), row);
        }
    }

    // The fewest bytes a record can take in the file (every text empty).
    int64_t MinFileSize() const {
        int64_t size = 0;
        for (const TKordoPiece& piece : Pieces)
            size += piece.Length == 0 ? 4 : piece.Length;
        return size;
    }

    TKordoRecordArray<Record> Records;

private:
    std::array<TKordoPiece, PieceCount> Pieces;
};

constexpr uint16_t KordoText = 0; // a piece of Length 0 is a wide string

using TKordoAward = TKordoLookupRecord<43, 0>;
struct TKordoCity : TKordoLookupRecord<34, 1> {
    // The city's own row: what a person's City reference is written back as.
    KORDO_FIELD(int32_t, CityIndex, 26)
};
using TKordoClubCompetition = TKordoLookupRecord<43, 0>;
using TKordoContinent = TKordoLookupRecord<17, 0>;
using TKordoInjury = TKordoLookupRecord<28, 2>;
using TKordoMedia = TKordoLookupRecord<59, 2>;
using TKordoLanguage = TKordoLookupRecord<26, 1>;
using TKordoStadium = TKordoLookupRecord<47, 0>;
using TKordoStage = TKordoLookupRecord<24, 3>;
using TKordoWeather = TKordoLookupRecord<92, 1>;

class TKordoAwards : public TKordoLookupTable<TKordoAward, 1> {
public:
    TKordoAwards() : TKordoLookupTable("Awards", {{{0, 43}}}) {}
};
class TKordoCities : public TKordoLookupTable<TKordoCity, 3> {
public:
    TKordoCities() : TKordoLookupTable("Cities", {{{0, 19}, {19, KordoText}, {23, 11}}}) {}
};
class TKordoClubCompetitions : public TKordoLookupTable<TKordoClubCompetition, 1> {
public:
    TKordoClubCompetitions() : TKordoLookupTable("Club Competitions", {{{0, 43}}}) {}
};
class TKordoContinents : public TKordoLookupTable<TKordoContinent, 1> {
public:
    TKordoContinents() : TKordoLookupTable("Continents", {{{0, 17}}}) {}
};
class TKordoInjuries : public TKordoLookupTable<TKordoInjury, 5> {
public:
    TKordoInjuries()
        : TKordoLookupTable("Injuries", {{{0, 1}, {1, KordoText}, {5, 2}, {7, KordoText}, {11, 17}}}) {}
};
class TKordoMedias : public TKordoLookupTable<TKordoMedia, 5> {
public:
    TKordoMedias()
        : TKordoLookupTable("Media", {{{0, 1}, {1, KordoText}, {5, 1}, {6, KordoText}, {10, 49}}}) {}
};
class TKordoLanguages : public TKordoLookupTable<TKordoLanguage, 3> {
public:
    TKordoLanguages() : TKordoLookupTable("Languages", {{{0, 1}, {1, KordoText}, {5, 21}}}) {}
};
class TKordoStadiums : public TKordoLookupTable<TKordoStadium, 1> {
public:
    TKordoStadiums() : TKordoLookupTable("Stadiums", {{{0, 47}}}) {}
};
class TKordoStages : public TKordoLookupTable<TKordoStage, 7> {
public:
    TKordoStages()
        : TKordoLookupTable(
              "Stages",
              {{{0, 1}, {1, KordoText}, {5, 1}, {6, KordoText}, {10, 1}, {11, KordoText}, {15, 9}}}) {}
};
class TKordoWeathers : public TKordoLookupTable<TKordoWeather, 3> {
public:
    TKordoWeathers() : TKordoLookupTable("Weather", {{{0, 1}, {1, KordoText}, {5, 87}}}) {}
};
