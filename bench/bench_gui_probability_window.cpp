// How live the probability window stays while it counts 622 million initial columns of 90
// numbers against 1000 final columns: how often the projected value is redrawn over one
// second, and how long "Interrompi" takes to ask (answered Yes, so the count stops there).
#include "bench/bench_common.h"
#include "bench/timing_prompter.h"
#include "gui/selection/winning_probability_dialog.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace quintor;

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    bench::TimingPrompter prompter(QMessageBox::Yes);
    Prompter::install(&prompter);

    std::vector<Column> finals;
    for (int i = 0; i < 1000; ++i) {
        Column column;
        for (std::size_t k = 0; k < 6; ++k)
            column[k] = static_cast<std::uint8_t>(1 + (i * 7 + static_cast<int>(k) * 11) % 90);
        finals.push_back(column);
    }
    std::array<std::uint8_t, boardSize + 1> marked{};
    for (int n = 1; n <= boardSize; ++n)
        marked[static_cast<std::size_t>(n)] = 1;

    WinningProbabilityDialog window(finals, marked);
    window.show();
    auto* projection = window.findChild<QLabel*>(QStringLiteral("projectionValue"));
    QTest::qWait(200);

    // One second of watching: every redraw of the projection, and the longest wait for one.
    int changes = 0;
    double longestGap = 0;
    QString last = projection->text();
    QElapsedTimer watch;
    watch.start();
    qint64 lastChange = 0;
    while (watch.elapsed() < 1000 && !window.finished()) {
        QTest::qWait(5);
        if (projection->text() != last) {
            ++changes;
            last = projection->text();
            longestGap =
                std::max(longestGap, static_cast<double>(watch.nsecsElapsed() - lastChange) / 1e9);
            lastChange = watch.nsecsElapsed();
        }
    }
    const bool counting = !window.finished();

    prompter.clock.start();
    QTimer::singleShot(0, window.findChild<QPushButton*>(QStringLiteral("stopButton")),
                       &QPushButton::click);
    QElapsedTimer wait;
    wait.start();
    while (prompter.askedAt < 0 && wait.elapsed() < 10000)
        QApplication::processEvents(QEventLoop::AllEvents, 5);
    const double stopToQuestionMs = static_cast<double>(prompter.askedAt) / 1e6;
    while (!window.finished() && wait.elapsed() < 20000)
        QApplication::processEvents(QEventLoop::AllEvents, 5);
    Prompter::install(nullptr);

    std::printf("probability window, 90 numbers, 1000 final columns\n");
    std::printf("  projection redrawn %d times in one second (still counting: %s), longest gap "
                "%.3f s\n",
                changes, counting ? "yes" : "no", longestGap);
    std::printf("  Interrompi to question: %.2f ms\n", stopToQuestionMs);
    bench::Measure m;
    m.wall = m.wallLow = m.wallHigh = stopToQuestionMs / 1e3;
    bench::row("finestra probabilita: Interrompi -> domanda", m, 0.2, 0);
    m.wall = m.wallLow = m.wallHigh = longestGap;
    bench::row("finestra probabilita: intervallo massimo della proiezione", m, 0.2, 0);
    // The window redraws its counts every tenth of a second and asks at once.
    const bool live = counting && changes >= 5;
    return live && stopToQuestionMs >= 0 && stopToQuestionMs < 200 ? 0 : 1;
}
