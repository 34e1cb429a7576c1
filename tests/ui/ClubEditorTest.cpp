// The club editor and the preference dialog driven through their widgets on the offscreen platform:
// the pages of a club and its squads, opening a person by a double-click, confirm and cancel, the
// preference lists of both editors edited through the dialog, and a club surviving a save and a load.
#include "KordoCheck.h"
#include "KordoComboBox.h"
#include "KordoDialogs.h"
#include "KordoFunctions.h"
#include "KordoGenerator.h"
#include "KordoListView.h"
#include "KordoSearch.h"
#include "KordoSearchPanel.h"
#include "frameClubUnit.h"
#include "frameSquadUnit.h"
#include "frameStaffUnit.h"
#include "frmEditPreferenceUnit.h"
#include "frmMainUnit.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QString Text(const std::u16string& text) {
    return QString::fromStdU16String(text);
}

// A main window over a freshly generated installation, loaded, every club listed on the Clubs page.
struct TClubEditor {
    QTemporaryDir Dir;
    std::unique_ptr<TfrmMain> Window;
    TframeClub* Frame = nullptr;

    TClubEditor() {
        std::string error;
        if (!KordoGenerateFiles(std::filesystem::path(Dir.filePath("data").toStdU16String()), {600, 7, false},
                                error))
            qFatal("cannot generate: %s", error.c_str());
        Window = std::make_unique<TfrmMain>(Dir.path());
        Window->show();
        Window->mnuLoadDataClick();
        Frame = Window->frameClub;
        Window->pcStaffAllData->setCurrentWidget(Window->tsClubs);
        Frame->pnlList->btnSearchClick();
        // Typing goes where the focus is, which needs an active window (the progress windows were).
        Window->activateWindow();
        if (!QTest::qWaitForWindowActive(Window.get()))
            qFatal("the window does not become active");
    }
    TKordoPregameDatabase& Database() const { return Window->Database; }
    // Focuses the first listed club for which the test holds.
    TKordoClub* Focus(const std::function<bool(const TKordoClub&)>& test) const {
        TKordoSearch& search = *Frame->pnlList->Search();
        for (int32_t row = 0; row < search.RowCount(); ++row)
            if (auto* club = search.RowRecord<TKordoClub>(row); test(*club)) {
                Frame->pnlList->List->FocusRow(row);
                return club;
            }
        qFatal("no such club");
    }
    template <class T> T* Find(QWidget* in, const char* name) const {
        T* widget = in->findChild<T*>(name);
        if (!widget)
            qFatal("no widget %s", name);
        return widget;
    }
    template <class T> T* Find(const char* name) const { return Find<T>(Frame, name); }
    void ShowPage(QTabWidget* pages, const char* page) const {
        pages->setCurrentWidget(Find<QWidget>(pages, page));
    }
    // Double-clicks a line of a list box on the page in front, as the platform reports it: the
    // second press of the mouse comes with the double-click.
    static void DoubleClick(QListWidget* list, int line) {
        QWidget* viewport = list->viewport();
        QPoint at = list->visualItemRect(list->item(line)).center();
        QTest::mouseClick(viewport, Qt::LeftButton, {}, at);
        QTest::mousePress(viewport, Qt::LeftButton, {}, at);
        QMouseEvent twice(QEvent::MouseButtonDblClick, at, viewport->mapToGlobal(at), Qt::LeftButton,
                          Qt::LeftButton, {});
        QApplication::sendEvent(viewport, &twice);
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, at);
    }
    // The staff editor lists exactly this person, focused, in front.
    void ShowsOnlyInTheStaffEditor(TKordoStaff* staff) const {
        QCOMPARE(Window->pcStaffAllData->currentWidget(), Window->tsStaff);
        TKordoSearch& search = *Window->frameStaff->pnlList->Search();
        QCOMPARE(search.RowCount(), 1);
        QCOMPARE(search.RowRecord<TKordoStaff>(0), staff);
        QCOMPARE(Window->frameStaff->pnlList->List->FocusedRow(), 0);
        QCOMPARE(Window->frameStaff->CurrentStaff(), staff);
        Window->pcStaffAllData->setCurrentWidget(Window->tsClubs);
    }
};

