#include "KordoScreenshots.h"

#include "KordoListView.h"
#include "KordoSearch.h"
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

// Every visible page of the first listed person of each staff type: staff-type1-general.png, ...
bool SavePages(TfrmMain& window, const QString& folder) {
    TframeStaff& frame = *window.frameStaff;
    TKordoSearch* search = frame.pnlList->Search();
    bool ok = true;
    for (int type = 1; type <= 4; ++type) {
        int32_t row = 0;
        while (row < search->RowCount() &&
               static_cast<TKordoStaff*>(search->RowRecord(row))->StaffType() != type)
            ++row;
        if (row == search->RowCount())
            continue;
        frame.pnlList->List->FocusRow(row);
        for (int page = 0; page < frame.pcStaff->count(); ++page) {
            if (!frame.pcStaff->isTabVisible(page))
                continue;
            frame.pcStaff->setCurrentIndex(page);
            QString name = frame.pcStaff->widget(page)->objectName().mid(2).toLower();
            ok &= Save(window, folder, QString("staff-type%1-%2").arg(type).arg(name));
        }
        frame.pcStaff->setCurrentIndex(0);
    }
    frame.pnlList->List->FocusRow(0);
    return ok;
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
    ok &= SavePages(window, folder);
    window.pcStaffAllData->setCurrentWidget(window.tsClubs);
    window.frameClub->pnlList->btnSearchClick();
    window.frameClub->pnlList->List->FocusRow(0);
    ok &= Save(window, folder, "main-clubs");
    return ok;
}
