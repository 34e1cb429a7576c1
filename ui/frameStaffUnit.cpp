#include "frameStaffUnit.h"

#include "KordoComboBox.h"
#include "KordoDialogs.h"
#include "KordoFunctions.h"
#include "KordoListView.h"
#include "KordoPregameDatabase.h"
#include "KordoSearch.h"
#include "KordoSearchPanel.h"
#include "KordoStaffRemoval.h"

#include <QApplication>
#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

// The most rows of labelled controls a column of a page holds before the next column begins.
constexpr size_t RowsPerColumn = 13;

// The day the calendar counts from, as a Julian day.
constexpr int64_t UnixEpochJulianDay = 2440588;

// The date edits cannot go below the year 100; their lowest day stands for a date they cannot show.
const QDate NotSetDate(100, 1, 1);
const QDate LastDate(9999, 12, 31);
constexpr const char* NotSetText = "not set";

QDate ToQDate(const std::optional<std::chrono::sys_days>& date) {
    if (!date)
        return NotSetDate;
    QDate shown = QDate::fromJulianDay(date->time_since_epoch().count() + UnixEpochJulianDay);
    return shown.isValid() && shown > NotSetDate && shown <= LastDate ? shown : NotSetDate;
}

std::optional<std::chrono::sys_days> FromQDate(const QDate& date) {
    if (!date.isValid() || date <= NotSetDate)
        return std::nullopt;
    return std::chrono::sys_days(std::chrono::days(date.toJulianDay() - UnixEpochJulianDay));
}

QString Text(const std::u16string& text) {
    return QString::fromStdU16String(text);
}

QLabel* Heading(const std::u16string& text, QWidget* page) {
    auto* heading = new QLabel(Text(text), page);
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    return heading;
}

// The Add, Delete and Edit buttons of a preference list: "lboxFavouriteClubs" has
// "btnAddFavouriteClub" and so on.
QWidget* PreferenceButtons(const QString& listName, QWidget* page) {
    QString what = listName.mid(4);
    if (what.endsWith("Clubs"))
        what.chop(1);
    auto* buttons = new QWidget(page);
    auto* row = new QHBoxLayout(buttons);
    row->setContentsMargins(0, 0, 0, 0);
    for (const char* action : {"Add", "Delete", "Edit"}) {
        auto* button = new QPushButton(action, buttons);
        button->setObjectName("btn" + QString(action) + what);
        // The preference dialog comes later.
        button->setEnabled(false);
        row->addWidget(button);
    }
    row->addStretch(1);
    return buttons;
}

} // namespace

TframeStaff::TframeStaff(QWidget* parent) : QWidget(parent) {
    setObjectName("frameStaff");
    pnlList = new TKordoSearchPanel("lvStaff", " People Found", this);
    pcStaff = new QTabWidget(this);
    pcStaff->setObjectName("pcStaff");
    // Every tab stays in sight: the window is made wide enough for all of them.
    pcStaff->setUsesScrollButtons(false);
    BuildPages();
    KordoLayOutEditor(this, pnlList, pcStaff, btnConfirmChanges, btnCancelChanges);

    connect(pnlList->List, &TKordoListView::FocusChanged, this, &TframeStaff::lvStaffFocusChanged);
    connect(btnConfirmChanges, &QPushButton::clicked, this, &TframeStaff::btnConfirmChangesClick);
    connect(btnCancelChanges, &QPushButton::clicked, this, &TframeStaff::btnCancelChangesClick);
    lvStaffFocusChanged(-1);
}

QWidget* TframeStaff::MakeWidget(const TKordoControl& control, QWidget* page) {
    QWidget* widget = nullptr;
    switch (control.Kind) {
    case TKordoControlKind::Edit: {
        auto* edit = new QLineEdit(page);
        if (control.ReadOnly) {
            edit->setReadOnly(true);
            QPalette greyed = edit->palette();
            greyed.setColor(QPalette::Base, greyed.color(QPalette::Window));
            edit->setPalette(greyed);
        }
        widget = edit;
        break;
    }
    case TKordoControlKind::Spin: {
        auto* spin = new QSpinBox(page);
        spin->setRange(control.Minimum, control.Maximum);
        spin->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
        widget = spin;
        break;
    }
    case TKordoControlKind::Date: {
        auto* date = new QDateEdit(page);
        date->setCalendarPopup(false);
        date->setDisplayFormat("dd/MM/yyyy");
        date->setDateRange(NotSetDate, LastDate);
        date->setSpecialValueText(NotSetText);
        date->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
        widget = date;
        break;
    }
    case TKordoControlKind::IntegerList:
    case TKordoControlKind::PointerList: {
        // The form keeps its lists in display order already.
        QComboBox* box = control.Kind == TKordoControlKind::IntegerList
                             ? static_cast<QComboBox*>(new TIntegerComboBox(page, false))
                             : new TPointerComboBox(page, false);
        box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        box->setMinimumContentsLength(16);
        box->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        widget = box;
        break;
    }
    case TKordoControlKind::ListBox:
        widget = new TPointerListBox(page, false);
        // Four lists share a page: they take the room there is rather than asking for more.
        widget->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Ignored);
        widget->setMinimumHeight(80);
        break;
    }
    widget->setObjectName(QString::fromStdString(control.Name));
    return widget;
}

