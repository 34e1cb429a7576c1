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
    // Shows the text: the caller keeps the thread busy, so the window is repainted here, at once
    // unless a frame has not passed since its last paint (the text then shows with the next).
    void SetStatusText(const std::string& text);
    // Moves the bar; it is repainted at once when a frame has passed since the window's last paint,
    // and when it reaches 100.
    void SetProgress(int32_t percent);

    QLabel* lblStatus;
    QProgressBar* pbProgress;

    // When set, every status text shown by any progress window is appended here (for tests).
    static QStringList* History;

private:
    void Paint();

    // A frame of this window: 25 a second are plenty for a text and a bar, and each paint (with the
    // events handled before it) costs time the operation waits for.
    static constexpr qint64 FrameMs = 40;
    QElapsedTimer SincePainted;
};
