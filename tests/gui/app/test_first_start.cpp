// What a new player meets: the short guide offered on the first start, and while the archive
// holds simulated draws a bar that says so and leads to the import of real ones, and a notice
// in every window whose figures come from the archive.
#include "app/main_frame.h"
#include "core/archive.h"
#include "gui/common/help_link.h"
#include "gui/system/system_window.h"
#include "tests/gui/support/gui_helpers.h"
#include "tests/gui/support/scripted_prompter.h"

#include <QDate>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

#include <chrono>
#include <memory>

using namespace quintor;

namespace {

// The help as the frame sees it: records the topics asked for.
class RecordingGuide : public HelpViewer {
public:
    QList<int> topics;
    void showTopic(int context) override { topics << context; }
    void showSearch() override {}
};

std::chrono::sys_days today() {
    const QDate date = QDate::currentDate();
    return std::chrono::sys_days{std::chrono::year{date.year()} /
                                 std::chrono::month{static_cast<unsigned>(date.month())} /
                                 std::chrono::day{static_cast<unsigned>(date.day())}};
}

// Three draws of a CSV file, dated within the simulated archive's span.
QString writeRealDraws(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return {};
    file.write("data;n1;n2;n3;n4;n5;n6;jolly\n"
               "2024-01-02;1;2;3;4;5;6;7\n"
               "2024-01-04;11;12;13;14;15;16;17\n"
               "2024-01-06;21;22;23;24;25;26;27\n");
    return path;
}

} // namespace

class FirstStartTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void theShortGuideIsOfferedOnTheFirstStart_data();
    void theShortGuideIsOfferedOnTheFirstStart();
    void theBarLeadsToTheImportOfRealDraws();
    void windowsSayTheirFiguresComeFromSimulatedDraws_data();
    void windowsSayTheirFiguresComeFromSimulatedDraws();

private:
    // A shown frame over the program folder's archive, its start finished.
    void startFrame(bool firstStart);

    std::unique_ptr<test::TestHome> home_;
    std::unique_ptr<test::ScriptedPrompter> prompter_;
    std::unique_ptr<MainFrame> frame_;
    RecordingGuide guide_;
};

void FirstStartTest::init() {
    home_ = std::make_unique<test::TestHome>();
    prompter_ = std::make_unique<test::ScriptedPrompter>();
    setHelpViewer(&guide_);
    guide_.topics.clear();
}

void FirstStartTest::cleanup() {
    if (frame_)
        for (SystemWindow* w : frame_->systems())
            w->state().modified = false;
    frame_.reset();
    setHelpViewer(nullptr);
    prompter_.reset();
    home_.reset();
}

void FirstStartTest::startFrame(bool firstStart) {
    frame_ = std::make_unique<MainFrame>();
    connect(frame_.get(), &MainFrame::firstPainted, frame_.get(), &MainFrame::loadArchive);
    if (firstStart)
        frame_->offerQuickTourOnStart();
    frame_->resize(1200, 760);
    frame_->show();
    QTRY_VERIFY(frame_->archiveWindow() && frame_->activeSystem());
}

void FirstStartTest::theShortGuideIsOfferedOnTheFirstStart_data() {
    QTest::addColumn<bool>("firstStart");
    QTest::addColumn<int>("answer");
    QTest::newRow("accepted") << true << int(QMessageBox::Yes);
    QTest::newRow("declined") << true << int(QMessageBox::No);
    QTest::newRow("a later start") << false << int(QMessageBox::Yes);
}

void FirstStartTest::theShortGuideIsOfferedOnTheFirstStart() {
    QFETCH(bool, firstStart);
    QFETCH(int, answer);
    prompter_->answer(static_cast<QMessageBox::StandardButton>(answer));
    startFrame(firstStart);
    QTest::qWait(100);
    QCOMPARE(prompter_->questions().size(), firstStart ? 1 : 0);
    if (firstStart)
        QVERIFY(
            prompter_->questions()[0].text.contains(QStringLiteral("Quintor in pochi secondi")));
    const bool shown = firstStart && answer == QMessageBox::Yes;
    QCOMPARE(guide_.topics, shown ? QList<int>{int(HelpTopic::QuickTour)} : QList<int>{});
}

