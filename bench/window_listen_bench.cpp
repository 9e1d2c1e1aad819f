// Listening through the main window (offscreen) with the Receive view shown:
// the share of one core the station's process takes while nothing comes in
// (ten seconds) and while a PD 120 is received, shown row by row with the
// waterfall, and kept (the whole transmission and its end). The PD 120 is
// played into the default output by the process itself, which adds the cost of
// handing its samples to the sound server. Run it inside a sound server whose
// default input hears the default output, such as the tests' private one:
//   tests/support/in_private_sound_server.sh build/default/bench/window_listen_bench
#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include "app/form1.h"
#include "audio/audio_engine.h"
#include "family/standard_family.h"
#include "picture/photo_cards.h"
#include "settings/memory_settings_store.h"
#include "window_bench_support.h"

namespace {

using namespace tonobild;

using bench::SilentDialogs;

// Seconds of processor time the process has taken, all its threads.
double processorSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// The share of one core taken while `until` is false, waiting at most `seconds`.
double coreShare(const std::function<bool()>& until, int seconds)
{
    QElapsedTimer clock;
    clock.start();
    const double before = processorSeconds();
    (void)QTest::qWaitFor(until, seconds * 1000); // false when the time is up: the share counts either way
    return 100.0 * (processorSeconds() - before) / (static_cast<double>(clock.elapsed()) / 1000);
}

WavAudio pd120()
{
    const standard::StandardMode& mode = *standard::findMode("PD120");
    const WorkingPicture card = drawPhotoCard(PhotoCard::Landscape, mode.width, mode.height);
    StandardSender sender(card, {&mode, {}, standard::Fit::Bars});
    MemorySink sink;
    sender.send(sink, {});
    return {sender.format().rate, 1, 16, std::move(sink.bytes)};
}

void BM_ListenWithTheReceiveViewShown(benchmark::State& run)
{
    QTemporaryDir folder;
    SilentDialogs dialogs;
    MemorySettingsStore store;
    Form1 window(dialogs, store);
    window.resize(1366, 768);
    window.show();
    window.findChild<QTabWidget*>("views")->setCurrentIndex(1);
    window.findChild<QLineEdit*>("galleryFolder")->setText(folder.path());
    window.findChild<QPushButton*>("listenButton")->click();
    const auto* status = window.findChild<QLabel*>("listenStatus");
    if (!status->text().startsWith(QStringLiteral("Listening"))) {
        run.SkipWithError(status->text().toStdString().c_str());
        return;
    }
    const auto* strip = window.findChild<QListWidget*>("galleryStrip");
    AudioEngine player;
    const WavAudio transmission = pd120();
    for (auto _ : run) {
        run.counters["idle_core_percent"] = coreShare([] { return false; }, 10);
        const int kept = strip->count();
        player.startPlaying(transmission, AudioEngine::findOutput({}));
        run.counters["receiving_core_percent"] = coreShare([&] { return strip->count() > kept; }, 150);
        run.counters["pictures"] = strip->count() - kept;
    }
}

BENCHMARK(BM_ListenWithTheReceiveViewShown)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

} // namespace