// Answers the next preference dialog as a user would: searches for the text, chooses the row of the
// record, types the amount and closes it with OK or Cancel. The caption is recorded.
template <class TRecord>
void Answer(const QString& search, TRecord* record, const QString& amount, bool ok,
            QString* caption = nullptr) {
    TfrmEditPreference::Testing = [=](TfrmEditPreference& dialog) {
        if (caption)
            *caption = dialog.windowTitle();
        if (!search.isEmpty()) {
            dialog.pnlSearch->edSearch->setText(search);
            dialog.pnlSearch->btnSearch->click();
            dialog.pnlSearch->List->FocusRow(dialog.pnlSearch->Search()->RowOf(record));
        }
        if (!amount.isEmpty()) {
            dialog.seAmount->selectAll();
            QTest::keyClicks(dialog.seAmount, amount);
        }
        (ok ? dialog.btnOK : dialog.btnCancel)->click();
    };
}

// The entries of a relation list, as (kind, relation, amount, target).
using TEntry = std::tuple<int, int, int, TKordoRecordRef>;
std::vector<TEntry> Entries(const std::vector<TKordoRelation>& relations) {
    std::vector<TEntry> entries;
    for (const TKordoRelation& entry : relations)
        entries.emplace_back(entry.Kind, entry.Relation, entry.Amount, entry.Target);
    return entries;
}

bool HasSecondName(const TKordoStaff& staff) {
    return staff.SecondName && staff.SecondName->Name.size() > 3;
}

} // namespace

class ClubEditorTest : public QObject {
    Q_OBJECT
private slots:
    void init() { TKordoDialogs::SetTesting(true); }
    void cleanup() { TfrmEditPreference::Testing = nullptr; }

    void showsTheClubAndRebuildsTheSquadPagesOnEveryFocus() {
        TClubEditor editor;
        QCOMPARE(editor.Frame->pnlList->sbarSearchResult->text(),
                 QString::number(editor.Database().Clubs.Count()) + " Club Found");
        QVERIFY(!editor.Frame->pcClub->isEnabled() && !editor.Frame->btnConfirmChanges->isEnabled());

        TKordoClub* club =
            editor.Focus([](const TKordoClub& c) { return c.Squads.size() > 1 && !c.BoardMembers.empty(); });
        QVERIFY(editor.Frame->pcClub->isEnabled() && editor.Frame->btnCancelChanges->isEnabled());
        QCOMPARE(editor.Find<QLineEdit>("edClubName")->text(), Text(club->ClubName));
        QVERIFY(editor.Find<QLineEdit>("edClubName")->isReadOnly());
        QVERIFY(editor.Find<TPointerComboBox>("cmbNation")->SelectedValue() == TKordoRecordRef(club->Nation));
        QCOMPARE(editor.Find<QSpinBox>("seBalance")->value(), club->Balance());
        QCOMPARE(editor.Find<QCheckBox>("cbPublicLimitedCompany")->isChecked(),
                 club->PublicLimitedCompany() != 0);
        QCOMPARE(size_t(editor.Find<QListWidget>("lboxBoardMembers")->count()), club->BoardMembers.size());
        QCOMPARE(editor.Find<QLineEdit>("edChairman")->text(),
                 club->Chairman ? Text(StaffDisplayName(*club->Chairman)) : QString());

        QTabWidget* squads = editor.Frame->pcSquads;
        QCOMPARE(size_t(squads->count()), club->Squads.size());
        for (int page = 0; page < squads->count(); ++page) {
            TKordoClub* owner = editor.Database().Clubs.FindClub(club->Squads[size_t(page)]->OwnerClubID());
            QCOMPARE(squads->tabText(page), owner ? Text(owner->ClubName) : QString());
            TframeSquad* frame = editor.Frame->SquadFrames[size_t(page)];
            QCOMPARE(editor.Find<QSpinBox>(frame, "seReputation")->value(),
                     std::min<int>(club->Squads[size_t(page)]->Reputation(), 10000));
            QCOMPARE(size_t(editor.Find<QListWidget>(frame, "lboxPlayers")->count()),
                     club->Squads[size_t(page)]->Players.size());
        }

        // Another club, and the same one again, get pages of their own; a club without squads none.
        QPointer<TframeSquad> old = editor.Frame->SquadFrames.front();
        TKordoClub* other =
            editor.Focus([club](const TKordoClub& c) { return &c != club && !c.Squads.empty(); });
        QVERIFY(old.isNull());
        QCOMPARE(size_t(squads->count()), other->Squads.size());
        old = editor.Frame->SquadFrames.front();
        editor.Frame->lvClubFocusChanged(editor.Frame->pnlList->List->FocusedRow());
        QVERIFY(old.isNull() && squads->count() > 0);
        std::vector<TKordoSquad*> kept;
        std::swap(kept, other->Squads);
        editor.Frame->lvClubFocusChanged(editor.Frame->pnlList->List->FocusedRow());
        QCOMPARE(squads->count(), 0);
        std::swap(kept, other->Squads);
    }

