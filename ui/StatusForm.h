// The small window that shows what a long operation is doing: a status line and a percentage bar.
#pragma once

#include <QDialog>
#include <QElapsedTimer>
#include <QStringList>

class QLabel;
class QProgressBar;

class TfrmStatus : public QDialog {
    Q_OBJECT
public:
    explicit TfrmStatus(QWidget* owner);
    // Shows the text at once: the caller keeps the thread busy, so the window is repainted here.
    void SetStatusText(const std::string& text);
    // Moves the bar; it is repainted at once when a screen frame has passed since its last paint,
    // and when it reaches 100.
    void SetProgress(int32_t percent);

    QLabel* lblStatus;
    QProgressBar* pbProgress;

    // When set, every status text shown by any progress window is appended here (for tests).
    static QStringList* History;

private:
    QElapsedTimer SinceBarPainted;
};
