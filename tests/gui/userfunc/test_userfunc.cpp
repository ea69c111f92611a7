// User functions driven through the system window's menu and the real dialogs: add the
// compiled example from the file list, run it, interrupt a function that never ends, delete.
#include "app/main_frame.h"
#include "core/program_folder.h"
#include "core/user_functions.h"
#include "gui/system/system_window.h"
#include "gui/userfunc/function_wait_dialog.h"
#include "gui/userfunc/new_function_dialog.h"
#include "gui/userfunc/remove_function_dialog.h"
#include "tests/gui/support/gui_helpers.h"
#include "tests/gui/support/scripted_prompter.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <csignal>
#include <ctime>
#include <functional>

using namespace quintor;
using quintor::test::clickNumber;
using quintor::test::trigger;
using quintor::test::whenShown;

namespace {

using quintor::test::child;

void writeFile(const QString& path, const QByteArray& bytes, bool executable = false) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
    file.close();
    if (executable)
        file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList menuCaptions(const SystemWindow* window) {
    QStringList captions;
    for (int k = 1; k <= maxUserFunctions; ++k) {
        const QAction* item = window->command(QStringLiteral("userFunctionAction%1").arg(k));
        // As the menu shows it: accelerator marks dropped, a doubled "&" shown once.
        if (item && item->isVisible())
            captions << item->iconText();
    }
    if (window->command(QStringLiteral("userFunctionSeparator"))->isVisible())
        captions << QStringLiteral("|");
    return captions;
}

double processCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

// No such process, or one that has ended and waits for its parent to collect it.
bool processEnded(pid_t pid) {
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (::kill(pid, 0) != 0 || !stat.open(QIODevice::ReadOnly))
        return true;
    const QByteArray fields = stat.readAll();
    return fields.mid(fields.lastIndexOf(')') + 2, 1) == "Z";
}

bool noExchangeFileLeft(const QString& home) {
    const QStringList left =
        QDir(home).entryList({"sistema.dat", "colonne.dat", "finito.ok"}, QDir::AllEntries);
    return left.isEmpty();
}

} // namespace

class UserFunctionTest : public QObject, protected test::SystemWindowFixture {
    Q_OBJECT
private slots:
    void init() { openSystemWindow(); }
    void cleanup() { closeSystemWindow(); }
    void addRunAndDeleteTheCompiledExample();
    void functionThatNeverFinishesIsInterrupted();
    void refusedRunsAndDamagedResults();
    void shippedScriptDropsThreeInARow();
    void latin1ListAndDescription();

private:
    void markSevenAndTwoColumns();
    // Writes funzioni.ute and a script with its description, then reloads the menus.
    void registerScript(const QString& name, const QByteArray& body);
};

void UserFunctionTest::markSevenAndTwoColumns() {
    for (int n : {1, 2, 3, 10, 20, 30, 90})
        clickNumber(window_, n);
    // Sums 66 and 245: the example keeps only the second with the range 100..300.
    window_->state().finalColumns = {{1, 2, 3, 10, 20, 30}, {2, 3, 10, 20, 30, 90}};
    window_->refreshSystemView();
    window_->state().modified = false;
}

void UserFunctionTest::registerScript(const QString& name, const QByteArray& body) {
    writeFile(home_->file(name), body, true);
    writeFile(home_->file(QFileInfo(name).completeBaseName() + ".txt"), "Prova\nA\nB\n");
    writeFile(home_->file("funzioni.ute"), "1\r\n" + name.toUtf8() + "\r\nProva\r\n");
    window_->reloadUserFunctions();
}