    void doubleClickedPeopleOpenInTheStaffEditor() {
        TClubEditor editor;
        TKordoClub* club = editor.Focus([](const TKordoClub& c) {
            return c.Chairman && !c.BoardMembers.empty() && !c.Squads.empty() &&
                   !c.Squads[0]->Players.empty() && c.Squads[0]->Manager;
        });
        editor.ShowPage(editor.Frame->pcClub, "tsBoardScouts");
        auto* board = editor.Find<TPointerListBox>("lboxBoardMembers");
        editor.DoubleClick(board, board->count() - 1);
        auto* member = board->SelectedValue().Get<TKordoStaff>();
        QVERIFY(std::count(club->BoardMembers.begin(), club->BoardMembers.end(), member) == 1);
        editor.ShowsOnlyInTheStaffEditor(member);
        QTest::mouseDClick(editor.Find<QLineEdit>("edChairman"), Qt::LeftButton);
        editor.ShowsOnlyInTheStaffEditor(club->Chairman);

        editor.ShowPage(editor.Frame->pcClub, "tsSquads");
        TframeSquad* squad = editor.Frame->SquadFrames.front();
        editor.ShowPage(squad->pcSquad, "tsPlayers");
        auto* players = editor.Find<TPointerListBox>(squad, "lboxPlayers");
        editor.DoubleClick(players, 0);
        editor.ShowsOnlyInTheStaffEditor(players->SelectedValue().Get<TKordoStaff>());
        editor.ShowPage(squad->pcSquad, "tsStaff");
        QTest::mouseDClick(editor.Find<QLineEdit>(squad, "edManager"), Qt::LeftButton);
        editor.ShowsOnlyInTheStaffEditor(club->Squads[0]->Manager);
    }

    void confirmWritesThePagesAndCancelShowsTheRecord() {
        TClubEditor editor;
        TKordoClub* club = editor.Focus([](const TKordoClub& c) { return !c.Squads.empty() && c.Nation; });
        TKordoNation* before = club->Nation;
        uint16_t beforeCount = before->ClubCount();
        auto* nations = editor.Find<TPointerComboBox>("cmbNation");
        nations->setCurrentIndex(nations->currentIndex() == 1 ? 2 : 1);
        auto* after = nations->SelectedValue().Get<TKordoNation>();
        uint16_t afterCount = after->ClubCount();
        editor.Find<QSpinBox>("seBalance")->setValue(-1234567);
        auto* company = editor.Find<QCheckBox>("cbPublicLimitedCompany");
        company->setChecked(!company->isChecked());
        const int training = club->Training();

        // A reputation typed into a box that keeps the focus is rounded down on confirm.
        editor.ShowPage(editor.Frame->pcClub, "tsSquads");
        auto* reputation = editor.Find<QSpinBox>(editor.Frame->SquadFrames.front(), "seReputation");
        reputation->setFocus();
        reputation->selectAll();
        QTest::keyClicks(reputation, "7420");
        editor.Frame->btnConfirmChanges->click();
        QCOMPARE(club->Squads[0]->Reputation(), uint16_t(7000));
        QCOMPARE(editor.Find<QSpinBox>(editor.Frame->SquadFrames.front(), "seReputation")->value(), 7000);
        QCOMPARE(club->Balance(), -1234567);
        QCOMPARE(club->PublicLimitedCompany() != 0, company->isChecked());
        QCOMPARE(club->Nation, after);
        QCOMPARE(before->ClubCount(), uint16_t(beforeCount - 1));
        QCOMPARE(after->ClubCount(), uint16_t(afterCount + 1));
        QCOMPARE(club->Training(), uint8_t(training));
        QVERIFY(editor.Window->isWindowModified());
        editor.Frame->btnConfirmChanges->click();
        QCOMPARE(after->ClubCount(), uint16_t(afterCount + 1));

        // Cancel shows the record again, squad pages and all, on the squad page that was in front.
        editor.Find<QSpinBox>("seTraining")->setValue(training == 3 ? 4 : 3);
        editor.Find<QSpinBox>(editor.Frame->SquadFrames.front(), "seReputation")->setValue(500);
        editor.Frame->btnCancelChanges->click();
        QCOMPARE(editor.Find<QSpinBox>("seTraining")->value(), training);
        QCOMPARE(editor.Find<QSpinBox>(editor.Frame->SquadFrames.front(), "seReputation")->value(), 7000);
        QCOMPARE(club->Training(), uint8_t(training));
        QCOMPARE(club->Squads[0]->Reputation(), uint16_t(7000));
    }

