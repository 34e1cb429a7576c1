#include "KordoFormView.h"

#include "KordoComboBox.h"

#include <QApplication>
#include <QCheckBox>
#include <QDateEdit>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>

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

// A number that is only ever 0 or 1 and named as a check box is shown as one: checked for 1.
bool IsCheckBox(const TKordoControl& control) {
    return control.Kind == TKordoControlKind::Spin && control.Name.starts_with("cb");
}

QWidget* MakeWidget(const TKordoControl& control, QWidget* page) {
    QWidget* widget = nullptr;
    if (IsCheckBox(control)) {
        widget = new QCheckBox(page);
        widget->setObjectName(QString::fromStdString(control.Name));
        return widget;
    }
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
        spin->setSingleStep(control.Step);
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
        // Lists share a page: they take the room there is rather than asking for more.
        widget->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Ignored);
        widget->setMinimumHeight(80);
        break;
    }
    widget->setObjectName(QString::fromStdString(control.Name));
    return widget;
}

// A page's controls in a scroll area that asks for room to show them all, and scrolls when it gets
// less: a window that has the room shows every page whole.
class TPageScrollArea : public QScrollArea {
public:
    using QScrollArea::QScrollArea;
    QSize sizeHint() const override {
        const int frame = 2 * frameWidth();
        return widget() ? widget()->sizeHint() + QSize(frame, frame) : QScrollArea::sizeHint();
    }
};

} // namespace

TKordoFormView::TKordoFormView(TKordoForm& form, QTabWidget* pages, TOptions options)
    : QObject(pages), TheForm(form), Pages(pages), Options(std::move(options)) {
    for (const TKordoFormPage& formPage : TheForm.Pages) {
        std::vector<size_t> controls;
        bool onlyLists = true;
        for (size_t i = 0; i < TheForm.Controls.size(); ++i)
            if (TheForm.Controls[i].Page == formPage.Name) {
                controls.push_back(i);
                onlyLists &= TheForm.Controls[i].Kind == TKordoControlKind::ListBox;
            }
        QString name = QString::fromStdString(formPage.Name);
        QWidget* page = Page(formPage.Name);
        if (!page) {
            page = new QWidget;
            page->setObjectName(name);
            Pages->addTab(page, Text(formPage.Caption));
        }
        PageWidgets.push_back(page);
        // A page without controls is the frame's to fill.
        if (controls.empty())
            continue;
        // The controls scroll when the window is too small for them, rather than being cut off or
        // making the window larger than the screen.
        auto* scroll = new TPageScrollArea(page);
        scroll->setObjectName("scr" + name.mid(2));
        scroll->setFrameShape(QFrame::NoFrame);
        scroll->setWidgetResizable(true);
        auto* content = new QWidget;
        content->setObjectName("pnl" + name.mid(2));
        scroll->setWidget(content);
        auto* frame = new QVBoxLayout(page);
        frame->setContentsMargins(0, 0, 0, 0);
        frame->addWidget(scroll);
        auto* grid = new QGridLayout(content);
        grid->setVerticalSpacing(3);
        if (onlyLists)
            LayOutLists(controls, content, grid);
        else
            LayOutColumns(controls, content, grid);
        if (auto hint = Options.Hints.find(formPage.Name); hint != Options.Hints.end())
            grid->addWidget(new QLabel(hint->second, content), grid->rowCount(), 0, 1, -1);
    }
    for (size_t i = 0; i < Shown.size(); ++i)
        Connect(i);
}

QWidget* TKordoFormView::Page(std::string_view name) const {
    QString wanted = QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
    for (int i = 0; i < Pages->count(); ++i)
        if (Pages->widget(i)->objectName() == wanted)
            return Pages->widget(i);
    return nullptr;
}

QWidget* TKordoFormView::Widget(std::string_view name) const {
    for (const TShownControl& shown : Shown)
        if (TheForm.Controls[shown.Index].Name == name)
            return shown.Widget;
    return nullptr;
}

