// The staff editor driven through its widgets on the offscreen platform: what the pages show, what
// the lists reset, adding, deleting, cancelling and a confirmed edit surviving a save and a load.
#include "KordoCheck.h"
#include "KordoComboBox.h"
#include "KordoDialogs.h"
#include "KordoGenerator.h"
#include "KordoListView.h"
#include "KordoSearch.h"
#include "KordoSearchPanel.h"
#include "frameStaffUnit.h"
#include "frmMainUnit.h"

#include <QAction>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// A main window over a freshly generated installation, loaded, every person listed.
struct TEditor {
    QTemporaryDir Dir;
    std::unique_ptr<TfrmMain> Window;
    TframeStaff* Frame = nullptr;

    TEditor() {
        std::string error;
        if (!KordoGenerateFiles(std::filesystem::path(Dir.filePath("data").toStdU16String()), {300, 5, false},
                                error))
            qFatal("cannot generate: %s", error.c_str());
        Window = std::make_unique<TfrmMain>(Dir.path());
        Window->show();
        Window->mnuLoadDataClick();
        Frame = Window->frameStaff;
        Frame->pnlList->btnSearchClick();
    }
    TKordoSearch& Search() const { return *Frame->pnlList->Search(); }
    template <class T> T* Find(const char* name) const {
        T* widget = Frame->findChild<T*>(name);
        if (!widget)
            qFatal("no widget %s", name);
        return widget;
    }
    // Focuses the first listed person for whom the test holds; nullptr when nobody does. Edits left
    // unconfirmed on the pages are dropped.
    TKordoStaff* Focus(const std::function<bool(const TKordoStaff&)>& test) const {
        for (int32_t row = 0; row < Search().RowCount(); ++row)
            if (auto* staff = Search().RowRecord<TKordoStaff>(row); test(*staff)) {
                if (Window->Session.StaffEdited())
                    TKordoDialogs::SetNextAnswer(QMessageBox::No);
                Frame->pnlList->List->FocusRow(row);
                return staff;
            }
        return nullptr;
    }
    QStringList VisiblePages() const {
        QStringList pages;
        for (int i = 0; i < Frame->pcStaff->count(); ++i)
            if (Frame->pcStaff->isTabVisible(i))
                pages << Frame->pcStaff->widget(i)->objectName();
        return pages;
    }
    // Chooses an item as the user does, raising the list's change.
    void Choose(const char* list, const QString& text) const {
        auto* box = Find<QComboBox>(list);
        int index = box->findText(text);
        if (index < 0)
            qFatal("%s has no item %s", list, qPrintable(text));
        box->setCurrentIndex(index);
    }
    // Replaces a line's text as typing does (any character, as an input method delivers it).
    void Type(const char* name, const QString& text) const {
        auto* edit = Find<QLineEdit>(name);
        edit->selectAll();
        QInputMethodEvent typed;
        typed.setCommitString(text);
        QApplication::sendEvent(edit, &typed);
    }
    QLabel* LabelOf(const char* name) const {
        for (QLabel* label : Frame->findChildren<QLabel*>())
            if (label->buddy() && label->buddy()->objectName() == name)
                return label;
        return nullptr;
    }
};

} // namespace

class StaffEditorTest : public QObject {
    Q_OBJECT
    // Every widget shows its control: value, items, enabled state, and the label beside it agrees.
    static void ShowsTheForm(const TEditor& editor) {
        for (const TKordoControl& control : editor.Frame->Form().Controls) {
            auto* widget = editor.Find<QWidget>(control.Name.c_str());
            QCOMPARE(widget->isEnabled(), control.Enabled);
            if (QLabel* label = editor.LabelOf(control.Name.c_str()))
                QCOMPARE(label->isEnabled(), control.Enabled);
            if (auto* spin = qobject_cast<QSpinBox*>(widget))
                QCOMPARE(spin->value(), std::clamp(control.Number, control.Minimum, control.Maximum));
            else if (auto* edit = qobject_cast<QLineEdit*>(widget))
                QCOMPARE(edit->text(), QString::fromStdU16String(control.Text));
            else if (auto* box = qobject_cast<QComboBox*>(widget))
                QCOMPARE(std::pair(box->currentIndex(), size_t(box->count())),
                         std::pair(control.Selected, control.Items.size()));
            else if (auto* list = qobject_cast<QListWidget*>(widget))
                QCOMPARE(size_t(list->count()), control.Items.size());
        }
    }

private slots:
    void init() { TKordoDialogs::SetTesting(true); }

