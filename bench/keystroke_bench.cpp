// Keystroke latency of the main window: from a key event in the message box until the
// count shows the new length and the colours of the message are set, with a long
// message, with and without those colours; the Painted variant also draws the box once
// more. Runs on the offscreen platform.
#include "ui/AppLink.h"
#include "ui/frmOmbrix.h"
#include "ui/frmOptions.h"
#include "ui/frmSetColor.h"
#include "ui/layer/Fonts.h"

#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <benchmark/benchmark.h>

namespace {

class NoApp final : public ombrix::ui::AppLink {
public:
    void SetOnTop(bool) override {}
    void RegenerateOutput() override {}
    void SaveSettings() override {}
};

// Types one character at the end of a message of the given length, then deletes it,
// so every iteration starts from the same text.
void Keystroke(benchmark::State& state, bool paint)
{
    const auto colours = static_cast<int>(state.range(0));
    const auto length = static_cast<int>(state.range(1));
    const bool showColours = state.range(2) != 0;
    NoApp app;
    ombrix::ui::frmSetColor colourDialog(app);
    ombrix::ui::frmOptions options(app);
    ombrix::ui::frmOmbrix main(colourDialog, options, app);
    colourDialog.sldSetColNum->SetValue(colours);
    QString text;
    const QString words = QStringLiteral("Hello there, how are you doing today?\r\nFine thanks ");
    while (text.size() < length - 1)
        text += words;
    text.truncate(length - 1);
    main.preview->SetOn(showColours);
    main.txtIn->SetText(text);
    main.show();
    main.txtIn->moveCursor(QTextCursor::End);
    for (auto _ : state) {
        QTest::keyClick(main.txtIn, Qt::Key_X);
        benchmark::DoNotOptimize(main.lblCharCount->text());
        if (paint)
            main.txtIn->viewport()->repaint();
        state.PauseTiming();
        QTest::keyClick(main.txtIn, Qt::Key_Backspace);
        state.ResumeTiming();
    }
    if (main.txtIn->Length() != length - 1 || main.lblCharCount->text().isEmpty())
        state.SkipWithError("the message box did not take the keys");
    if (main.txtIn->extraSelections().isEmpty() == showColours)
        state.SkipWithError("the message box's colours are not as asked");
}

void BM_Keystroke(benchmark::State& state) { Keystroke(state, false); }
void BM_KeystrokePainted(benchmark::State& state) { Keystroke(state, true); }

} // namespace

// Arguments: colours, message length, colours shown while typing.
BENCHMARK(BM_Keystroke)
    ->ArgsProduct({{1, 2}, {32000}, {0, 1}})
    ->Args({6, 6553, 0})
    ->Args({6, 6553, 1})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_KeystrokePainted)->Args({1, 32000, 1})->Args({6, 6553, 1})->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    ombrix::layer::UseDesignFont();
    const QTemporaryDir config; // the bench switches the colours: keep the user's choice out of it
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, config.path());
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