QLabel* TKordoFormView::ShowOnPage(size_t index, QWidget* page, QWidget*& widget) {
    const TKordoControl& control = TheForm.Controls[index];
    widget = MakeWidget(control, page);
    QLabel* label = nullptr;
    if (!control.Label.empty()) {
        label = new QLabel(Text(control.Label), page);
        label->setBuddy(widget);
    }
    Shown.push_back({index, widget, label, 0, false});
    return label;
}

QWidget* TKordoFormView::PreferenceButtons(const QString& list, QWidget* page) {
    // "lboxFavouriteClubs" has "btnAddFavouriteClub", "lboxRivals" has "btnAddRival" and so on.
    QString what = list.mid(4);
    if (what.endsWith("Clubs") || what.endsWith("Rivals"))
        what.chop(1);
    auto* buttons = new QWidget(page);
    auto* row = new QHBoxLayout(buttons);
    row->setContentsMargins(0, 0, 0, 0);
    const std::pair<const char*, TKordoPreferenceAction> actions[] = {
        {"Add", TKordoPreferenceAction::Add},
        {"Delete", TKordoPreferenceAction::Delete},
        {"Edit", TKordoPreferenceAction::Edit}};
    for (auto [caption, action] : actions) {
        auto* button = new QPushButton(caption, buttons);
        button->setObjectName("btn" + QString(caption) + what);
        connect(button, &QPushButton::clicked, this,
                [this, action, list] { emit PreferenceClicked(action, list); });
        row->addWidget(button);
    }
    row->addStretch(1);
    return buttons;
}

void TKordoFormView::LayOutLists(const std::vector<size_t>& controls, QWidget* page, QGridLayout* grid) {
    // Two by two, each with its label above and, for a preference list, its buttons below.
    for (size_t cell = 0; cell < controls.size(); ++cell) {
        QWidget* list;
        QLabel* label = ShowOnPage(controls[cell], page, list);
        auto* box = new QVBoxLayout;
        if (label)
            box->addWidget(label);
        box->addWidget(list, 1);
        const std::string& name = TheForm.Controls[controls[cell]].Name;
        const auto& preferences = Options.PreferenceLists;
        if (std::find(preferences.begin(), preferences.end(), name) != preferences.end())
            box->addWidget(PreferenceButtons(list->objectName(), page));
        grid->addLayout(box, static_cast<int>(cell / 2), static_cast<int>(cell % 2));
    }
}

void TKordoFormView::LayOutColumns(const std::vector<size_t>& controls, QWidget* page, QGridLayout* grid) {
    // The rows: a heading before each run of controls under it, and the controls.
    std::vector<std::pair<const std::u16string*, size_t>> rows;
    bool stretches = false;
    for (size_t index : controls) {
        const TKordoControl& control = TheForm.Controls[index];
        if (!control.Heading.empty() &&
            (rows.empty() || TheForm.Controls[rows.back().second].Heading != control.Heading))
            rows.emplace_back(&control.Heading, index);
        rows.emplace_back(nullptr, index);
        stretches |= control.Kind != TKordoControlKind::Spin && control.Kind != TKordoControlKind::Date;
    }
    // Columns side by side, read like a newspaper: as few as hold every row, equally long, and never
    // one ending in a heading.
    size_t columnCount = (rows.size() + RowsPerColumn - 1) / RowsPerColumn;
    size_t perColumn = columnCount ? (rows.size() + columnCount - 1) / columnCount : 0;
    int column = 0, row = 0, longest = 0;
    bool listRows = false;
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
            QLabel* label = ShowOnPage(index, page, widget);
            // A list box takes the height the page has left, its label at its top.
            bool list = TheForm.Controls[index].Kind == TKordoControlKind::ListBox;
            if (label)
                grid->addWidget(label, row, column * 3, list ? Qt::AlignTop : Qt::Alignment());
            grid->addWidget(widget, row, column * 3 + 1);
            if (list)
                grid->setRowStretch(row, 1);
            listRows |= list;
            if (stretches)
                grid->setColumnStretch(column * 3 + 1, 1);
        }
        longest = std::max(longest, ++row);
    }
    if (!listRows)
        grid->setRowStretch(longest, 1);
    if (!stretches)
        grid->setColumnStretch(column * 3 + 3, 1);
}

