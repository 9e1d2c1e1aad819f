// A whole decode through the main window (offscreen): the core decoder plus
// the window's progress steps, yields and repaints. A 640 x 480 transmission.
#include <benchmark/benchmark.h>

#include <QDir>
#include <QLineEdit>
#include <QRadioButton>
#include <QTemporaryDir>

#include "app/form1.h"
#include "encoder/encoder.h"
#include "encoder/transmission_files.h"
#include "settings/memory_settings_store.h"
#include "window_bench_support.h"

namespace {

using namespace tonobild;

using bench::SilentDialogs;

void BM_WindowDecode640x480(benchmark::State& run)
{
    QTemporaryDir folder;
    const QString wav = folder.filePath("hires.wav");
    {
        WorkingPicture picture(640, 480);
        for (int y = 0; y < 480; ++y)
            for (int x = 0; x < 640; ++x)
                picture.setColour(x, y, colourNumber(x % 256, y % 256, (x + y) % 256));
        EncoderSettings settings;
        settings.pictureWidth = 640;
        settings.pictureHeight = 480;
        WorkingState state;
        const EncoderControls controls;
        TransmissionFiles files(wav.toStdString(), 11025);
        files.open();
        Encoder(picture, controls, state, files).run(settings);
        (void)files.commit(); // without a player WAV there is nothing it could answer
    }
    SilentDialogs dialogs;
    MemorySettingsStore store;
    Form1 window(dialogs, store);
    window.workingState().sigscale = 1;
    // The controls found by their object names, as a screen reader finds them.
    window.findChild<QRadioButton*>("Option3")->setChecked(true);
    window.findChild<QRadioButton*>("Option7")->setChecked(true);
    window.findChild<QLineEdit*>("Text2")->setText(wav);
    for (auto _ : run)
        window.Command2_Click();
    run.SetBytesProcessed(static_cast<std::int64_t>(run.iterations()) * QFileInfo(wav).size());
}

BENCHMARK(BM_WindowDecode640x480)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace
