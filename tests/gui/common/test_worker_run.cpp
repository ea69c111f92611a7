// The worker every long run of a window goes through: the stop question pauses the work and
// holds back the end of the run until it is answered, a failure in the work is reported to the
// window instead of ending the program, and the run's end waits for the worker.
#include "gui/common/worker_run.h"
#include "tests/gui/support/scripted_prompter.h"

#include <QApplication>
#include <QProgressBar>
#include <QPushButton>
#include <QtTest>

#include <atomic>
#include <chrono>
#include <memory>
#include <new>
#include <optional>
#include <stdexcept>
#include <thread>

using namespace quintor;

namespace {

using Outcome = WorkerRun::Outcome;

// Waits on the calling thread (no events) until condition holds, for up to ten seconds.
template <class Condition> bool waitFor(Condition condition) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!condition() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return condition();
}

// A window with a gauge and a stop button, and the run they drive.
struct Window {
    QWidget widget;
    QProgressBar* gauge = new QProgressBar(&widget);
    QPushButton* stop = new QPushButton(QStringLiteral("Interrompi"), &widget);
    WorkerRun* run = new WorkerRun(&widget);
    std::optional<Outcome> ended;
    int endings = 0;

    Window() {
        gauge->setRange(0, 100);
        run->setGauge(gauge);
        run->setStopButton(stop);
    }
    void start(WorkerRun::Work work) {
        run->start(std::move(work), [this](Outcome outcome) {
            ended = outcome;
            ++endings;
        });
    }
};

// Counts until told to stop, halfway through the gauge.
WorkerRun::Work untilStopped(std::atomic<int>* steps = nullptr) {
    return [steps](RunControl& control, const WorkerRun::Progress& progress) {
        progress(0.5);
        while (control.checkpoint()) {
            if (steps)
                ++*steps;
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
    };
}

} // namespace

class WorkerRunTest : public QObject {
    Q_OBJECT
private slots:
    void theQuestionPausesTheWorkAndOnlyYesStopsIt();
    void anEndDuringTheQuestionWaitsForTheAnswer_data();
    void anEndDuringTheQuestionWaitsForTheAnswer();
    void aFailureInTheWorkIsReportedNotFatal_data();
    void aFailureInTheWorkIsReportedNotFatal();
    void destroyingTheRunEndsAndWaitsForTheWork();
};

void WorkerRunTest::theQuestionPausesTheWorkAndOnlyYesStopsIt() {
    test::ScriptedPrompter prompter;
    Window window;
    QVERIFY(!window.stop->isEnabled());
    std::atomic<int> steps{0};
    window.start(untilStopped(&steps));
    QVERIFY(window.run->running());
    QVERIFY(window.stop->isEnabled());
    QTRY_COMPARE(window.gauge->value(), 50);

    bool pausedWhileAsked = false, stillWhileAsked = false;
    prompter.onQuestion = [&](const Question&) {
        pausedWhileAsked = waitFor([&] { return window.run->paused(); });
        const int before = steps.load();
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        stillWhileAsked = steps.load() == before;
    };
    prompter.answer(QMessageBox::No);
    window.stop->click();
    QVERIFY(pausedWhileAsked && stillWhileAsked);
    QCOMPARE(prompter.lastText(),
             QStringLiteral("Sei sicuro di voler interrompere l'elaborazione ?"));
    // No: the work goes on.
    const int afterNo = steps.load();
    QVERIFY(waitFor([&] { return steps.load() > afterNo; }));
    QVERIFY(window.run->running() && !window.ended);

    prompter.answer(QMessageBox::Yes);
    window.stop->click();
    QVERIFY(!window.stop->isEnabled()); // greyed while the work winds down
    window.run->askToStop();            // and not asked again
    QCOMPARE(prompter.questions().size(), 2);
    QTRY_VERIFY(window.ended.has_value());
    QCOMPARE(*window.ended, Outcome::Stopped);
    QVERIFY(window.run->stoppedByUser());
    QVERIFY(!window.run->running());
    QCOMPARE(window.gauge->value(), 50); // a stopped run leaves the gauge where it was
    QTest::qWait(150);
    QCOMPARE(window.endings, 1);
}

