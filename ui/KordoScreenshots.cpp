#include "KordoScreenshots.h"

#include "KordoListView.h"
#include "KordoSearchPanel.h"
#include "frameClubUnit.h"
#include "frameStaffUnit.h"
#include "frmMainUnit.h"

#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QTabWidget>

namespace {

bool Save(QWidget& widget, const QString& folder, const QString& name) {
    QApplication::processEvents();
    return widget.grab().save(QDir(folder).filePath(name + ".png"));
}

} // namespace

bool KordoTakeScreenshots(TfrmMain& window, const QString& folder) {
    QDir().mkpath(folder);
    window.mnuLoadDataClick();
    if (!window.mnuSaveData->isEnabled())
        return false;
    bool ok = true;
    window.pcStaffAllData->setCurrentWidget(window.tsStaff);
    window.frameStaff->pnlList->btnSearchClick();
    window.frameStaff->pnlList->List->FocusRow(0);
    ok &= Save(window, folder, "main-staff");
    window.pcStaffAllData->setCurrentWidget(window.tsClubs);
    window.frameClub->pnlList->btnSearchClick();
    window.frameClub->pnlList->List->FocusRow(0);
    ok &= Save(window, folder, "main-clubs");
    return ok;
}
