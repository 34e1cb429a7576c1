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

bool TKordoDialogs::IsUnattended() {
    return Unattended && !Testing;
}
bool TKordoDialogs::IsTesting() {
    return Testing;
}

QMessageBox::StandardButton TKordoDialogs::TakeAnswer(QMessageBox::StandardButton fallback) {
    if (Answers.empty())
        return fallback;
    QMessageBox::StandardButton answer = Answers.front();
    Answers.pop_front();
    return answer;
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

namespace {

// A question with the buttons given; without a user it is answered with `unanswered` (and in tests
// with the next queued answer, or `unanswered` when none is queued).
QMessageBox::StandardButton Ask(QWidget* parent, const QString& text, QMessageBox::StandardButtons buttons,
                                QMessageBox::StandardButton preferred, QMessageBox::StandardButton unanswered,
                                const char* unansweredText) {
    if (TKordoDialogs::IsUnattended()) {
        Print(text, QString("No user to answer: ") + unansweredText + ".");
        return unanswered;
    }
    if (TKordoDialogs::IsTesting()) {
        TKordoDialogs::Shown() << text;
        return TKordoDialogs::TakeAnswer(unanswered);
    }
    return QMessageBox::question(parent, QApplication::applicationName(), text, buttons, preferred);
}

} // namespace

bool TKordoDialogs::AskYesNo(QWidget* parent, const QString& text) {
    return Ask(parent, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::No, QMessageBox::No, "No") ==
           QMessageBox::Yes;
}

QMessageBox::StandardButton TKordoDialogs::AskSaveChanges(QWidget* parent, const QString& text) {
    return Ask(parent, text, QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel,
               QMessageBox::Save, QMessageBox::Cancel, "Cancel");
}

QMessageBox::StandardButton TKordoDialogs::AskYesNoCancel(QWidget* parent, const QString& text) {
    return Ask(parent, text, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes,
               QMessageBox::Cancel, "Cancel");
}

bool TKordoDialogs::ConfirmOnLeaving(QWidget* parent, const QString& name, bool atOnce,
                                     const std::function<bool()>& confirm,
                                     const std::function<void()>& drop) {
    switch (atOnce ? QMessageBox::Yes : AskYesNoCancel(parent, "Confirm the changes to " + name + "?")) {
    case QMessageBox::Yes:
        return confirm();
    case QMessageBox::No:
        drop();
        return true;
    default:
        return false;
    }
}

QString TKordoDialogs::OpenFile(QWidget* parent, const QString& folder, const QString& filter) {
    if (Testing)
        return Take(FileNames, QString());
    if (Unattended)
        return {};
    return QFileDialog::getOpenFileName(parent, QString(), folder, filter);
}

QString TKordoDialogs::ChooseFolder(QWidget* parent, const QString& folder) {
    if (Testing)
        return Take(FileNames, QString());
    if (Unattended)
        return {};
    return QFileDialog::getExistingDirectory(parent, "Open Data Folder", folder);
}
