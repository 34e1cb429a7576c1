// Every message box and file dialog of the program goes through here, so that tests can answer
// them without a modal window ever opening.
#pragma once

#include <QMessageBox>
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <optional>

class QWidget;

class TKordoDialogs {
public:
    // A plain message (OK only) with the application's title as its caption; detail, when given,
    // is shown behind the box's "Show Details" button.
    static void Message(QWidget* parent, const QString& text, const QString& detail = {});
    // A confirmation with a question icon and the buttons Yes and No.
    static bool AskYesNo(QWidget* parent, const QString& text);
    // Save / Discard / Cancel.
    static QMessageBox::StandardButton AskSaveChanges(QWidget* parent, const QString& text);
    // Yes / No / Cancel.
    static QMessageBox::StandardButton AskYesNoCancel(QWidget* parent, const QString& text);
    // Leaving a person or club whose pages hold edits not yet confirmed: "Confirm the changes to
    // <name>?" Yes runs `confirm` and goes on when it succeeds, No runs `drop` and goes on, Cancel
    // stays (false). With `atOnce` nothing is asked: the edits are confirmed.
    static bool ConfirmOnLeaving(QWidget* parent, const QString& name, bool atOnce,
                                 const std::function<bool()>& confirm, const std::function<void()>& drop);
    // The chosen file's full path, or an empty string when cancelled.
    static QString OpenFile(QWidget* parent, const QString& folder, const QString& filter);
    // The chosen folder's full path, or an empty string when cancelled (answered by SetNextFileName).
    static QString ChooseFolder(QWidget* parent, const QString& folder);

    // Runs without a user (--screenshot and any other batch run): no dialog opens; every message
    // and its details go to standard error, a question is answered No (Cancel), no file is chosen.
    static void SetUnattended(bool unattended);

    // Test hooks: while answers are queued, no dialog opens; each call takes the next answer and the
    // texts shown are recorded.
    static void SetNextAnswer(QMessageBox::StandardButton answer);
    static void SetNextFileName(const QString& fileName);
    static void SetTesting(bool testing);
    static QStringList& Shown();
    static QStringList& ShownDetails();
    // Whether no dialog may open (a run without a user, not a test); whether answers come from the
    // test hooks; the next queued answer, or the fallback when none is queued.
    static bool IsUnattended();
    static bool IsTesting();
    static QMessageBox::StandardButton TakeAnswer(QMessageBox::StandardButton fallback);

private:
    static bool Testing;
    static bool Unattended;
    static std::deque<QMessageBox::StandardButton> Answers;
    static std::deque<QString> FileNames;
};
