#include "KordoScreenshots.h"

#include "KordoListView.h"
#include "KordoSearch.h"
#include "KordoSearchPanel.h"
#include "frameClubUnit.h"
#include "frameSquadUnit.h"
#include "frameStaffUnit.h"
#include "frmEditPreferenceUnit.h"
#include "frmMainUnit.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPixmap>
#include <QTabWidget>

namespace {

bool Save(QWidget& widget, const QString& folder, const QString& name) {
    QApplication::processEvents();
    return widget.grab().save(QDir(folder).filePath(name + ".png"));
}

// Every visible page of a page control: PREFIX-general.png and so on, named after the pages.
bool SaveTabs(QWidget& window, QTabWidget& pages, const QString& folder, const QString& prefix) {
    bool ok = true;
    for (int page = 0; page < pages.count(); ++page) {
        if (!pages.isTabVisible(page))
            continue;
        pages.setCurrentIndex(page);
        QString name = pages.widget(page)->objectName().mid(2).toLower();
        ok &= Save(window, folder, prefix + "-" + name);
    }
    pages.setCurrentIndex(0);
    return ok;
}

// Focuses the first listed row whose record passes the test; false when none does.
template <class TRecord>
bool FocusFirst(TKordoSearchPanel& panel, const std::function<bool(const TRecord&)>& test) {
    TKordoSearch* search = panel.Search();
    for (int32_t row = 0; row < search->RowCount(); ++row)
        if (const TRecord* record = search->RowRecord<TRecord>(row); record && test(*record)) {
            panel.List->FocusRow(row);
            return true;
        }
    return false;
}

// Every visible page of the first listed person of each staff type: staff-type1-general.png, ...
bool SaveStaffPages(TfrmMain& window, const QString& folder) {
    TframeStaff& frame = *window.frameStaff;
    bool ok = true;
    for (int type = 1; type <= 4; ++type)
        if (FocusFirst<TKordoStaff>(*frame.pnlList,
                                    [type](const TKordoStaff& s) { return s.StaffType() == type; }))
            ok &= SaveTabs(window, *frame.pcStaff, folder, QString("staff-type%1").arg(type));
    frame.pnlList->List->FocusRow(0);
    return ok;
}

// Every page of a club with people on the board, preferences and squads (club-general.png, ...),
// and the pages of its first squad (squad-general.png, ...).
bool SaveClubPages(TfrmMain& window, const QString& folder) {
    TframeClub& frame = *window.frameClub;
    auto lists = [](const TKordoClub& club, uint8_t kind) {
        return std::any_of(club.Relations.begin(), club.Relations.end(),
                           [kind](const TKordoRelation& entry) { return entry.Kind == kind; });
    };
    if (!FocusFirst<TKordoClub>(*frame.pnlList, [&](const TKordoClub& club) {
            return !club.Squads.empty() && !club.BoardMembers.empty() && lists(club, KordoKindClub) &&
                   lists(club, KordoKindPerson);
        }))
        return false;
    bool ok = SaveTabs(window, *frame.pcClub, folder, "club");
    frame.pcClub->setCurrentWidget(frame.pcSquads->parentWidget());
    ok &=
        !frame.SquadFrames.empty() && SaveTabs(window, *frame.SquadFrames.front()->pcSquad, folder, "squad");
    frame.pcClub->setCurrentIndex(0);
    return ok;
}

// The preference dialog adding a favourite person, after a search, with a row chosen.
bool SavePreferenceDialog(TfrmMain& window, const QString& folder) {
    TfrmEditPreference& dialog = *window.frmEditPreference;
    dialog.SetDatabase(&window.Database);
    dialog.OpenPreferenceDialog(true, true, true);
    dialog.show();
    dialog.pnlSearch->edSearch->setText("an");
    dialog.btnSearchClick();
    dialog.pnlSearch->List->FocusRow(2);
    bool ok = Save(dialog, folder, "preference-dialog");
    dialog.hide();
    return ok;
}

} // namespace

bool KordoTakeScreenshots(TfrmMain& window, const QString& folder) {
    QDir().mkpath(folder);
    // The size a desktop gives the window, whatever the screen the pictures are rendered on: the
    // list with its first columns, the pages beside it.
    window.resize(window.size().expandedTo(QSize(1180, 700)));
    window.mnuLoadDataClick();
    if (!window.mnuSaveData->isEnabled())
        return false;
    bool ok = true;
    window.pcStaffAllData->setCurrentWidget(window.tsStaff);
    window.frameStaff->pnlList->btnSearchClick();
    window.frameStaff->pnlList->List->FocusRow(0);
    ok &= Save(window, folder, "main-staff");
    ok &= SaveStaffPages(window, folder);
    window.pcStaffAllData->setCurrentWidget(window.tsClubs);
    window.frameClub->pnlList->btnSearchClick();
    window.frameClub->pnlList->List->FocusRow(0);
    ok &= Save(window, folder, "main-clubs");
    ok &= SaveClubPages(window, folder);
    ok &= SavePreferenceDialog(window, folder);
    return ok;
}