void UserFunctionTest::addRunAndDeleteTheCompiledExample() {
    QVERIFY(QFile::copy(QUINTOR_EXAMPLE_FUNCTION, home_->file("filtrosomma")));
    QVERIFY(QFile::copy(QUINTOR_EXAMPLE_FUNCTIONS_DIR "/filtrosomma.txt",
                        home_->file("filtrosomma.txt")));
    writeFile(home_->file("filtrosomma.cfg"), "100 300\n");
    writeFile(home_->file("senza"), "#!/bin/sh\n", true);
    frame_->onNewTriggered();
    SystemWindow* second = frame_->activeSystem();
    QVERIFY(second != window_);
    markSevenAndTwoColumns();
    QCOMPARE(menuCaptions(window_), QStringList());

    whenShown<NewFunctionDialog>([](NewFunctionDialog* dialog) {
        auto* list = child<QListWidget>(dialog, "fileList");
        auto* add = child<QPushButton>(dialog, "addButton");
        auto label = [dialog](const char* name) { return child<QLabel>(dialog, name)->text(); };
        auto names = [list] {
            QStringList all;
            for (int i = 0; i < list->count(); ++i)
                all << list->item(i)->text();
            return all;
        };
        // Runnable files only, then every file.
        QVERIFY(names().contains("filtrosomma"));
        QVERIFY(!names().contains("filtrosomma.txt"));
        child<QComboBox>(dialog, "fileTypeBox")->setCurrentIndex(1);
        QVERIFY(names().contains("filtrosomma.txt"));
        // The line the list makes current, unselected, when it takes the focus is no choice.
        const int example = list->row(list->findItems("filtrosomma", Qt::MatchExactly).value(0));
        list->selectionModel()->setCurrentIndex(list->model()->index(example, 0),
                                                QItemSelectionModel::NoUpdate);
        QVERIFY(!add->isEnabled());
        // A file without a description cannot be added.
        list->setCurrentItem(list->findItems("senza", Qt::MatchExactly).value(0));
        QVERIFY(list->currentItem());
        QVERIFY(!add->isEnabled());
        QVERIFY(!child<QGroupBox>(dialog, "previewBox")->isEnabled());

        list->setCurrentItem(list->findItems("filtrosomma", Qt::MatchExactly).value(0));
        QVERIFY(add->isEnabled());
        QCOMPARE(label("nameLabel"), QStringLiteral("Nome funzione: filtrosomma"));
        QCOMPARE(label("menuTextLabel"),
                 QStringLiteral("Voce del menù: Filtro per somma dei numeri"));
        QCOMPARE(label("authorLabel"), QStringLiteral("Nome dell'autore: Squadra Quintor"));
        QCOMPARE(label("mailLabel"), QStringLiteral("Indirizzo e-mail: quintor@example.org"));
        QVERIFY(child<QPlainTextEdit>(dialog, "descriptionView")
                    ->toPlainText()
                    .startsWith("Tiene le colonne finali"));
        QTest::mouseClick(add, Qt::LeftButton);
    });
    QVERIFY(trigger(window_, "addUserFunctionAction"));
    const QStringList menu{QStringLiteral("Filtro per somma dei numeri"), QStringLiteral("|")};
    QCOMPARE(menuCaptions(window_), menu);
    QCOMPARE(menuCaptions(second), menu);
    QCOMPARE(readFile(home_->file("funzioni.ute")),
             QByteArray("1\r\nfiltrosomma\r\nFiltro per somma dei numeri\r\n"));

    // Runs until the program creates finito.ok; the wait window closes by itself.
    QTimer watchdog;
    watchdog.setSingleShot(true);
    connect(&watchdog, &QTimer::timeout, [] {
        if (auto* wait = qobject_cast<FunctionWaitDialog*>(QApplication::activeModalWidget()))
            wait->onStopClicked();
    });
    watchdog.start(20000);
    QVERIFY(trigger(window_, "userFunctionAction1"));
    QVERIFY(watchdog.isActive());
    const SystemState& state = window_->state();
    QCOMPARE(state.markedNumbers(), (std::vector<int>{1, 2, 3, 10, 20, 30, 90}));
    QCOMPARE(state.finalColumns, (std::vector<Column>{{2, 3, 10, 20, 30, 90}}));
    QVERIFY(state.modified);
    QCOMPARE(test::labelText(window_, "finalColumnsLabel"), QStringLiteral("Colonne finali: 1"));
    QVERIFY(noExchangeFileLeft(home_->path()));
    QCOMPARE(second->state().finalColumns.size(), std::size_t(0));

    whenShown<RemoveFunctionDialog>([](RemoveFunctionDialog* dialog) {
        auto* list = child<QListWidget>(dialog, "functionList");
        auto* remove = child<QPushButton>(dialog, "removeButton");
        QCOMPARE(list->item(0)->text(),
                 QStringLiteral("filtrosomma : Filtro per somma dei numeri"));
        QVERIFY(!remove->isEnabled());
        // Nor does Enter on such a line delete anything.
        list->selectionModel()->setCurrentIndex(list->model()->index(0, 0),
                                                QItemSelectionModel::NoUpdate);
        QTest::keyClick(list, Qt::Key_Return);
        QVERIFY(dialog->isVisible());
        QVERIFY(!remove->isEnabled());
        list->setCurrentRow(0);
        QVERIFY(remove->isEnabled());
        QTest::mouseClick(remove, Qt::LeftButton);
    });
    QVERIFY(trigger(second, "deleteUserFunctionAction"));
    QCOMPARE(menuCaptions(window_), QStringList());
    QCOMPARE(menuCaptions(second), QStringList());
    QCOMPARE(readFile(home_->file("funzioni.ute")), QByteArray("0\r\n"));
}