    void showsThePagesAndValuesOfEachStaffType() {
        TEditor editor;
        QCOMPARE(editor.Frame->pnlList->sbarSearchResult->text(),
                 QString::number(editor.Window->Database.Staffs.Count()) + " People Found");
        QVERIFY(!editor.Frame->pcStaff->isEnabled());
        const QStringList expected[] = {
            {"tsGeneral", "tsContract", "tsMental", "tsNonPlayer", "tsCoaching", "tsPreferences"},
            {"tsGeneral", "tsContract", "tsMental", "tsAbility", "tsTechnical", "tsMentalPhysical",
             "tsPreferences"},
            {"tsGeneral", "tsContract", "tsMental", "tsAbility", "tsTechnical", "tsMentalPhysical",
             "tsNonPlayer", "tsCoaching", "tsPreferences"},
            {"tsGeneral", "tsReferee"}};
        for (int type = 1; type <= 4; ++type) {
            TKordoStaff* staff = editor.Focus([type](const TKordoStaff& s) { return s.StaffType() == type; });
            QVERIFY2(staff, qPrintable(QString("no person of type %1").arg(type)));
            QVERIFY(editor.Frame->pcStaff->isEnabled() && editor.Frame->btnConfirmChanges->isEnabled());
            QCOMPARE(editor.VisiblePages(), expected[type - 1]);
            QCOMPARE(editor.Find<QLineEdit>("edPictureID")->text(), QString::number(staff->PictureID()));
            QVERIFY(editor.Find<QLineEdit>("edPictureID")->isReadOnly());
            QCOMPARE(editor.Find<TIntegerComboBox>("cmbStaffType")->SelectedValue(), type);
            QCOMPARE(editor.Find<TPointerComboBox>("cmbNation")->SelectedValue(), staff->Nation);
            ShowsTheForm(editor);
        }
        QVERIFY(
            editor.Focus([](const TKordoStaff& s) { return s.StaffType() != 4 && s.Relations.size() > 2; }));
        ShowsTheForm(editor);
    }

    void theListsResetWhatTheyMakeMeaningless() {
        TEditor editor;
        // A club's job without a contract greys expiry, wage and squad number with their labels.
        QVERIFY(editor.Focus([](const TKordoStaff& s) { return s.StaffType() == 1 && s.ClubSquad; }));
        editor.Choose("cmbJob", "Chairman");
        for (const char* name : {"dtpContractExpires", "seEstimatedWage", "seSquadNumber"}) {
            QVERIFY(!editor.Find<QWidget>(name)->isEnabled());
            QVERIFY(!editor.LabelOf(name)->isEnabled());
        }
        editor.Choose("cmbJob", "Coach");
        QVERIFY(editor.Find<QWidget>("dtpContractExpires")->isEnabled());
        QVERIFY(!editor.Find<QWidget>("seSquadNumber")->isEnabled()); // only players wear a number

        // "<No Club>" empties the job list and resets the contract.
        QVERIFY(editor.Focus(
            [](const TKordoStaff& s) { return s.StaffType() == 2 && s.ClubSquad && s.HasClubContract(); }));
        QVERIFY(!editor.Find<QWidget>("cmbNationContracted")->isEnabled());
        auto headings = editor.Frame->findChildren<QLabel*>();
        auto national = std::find_if(headings.begin(), headings.end(),
                                     [](QLabel* l) { return l->text() == "National Team Contracted:"; });
        QVERIFY(national != headings.end() && (*national)->font().bold() && !(*national)->isEnabled());
        editor.Choose("cmbClubContracted", "<No Club>");
        QCOMPARE(editor.Find<QComboBox>("cmbJob")->count(), 0);
        QVERIFY(!editor.Find<QComboBox>("cmbJob")->isEnabled());
        QCOMPARE(editor.Find<QDateEdit>("dtpDateJoined")->date(), QDate(1900, 1, 1));
        QCOMPARE(editor.Find<QDateEdit>("dtpContractExpires")->date(), QDate(1900, 1, 1));
        QCOMPARE(editor.Find<QSpinBox>("seEstimatedWage")->value(), 0);
        QCOMPARE(editor.Find<QSpinBox>("seSquadNumber")->value(), -1);

        // A player made a referee loses the club and every page but General and Referee.
        editor.Focus([](const TKordoStaff& s) { return s.StaffType() == 2 && s.ClubSquad; });
        editor.Choose("cmbStaffType", "Referee");
        QCOMPARE(editor.VisiblePages(), (QStringList{"tsGeneral", "tsReferee"}));
        QCOMPARE(editor.Find<QComboBox>("cmbClubContracted")->currentText(), QString("<No Club>"));
        QCOMPARE(editor.Find<QSpinBox>("seRefereeCurrentAbility")->value(), 0);
    }

