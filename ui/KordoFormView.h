// The pages of an editor as a view of its presentation model: one tab per page of a TKordoForm, one
// widget per control, the form copied into the widgets with their signals quiet, and every edit the
// user makes written into the form at once. The view holds no rule: what a list's change does, which
// headings are greyed and what leaving a box does are the form's, handed in by the frame.
#pragma once

#include "KordoForm.h"

#include <QObject>
#include <QString>
#include <functional>
#include <map>
#include <string>
#include <vector>

class QGridLayout;
class QLabel;
class QTabWidget;
class QWidget;

// What the buttons beneath a preference list do.
enum class TKordoPreferenceAction { Add, Delete, Edit };

class TKordoFormView : public QObject {
    Q_OBJECT
public:
    struct TOptions {
        // The lists that get the buttons "Add", "Delete" and "Edit" beneath them.
        std::vector<std::string> PreferenceLists;
        // A line of text at the foot of a page, by page name.
        std::map<std::string, QString, std::less<>> Hints;
        // A list was changed by the user: runs the form's rule for it; true when the rule ran (the
        // widgets are then shown again).
        std::function<bool(std::string_view)> ListChanged;
        // Whether a bold heading is enabled; without this rule, every heading is.
        std::function<bool(std::u16string_view)> HeadingEnabled;
        // What leaving a box does, by control name (a reputation rounded down).
        std::map<std::string, std::function<void()>, std::less<>> Exits;
    };

    // Adds a tab to `pages` for each page of the form (an existing tab of the page's name is used
    // instead) and builds the widgets on it.
    TKordoFormView(TKordoForm& form, QTabWidget* pages, TOptions options = {});

    // Copies the whole form into the widgets, without raising their change signals.
    void ToWidgets();
    // Shows no record: every box, list and check box empty, whatever the form still holds. The next
    // ToWidgets fills them all again.
    void ShowEmpty();
    // A box that is being typed in keeps its text uncommitted until it loses the focus: commits it
    // and runs what leaving it does, as if the focus had left (before a confirm).
    void FinishEditing();

    QWidget* Widget(std::string_view name) const;
    QWidget* Page(std::string_view name) const;
    TKordoForm& Form() const { return TheForm; }

signals:
    // A line of a list box or a read-only edit was double-clicked; the form holds the selected line.
    void DoubleClicked(const QString& control);
    void PreferenceClicked(TKordoPreferenceAction action, const QString& list);
    // The user changed a value of the form (not the line chosen in a list box).
    void Edited();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // A control of the form with the widget that shows it.
    struct TShownControl {
        size_t Index; // in TheForm.Controls
        QWidget* Widget;
        QLabel* Label;
        uint32_t ShownItems; // the ItemsVersion the widget's items were filled from
        bool Filled;
        bool Empty = false; // ShowEmpty cleared the widget: it shows no value, whatever it holds
    };
    struct THeading {
        QLabel* Label;
        std::u16string Text;
    };

    void LayOutColumns(const std::vector<size_t>& controls, QWidget* page, QGridLayout* grid);
    void LayOutLists(const std::vector<size_t>& controls, QWidget* page, QGridLayout* grid);
    QWidget* PreferenceButtons(const QString& list, QWidget* page);
    // Makes the control's widget and its label (nullptr for none) on the page.
    QLabel* ShowOnPage(size_t index, QWidget* page, QWidget*& widget);
    void Connect(size_t shown);
    void ListChanged(size_t shown, int index);
    void ShowControl(TShownControl& shown);
    // A drop-down list's items as the form's control has them now.
    void FillItems(TShownControl& shown);
    void Leave(QWidget* widget);

    TKordoForm& TheForm;
    QTabWidget* Pages;
    TOptions Options;
    std::vector<QWidget*> PageWidgets; // one per page of the form
    std::vector<TShownControl> Shown;
    std::vector<THeading> Headings;
    bool Syncing = false;
};