void UserFunctionTest::functionThatNeverFinishesIsInterrupted() {
    markSevenAndTwoColumns();
    // The waiting is done by a helper the script starts, as wrapper scripts do.
    registerScript("dorme.sh", "#!/bin/sh\nsh -c 'echo $$ > pid.txt; exec sleep 60'\n");
    // The wait must leave the processor alone: measured over waitMs of idle waiting.
    const int waitMs = qEnvironmentVariableIntValue("QUINTOR_WAIT_MS") > 0
                           ? qEnvironmentVariableIntValue("QUINTOR_WAIT_MS")
                           : 1000;
    double cpu = -1;
    whenShown<FunctionWaitDialog>([&](FunctionWaitDialog* wait) {
        QVERIFY(wait->windowFlags() & Qt::WindowStaysOnTopHint);
        QVERIFY(!(wait->windowFlags() & Qt::WindowCloseButtonHint));
        QTRY_VERIFY(QFile::exists(home_->file("pid.txt")));
        QEventLoop idle;
        QTimer::singleShot(waitMs, &idle, &QEventLoop::quit);
        const double before = processCpuSeconds();
        idle.exec();
        cpu = processCpuSeconds() - before;
        QVERIFY(wait->isVisible());
        QTest::keyClick(wait, Qt::Key_Escape);
    });
    QVERIFY(trigger(window_, "userFunctionAction1"));
    qInfo("CPU time of the program during a %d ms wait: %.4f s", waitMs, cpu);
    QVERIFY(cpu >= 0 && cpu < 0.1);

    QCOMPARE(window_->state().markedNumbers(), (std::vector<int>{1, 2, 3, 10, 20, 30, 90}));
    QCOMPARE(window_->state().finalColumns.size(), std::size_t(2));
    QVERIFY(!window_->state().modified);
    QVERIFY(noExchangeFileLeft(home_->path()));
    // The interrupted program is stopped with its helpers, so none can write into a later run.
    const pid_t pid = readFile(home_->file("pid.txt")).trimmed().toInt();
    QVERIFY(pid > 0);
    QTRY_VERIFY_WITH_TIMEOUT(processEnded(pid), 10000);
}

