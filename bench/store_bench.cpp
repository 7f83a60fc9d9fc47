// LoadSettings and SaveSettings with 1, 125 and 1024 notes. The "InMemory" cases leave out the file
// system (parsing and serializing only); the others include reading, or writing and flushing, the file.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>

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
    SaveSettings(state, path);
    for (auto _ : run) LoadSettings(state, path);
    std::remove(path.c_str());
}

void BM_SaveFile(benchmark::State& run) {
    NoteState state = MakeState(int(run.range(0)));
    const std::string path = BenchPath();
    for (auto _ : run) SaveSettings(state, path);
    std::remove(path.c_str());
}

}  // namespace

BENCHMARK(BM_LoadInMemory)->Arg(1)->Arg(125)->Arg(1024)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SaveInMemory)->Arg(1)->Arg(125)->Arg(1024)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LoadFile)->Arg(1)->Arg(125)->Arg(1024)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SaveFile)->Arg(1)->Arg(125)->Arg(1024)->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
