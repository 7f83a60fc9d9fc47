// Loading the settings, and the program's save, with 1, 125 and 1024 notes. The "InMemory" cases leave out the file
// system (parsing and serializing only); the others include reading, or writing and flushing, the file.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "ProgramSave.h"
#include "store/NotesFile.h"
#include "store/Settings.h"
#include "store/SettingsEncoding.h"
#include "store/Unicode.h"

namespace {

NoteState MakeState(int notes) {
    NoteState state;
    for (int i = 0; i < notes; ++i) {
        NoteRecord note = FirstRunNote();
        note.positionX = i;
        note.text = "第 " + std::to_string(i) + " 条便签*#33#second line of the note";
        state.table.rows.push_back(note);
    }
    return state;
}

std::string BenchPath() {
    return (std::filesystem::temp_directory_path() / "skyslate2-bench-TextSetting.ini").string();
}

void BM_LoadInMemory(benchmark::State& run) {
    const std::string bytes = EncodeSettingsText(SerializeSettings(MakeState(int(run.range(0)))));
    NoteState state;
    for (auto _ : run) {
        LoadSettingsFromText(state, DecodeSettingsBytes(bytes));
        benchmark::DoNotOptimize(state.table.rows.data());
    }
}

void BM_SaveInMemory(benchmark::State& run) {
    NoteState state = MakeState(int(run.range(0)));
    for (auto _ : run) {
        const std::string text = SerializeSettings(state);
        benchmark::DoNotOptimize(EncodeSettingsText(text));
        LoadSettingsFromText(state, text);  // the reload a save ends with
    }
}

void BM_LoadFile(benchmark::State& run) {
    NoteState state = MakeState(int(run.range(0)));
    const std::string path = BenchPath();
    SaveAsTheProgram(state, path);
    for (auto _ : run) LoadSettings(state, path);
    std::remove(path.c_str());
}

// Each save changes a note, as a user's command does: a save of what the file holds already writes nothing.
void BM_SaveFile(benchmark::State& run) {
    NoteState state = MakeState(int(run.range(0)));
    const std::string path = BenchPath();
    SaveAsTheProgram(state, path);
    FakeClock clock;
    FakeLog log;
    NotesFile::Setup setup;
    setup.settingsPath = path;
    NotesFile file(setup, clock, log);
    file.Load(NoteTable::kCapacity);
    const std::vector<bool> pinned(state.table.rows.size(), false);
    int32_t x = 0;
    for (auto _ : run) {
        state.table.rows[0].positionX = ++x;
        benchmark::DoNotOptimize(file.Save(state, pinned, NotesFile::Then::GoOn, NoteTable::kCapacity));
    }
    std::remove(path.c_str());
}

}  // namespace

BENCHMARK(BM_LoadInMemory)->Arg(1)->Arg(125)->Arg(1024)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SaveInMemory)->Arg(1)->Arg(125)->Arg(1024)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LoadFile)->Arg(1)->Arg(125)->Arg(1024)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SaveFile)->Arg(1)->Arg(125)->Arg(1024)->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
