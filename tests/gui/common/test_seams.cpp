// The small shared pieces every window uses: prompts, hints, hourglass, panel painting.
#include "gui/common/bevel_panel.h"
#include "gui/common/feedback.h"
#include "gui/common/program_identity.h"
#include "gui/common/prompter.h"
#include "tests/gui/support/scripted_prompter.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QImage>
#include <QScreen>
#include <QTimer>
#include <QtTest>

using namespace quintor;

class SeamsTest : public QObject {
    Q_OBJECT
private slots:
    void messageTextBreaksLinesAtCarriageReturns();
    void pipeFiltersBecomeQtFilters();
    void hintsSplitAtTheBar();
    void scriptedPrompterRecordsAndAnswersInOrder();
    void hourglassComesBackOnEveryPath();
    void panelBevelsAndTiling();
    void aQuestionBeforeAnyWindowIsCentred();
    void messageBoxesCarryTheirTitleAndTheProgramIcon();
};

void SeamsTest::messageTextBreaksLinesAtCarriageReturns() {
    QCOMPARE(
        displayText(QStringLiteral("Il file specificato non esiste !\rCorreggere e riprovare.")),
        QStringLiteral("Il file specificato non esiste !\nCorreggere e riprovare."));
    QCOMPARE(displayText(QStringLiteral("a\r\nb\rc")), QStringLiteral("a\nb\nc"));
}

void SeamsTest::pipeFiltersBecomeQtFilters() {
    QCOMPARE(qtNameFilter(QStringLiteral("Sistema Quintor (*.qtr)|*.qtr|Tutti i file (*.*)|*.*")),
             QStringLiteral("Sistema Quintor (*.qtr);;Tutti i file (*.*)"));
    // A description without its pattern gets it appended; several patterns are blank-separated.
    QCOMPARE(qtNameFilter(QStringLiteral("Programmi|*.sh;*.py")),
             QStringLiteral("Programmi (*.sh *.py)"));
}

void SeamsTest::hintsSplitAtTheBar() {
    QWidget w;
    setHint(&w, QStringLiteral("Nuovo sistema|Per lavorare su un nuovo sistema."));
    QCOMPARE(w.toolTip(), QStringLiteral("Nuovo sistema"));
    QCOMPARE(w.statusTip(), QStringLiteral("Per lavorare su un nuovo sistema."));
    QAction a(nullptr);
    setHint(&a, QStringLiteral("Chiude il sistema attivo."));
    QCOMPARE(a.toolTip(), QStringLiteral("Chiude il sistema attivo."));
    QCOMPARE(a.statusTip(), QStringLiteral("Chiude il sistema attivo."));
}

