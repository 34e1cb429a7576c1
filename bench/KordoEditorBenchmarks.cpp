// The editor at scale: "Load Data" until the full list shows, listing every person, a search (also the
// first after a load), searching as a text is typed, sorting by a column, changing a filter,
// type-ahead, focusing a person, confirming him and undoing and redoing the confirm, on the offscreen
// platform. Times of single actions inside an iteration are medians (median_ms) and the slowest
// (worst_ms).
//
//   QT_QPA_PLATFORM=offscreen kordo-editor-bench [--people N] [google benchmark flags]
#include "KordoGenerator.h"
#include "KordoListView.h"
#include "KordoSearch.h"
#include "KordoSearchPanel.h"
#include "frameStaffUnit.h"
#include "frmMainUnit.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QSignalBlocker>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <memory>

namespace {

int32_t People = 250000;
std::unique_ptr<TfrmMain> Window;

TfrmMain& LoadedWindow() {
    if (!Window) {
        auto root =
            std::filesystem::temp_directory_path() / "kordo-bench" / ("editor-" + std::to_string(People));
        if (!std::filesystem::exists(root / "data" / "people_db.dat")) {
            std::string error;
            if (!KordoGenerateFiles(root / "data", {People, 1, false}, error))
                std::exit(2);
        }
        Window = std::make_unique<TfrmMain>(QString::fromStdString(root.string()));
        Window->show();
    }
    return *Window;
}

// The staff page's search panel of the loaded window, no filter set, its box holding the text (which
// lists what the text finds); with `run`, the search (or, for an empty box, the list of everybody) is
// done once more through the Search button.
TKordoSearchPanel& StaffPanel(const QString& text, bool run) {
    TfrmMain& window = LoadedWindow();
    if (!window.mnuSaveData->isEnabled())
        window.mnuLoadDataClick();
    TKordoSearchPanel& panel = *window.frameStaff->pnlList;
    panel.SetFilter({});
    panel.edSearch->setText(text);
    if (run)
        panel.btnSearchClick();
    return panel;
}

double Milliseconds(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

double Median(std::vector<double> values) {
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

void Report(benchmark::State& state, const std::vector<double>& times) {
    state.counters["median_ms"] = Median(times);
    state.counters["worst_ms"] = times.empty() ? 0 : *std::max_element(times.begin(), times.end());
}

// "Load Data" until the whole list of people shows and the box takes the next key (median_ms); and
// until the window takes keys, the search box focused, while the search is still being prepared on a
// second thread (keys_ms).
void BM_LoadDataToReady(benchmark::State& state) {
    TfrmMain& window = LoadedWindow();
    TKordoSearchPanel& panel = *window.frameStaff->pnlList;
    std::vector<double> times, keys;
    for (auto _ : state) {
        state.PauseTiming();
        {
            QSignalBlocker quiet(panel.edSearch);
            panel.edSearch->clear();
        }
        state.ResumeTiming();
        auto start = std::chrono::steady_clock::now();
        window.mnuLoadDataClick();
        QApplication::processEvents();
        keys.push_back(Milliseconds(start));
        while (window.ListsWaiting())
            QApplication::processEvents(QEventLoop::WaitForMoreEvents);
        QApplication::processEvents();
        times.push_back(Milliseconds(start));
        if (!window.mnuSaveData->isEnabled() || panel.Search()->RowCount() != window.Database.Staffs.Count())
            state.SkipWithError("load failed");
    }
    Report(state, times);
    state.counters["keys_ms"] = Median(keys);
}

// A four-letter text typed one key at a time into the box of the full list, the list following
// every key; the time is that of one key, from the key to the list painted.
void BM_SearchAsYouType(benchmark::State& state) {
    TKordoSearchPanel& panel = StaffPanel("", false);
    const QString words[] = {"smit", "anna", "ette", "ouch"};
    std::vector<double> times;
    size_t word = 0, key = 0;
    for (auto _ : state) {
        if (key == 0) {
            state.PauseTiming();
            panel.edSearch->clear();
            QApplication::processEvents();
            state.ResumeTiming();
        }
        auto start = std::chrono::steady_clock::now();
        panel.edSearch->insert(words[word].mid(static_cast<qsizetype>(key), 1));
        QApplication::processEvents();
        times.push_back(Milliseconds(start));
        if (++key == 4) {
            key = 0;
            word = (word + 1) % std::size(words);
        }
    }
    state.counters["rows"] = panel.Search()->RowCount();
    Report(state, times);
}

// The full list of people sorted by a column through its heading (club, date of birth), each time
// from the list in name order.
void BM_SortPeopleByColumn(benchmark::State& state) {
    TKordoSearchPanel& panel = StaffPanel("", false);
    const int column = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        panel.List->sortByColumn(0, Qt::AscendingOrder);
        QApplication::processEvents();
        state.ResumeTiming();
        panel.List->sortByColumn(column, Qt::AscendingOrder);
        QApplication::processEvents();
    }
    state.SetLabel(panel.Search()->Column(column).Title == u"Club" ? "club" : "date of birth");
    panel.List->sortByColumn(0, Qt::AscendingOrder);
}

// A filter of the full list changed: the nation, then the staff type, each time from no filter.
void BM_ChangeFilter(benchmark::State& state) {
    TKordoSearchPanel& panel = StaffPanel("", false);
    QComboBox* list = state.range(0) == 0 ? panel.cmbFilterNation : panel.cmbFilterStaffType;
    int item = 1;
    for (auto _ : state) {
        state.PauseTiming();
        panel.SetFilter({});
        QApplication::processEvents();
        state.ResumeTiming();
        list->setCurrentIndex(item);
        QApplication::processEvents();
        item = item % (list->count() - 1) + 1;
    }
    state.SetLabel(state.range(0) == 0 ? "nation" : "staff type");
    state.counters["rows"] = panel.Search()->RowCount();
    panel.SetFilter({});
}

void BM_ShowAllPeople(benchmark::State& state) {
    TKordoSearchPanel& panel = StaffPanel("", false);
    for (auto _ : state) {
        panel.btnSearchClick();
        QApplication::processEvents();
    }
    state.counters["rows"] = panel.Search()->RowCount();
}

void BM_SearchPeople(benchmark::State& state) {
    TKordoSearchPanel& panel = StaffPanel("an", false);
    for (auto _ : state) {
        panel.btnSearchClick();
        QApplication::processEvents();
    }
    state.counters["rows"] = panel.Search()->RowCount();
}

// The first search after "Load Data", on the search object the load has just bound.
void BM_FirstSearchAfterLoad(benchmark::State& state) {
    TfrmMain& window = LoadedWindow();
    TKordoSearchPanel& panel = *window.frameStaff->pnlList;
    for (auto _ : state) {
        state.PauseTiming();
        window.mnuLoadDataClick();
        QApplication::processEvents();
        panel.edSearch->setText("an");
        state.ResumeTiming();
        panel.btnSearchClick();
        QApplication::processEvents();
    }
    state.counters["rows"] = panel.Search()->RowCount();
}

// A person's row gets the focus: every page of the staff editor filled from him and shown.
// worst_ms: the slowest single focus.
void BM_FocusPerson(benchmark::State& state) {
    TKordoSearchPanel& panel = StaffPanel("", true);
    int rows = panel.Search()->RowCount();
    int row = 0;
    double worst = 0;
    for (auto _ : state) {
        auto start = std::chrono::steady_clock::now();
        panel.List->FocusRow(row);
        QApplication::processEvents();
        worst = std::max(
            worst,
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        row = (row + 7919) % rows;
    }
    state.counters["worst_ms"] = worst;
}

// "Confirm Changes" on a focused person, without an edit and after changing a rating.
void BM_ConfirmPerson(benchmark::State& state) {
    TKordoSearchPanel& panel = StaffPanel("", true);
    TframeStaff& frame = *LoadedWindow().frameStaff;
    panel.List->FocusRow(1000);
    QApplication::processEvents();
    bool edit = state.range(0) != 0;
    int round = 0;
    for (auto _ : state) {
        if (edit) {
            state.PauseTiming();
            frame.Form().Control("seAdaptability").Number = 1 + round++ % 19;
            state.ResumeTiming();
        }
        frame.btnConfirmChangesClick();
        QApplication::processEvents();
    }
}

// Edit > Undo and Edit > Redo of one Confirm Changes of a listed person (a rating changed): the
// database restored, his row and the pages shown again. worst_ms: the slowest single one.
void BM_UndoRedoConfirm(benchmark::State& state) {
    TKordoSearchPanel& panel = StaffPanel("", true);
    TfrmMain& window = LoadedWindow();
    TframeStaff& frame = *window.frameStaff;
    panel.List->FocusRow(2000);
    QApplication::processEvents();
    frame.Form().Control("seAdaptability").Number = frame.Form().Control("seAdaptability").Number % 19 + 1;
    frame.btnConfirmChangesClick();
    const bool undo = state.range(0) == 0;
    double worst = 0;
    for (auto _ : state) {
        state.PauseTiming();
        // Each round starts where the other action left the stack.
        if (undo ? !window.Session.CanUndo() : !window.Session.CanRedo())
            undo ? window.mnuRedoClick() : window.mnuUndoClick();
        QApplication::processEvents();
        state.ResumeTiming();
        auto start = std::chrono::steady_clock::now();
        undo ? window.mnuUndoClick() : window.mnuRedoClick();
        QApplication::processEvents();
        worst = std::max(
            worst,
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    state.counters["worst_ms"] = worst;
}

void BM_TypeAhead(benchmark::State& state) {
    TKordoSearchPanel& panel = StaffPanel("", true);
    const char* prefixes[] = {"m", "zz", "b", "sm", "a"};
    size_t i = 0;
    for (auto _ : state) {
        int row = panel.Search()->FindTypeAhead(QString(prefixes[i++ % 5]).toStdU16String());
        panel.List->FocusRow(row);
        QApplication::processEvents();
    }
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Kordo Pregame Editor");
    std::vector<char*> rest{argv[0]};
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--people") == 0 && i + 1 < argc)
            People = std::atoi(argv[++i]);
        else
            rest.push_back(argv[i]);
    }
    benchmark::RegisterBenchmark("LoadDataToReady", BM_LoadDataToReady)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(5);
    benchmark::RegisterBenchmark("SearchAsYouType", BM_SearchAsYouType)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(32);
    benchmark::RegisterBenchmark("SortPeopleByColumn", BM_SortPeopleByColumn)
        ->Arg(1)
        ->Arg(3)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(5);
    benchmark::RegisterBenchmark("ChangeFilter", BM_ChangeFilter)
        ->Arg(0)
        ->Arg(1)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(8);
    benchmark::RegisterBenchmark("ShowAllPeople", BM_ShowAllPeople)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(5);
    benchmark::RegisterBenchmark("SearchPeople", BM_SearchPeople)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(10);
    benchmark::RegisterBenchmark("FirstSearchAfterLoad", BM_FirstSearchAfterLoad)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(3);
    benchmark::RegisterBenchmark("FocusPerson", BM_FocusPerson)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("ConfirmPerson", BM_ConfirmPerson)
        ->Arg(0)
        ->Arg(1)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("UndoConfirm", BM_UndoRedoConfirm)->Arg(0)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("RedoConfirm", BM_UndoRedoConfirm)->Arg(1)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("TypeAhead", BM_TypeAhead)->Unit(benchmark::kMicrosecond);
    int count = static_cast<int>(rest.size());
    benchmark::Initialize(&count, rest.data());
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    Window.reset();
    return 0;
}