    void aPersonsPreferencesAreEditedThroughTheDialog() {
        TClubEditor editor;
        TframeStaff* frame = editor.Window->frameStaff;
        editor.Window->pcStaffAllData->setCurrentWidget(editor.Window->tsStaff);
        frame->pnlList->btnSearchClick();
        TKordoSearch& people = *frame->pnlList->Search();
        TKordoStaff *person = nullptr, *liked = nullptr;
        for (int32_t row = 0; row < people.RowCount() && !liked; ++row) {
            auto* staff = people.RowRecord<TKordoStaff>(row);
            if (!person && staff->StaffType() != 4 && staff->Relations.empty()) {
                frame->pnlList->List->FocusRow(row);
                person = staff;
            } else if (person && HasSecondName(*staff)) {
                liked = staff;
            }
        }
        QVERIFY(person && liked);
        QString caption;
        Answer(Text(liked->SecondName->Name), liked, "37", true, &caption);
        frame->findChild<QPushButton*>("btnAddFavouriteStaff")->click();
        QCOMPARE(caption, QString("Add Favourite Staff"));
        QCOMPARE(Entries(person->Relations), (std::vector<TEntry>{{3, 1, 35, liked}}));
        auto* favourites = frame->findChild<QListWidget*>("lboxFavouriteStaff");
        QCOMPARE(favourites->count(), 1);
        QCOMPARE(favourites->item(0)->text(), Text(StaffDisplayName(*liked)));
        QVERIFY(editor.Window->isWindowModified());

        // Edit presets the entry; Cancel and OK without a choice change nothing.
        favourites->setCurrentRow(0);
        QString preset;
        TfrmEditPreference::Testing = [&](TfrmEditPreference& dialog) {
            preset = dialog.windowTitle() + " " + dialog.lblStaffName->text() + " " + dialog.seAmount->text();
            dialog.seAmount->setValue(60);
            dialog.btnOK->click();
        };
        frame->findChild<QPushButton*>("btnEditFavouriteStaff")->click();
        QCOMPARE(preset, "Edit Favourite Staff " + Text(StaffDisplayName(*liked)) + " 35");
        QCOMPARE(Entries(person->Relations), (std::vector<TEntry>{{3, 1, 60, liked}}));
        favourites->setCurrentRow(0);
        Answer<TKordoStaff>({}, nullptr, "90", false, &caption);
        TClubEditor::DoubleClick(favourites, 0); // a double-click edits too
        QCOMPARE(caption, QString("Edit Favourite Staff"));
        QCOMPARE(Entries(person->Relations), (std::vector<TEntry>{{3, 1, 60, liked}}));
        Answer<TKordoStaff>({}, nullptr, "90", true);
        frame->findChild<QPushButton*>("btnAddDislikedClub")->click();
        QCOMPARE(person->Relations.size(), size_t(1));

        favourites->setCurrentRow(0);
        frame->findChild<QPushButton*>("btnDeleteFavouriteStaff")->click();
        QVERIFY(person->Relations.empty());
        QCOMPARE(favourites->count(), 0);
    }