    void addsAndDeletesAfterAsking() {
        TEditor editor;
        TKordoPregameDatabase& database = editor.Window->Database;
        int32_t rows = editor.Search().RowCount(), people = database.Staffs.Count();
        editor.Window->mnuStaff->trigger();
        QCOMPARE(editor.Search().RowCount(), rows + 1);
        QCOMPARE(editor.Frame->pnlList->List->FocusedRow(), rows);
        QCOMPARE(editor.VisiblePages(), (QStringList{"tsGeneral", "tsReferee"}));
        QCOMPARE(editor.Find<QLineEdit>("edFirstName")->text(), QString());
        QCOMPARE(editor.Find<QComboBox>("cmbNation")->currentText(), QString("<unspecified>"));

        TKordoStaff* staff = editor.Focus([](const TKordoStaff& s) { return s.CommonName || s.SecondName; });
        QString name = editor.Frame->pnlList->List->currentIndex().data().toString();
        TKordoDialogs::SetNextAnswer(QMessageBox::No);
        editor.Window->mnuDeleteStaff->trigger();
        QCOMPARE(TKordoDialogs::Shown(), QStringList{"Delete " + name + "?"});
        QCOMPARE(editor.Search().RowCount(), rows + 1);
        QCOMPARE(database.Staffs.Count(), people + 1);
        QVERIFY(editor.Frame->pcStaff->isEnabled());

        TKordoDialogs::SetNextAnswer(QMessageBox::Yes);
        editor.Window->mnuDeleteStaff->trigger();
        QCOMPARE(editor.Search().RowCount(), rows);
        QCOMPARE(database.Staffs.Count(), people);
        QVERIFY(std::find(database.Staffs.List().begin(), database.Staffs.List().end(), staff) ==
                database.Staffs.List().end());
        QCOMPARE(editor.Search().RowOf(staff), -1);
        QVERIFY(!editor.Frame->pcStaff->isEnabled() && !editor.Frame->btnCancelChanges->isEnabled());
        QVERIFY(editor.Window->isWindowModified());
    }

    void cancelShowsTheStoredValuesAndUntouchedValuesStay() {
        TEditor editor;
        TKordoStaff* staff =
            editor.Focus([](const TKordoStaff& s) { return s.StaffType() == 2 && s.FirstName; });
        QString first = editor.Find<QLineEdit>("edFirstName")->text();
        int apps = editor.Find<QSpinBox>("seApps")->value();
        editor.Type("edFirstName", "Zq");
        editor.Find<QSpinBox>("seApps")->setValue(apps == 7 ? 8 : 7);
        editor.Choose("cmbStaffType", "Referee");
        editor.Frame->btnCancelChanges->click();
        QCOMPARE(editor.Find<QLineEdit>("edFirstName")->text(), first);
        QCOMPARE(editor.Find<QSpinBox>("seApps")->value(), apps);
        QCOMPARE(editor.VisiblePages().size(), 7);

        // Values the widgets cannot show stay what the record holds, also through a confirm.
        staff->SetCurrentAbility(250);
        staff->SetDateOfBirth({0, 0});
        editor.Frame->btnCancelChangesClick();
        QCOMPARE(editor.Find<QSpinBox>("seCurrentAbility")->value(), 200);
        QCOMPARE(editor.Find<QDateEdit>("dtpDateOfBirth")->text(), QString("not set"));
        editor.Frame->btnConfirmChanges->click();
        QCOMPARE(staff->CurrentAbility(), int16_t(250));
        QCOMPARE(staff->DateOfBirth().Year, uint16_t(0));
    }

