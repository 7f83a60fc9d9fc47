// The manager's start-up handler with 1, 100 and 1000 notes on fake views: loading the file, creating
// and filling every note window and list row.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "Fakes.h"
#include "ProgramSave.h"
#include "manager/NoteManager.h"
#include "store/Settings.h"

namespace {

std::string WriteSettingsWithNotes(int notes) {
    NoteState state;
    for (int i = 0; i < notes; ++i) {
        NoteRecord note = FirstRunNote();
        note.positionX = 10 * i;
        note.isShow = i % 3 != 0;
        state.table.rows.push_back(note);
    }
    const std::string path =
        (std::filesystem::temp_directory_path() / ("skyslate2-startup-" + std::to_string(notes) + ".ini")).string();
    SaveAsTheProgram(state, path);
    return path;
}

void BM_StartUp(benchmark::State& run) {
    const std::string path = WriteSettingsWithNotes(int(run.range(0)));
    for (auto _ : run) {
        FakeFrontEnd fakes;
        NoteManager manager(fakes.view, fakes.Services(path));
        manager.Start();
        benchmark::DoNotOptimize(manager.ShownCount());
    }
    std::filesystem::remove(path);
}

}  // namespace

BENCHMARK(BM_StartUp)->Arg(1)->Arg(100)->Arg(1000)->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
