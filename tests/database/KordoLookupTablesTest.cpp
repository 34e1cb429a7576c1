#include "KordoLookupTables.h"
#include "TestBytes.h"

namespace {

TByteVector City(const std::u16string& text, int32_t cityIndex) {
    return TBytes().Pattern(19, 0x10).Text(text).Pattern(3, 0x40).Int(cityIndex).Pattern(4, 0x50).Data;
}

TEST(LookupTables, CityTakes34BytesPlusItsTextAndReportsProgressPerRecord) {
    EXPECT_EQ(City(u"", 0).size(), 34u);
    EXPECT_EQ(City(u"Oslo", 0).size(), 34u + 2 * 4 + 2);
    TByteVector bytes = Table({City(u"", 0), City(u"Oslo", 1), City(u"", 2)});
    TKordoCities cities;
    std::vector<int32_t> progress;
    cities.OnProgress = [&](int32_t percent) { progress.push_back(percent); };
    Load(cities, bytes);
    EXPECT_EQ(cities.Item(1)->Texts[0], u"Oslo");
    EXPECT_EQ(cities.Item(1)->CityIndex(), 1);
    EXPECT_EQ(Save(cities), bytes);
    cities.Clear();
    Load(cities, Table({}));
    EXPECT_EQ(Save(cities), Table({}));
    EXPECT_EQ(progress, (std::vector<int32_t>{33, 66, 100, 33, 66, 100})); // none for no records
}

TEST(LookupTables, StageKeepsItsThreeTextsInSlotOrder) {
    TKordoStages stages;
    Load(stages,
         Table({TBytes().U8(0xA1).Text(u"one").U8(0xA2).Text(u"two").U8(0xA3).Text(u"").Pattern(9, 0).Data}));
    EXPECT_EQ(stages.Records.at(0).Texts, (std::array<std::u16string, 3>{u"one", u"two", u""}));
    EXPECT_EQ(stages.Records.at(0).Image[10], 0xA3);
}

TEST(LookupTables, TruncatedTableNamesTheRecordItBreaksIn) {
    // Record 0 spans bytes 4..99, record 1 bytes 100..133. A cut before byte 72 leaves fewer bytes
    // than two records need at least (2 × 34), which the count check refuses up front.
    TByteVector bytes = Table({City(std::u16string(30, u'c'), 0), City(u"", 1)});
    for (size_t cut = 4; cut < bytes.size(); ++cut) {
        SCOPED_TRACE("truncated to " + std::to_string(cut) + " bytes");
        std::string error = LoadFrom(TByteVector(bytes.begin(), bytes.begin() + static_cast<long>(cut)),
                                     Loader<TKordoCities>());
        ExpectMentions(error, {TestFileName, "table Cities", "byte offset",
                               cut < 72    ? "record count"
                               : cut < 100 ? "record 0,"
                                           : "record 1,"});
    }
    for (int32_t count : {-1, 0x7fffffff})
        ExpectMentions(LoadFrom(TBytes().Int(count).Pattern(10, 0).Data, Loader<TKordoWeathers>()),
                       {"table Weather", "record count"});
}

} // namespace