    void aClubsRivalsAndPeopleAreEditedThroughTheDialog() {
        TClubEditor editor;
        TKordoClub* club = editor.Focus([](const TKordoClub& c) { return !c.Squads.empty(); });
        std::vector<TKordoClub*> others;
        for (TKordoClub& c : editor.Database().Clubs.Records)
            if (&c != club && !c.Squads.empty() && c.ClubName.size() > 4)
                others.push_back(&c);
        TKordoClub *rival = others.front(), *another = others.back();
        editor.ShowPage(editor.Frame->pcClub, "tsPreferences");
        QString caption;
        bool staffShown = true;
        Answer(Text(rival->ClubName), rival, "50", true, &caption);
        auto run = TfrmEditPreference::Testing;
        TfrmEditPreference::Testing = [&](TfrmEditPreference& dialog) {
            staffShown = !dialog.lblStaffName->isHidden();
            run(dialog);
        };
        size_t entries = club->Relations.size();
        editor.Find<QPushButton>("btnAddRival")->click();
        QCOMPARE(caption, QString("Add Disliked Club"));
        QVERIFY(!staffShown);
        QCOMPARE(club->Relations.size(), entries + 1);
        QCOMPARE(Entries({club->Relations.back()}), (std::vector<TEntry>{{1, 5, 50, rival}}));
        auto* rivals = editor.Find<QListWidget>("lboxRivals");
        QCOMPARE(rivals->findItems(Text(rival->ClubName), Qt::MatchExactly).size(), 1);

        // A rival named twice is listed once; each Delete removes one of the entries.
        club->Relations.push_back(club->Relations.back());
        editor.Frame->btnCancelChanges->click();
        QCOMPARE(rivals->findItems(Text(rival->ClubName), Qt::MatchExactly).size(), 1);
        rivals->setCurrentItem(rivals->findItems(Text(rival->ClubName), Qt::MatchExactly).front());
        editor.Find<QPushButton>("btnDeleteRival")->click();
        QCOMPARE(club->Relations.size(), entries + 1);
        QCOMPARE(rivals->findItems(Text(rival->ClubName), Qt::MatchExactly).size(), 1);

        // A list the file cannot hold more of refuses, with a message, and nothing changes.
        club->Relations.resize(254, club->Relations.back());
        Answer(Text(another->ClubName), another, "50", true);
        editor.Find<QPushButton>("btnAddRival")->click();
        QCOMPARE(TKordoDialogs::Shown().size(), qsizetype(1));
        QCOMPARE(club->Relations.size(), size_t(254));
    }