QLabel* TframeStaff::ShowOnPage(size_t index, QWidget* page, QWidget*& widget) {
    const TKordoControl& control = Staff.Controls[index];
    widget = MakeWidget(control, page);
    QLabel* label = nullptr;
    if (!control.Label.empty()) {
        label = new QLabel(Text(control.Label), page);
        label->setBuddy(widget);
    }
    Shown.push_back({index, widget, label, 0, false});
    return label;
}

void TframeStaff::LayOutLists(const std::vector<size_t>& controls, QWidget* page, QGridLayout* grid) {
    // Two by two, each with its label above and its buttons below.
    for (size_t cell = 0; cell < controls.size(); ++cell) {
        QWidget* list;
        QLabel* label = ShowOnPage(controls[cell], page, list);
        auto* box = new QVBoxLayout;
        box->addWidget(label);
        box->addWidget(list, 1);
        box->addWidget(PreferenceButtons(list->objectName(), page));
        grid->addLayout(box, static_cast<int>(cell / 2), static_cast<int>(cell % 2));
    }
}

void TframeStaff::LayOutColumns(const std::vector<size_t>& controls, QWidget* page, QGridLayout* grid) {
    // The rows: a heading before each run of controls under it, and the controls.
    std::vector<std::pair<const std::u16string*, size_t>> rows;
    bool stretches = false;
    for (size_t index : controls) {
        const TKordoControl& control = Staff.Controls[index];
        if (!control.Heading.empty() &&
            (rows.empty() || Staff.Controls[rows.back().second].Heading != control.Heading))
            rows.emplace_back(&control.Heading, index);
        rows.emplace_back(nullptr, index);
        stretches |= control.Kind != TKordoControlKind::Spin && control.Kind != TKordoControlKind::Date;
    }
    // Columns side by side, read like a newspaper: as few as hold every row, equally long, and never
    // one ending in a heading.
    size_t columnCount = (rows.size() + RowsPerColumn - 1) / RowsPerColumn;
    size_t perColumn = columnCount ? (rows.size() + columnCount - 1) / columnCount : 0;
    int column = 0, row = 0, longest = 0;
    for (const auto& [heading, index] : rows) {
        if (row > 0 && (static_cast<size_t>(row) >= perColumn ||
                        (heading && static_cast<size_t>(row) + 1 >= perColumn))) {
            grid->setColumnMinimumWidth(column * 3 + 2, 12);
            ++column;
            row = 0;
        }
        if (heading) {
            Headings.push_back({Heading(*heading, page), *heading});
            grid->addWidget(Headings.back().Label, row, column * 3, 1, 2);
        } else {
            QWidget* widget;
            if (QLabel* label = ShowOnPage(index, page, widget))
                grid->addWidget(label, row, column * 3);
            grid->addWidget(widget, row, column * 3 + 1);
            if (stretches)
                grid->setColumnStretch(column * 3 + 1, 1);
        }
        longest = std::max(longest, ++row);
    }
    grid->setRowStretch(longest, 1);
    if (!stretches)
        grid->setColumnStretch(column * 3 + 3, 1);
}

void TframeStaff::BuildPages() {
    for (const TKordoFormPage& formPage : Staff.Pages) {
        auto* page = new QWidget;
        page->setObjectName(QString::fromStdString(formPage.Name));
        pcStaff->addTab(page, Text(formPage.Caption));
        auto* grid = new QGridLayout(page);
        grid->setVerticalSpacing(3);
        std::vector<size_t> controls;
        bool onlyLists = true;
        for (size_t i = 0; i < Staff.Controls.size(); ++i)
            if (Staff.Controls[i].Page == formPage.Name) {
                controls.push_back(i);
                onlyLists &= Staff.Controls[i].Kind == TKordoControlKind::ListBox;
            }
        if (onlyLists)
            LayOutLists(controls, page, grid);
        else
            LayOutColumns(controls, page, grid);
    }
    for (size_t i = 0; i < Shown.size(); ++i)
        Connect(i);
}