void FirstStartTest::theBarLeadsToTheImportOfRealDraws() {
    QVERIFY(simulatedArchiveUntil(400, 1, today())
                .save(home_->file("vincenti.dat").toStdString())
                .ok());
    startFrame(false);
    auto* bar = test::child<QWidget>(frame_.get(), "simulatedDrawsBar");
    QVERIFY(bar->isVisible());
    QVERIFY(frame_->activeSystem()->isVisible());

    // The user picks the file, agrees to replace the simulated draws and closes the archive
    // window after its report.
    prompter_->answerFile(writeRealDraws(home_->file("reali.csv")));
    prompter_->answer(QMessageBox::Yes);
    prompter_->answer(QMessageBox::Ok);
    prompter_->onQuestion = [this](const Question& question) {
        if (question.text.startsWith(QStringLiteral("Estrazioni aggiunte")))
            QTimer::singleShot(0, frame_->archiveWindow(), &QDialog::reject);
    };
    test::child<QPushButton>(bar, "importRealDrawsButton")->click();
    QCOMPARE(prompter_->fileDialogs().size(), 1);
    QCOMPARE(frame_->context().archive().size(), 3u);
    QVERIFY(!bar->isVisible());
    const Archive onDisk = Archive::load(home_->file("vincenti.dat").toStdString());
    QCOMPARE(onDisk.size(), 3u);
    QVERIFY(!isSimulatedArchive(onDisk));
}

void FirstStartTest::windowsSayTheirFiguresComeFromSimulatedDraws_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<bool>("simulated");
    for (const char* command : {"selectColumnsAction", "addMostProbableAction", "backtestAction"}) {
        QTest::newRow(qPrintable(QStringLiteral("%1 simulated").arg(command)))
            << QString::fromLatin1(command) << true;
        QTest::newRow(qPrintable(QStringLiteral("%1 real").arg(command)))
            << QString::fromLatin1(command) << false;
    }
}

void FirstStartTest::windowsSayTheirFiguresComeFromSimulatedDraws() {
    QFETCH(QString, command);
    QFETCH(bool, simulated);
    const Archive archive =
        simulated ? simulatedArchiveUntil(400, 1, today()) : test::cyclicArchive(400);
    QVERIFY(Archive(archive.records()).save(home_->file("vincenti.dat").toStdString()).ok());
    startFrame(false);
    SystemWindow* system = frame_->activeSystem();
    for (int n : {3, 8, 15, 22, 40, 41, 77})
        test::clickNumber(system, n);
    system->state().finalColumns.push_back(Column{{3, 8, 15, 22, 40, 41}});

    bool seen = false;
    test::whenShown<QDialog>([&](QDialog* dialog) {
        seen = true;
        auto* notice = dialog->findChild<QLabel*>(QStringLiteral("simulatedDrawsNotice"));
        QCOMPARE(notice != nullptr, simulated);
        if (notice) {
            QVERIFY(notice->isVisible());
            QVERIFY(notice->text().contains(QStringLiteral("simulate")));
            // Whole inside the window, below everything else and cut nowhere.
            QVERIFY(dialog->rect().contains(notice->geometry()));
            QVERIFY(notice->height() >= notice->heightForWidth(notice->width()));
            for (const QWidget* other : dialog->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
                if (other != notice && other->isVisible())
                    QVERIFY2(!other->geometry().intersects(notice->geometry()),
                             qPrintable(other->objectName()));
        }
        dialog->reject();
    });
    QVERIFY(test::trigger(system, command));
    QVERIFY(seen);
}

QTEST_MAIN(FirstStartTest)
#include "test_first_start.moc"