void UserFunctionTest::refusedRunsAndDamagedResults() {
    markSevenAndTwoColumns();
    // A program that is missing: a message at once, no wait window, nothing written.
    writeFile(home_->file("funzioni.ute"),
              "2\r\nassente\r\nSomma & filtro\r\n../fuori\r\nFuori\r\n");
    window_->reloadUserFunctions();
    QCOMPARE(menuCaptions(window_), (QStringList{"Somma & filtro", "Fuori", "|"}));
    for (const char* item : {"userFunctionAction1", "userFunctionAction2"}) {
        prompter_->clear();
        QVERIFY(trigger(window_, item));
        QCOMPARE(prompter_->questions().size(), 1);
        QCOMPARE(prompter_->questions().value(0).title, QStringLiteral("Errore !"));
        QVERIFY(noExchangeFileLeft(home_->path()));
    }
    QVERIFY(prompter_->lastText().contains("fuori"));
    QVERIFY(!window_->state().modified);

    // Results with a number off the board and a column count beyond the file: what is whole
    // is read, the rest counted in one message.
    registerScript("guasto.sh", "#!/bin/sh\n"
                                "printf '\\003\\001\\133\\005' > sistema.dat\n"
                                "printf '\\003\\000\\000\\000\\001\\002\\003\\004\\005\\006' "
                                "> colonne.dat\n"
                                "touch finito.ok\n");
    prompter_->clear();
    // The warning comes over the window as the results left it, not over the old columns.
    QStringList shownAtWarning;
    prompter_->onQuestion = [&](const Question&) {
        shownAtWarning << child<QLabel>(window_, "finalColumnsLabel")->text()
                       << child<QLabel>(window_, "markedCountLabel")->text();
    };
    QVERIFY(trigger(window_, "userFunctionAction1"));
    prompter_->onQuestion = nullptr;
    QCOMPARE(window_->state().markedNumbers(), (std::vector<int>{1, 5}));
    QCOMPARE(window_->state().finalColumns, (std::vector<Column>{{1, 2, 3, 4, 5, 6}}));
    QCOMPARE(prompter_->questions().size(), 1);
    QVERIFY2(prompter_->lastText().contains("sono stati scartati 1 numero segnato e 2 colonne"),
             qPrintable(prompter_->lastText()));
    QCOMPARE(shownAtWarning, (QStringList{"Colonne finali: 1", "2"}));
    QVERIFY(noExchangeFileLeft(home_->path()));

    // A sixteenth function is refused before any dialog opens.
    QByteArray full = QByteArray::number(maxUserFunctions) + "\r\n";
    for (int k = 1; k <= maxUserFunctions; ++k)
        full += "f" + QByteArray::number(k) + "\r\nF\r\n";
    writeFile(home_->file("funzioni.ute"), full);
    prompter_->clear();
    QVERIFY(trigger(window_, "addUserFunctionAction"));
    QVERIFY(prompter_->lastText().startsWith("Il menù contiene già 15 funzioni"));
    QCOMPARE(readFile(home_->file("funzioni.ute")), full);
}

void UserFunctionTest::shippedScriptDropsThreeInARow() {
    QVERIFY(QFile::copy(QUINTOR_EXAMPLE_FUNCTIONS_DIR "/consecutivi.py",
                        home_->file("consecutivi.py")));
    writeFile(home_->file("funzioni.ute"), "1\r\nconsecutivi.py\r\nConsecutivi\r\n");
    window_->reloadUserFunctions();
    markSevenAndTwoColumns();
    QVERIFY(trigger(window_, "userFunctionAction1"));
    QCOMPARE(window_->state().finalColumns, (std::vector<Column>{{2, 3, 10, 20, 30, 90}}));
    QVERIFY(window_->state().modified);
    QVERIFY(noExchangeFileLeft(home_->path()));
}

void UserFunctionTest::latin1ListAndDescription() {
    // Accented letters as a Windows editor saves them, one byte each.
    writeFile(home_->file("funzioni.ute"), "1\r\nvecchia\r\nProbabilit\xe0\r\n");
    window_->reloadUserFunctions();
    QCOMPARE(menuCaptions(window_), (QStringList{QStringLiteral("Probabilità"), "|"}));
    writeFile(home_->file("nuova"), "#!/bin/sh\n", true);
    writeFile(home_->file("nuova.txt"), "Citt\xe0\nNicol\xf2\nn@example.org\n");
    whenShown<NewFunctionDialog>([](NewFunctionDialog* dialog) {
        auto* list = child<QListWidget>(dialog, "fileList");
        list->setCurrentItem(list->findItems("nuova", Qt::MatchExactly).value(0));
        QCOMPARE(child<QLabel>(dialog, "menuTextLabel")->text(),
                 QStringLiteral("Voce del menù: Città"));
        QCOMPARE(child<QLabel>(dialog, "authorLabel")->text(),
                 QStringLiteral("Nome dell'autore: Nicolò"));
        dialog->reject();
    });
    QVERIFY(trigger(window_, "addUserFunctionAction"));
}

QTEST_MAIN(UserFunctionTest)
#include "test_userfunc.moc"