void TframeStaff::Connect(size_t shown) {
    QWidget* widget = Shown[shown].Widget;
    TKordoControl* control = &Staff.Controls[Shown[shown].Index];
    switch (control->Kind) {
    case TKordoControlKind::Edit:
        connect(static_cast<QLineEdit*>(widget), &QLineEdit::textEdited, this,
                [control](const QString& text) { control->Text = text.toStdU16String(); });
        break;
    case TKordoControlKind::Spin:
        connect(static_cast<QSpinBox*>(widget), &QSpinBox::valueChanged, this, [this, control](int value) {
            if (!Syncing)
                control->Number = value;
        });
        break;
    case TKordoControlKind::Date:
        connect(static_cast<QDateEdit*>(widget), &QDateEdit::dateChanged, this, [this, control](QDate date) {
            if (!Syncing)
                control->Date = FromQDate(date);
        });
        break;
    case TKordoControlKind::IntegerList:
    case TKordoControlKind::PointerList:
        connect(static_cast<QComboBox*>(widget), &QComboBox::currentIndexChanged, this,
                [this, shown](int index) { ListChanged(shown, index); });
        break;
    case TKordoControlKind::ListBox:
        connect(static_cast<QListWidget*>(widget), &QListWidget::currentRowChanged, this,
                [this, control](int row) {
                    if (!Syncing)
                        control->Selected = row;
                });
        break;
    }
}

void TframeStaff::ListChanged(size_t shown, int index) {
    if (Syncing)
        return;
    TKordoControl& control = Staff.Controls[Shown[shown].Index];
    if (index >= 0)
        control.SelectIndex(index);
    else
        control.Selected = -1;
    if (Staff.RunChangeHandler(control.Name))
        ToWidgets();
}

void TframeStaff::ShowControl(TShownControl& shown) {
    const TKordoControl& control = Staff.Controls[shown.Index];
    QWidget* widget = shown.Widget;
    QSignalBlocker quiet(widget);
    switch (control.Kind) {
    case TKordoControlKind::Edit: {
        auto* edit = static_cast<QLineEdit*>(widget);
        QString text = Text(control.Text);
        if (edit->text() != text)
            edit->setText(text);
        break;
    }
    case TKordoControlKind::Spin:
        // Shows the value pulled into the range; the form keeps the stored one until the user edits.
        static_cast<QSpinBox*>(widget)->setValue(control.Number);
        break;
    case TKordoControlKind::Date:
        static_cast<QDateEdit*>(widget)->setDate(ToQDate(control.Date));
        break;
    case TKordoControlKind::IntegerList:
    case TKordoControlKind::PointerList: {
        auto* box = static_cast<QComboBox*>(widget);
        if (!shown.Filled || shown.ShownItems != control.ItemsVersion) {
            box->clear();
            if (control.Kind == TKordoControlKind::IntegerList) {
                auto* codes = static_cast<TIntegerComboBox*>(box);
                for (const TKordoListItem& item : control.Items)
                    codes->AddItem(Text(item.Text), item.Code);
            } else {
                std::vector<std::pair<QString, const void*>> items;
                items.reserve(control.Items.size());
                for (const TKordoListItem& item : control.Items)
                    items.emplace_back(Text(item.Text), item.Record);
                static_cast<TPointerComboBox*>(box)->AddItems(items);
            }
            shown.ShownItems = control.ItemsVersion;
            shown.Filled = true;
        }
        box->setCurrentIndex(control.Selected);
        break;
    }
    case TKordoControlKind::ListBox: {
        auto* list = static_cast<TPointerListBox*>(widget);
        if (!shown.Filled || shown.ShownItems != control.ItemsVersion) {
            list->clear();
            for (const TKordoListItem& item : control.Items)
                list->AddItem(Text(item.Text), item.Record);
            shown.ShownItems = control.ItemsVersion;
            shown.Filled = true;
        }
        list->setCurrentRow(control.Selected);
        break;
    }
    }
    widget->setEnabled(control.Enabled);
    if (shown.Label)
        shown.Label->setEnabled(control.Enabled);
}

