#include "KordoDialogs.h"

#include <QApplication>
#include <QFileDialog>

#include <cstdio>

bool TKordoDialogs::Testing = false;
bool TKordoDialogs::Unattended = false;
std::deque<QMessageBox::StandardButton> TKordoDialogs::Answers;
std::deque<QString> TKordoDialogs::FileNames;

QStringList& TKordoDialogs::Shown() {
    static QStringList shown;
    return shown;
}

QStringList& TKordoDialogs::ShownDetails() {
    static QStringList details;
    return details;
}

void TKordoDialogs::SetTesting(bool testing) {
    Testing = testing;
    Answers.clear();
    FileNames.clear();
    Shown().clear();
    ShownDetails().clear();
}

void TKordoDialogs::SetUnattended(bool unattended) {
    Unattended = unattended;
}

void TKordoDialogs::SetNextAnswer(QMessageBox::StandardButton answer) {
    Answers.push_back(answer);
}
void TKordoDialogs::SetNextFileName(const QString& fileName) {
    FileNames.push_back(fileName);
}

namespace {

// In tests a box with no queued answer is answered with its default rather than left waiting.
template <class T> T Take(std::deque<T>& queue, T fallback) {
    if (queue.empty())
        return fallback;
    T answer = queue.front();
    queue.pop_front();
    return answer;
}

// What a dialog would have shown, on standard error, one line per line of text.
void Print(const QString& text, const QString& detail = {}) {
    QString lines = QApplication::applicationName() + ": " + text + "\n";
    if (!detail.isEmpty())
        lines += detail + "\n";
    std::fputs(lines.toLocal8Bit().constData(), stderr);
    std::fflush(stderr);
}

} // namespace

void TKordoDialogs::Message(QWidget* parent, const QString& text, const QString& detail) {
    if (Unattended && !Testing) {
        Print(text, detail);
        return;
    }
    if (Testing) {
        Shown() << text;
        ShownDetails() << detail;
        Take(Answers, QMessageBox::Ok);
        return;
    }
    QMessageBox box(QMessageBox::NoIcon, QApplication::applicationName(), text, QMessageBox::Ok, parent);
    if (!detail.isEmpty())
        box.setDetailedText(detail);
    box.exec();
}

bool TKordoDialogs::AskYesNo(QWidget* parent, const QString& text) {
    if (Unattended && !Testing) {
        Print(text, "No user to answer: No.");
        return false;
    }
    if (Testing) {
        Shown() << text;
        return Take(Answers, QMessageBox::No) == QMessageBox::Yes;
    }
    return QMessageBox::question(parent, QApplication::applicationName(), text,
                                 QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
}

QMessageBox::StandardButton TKordoDialogs::AskSaveChanges(QWidget* parent, const QString& text) {
    if (Unattended && !Testing) {
        Print(text, "No user to answer: Cancel.");
        return QMessageBox::Cancel;
    }
    if (Testing) {
        Shown() << text;
        return Take(Answers, QMessageBox::Cancel);
    }
    return QMessageBox::question(parent, QApplication::applicationName(), text,
                                 QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel,
                                 QMessageBox::Save);
}

QString TKordoDialogs::OpenFile(QWidget* parent, const QString& folder, const QString& filter) {
    if (Testing)
        return Take(FileNames, QString());
    if (Unattended)
        return {};
    return QFileDialog::getOpenFileName(parent, QString(), folder, filter);
}