void SeamsTest::scriptedPrompterRecordsAndAnswersInOrder() {
    {
        test::ScriptedPrompter prompter;
        QCOMPARE(&Prompter::current(), static_cast<Prompter*>(&prompter));
        prompter.answer(QMessageBox::No);
        prompter.answerFile(QStringLiteral("/tmp/a.qtr"));
        const auto first = askQuestion(nullptr, QStringLiteral("Attenzione"), QStringLiteral("Q?"),
                                       QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
        QCOMPARE(first, QMessageBox::No);
        QCOMPARE(Prompter::current().openFileName(nullptr, {QStringLiteral("T"), {}, {}, {}}),
                 QStringLiteral("/tmp/a.qtr"));
        // Nothing queued: a Yes/No/Cancel question is cancelled and counted as unanswered.
        const auto second =
            askQuestion(nullptr, QStringLiteral("Attenzione"), QStringLiteral("R?"),
                        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes);
        QCOMPARE(second, QMessageBox::Cancel);
        showError(nullptr, QStringLiteral("Errore !"), QStringLiteral("E"));
        QCOMPARE(prompter.unanswered(), 2);
        QCOMPARE(prompter.asked().size(), 4);
        const auto questions = prompter.questions();
        QCOMPARE(questions.size(), 3);
        QCOMPARE(questions[0].icon, QMessageBox::Question);
        QCOMPARE(questions[0].defaultButton, QMessageBox::No);
        QCOMPARE(questions[2].icon, QMessageBox::Critical);
        QCOMPARE(questions[2].title, QStringLiteral("Errore !"));
        QCOMPARE(prompter.lastText(), QStringLiteral("E"));
    }
    // Gone with its scope: the real dialogs are back.
    QVERIFY(dynamic_cast<DialogPrompter*>(&Prompter::current()) != nullptr);
}

void SeamsTest::hourglassComesBackOnEveryPath() {
    QVERIFY(QApplication::overrideCursor() == nullptr);
    {
        HourglassGuard guard;
        QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
        guard.release();
        QVERIFY(QApplication::overrideCursor() == nullptr);
    } // a released guard must not pop someone else's cursor
    QApplication::setOverrideCursor(Qt::CrossCursor);
    { HourglassGuard guard; }
    QCOMPARE(QApplication::overrideCursor()->shape(), Qt::CrossCursor);
    QApplication::restoreOverrideCursor();
    const int before = beepCount();
    beep();
    beep();
    QCOMPARE(beepCount() - before, 2);
}

void SeamsTest::panelBevelsAndTiling() {
    BevelPanel panel;
    panel.resize(50, 30);
    QImage tile(8, 8, QImage::Format_RGB32);
    tile.fill(qRgb(10, 200, 30));
    tile.setPixel(0, 0, qRgb(200, 0, 0));
    panel.setBackgroundTile(QPixmap::fromImage(tile));
    panel.setBevelOuter(BevelPanel::Bevel::Raised);
    panel.setBevelInner(BevelPanel::Bevel::Lowered);
    const QImage img = panel.grab().toImage();
    const QRgb white = qRgb(255, 255, 255), grey = qRgb(128, 128, 128);
    // Outer raised: light along top and left, dark along bottom and right.
    QCOMPARE(img.pixel(49, 0), white);
    QCOMPARE(img.pixel(0, 0), white);
    QCOMPARE(img.pixel(0, 28), white);
    QCOMPARE(img.pixel(1, 29), grey);
    QCOMPARE(img.pixel(49, 29), grey);
    QCOMPARE(img.pixel(49, 2), grey); // the end point (49, 1) is left out
    // Inner lowered: the reverse, one pixel in.
    QCOMPARE(img.pixel(48, 1), grey);
    QCOMPARE(img.pixel(1, 27), grey);
    QCOMPARE(img.pixel(48, 28), white);
    QCOMPARE(img.pixel(2, 28), white);
    // The picture repeats every 8 pixels from the top-left corner, inside the bevels.
    QCOMPARE(img.pixel(8, 8), qRgb(200, 0, 0));
    QCOMPARE(img.pixel(40, 16), qRgb(200, 0, 0));
    QCOMPARE(img.pixel(9, 9), qRgb(10, 200, 30));

    // Without bevels the tiles reach the edges.
    panel.setBevelOuter(BevelPanel::Bevel::None);
    panel.setBevelInner(BevelPanel::Bevel::None);
    const QImage plain = panel.grab().toImage();
    QCOMPARE(plain.pixel(0, 0), qRgb(200, 0, 0));
    QCOMPARE(plain.pixel(49, 29), qRgb(10, 200, 30));
}

void SeamsTest::aQuestionBeforeAnyWindowIsCentred() {
    QWidget hiddenOwner; // as the archive window is while it offers the update file
    QRect shown;
    QTimer::singleShot(0, [&shown] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            shown = box->frameGeometry();
            box->button(QMessageBox::No)->click();
        }
    });
    const auto answer = DialogPrompter().ask(
        &hiddenOwner,
        {QStringLiteral("Attenzione"), QStringLiteral("Unisco ?"),
         QMessageBox::Yes | QMessageBox::No, QMessageBox::Question, QMessageBox::Yes});
    QCOMPARE(answer, QMessageBox::No);
    const QPoint middle = QGuiApplication::primaryScreen()->availableGeometry().center();
    QVERIFY2((shown.center() - middle).manhattanLength() <= 4,
             qPrintable(QStringLiteral("%1,%2").arg(shown.center().x()).arg(shown.center().y())));
}

void SeamsTest::messageBoxesCarryTheirTitleAndTheProgramIcon() {
    applyProgramIdentity();
    // With a display name of its own the toolkit appends it to every title under X11
    // ("Errore ! — Quintor"); without one the display name just follows the program name.
    const QString name = QCoreApplication::applicationName();
    QCoreApplication::setApplicationName(QStringLiteral("altro nome"));
    const QString displayName = QGuiApplication::applicationDisplayName();
    QCoreApplication::setApplicationName(name);
    QCOMPARE(displayName, QStringLiteral("altro nome"));

    QString title;
    Qt::WindowFlags flags;
    QImage picture;
    QTimer::singleShot(0, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            title = box->windowTitle();
            flags = box->windowFlags();
            picture = box->windowIcon().pixmap(32, 32).toImage();
            box->button(QMessageBox::Ok)->click();
        }
    });
    showError(nullptr, QStringLiteral("Errore !"), QStringLiteral("Il file non esiste !"));
    QCOMPARE(title, QStringLiteral("Errore !"));
    QVERIFY(!flags.testAnyFlags(Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    // The program's picture (teal border), not the toolkit's default window icon.
    QVERIFY(!picture.isNull());
    QCOMPARE(picture.pixelColor(picture.width() / 16, picture.height() / 2).name(),
             QStringLiteral("#008080"));
}

QTEST_MAIN(SeamsTest)
#include "test_seams.moc"
