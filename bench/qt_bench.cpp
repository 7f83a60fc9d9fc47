// The Linux front end: Draw of a 1200 x 500 note with two lines of 38-pixel text (the image alone, and
// with the window's shapes), and start-up with 1, 100 and 1000 notes until every note window is shown.
// Needs an X display.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <filesystem>
#include <xcb/xcb.h>

#include "Fakes.h"
#include "ProgramSave.h"
#include "qt/LyricsWindow_qt.h"
#include "qt/ManagerDialog_qt.h"
#include "manager/NoteManager.h"
#include "store/Settings.h"

namespace {

const char* kText = "欢迎使用桌面文字便签\r\n              ——Skyslate2 敬上";

// Waits until the X server has handled every request sent so far.
void SyncWithServer() {
    xcb_connection_t* connection = qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->connection();
    free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
}

void BM_RenderImage(benchmark::State& run) {
    NoteRenderer renderer;
    renderer.SetTextFont("黑体", 0, 38.0f);
    renderer.SetText(QString::fromUtf8(kText));
    for (auto _ : run) benchmark::DoNotOptimize(renderer.RenderPainted(1200, 500));
}

void BM_DrawWindow(benchmark::State& run) {
    LyricsWindowFactory windows;
    auto note = windows.CreateNoteWindow("text_bench", {100, 100, 1300, 600});
    note->SetLook({kText, 0xFFFF0000, "黑体", 38.0f});
    note->Show(true);
    QApplication::processEvents();
    for (auto _ : run) {
        static_cast<CLyricsWindow*>(note.get())->Draw();
        QApplication::processEvents();
        SyncWithServer();
    }
}

void BM_StartUpUntilShown(benchmark::State& run) {
    NoteState state;
    for (int i = 0; i < run.range(0); ++i) {
        NoteRecord note = FirstRunNote();
        note.positionX = (i * 37) % 1500;
        note.positionY = (i * 53) % 900;
        note.width = 400;
        note.height = 120;
        state.table.rows.push_back(note);
    }
    const std::string path = (std::filesystem::temp_directory_path() / "skyslate2-qt-bench.ini").string();
    SaveAsTheProgram(state, path);
    for (auto _ : run) {
        LyricsWindowFactory windows;
        FakeFrontEnd fakes;
        NoteManager::Services services = fakes.Services(path);
        CSkyslate2Dlg dialog;
        NoteManager notes(dialog, {windows, services.screens, services.pickers, services.messages, services.autostart,
                                   services.app, services.log, services.clock, services.wakeup, path, "",
                                   UiLanguage::Chinese, "", SettleTimes{}});
        ManagerPresenter presenter(dialog, notes);
        dialog.Attach(presenter, notes);
        presenter.Start();
        QApplication::processEvents();
        SyncWithServer();
        run.PauseTiming();
        notes.ExitProgram();
        QApplication::processEvents();
        run.ResumeTiming();
    }
    std::filesystem::remove(path);
}

}  // namespace

BENCHMARK(BM_RenderImage)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DrawWindow)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StartUpUntilShown)->Arg(1)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond)->Iterations(5);

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
