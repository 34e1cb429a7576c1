// The editors' presentation models: every control of an editor frame as plain data (its value, its
// items and selection, whether it is enabled) and every page with its visibility. The frames only copy
// values between their widgets and a form and call the form's rules, so tests and the command-line
// tool run every rule of an editor without a window.
//
// A form also remembers each control's value at the moment a record finished filling it: at confirm,
// a control that still holds that value counts as unchanged and stands for what the record stores,
// whatever the control can display.
#pragma once

#include "KordoRecords.h"

#include <chrono>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

enum class TKordoControlKind : uint8_t {
    Edit,        // a line of text
    Spin,        // a whole number between Minimum and Maximum
    Date,        // a calendar date, or none for a stored date the calendar cannot show
    IntegerList, // a drop-down list whose items carry a code
    PointerList, // a drop-down list whose items carry a record (or none)
    ListBox,     // a list of lines, each carrying a record
};

struct TKordoListItem {
    std::u16string Text;
    int32_t Code = -1;        // integer lists
    TKordoRecordRef Record{}; // pointer lists and list boxes
    bool operator==(const TKordoListItem&) const = default;
};

// Where a plain number control's value is stored: a field of the record or of one of its attribute
// records, by byte offset and width.
enum class TKordoStore : uint8_t { None, Staff, Mental, Player, NonPlayer };
struct TKordoFieldRef {
    TKordoStore Store = TKordoStore::None;
    uint16_t Offset = 0;
    uint8_t Width = 1; // 1: an unsigned byte; 2: a signed 16-bit number
};

// What counts as a control's value, by its kind: the text, the number, the date, or the selected
// item's code and record (lists and list boxes).
struct TKordoControlValue {
    std::u16string Text;
    int32_t Number = 0;
    std::optional<std::chrono::sys_days> Date;
    int32_t Code = -1;
    TKordoRecordRef Record{};
    bool operator==(const TKordoControlValue&) const = default;
};

struct TKordoControl {
    // What the control is; fixed when the form is made.
    std::string Name; // its object name ("edFirstName")
    TKordoControlKind Kind = TKordoControlKind::Edit;
    std::string Page;       // the name of the page it is on ("tsGeneral")
    std::u16string Heading; // the bold heading it stands under on its page, empty for none
    std::u16string Label;   // the label beside it ("First Name:"), empty for none
    int32_t Minimum = 0;    // spin edits
    int32_t Maximum = 0;
    int32_t Step = 1;      // spin edits: what one click of the arrows adds
    bool ReadOnly = false; // shown, never edited (the picture ID)
    bool Sorted = false;   // lists: items kept in the lists' collation order of their texts
    TKordoFieldRef Field;  // plain numbers: where the value lives

    // Its state.
    std::u16string Text; // Edit
    int32_t Number = 0;  // Spin; may lie outside the range when a record holds such a value
    std::optional<std::chrono::sys_days> Date; // Date; none: "not set"
    std::vector<TKordoListItem> Items;         // lists, in display order
    int32_t Selected = -1;                     // lists: the selected item's index, -1 for none
    uint32_t ItemsVersion = 0;                 // moves on every change of Items (not on the same again)
    bool Enabled = true;

    // Lists.
    void ClearItems();
    // Appends the item, or for a sorted list inserts it at its place in collation order (after the
    // items that collate equal). Moves the selection with the item it was on.
    void AddItem(TKordoListItem item);
    // Replaces every item at once, with nothing selected: the same items in the same order as adding
    // them one by one, but sorted in one pass (thousands of clubs).
    void SetItems(std::vector<TKordoListItem> items);
    // Selects the first item with the code or record; with no item carrying it, nothing is selected.
    void SelectCode(int32_t code);
    void SelectRecord(const TKordoRecordRef& record);
    void SelectIndex(int32_t index);        // out of range: nothing
    int32_t SelectedCode() const;           // -1 with nothing selected
    TKordoRecordRef SelectedRecord() const; // none with nothing selected

    // Whether the values (not the items) of two states of the control are equal: the text, number,
    // date, or the selected item's code and record.
    bool SameValue(const TKordoControl& other) const { return Value() == other.Value(); }
    TKordoControlValue Value() const;
};

struct TKordoFormPage {
    std::string Name;       // "tsGeneral"
    std::u16string Caption; // "&General"
    bool Visible = true;
};

class TKordoForm {
public:
    std::vector<TKordoControl> Controls; // in layout order: page by page, heading by heading
    std::vector<TKordoFormPage> Pages;   // in tab order

    // The named control or page; std::out_of_range for a name the form does not have.
    TKordoControl& Control(std::string_view name);
    const TKordoControl& Control(std::string_view name) const;
    TKordoControl* FindControl(std::string_view name);
    TKordoFormPage& Page(std::string_view name);
    const TKordoFormPage& Page(std::string_view name) const;
    // A control is shown when its page is visible.
    bool Visible(const TKordoControl& control) const { return Page(control.Page).Visible; }

    // Remembers every control's value as the record's own; until the next call, a control whose
    // value equals the remembered one counts as unchanged.
    void RememberValues();
    bool Changed(std::string_view name) const;
    // Whether any control the user edits changed: the line chosen in a list box is no edit.
    bool AnyChanged() const;

protected:
    TKordoControl& Add(TKordoControl control);
    TKordoFormPage& AddPage(std::string name, std::u16string caption);

private:
    std::map<std::string, size_t, std::less<>> ControlIndex; // name -> place in Controls
    std::vector<TKordoControlValue> Remembered; // empty until RememberValues: every control counts as changed
};
