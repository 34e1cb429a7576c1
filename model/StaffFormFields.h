// What the staff editor's filling and confirming share: which pages a staff type shows and where a
// plain number control's value is stored.
#pragma once

#include "KordoForm.h"
#include "KordoJournal.h"

#include <cstring>
#include <string_view>

namespace StaffFormFields {

// Which pages a staff type shows, and so which stored values the pages hold.
inline bool PageShownFor(std::string_view page, int32_t type) {
    if (page == "tsContract" || page == "tsMental" || page == "tsPreferences")
        return type != KordoStaffReferee;
    if (page == "tsAbility" || page == "tsTechnical" || page == "tsMentalPhysical")
        return type == KordoStaffPlayer || type == KordoStaffPlayerNonPlayer;
    if (page == "tsNonPlayer" || page == "tsCoaching")
        return type == KordoStaffNonPlayer || type == KordoStaffPlayerNonPlayer;
    if (page == "tsReferee")
        return type == KordoStaffReferee;
    return true;
}

// The image a plain number lives in, or nullptr when the person has no such record.
inline uint8_t* StoreImage(TKordoStaff& staff, TKordoStore store) {
    switch (store) {
    case TKordoStore::Staff:
        return staff.Image.data();
    case TKordoStore::Mental:
        return staff.MentalAtts ? staff.MentalAtts->Image.data() : nullptr;
    case TKordoStore::Player:
        return staff.PlayerAtts ? staff.PlayerAtts->Image.data() : nullptr;
    case TKordoStore::NonPlayer:
        return staff.NonPlayerAtts ? staff.NonPlayerAtts->Image.data() : nullptr;
    case TKordoStore::None:
        break;
    }
    return nullptr;
}

// Touches the attribute record a plain number lives in (the person himself is touched before any
// write).
inline void TouchStore(TKordoChangeJournal* journal, TKordoStaff& staff, TKordoStore store) {
    switch (store) {
    case TKordoStore::Mental:
        KordoTouch(journal, staff.MentalAtts);
        break;
    case TKordoStore::Player:
        KordoTouch(journal, staff.PlayerAtts);
        break;
    case TKordoStore::NonPlayer:
        KordoTouch(journal, staff.NonPlayerAtts);
        break;
    case TKordoStore::Staff:
    case TKordoStore::None:
        break;
    }
}

inline int32_t ReadField(const uint8_t* image, const TKordoFieldRef& field) {
    if (field.Width == 2) {
        int16_t value;
        std::memcpy(&value, image + field.Offset, sizeof value);
        return value;
    }
    return image[field.Offset];
}

// The value is stored with the field's width: its low 8 or 16 bits.
inline void WriteField(uint8_t* image, const TKordoFieldRef& field, int32_t value) {
    if (field.Width == 2) {
        auto narrow = static_cast<int16_t>(value);
        std::memcpy(image + field.Offset, &narrow, sizeof narrow);
    } else {
        image[field.Offset] = static_cast<uint8_t>(value);
    }
}

} // namespace StaffFormFields
