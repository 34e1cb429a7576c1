#include "KordoForm.h"

#include "KordoSearch.h"

#include <algorithm>
#include <stdexcept>

// Control ----------------------------------------------------------------------------------------------

void TKordoControl::ClearItems() {
    Selected = -1;
    if (Items.empty())
        return;
    Items.clear();
    ++ItemsVersion;
}

void TKordoControl::AddItem(TKordoListItem item) {
    auto at = Items.end();
    if (Sorted)
        // After the items that collate equal, so equal texts keep the order they were added in.
        at = std::upper_bound(Items.begin(), Items.end(), item.Text,
                              [](const std::u16string& text, const TKordoListItem& other) {
                                  return KordoCompareNames(text, other.Text) < 0;
                              });
    auto index = static_cast<int32_t>(at - Items.begin());
    Items.insert(at, std::move(item));
    if (Selected >= index)
        ++Selected;
    ++ItemsVersion;
}

void TKordoControl::SetItems(std::vector<TKordoListItem> items) {
    if (Sorted)
        // A stable sort gives what inserting each item after its equals gives.
        std::stable_sort(items.begin(), items.end(), [](const TKordoListItem& a, const TKordoListItem& b) {
            return KordoCompareNames(a.Text, b.Text) < 0;
        });
    Selected = -1;
    // The same items again are no change: a view need not show them anew.
    if (items == Items)
        return;
    Items = std::move(items);
    ++ItemsVersion;
}

void TKordoControl::SelectCode(int32_t code) {
    auto found =
        std::find_if(Items.begin(), Items.end(), [&](const TKordoListItem& i) { return i.Code == code; });
    Selected = found == Items.end() ? -1 : static_cast<int32_t>(found - Items.begin());
}

void TKordoControl::SelectRecord(const TKordoRecordRef& record) {
    auto found =
        std::find_if(Items.begin(), Items.end(), [&](const TKordoListItem& i) { return i.Record == record; });
    Selected = found == Items.end() ? -1 : static_cast<int32_t>(found - Items.begin());
}

void TKordoControl::SelectIndex(int32_t index) {
    if (index >= 0 && index < static_cast<int32_t>(Items.size()))
        Selected = index;
}

int32_t TKordoControl::SelectedCode() const {
    return Selected < 0 ? -1 : Items[static_cast<size_t>(Selected)].Code;
}

TKordoRecordRef TKordoControl::SelectedRecord() const {
    return Selected < 0 ? TKordoRecordRef() : Items[static_cast<size_t>(Selected)].Record;
}

TKordoControlValue TKordoControl::Value() const {
    TKordoControlValue value;
    switch (Kind) {
    case TKordoControlKind::Edit:
        value.Text = Text;
        break;
    case TKordoControlKind::Spin:
        value.Number = Number;
        break;
    case TKordoControlKind::Date:
        value.Date = Date;
        break;
    case TKordoControlKind::IntegerList:
    case TKordoControlKind::PointerList:
    case TKordoControlKind::ListBox:
        value.Code = SelectedCode();
        value.Record = SelectedRecord();
        break;
    }
    return value;
}

// Form -------------------------------------------------------------------------------------------------

TKordoControl& TKordoForm::Control(std::string_view name) {
    if (TKordoControl* control = FindControl(name))
        return *control;
    throw std::out_of_range("no control " + std::string(name));
}

const TKordoControl& TKordoForm::Control(std::string_view name) const {
    return const_cast<TKordoForm*>(this)->Control(name);
}

TKordoControl* TKordoForm::FindControl(std::string_view name) {
    auto found = ControlIndex.find(name);
    return found == ControlIndex.end() ? nullptr : &Controls[found->second];
}

TKordoFormPage& TKordoForm::Page(std::string_view name) {
    for (TKordoFormPage& page : Pages)
        if (page.Name == name)
            return page;
    throw std::out_of_range("no page " + std::string(name));
}

const TKordoFormPage& TKordoForm::Page(std::string_view name) const {
    return const_cast<TKordoForm*>(this)->Page(name);
}

void TKordoForm::RememberValues() {
    Remembered.clear();
    Remembered.reserve(Controls.size());
    for (const TKordoControl& control : Controls)
        Remembered.push_back(control.Value());
}

bool TKordoForm::Changed(std::string_view name) const {
    auto found = ControlIndex.find(name);
    if (found == ControlIndex.end())
        throw std::out_of_range("no control " + std::string(name));
    if (found->second >= Remembered.size())
        return true;
    return !(Controls[found->second].Value() == Remembered[found->second]);
}

bool TKordoForm::AnyChanged() const {
    for (const TKordoControl& control : Controls)
        if (control.Kind != TKordoControlKind::ListBox && Changed(control.Name))
            return true;
    return false;
}

TKordoControl& TKordoForm::Add(TKordoControl control) {
    if (ControlIndex.count(control.Name))
        throw std::logic_error("two controls named " + control.Name);
    ControlIndex.emplace(control.Name, Controls.size());
    Controls.push_back(std::move(control));
    return Controls.back();
}

TKordoFormPage& TKordoForm::AddPage(std::string name, std::u16string caption) {
    Pages.push_back({std::move(name), std::move(caption), true});
    return Pages.back();
}