void TframeStaff::ToWidgets() {
    Syncing = true;
    for (TShownControl& shown : Shown)
        ShowControl(shown);
    for (const THeading& heading : Headings)
        heading.Label->setEnabled(Staff.HeadingEnabled(heading.Text));
    for (size_t i = 0; i < Staff.Pages.size(); ++i)
        pcStaff->setTabVisible(static_cast<int>(i), Staff.Pages[i].Visible);
    Syncing = false;
}

void TframeStaff::EnableDetails() {
    pcStaff->setEnabled(Staff.DetailsEnabled);
    btnConfirmChanges->setEnabled(Staff.DetailsEnabled);
    btnCancelChanges->setEnabled(Staff.DetailsEnabled);
}

void TframeStaff::Initialise(TKordoPregameDatabase* database) {
    Database = database;
    // Before a load the form lets go of the records it lists: they are about to be freed.
    if (Staff.Database != database)
        Staff.Bind(database);
    pnlList->Bind(database ? std::make_unique<TKordoStaffSearch>(*database) : nullptr);
    lvStaffFocusChanged(-1);
}

void TframeStaff::lvStaffFocusChanged(int row) {
    void* record = KordoFocusRecord(pnlList, row, pcStaff, btnConfirmChanges, btnCancelChanges);
    if (TKordoSearch* search = pnlList->Search())
        search->SetFocusedRow(row);
    Staff.Focus(static_cast<TKordoStaff*>(record));
    ToWidgets();
    EnableDetails();
}

void TframeStaff::CommitTyping() {
    for (QWidget* focused = QApplication::focusWidget(); focused; focused = focused->parentWidget())
        if (auto* spin = qobject_cast<QAbstractSpinBox*>(focused)) {
            if (isAncestorOf(spin))
                spin->interpretText();
            return;
        }
}

void TframeStaff::btnConfirmChangesClick() {
    if (!Staff.DetailsEnabled)
        return;
    CommitTyping();
    std::string refusal;
    if (!Staff.Confirm(&refusal)) {
        TKordoDialogs::Message(this, QString::fromStdString(refusal));
        ToWidgets();
        return;
    }
    TKordoSearch* search = pnlList->Search();
    int row = pnlList->List->FocusedRow();
    if (search && row >= 0 && row < search->RowCount()) {
        // The row keeps its place but may show a new name. Only its text changed, not its size: a
        // repaint does, where the model's dataChanged would lay out every row again (8 ms at a
        // quarter of a million).
        search->RowChanged(row);
        pnlList->List->update(pnlList->List->ListModel()->index(row));
    }
    ToWidgets();
    if (Database && Database->Modified)
        emit Modified();
}

void TframeStaff::btnCancelChangesClick() {
    Staff.Cancel();
    ToWidgets();
}

void TframeStaff::AddStaff() {
    if (!Database || !pnlList->Search())
        return;
    TKordoStaff* staff = Database->Staffs.NewStaff();
    Database->Modified = true;
    pnlList->List->ListModel()->Change([staff](TKordoSearch& search) { search.AddRecord(staff); });
    emit Modified();
}

void TframeStaff::DeleteStaff() {
    TKordoSearch* search = pnlList->Search();
    int row = pnlList->List->FocusedRow();
    if (!Database || !search || row < 0 || row >= search->RowCount())
        return;
    auto* staff = static_cast<TKordoStaff*>(search->RowRecord(row));
    QString name = Text(StaffDisplayName(*staff));
    if (name.isEmpty())
        name = Text(search->RowText(row));
    if (!TKordoDialogs::AskYesNo(this, "Delete " + name + "?"))
        return;
    // Every row showing him goes before he does; with the focused one gone, nobody is focused.
    pnlList->List->ListModel()->Change([staff, row](TKordoSearch& rows) {
        rows.SetFocusedRow(row);
        for (int32_t at = rows.RowOf(staff); at >= 0; at = rows.RowOf(staff))
            rows.RemoveRow(at);
    });
    if (Staff.Current == staff)
        Staff.Current = nullptr;
    KordoDeleteStaff(*Database, staff);
    lvStaffFocusChanged(-1);
    emit Modified();
}

void TframeStaff::ShowStaff(TKordoStaff* staff) {
    if (!pnlList->Search())
        return;
    pnlList->List->ListModel()->Change([staff](TKordoSearch& search) { search.ShowSingle(staff); });
}
