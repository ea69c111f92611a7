// How live the selection window stays while it works through every column of 90 numbers
// against 10,000 draws: how often the gauge moves until the run ends, and how long
// "Interrompi" takes to ask (answered No, so the run goes on to its end).
#include "bench/bench_common.h"
#include "bench/timing_prompter.h"
#include "core/archive.h"
#include "gui/selection/selection_dialog.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace quintor;

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    bench::TimingPrompter prompter(QMessageBox::No);
    Prompter::install(&prompter);

    const Archive archive = simulatedArchive(10000, 1);
    SystemState system;
    for (int n = 1; n <= 90; ++n)
        system.marked[static_cast<std::size_t>(n)] = 1;

    const int precision = argc > 1 ? std::atoi(argv[1]) : 26;
    std::vector<double> moves; // seconds at which the gauge showed a new value
    double stopToQuestionMs = -1, runSeconds = 0;

    QTimer::singleShot(0, [&] {
        auto* window = qobject_cast<SelectionDialog*>(QApplication::activeModalWidget());
        if (!window) {
            std::fprintf(stderr, "the selection window did not open\n");
            QApplication::exit(1);
            return;
        }
        window->findChild<QSlider*>(QStringLiteral("precisionSlider"))->setValue(precision);
        auto* count = window->findChild<QLineEdit*>(QStringLiteral("finalCountEdit"));
        QTest::keyClicks(count, QStringLiteral("100"));
        QTest::keyClick(count, Qt::Key_Return);
        auto* gauge = window->findChild<QProgressBar*>(QStringLiteral("progressBar"));
        QElapsedTimer watch;
        watch.start();
        int last = gauge->value();
        bool asked = false;
        while (window->running() && watch.elapsed() < 60000) {
            QApplication::processEvents(QEventLoop::AllEvents, 5);
            if (gauge->value() != last) {
                last = gauge->value();
                moves.push_back(static_cast<double>(watch.nsecsElapsed()) / 1e9);
            }
            if (!asked && watch.elapsed() >= 100) {
                asked = true;
                prompter.clock.start();
                window->findChild<QPushButton*>(QStringLiteral("stopButton"))->click();
                stopToQuestionMs = static_cast<double>(prompter.askedAt) / 1e6;
            }
        }
        runSeconds = static_cast<double>(watch.nsecsElapsed()) / 1e9;
    });
    launchSelection(nullptr, system, archive);
    Prompter::install(nullptr);

    double longestGap = moves.empty() ? runSeconds : moves.front();
    for (std::size_t i = 1; i < moves.size(); ++i)
        longestGap = std::max(longestGap, moves[i] - moves[i - 1]);
    std::printf("selection window, 90 numbers, 10000 draws, count 100, precision %d\n", precision);
    std::printf("  run %.2f s, gauge moves %zu, longest gap %.3f s\n", runSeconds, moves.size(),
                longestGap);
    std::printf("  Interrompi to question: %.2f ms\n", stopToQuestionMs);
    bench::Measure m;
    m.wall = m.wallLow = m.wallHigh = stopToQuestionMs / 1e3;
    bench::row("finestra selezione: Interrompi -> domanda", m, 0.2, 0);
    m.wall = m.wallLow = m.wallHigh = longestGap;
    bench::row("finestra selezione: intervallo massimo dell'indicatore", m, 0.2, 0);
    return stopToQuestionMs >= 0 && stopToQuestionMs < 200 ? 0 : 1;
}
