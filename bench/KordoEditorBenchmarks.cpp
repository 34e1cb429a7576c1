// The editor at scale: "Load Data" to a ready window, listing every person, a search (also the first
// after a load), type-ahead, focusing a person, confirming him and undoing and redoing the confirm,
// on the offscreen platform.
//
//   QT_QPA_PLATFORM=offscreen kordo-editor-bench [--people N] [google benchmark flags]
#include "KordoGenerator.h"
#include "KordoListView.h"
#include "KordoSearch.h"
#include "KordoSearchPanel.h"
#include "frameStaffUnit.h"
#include "frmMainUnit.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
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

// The staff page's search panel of the loaded window, its box holding the text; with `run`, the
// search (or, for an empty box, the list of everybody) is done once.
TKordoSearchPanel& StaffPanel(const QString& text, bool run) {
    TfrmMain& window = LoadedWindow();
    if (!window.mnuSaveData->isEnabled())
        window.mnuLoadDataClick();
    TKordoSearchPanel& panel = *window.frameStaff->pnlList;
    panel.edSearch->setText(text);
    if (run)
        panel.btnSearchClick();
    return panel;
}

void BM_LoadDataToReadyWindow(benchmark::State& state) {
    TfrmMain& window = LoadedWindow();
    for (auto _ : state) {
        window.mnuLoadDataClick();
        QApplication::processEvents();
        if (!window.mnuSaveData->isEnabled())
            state.SkipWithError("load failed");
    }
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
    benchmark::RegisterBenchmark("LoadDataToReadyWindow", BM_LoadDataToReadyWindow)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(5);
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