void WorkerRunTest::anEndDuringTheQuestionWaitsForTheAnswer_data() {
    QTest::addColumn<QMessageBox::StandardButton>("answer");
    QTest::addColumn<Outcome>("outcome");
    QTest::newRow("No") << QMessageBox::No << Outcome::Completed;
    QTest::newRow("Yes") << QMessageBox::Yes << Outcome::Stopped;
}

void WorkerRunTest::anEndDuringTheQuestionWaitsForTheAnswer() {
    QFETCH(QMessageBox::StandardButton, answer);
    QFETCH(Outcome, outcome);
    test::ScriptedPrompter prompter;
    Window window;
    // Work with no checkpoint after its start: it ends even while the question is open.
    std::atomic<bool> release{false}, over{false};
    window.start([&](RunControl&, const WorkerRun::Progress&) {
        waitFor([&] { return release.load(); });
        over = true;
    });
    bool endedWhileAsked = true;
    prompter.onQuestion = [&](const Question&) {
        release = true;
        QVERIFY(waitFor([&] { return over.load(); }));
        // The window's event loop goes on under a real question: the notice of the end
        // arrives, and the ticker's too.
        QTest::qWait(250);
        endedWhileAsked = window.ended.has_value();
    };
    prompter.answer(answer);
    window.stop->click();
    QVERIFY(!endedWhileAsked);
    QTRY_VERIFY(window.ended.has_value());
    QCOMPARE(*window.ended, outcome);
    QTest::qWait(150);
    QCOMPARE(window.endings, 1);
}

void WorkerRunTest::aFailureInTheWorkIsReportedNotFatal_data() {
    QTest::addColumn<bool>("memory");
    QTest::addColumn<QString>("message");
    QTest::newRow("out of memory")
        << true
        << QStringLiteral("Memoria insufficiente per completare l'elaborazione.\rL'elaborazione "
                          "è stata interrotta.");
    QTest::newRow("any other exception")
        << false
        << QStringLiteral("Errore imprevisto durante l'elaborazione.\rL'elaborazione è stata "
                          "interrotta.");
}

void WorkerRunTest::aFailureInTheWorkIsReportedNotFatal() {
    QFETCH(bool, memory);
    QFETCH(QString, message);
    test::ScriptedPrompter prompter;
    Window window;
    window.start([memory](RunControl&, const WorkerRun::Progress& progress) {
        progress(0.3);
        if (memory)
            throw std::bad_alloc();
        throw std::runtime_error("guasto");
    });
    QTRY_VERIFY(window.ended.has_value());
    QCOMPARE(*window.ended, Outcome::Failed);
    QCOMPARE(window.run->failure(), message);
    QCOMPARE(prompter.questions().size(), 1);
    QCOMPARE(prompter.questions()[0].title, QStringLiteral("Errore !"));
    QCOMPARE(prompter.lastText(), message);
    QVERIFY(!window.run->running() && !window.stop->isEnabled());

    // Left to the window, the failure is not shown; the next run starts clean.
    window.run->setShowsFailures(false);
    window.ended.reset();
    window.start([](RunControl&, const WorkerRun::Progress&) { throw std::bad_alloc(); });
    QTRY_VERIFY(window.ended.has_value());
    QCOMPARE(prompter.questions().size(), 1);
    window.ended.reset();
    window.start([](RunControl&, const WorkerRun::Progress& progress) { progress(1); });
    QTRY_VERIFY(window.ended.has_value());
    QCOMPARE(*window.ended, Outcome::Completed);
    QVERIFY(window.run->failure().isEmpty());
    QCOMPARE(window.gauge->value(), 100);
}

void WorkerRunTest::destroyingTheRunEndsAndWaitsForTheWork() {
    auto owner = std::make_unique<QWidget>();
    auto* run = new WorkerRun(owner.get());
    std::atomic<bool> workOver{false};
    bool done = false;
    run->start(
        [&workOver](RunControl& control, const WorkerRun::Progress&) {
            while (control.checkpoint())
                std::this_thread::sleep_for(std::chrono::microseconds(200));
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            workOver = true;
        },
        [&done](Outcome) { done = true; });
    owner.reset();
    QVERIFY(workOver.load());
    QTest::qWait(150);
    QVERIFY(!done);
}

QTEST_MAIN(WorkerRunTest)
#include "test_worker_run.moc"
