#include "frameSquadUnit.h"

#include "ClubForm.h"
#include "KordoFormView.h"

#include <QTabWidget>
#include <QVBoxLayout>

TframeSquad::TframeSquad(SquadForm& form, QWidget* parent) : QWidget(parent), Squad(form) {
    setObjectName("frameSquad");
    pcSquad = new QTabWidget(this);
    pcSquad->setObjectName("pcSquad");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(pcSquad);

    TKordoFormView::TOptions options;
    options.Hints["tsStaff"] = "Doubleclick name, to see staff info.";
    options.Exits["seReputation"] = [this] { Squad.seReputationExit(); };
    View = new TKordoFormView(Squad, pcSquad, std::move(options));
    connect(View, &TKordoFormView::Edited, this, &TframeSquad::Edited);
    connect(View, &TKordoFormView::DoubleClicked, this, [this](const QString& control) {
        if (control == "edManager")
            edManagerDblClick();
        else
            SelectStaff(control);
    });
    ToWidgets();
}

void TframeSquad::ToWidgets() {
    View->ToWidgets();
}

void TframeSquad::FinishEditing() {
    View->FinishEditing();
}

void TframeSquad::edManagerDblClick() {
    if (Squad.Squad && Squad.Squad->Manager)
        emit ShowStaffRequest(Squad.Squad->Manager);
}

void TframeSquad::SelectStaff(const QString& list) {
    const TKordoControl& control = Squad.Control(list.toStdString());
    if (auto* staff = KordoLineRecord(control, control.Selected).value_or(nullptr).Get<TKordoStaff>())
        emit ShowStaffRequest(staff);
}
