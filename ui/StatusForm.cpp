#include "StatusForm.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>

TfrmStatus::TfrmStatus(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint) {
    setObjectName("frmStatus");
    setWindowTitle("Working...");
    setFixedSize(460, 71);
    setModal(false);
    lblStatus = new QLabel("Loadig Staff", this);
    lblStatus->setObjectName("lblStatus");
    lblStatus->setGeometry(1, 8, 455, 25);
    lblStatus->setAlignment(Qt::AlignCenter);
    QFont font("MS Sans Serif");
    font.setPixelSize(20);
    lblStatus->setFont(font);
    pbProgress = new QProgressBar(this);
    pbProgress->setObjectName("pbProgress");
    pbProgress->setGeometry(8, 48, 441, 16);
    pbProgress->setRange(0, 100);
    pbProgress->setValue(0);
    pbProgress->setTextVisible(false);
}

QStringList* TfrmStatus::History = nullptr;

void TfrmStatus::SetStatusText(const std::string& text) {
    lblStatus->setText(QString::fromStdString(text));
    if (History)
        History->append(lblStatus->text());
    // A load changes the text some forty times in a fraction of a second: within a frame of the last
    // paint the new text waits for the next one.
    if (SincePainted.isValid() && SincePainted.elapsed() < FrameMs)
        return;
    Paint();
}

void TfrmStatus::Paint() {
    // The window must appear and show the text while the thread stays busy: let the window system
    // map and expose it (no user input is processed), then paint now.
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    repaint();
    SincePainted.start();
}

void TfrmStatus::SetProgress(int32_t percent) {
    if (pbProgress->value() == percent)
        return;
    // Painting more often than a frame costs the busy thread and shows nothing. The bar itself paints
    // at once on most new values, so within a frame it is not even told.
    if (percent < 100 && SincePainted.isValid() && SincePainted.elapsed() < FrameMs)
        return;
    pbProgress->setValue(percent);
    Paint();
}