    void aClubAndItsPreferencesSurviveSaveAndLoad() {
        TClubEditor editor;
        TKordoClub* club =
            editor.Focus([](const TKordoClub& c) { return !c.Squads.empty() && c.Relations.empty(); });
        const int32_t id = club->ClubID();
        const QString name = Text(club->ClubName);
        std::vector<std::string> findings = KordoCheckDatabase(editor.Database());
        TKordoClub* rival = nullptr;
        for (TKordoClub& c : editor.Database().Clubs.Records)
            if (&c != club && !c.Squads.empty() && c.ClubName.size() > 4)
                rival = &c;
        TKordoStaff* fan = nullptr;
        for (TKordoStaff* staff : editor.Database().Staffs.List())
            if (HasSecondName(*staff))
                fan = staff;
        TKordoStaff* friendly = nullptr;
        for (TKordoStaff* staff : editor.Database().Staffs.List())
            if (HasSecondName(*staff) && staff != fan && staff->SecondName != fan->SecondName)
                friendly = staff;
        const int32_t fanID = fan->ID(), friendID = friendly->ID();
        const QString rivalName = Text(rival->ClubName); // the records go with the next load

        // Every editable control of the General page and of a squad page.
        auto* nations = editor.Find<QComboBox>("cmbNation");
        nations->setCurrentIndex(nations->currentIndex() == 3 ? 4 : 3);
        const QString nation = nations->currentText();
        editor.Find<QSpinBox>("seMinimumAttendance")->setValue(1200);
        editor.Find<QSpinBox>("seAverageAttendance")->setValue(23000);
        editor.Find<QSpinBox>("seMaximumAttendance")->setValue(150000);
        editor.Find<QSpinBox>("seTraining")->setValue(17);
        editor.Find<QSpinBox>("seBalance")->setValue(-1234567);
        auto* company = editor.Find<QCheckBox>("cbPublicLimitedCompany");
        const bool listed = !company->isChecked();
        company->setChecked(listed);
        editor.Find<TIntegerComboBox>("cmbProfessionalStatus")->setCurrentIndex(2);
        editor.Find<QComboBox>(editor.Frame->SquadFrames.front(), "cmbHomeMatchDay")->setCurrentIndex(5);
        editor.Find<QSpinBox>(editor.Frame->SquadFrames.front(), "seReputation")->setValue(3500);
        editor.Frame->btnConfirmChanges->click();
        Answer(Text(rival->ClubName), rival, "45", true);
        editor.Find<QPushButton>("btnAddRival")->click();
        Answer(Text(fan->SecondName->Name), fan, "80", true);
        editor.Find<QPushButton>("btnAddDislikedStaff")->click();
        Answer(Text(friendly->SecondName->Name), friendly, "60", true);
        editor.Find<QPushButton>("btnAddFavouriteStaff")->click();
        QVERIFY(TKordoDialogs::Shown().isEmpty());

        QVERIFY(editor.Window->mnuSaveDataClick());
        editor.Window->mnuLoadDataClick();
        editor.Frame->pnlList->edSearch->setText(name);
        editor.Frame->pnlList->btnSearchClick();
        club = editor.Focus([id](const TKordoClub& c) { return c.ClubID() == id; });
        QCOMPARE(editor.Find<QComboBox>("cmbNation")->currentText(), nation);
        QCOMPARE(editor.Find<QSpinBox>("seMinimumAttendance")->value(), 1200);
        QCOMPARE(editor.Find<QSpinBox>("seAverageAttendance")->value(), 23000);
        QCOMPARE(editor.Find<QSpinBox>("seMaximumAttendance")->value(), 150000);
        QCOMPARE(editor.Find<QSpinBox>("seTraining")->value(), 17);
        QCOMPARE(editor.Find<QSpinBox>("seBalance")->value(), -1234567);
        QCOMPARE(editor.Find<QCheckBox>("cbPublicLimitedCompany")->isChecked(), listed);
        QCOMPARE(editor.Find<QSpinBox>(editor.Frame->SquadFrames.front(), "seReputation")->value(), 3500);
        QCOMPARE(editor.Find<TIntegerComboBox>("cmbProfessionalStatus")->SelectedValue(), 3);
        QCOMPARE(editor.Find<TIntegerComboBox>(editor.Frame->SquadFrames.front(), "cmbHomeMatchDay")
                     ->SelectedValue(),
                 5);
        auto* rivals = editor.Find<QListWidget>("lboxRivals");
        QCOMPARE(rivals->count(), 1);
        QCOMPARE(rivals->item(0)->text(), rivalName);
        auto* disliked = editor.Find<TPointerListBox>("lboxDislikedStaff");
        QCOMPARE(disliked->count(), 1);
        disliked->setCurrentRow(0);
        QCOMPARE(disliked->SelectedValue().Get<TKordoStaff>()->ID(), fanID);
        auto* favourites = editor.Find<TPointerListBox>("lboxFavouriteStaff");
        QCOMPARE(favourites->count(), 1);
        favourites->setCurrentRow(0);
        QCOMPARE(favourites->SelectedValue().Get<TKordoStaff>()->ID(), friendID);
        for (const std::string& finding : KordoCheckDatabase(editor.Database()))
            QVERIFY2(std::find(findings.begin(), findings.end(), finding) != findings.end(), finding.c_str());
    }
};

QTEST_MAIN(ClubEditorTest)
#include "ClubEditorTest.moc"