void TKordoFormView::Connect(size_t shown) {
    QWidget* widget = Shown[shown].Widget;
    TKordoControl* control = &TheForm.Controls[Shown[shown].Index];
    switch (control->Kind) {
    case TKordoControlKind::Edit:
        connect(static_cast<QLineEdit*>(widget), &QLineEdit::textEdited, this,
                [this, control](const QString& text) {
                    control->Text = text.toStdU16String();
                    emit Edited();
                });
        widget->installEventFilter(this);
        break;
    case TKordoControlKind::Spin:
        if (IsCheckBox(*control)) {
            connect(static_cast<QCheckBox*>(widget), &QCheckBox::toggled, this,
                    [this, control](bool checked) {
                        if (Syncing)
                            return;
                        control->Number = checked ? 1 : 0;
                        emit Edited();
                    });
            break;
        }
        connect(static_cast<QSpinBox*>(widget), &QSpinBox::valueChanged, this, [this, control](int value) {
            if (Syncing)
                return;
            control->Number = value;
            emit Edited();
        });
        if (Options.Exits.count(control->Name))
            connect(static_cast<QSpinBox*>(widget), &QSpinBox::editingFinished, this,
                    [this, widget] { Leave(widget); });
        break;
    case TKordoControlKind::Date:
        connect(static_cast<QDateEdit*>(widget), &QDateEdit::dateChanged, this, [this, control](QDate date) {
            if (Syncing)
                return;
            control->Date = FromQDate(date);
            emit Edited();
        });
        break;
    case TKordoControlKind::IntegerList:
    case TKordoControlKind::PointerList:
        connect(static_cast<QComboBox*>(widget), &QComboBox::currentIndexChanged, this,
                [this, shown](int index) { ListChanged(shown, index); });
        break;
    case TKordoControlKind::ListBox: {
        auto* list = static_cast<QListWidget*>(widget);
        connect(list, &QListWidget::currentRowChanged, this, [this, control](int row) {
            if (!Syncing)
                control->Selected = row;
        });
        connect(list, &QListWidget::itemDoubleClicked, this,
                [this, widget] { emit DoubleClicked(widget->objectName()); });
        break;
    }
    }
}

bool TKordoFormView::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonDblClick)
        emit DoubleClicked(watched->objectName());
    return QObject::eventFilter(watched, event);
}

void TKordoFormView::ListChanged(size_t shown, int index) {
    if (Syncing)
        return;
    TKordoControl& control = TheForm.Controls[Shown[shown].Index];
    if (index >= 0)
        control.SelectIndex(index);
    else
        control.Selected = -1;
    if (Options.ListChanged && Options.ListChanged(control.Name))
        ToWidgets();
    emit Edited();
}

void TKordoFormView::Leave(QWidget* widget) {
    auto exit = Options.Exits.find(widget->objectName().toStdString());
    if (exit == Options.Exits.end())
        return;
    exit->second();
    ToWidgets();
    emit Edited();
}

void TKordoFormView::FinishEditing() {
    for (QWidget* focused = QApplication::focusWidget(); focused; focused = focused->parentWidget())
        if (auto* spin = qobject_cast<QAbstractSpinBox*>(focused)) {
            if (Pages->isAncestorOf(spin)) {
                spin->interpretText();
                Leave(spin);
            }
            return;
        }
}