    void aConfirmedEditSurvivesSaveAndLoad() {
        TEditor editor;
        TKordoStaff* staff =
            editor.Focus([](const TKordoStaff& s) { return s.StaffType() == 3 && s.ClubSquad; });
        QVERIFY(staff);
        int32_t id = staff->ID();
        std::vector<std::string> findings = KordoCheckDatabase(editor.Window->Database);
        editor.Type("edFirstName", QString::fromUtf8("Żelisław"));
        editor.Type("edCommonName", "Zed");
        editor.Find<QDateEdit>("dtpDateOfBirth")->setDate(QDate(1981, 3, 9));
        // One value on each page.
        const std::pair<const char*, int> numbers[] = {
            {"seApps", 77},    {"seAdaptability", 19},    {"seCurrentAbility", 151}, {"seCrossing", 17},
            {"seStrength", 3}, {"seNonPlayerMarking", 2}, {"seBusiness", 13}};
        for (auto [name, value] : numbers)
            editor.Find<QSpinBox>(name)->setValue(value);
        editor.Choose("cmbPreferredFormation", "3-4-3");
        auto* clubs = editor.Find<QComboBox>("cmbClubContracted");
        editor.Choose("cmbClubContracted", clubs->itemText(clubs->currentIndex() == 5 ? 6 : 5));
        QString club = clubs->currentText(), clubJob = editor.Find<QComboBox>("cmbJob")->currentText();
        editor.Choose("cmbNationContracted", editor.Find<QComboBox>("cmbNationContracted")->itemText(3));
        // Typed into a box that still has the focus.
        auto* goals = editor.Find<QSpinBox>("seGoals");
        goals->setFocus();
        goals->selectAll();
        QTest::keyClicks(goals, "42");
        QString nation = editor.Find<QComboBox>("cmbNationContracted")->currentText();
        QString job = editor.Find<QComboBox>("cmbNationJob")->currentText();
        editor.Frame->btnConfirmChanges->click();
        QVERIFY(TKordoDialogs::Shown().isEmpty());
        QCOMPARE(editor.Frame->pnlList->List->currentIndex().data().toString(), QString("Zed"));
        QVERIFY(editor.Window->isWindowModified());

        QVERIFY(editor.Window->mnuSaveDataClick());
        editor.Window->mnuLoadDataClick();
        editor.Frame->pnlList->edSearch->setText("Zed");
        editor.Frame->pnlList->btnSearchClick();
        QVERIFY(editor.Focus([id](const TKordoStaff& s) { return s.ID() == id; }));
        QCOMPARE(editor.Find<QLineEdit>("edFirstName")->text(), QString::fromUtf8("Żelisław"));
        QCOMPARE(editor.Find<QDateEdit>("dtpDateOfBirth")->date(), QDate(1981, 3, 9));
        for (auto [name, value] : numbers)
            QCOMPARE(editor.Find<QSpinBox>(name)->value(), value);
        QCOMPARE(editor.Find<QSpinBox>("seGoals")->value(), 42);
        QCOMPARE(editor.Find<QComboBox>("cmbPreferredFormation")->currentText(), QString("3-4-3"));
        QCOMPARE(editor.Find<QComboBox>("cmbNationContracted")->currentText(), nation);
        QCOMPARE(editor.Find<QComboBox>("cmbNationJob")->currentText(), job);
        QCOMPARE(editor.Find<QComboBox>("cmbClubContracted")->currentText(), club);
        QCOMPARE(editor.Find<QComboBox>("cmbJob")->currentText(), clubJob);
        // The edit left nothing behind that the checker would find.
        for (const std::string& finding : KordoCheckDatabase(editor.Window->Database))
            QVERIFY2(std::find(findings.begin(), findings.end(), finding) != findings.end(), finding.c_str());
    }
};

QTEST_MAIN(StaffEditorTest)
#include "StaffEditorTest.moc"
