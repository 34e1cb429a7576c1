// One squad of the focused club, on a page of the club editor's "S&quads" page control: its
// reputation and home match day, its manager, coaches and physios, and its players. The pages are a
// view of a SquadForm that the club's form holds.
#pragma once

#include <QWidget>

class QTabWidget;
class SquadForm;
class TKordoFormView;
struct TKordoStaff;

class TframeSquad : public QWidget {
    Q_OBJECT
public:
    // Shows the form, which must outlive the frame.
    TframeSquad(SquadForm& form, QWidget* parent);
    SquadForm& Form() const { return Squad; }
    // Copies the form into the widgets.
    void ToWidgets();
    // Commits what is being typed, and rounds a reputation typed in (before a confirm).
    void FinishEditing();

    QTabWidget* pcSquad;

signals:
    // A person was double-clicked: the manager, or a line of the coaches, physios or players.
    void ShowStaffRequest(TKordoStaff* staff);
    // The user changed a value of the page.
    void Edited();

private:
    void edManagerDblClick();
    void SelectStaff(const QString& list);

    SquadForm& Squad;
    TKordoFormView* View;
};