void TKordoFormView::FillItems(TShownControl& shown) {
    const TKordoControl& control = TheForm.Controls[shown.Index];
    if (shown.Filled && shown.ShownItems == control.ItemsVersion)
        return;
    auto* box = static_cast<QComboBox*>(shown.Widget);
    box->clear();
    if (control.Kind == TKordoControlKind::IntegerList) {
        auto* codes = static_cast<TIntegerComboBox*>(box);
        for (const TKordoListItem& item : control.Items)
            codes->AddItem(Text(item.Text), item.Code);
    } else {
        std::vector<std::pair<QString, TKordoRecordRef>> items;
        items.reserve(control.Items.size());
        for (const TKordoListItem& item : control.Items)
            items.emplace_back(Text(item.Text), item.Record);
        static_cast<TPointerComboBox*>(box)->AddItems(items);
    }
    shown.ShownItems = control.ItemsVersion;
    shown.Filled = true;
}

void TKordoFormView::ShowControl(TShownControl& shown) {
    const TKordoControl& control = TheForm.Controls[shown.Index];
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
        if (IsCheckBox(control)) {
            static_cast<QCheckBox*>(widget)->setChecked(control.Number != 0);
        } else {
            // Shows the value pulled into the range; the form keeps the stored one until the user
            // edits. A box already showing it is left alone: setting it again repaints it. An emptied
            // box is set even to the value it holds, its blank taken away first.
            auto* spin = static_cast<QSpinBox*>(widget);
            if (shown.Empty)
                spin->setSpecialValueText(QString());
            if (shown.Empty || spin->value() != std::clamp(control.Number, spin->minimum(), spin->maximum()))
                spin->setValue(control.Number);
        }
        break;
    case TKordoControlKind::Date:
        if (shown.Empty)
            static_cast<QDateEdit*>(widget)->setSpecialValueText(NotSetText);
        if (auto* date = static_cast<QDateEdit*>(widget);
            shown.Empty || date->date() != ToQDate(control.Date))
            date->setDate(ToQDate(control.Date));
        break;
    case TKordoControlKind::IntegerList:
    case TKordoControlKind::PointerList: {
        FillItems(shown);
        static_cast<QComboBox*>(widget)->setCurrentIndex(control.Selected);
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
    shown.Empty = false;
    widget->setEnabled(control.Enabled);
    if (shown.Label)
        shown.Label->setEnabled(control.Enabled);
}

void TKordoFormView::ToWidgets() {
    Syncing = true;
    for (TShownControl& shown : Shown)
        ShowControl(shown);
    for (const THeading& heading : Headings)
        heading.Label->setEnabled(!Options.HeadingEnabled || Options.HeadingEnabled(heading.Text));
    // Setting a tab's visibility lays out the whole page control again, even to the same value.
    for (size_t i = 0; i < PageWidgets.size(); ++i)
        if (int tab = Pages->indexOf(PageWidgets[i]); Pages->isTabVisible(tab) != TheForm.Pages[i].Visible)
            Pages->setTabVisible(tab, TheForm.Pages[i].Visible);
    Syncing = false;
}

void TKordoFormView::ShowEmpty() {
    Syncing = true;
    for (TShownControl& shown : Shown) {
        QWidget* widget = shown.Widget;
        QSignalBlocker quiet(widget);
        if (auto* box = qobject_cast<QComboBox*>(widget)) {
            // The drop-down lists keep the choices of the database, with none chosen.
            FillItems(shown);
            box->setCurrentIndex(-1);
        } else if (shown.Empty) {
            // Empty already: setting the blanks again would only lay the pages out again.
        } else if (auto* check = qobject_cast<QCheckBox*>(widget)) {
            check->setChecked(false);
        } else if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
            edit->clear();
        } else if (auto* list = qobject_cast<QListWidget*>(widget)) {
            list->clear();
            shown.Filled = false;
        } else if (auto* spin = qobject_cast<QSpinBox*>(widget)) {
            // The lowest value, shown as a blank: the box stays empty also when it is shown again,
            // which a cleared text does not.
            spin->setSpecialValueText(" ");
            spin->setValue(spin->minimum());
        } else if (auto* date = qobject_cast<QDateEdit*>(widget)) {
            date->setSpecialValueText(" ");
            date->setDate(date->minimumDate());
        }
        shown.Empty = true;
    }
    Syncing = false;
}
