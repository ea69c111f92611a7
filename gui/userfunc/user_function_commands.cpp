#include "gui/userfunc/user_function_commands.h"

#include "core/program_folder.h"
#include "core/system_state.h"
#include "gui/common/feedback.h"
#include "gui/common/prompter.h"
#include "gui/userfunc/function_wait_dialog.h"
#include "gui/userfunc/new_function_dialog.h"
#include "gui/userfunc/remove_function_dialog.h"

#include <QApplication>
#include <QProcess>
#include <QStringDecoder>
#include <QTimer>

#include <csignal>

#include <unistd.h>

namespace quintor {

namespace {

// How long a program that is told to stop gets before it is killed.
constexpr int stopGraceMs = 3000;

QString folderText() {
    return QString::fromStdString(programFolder().string());
}

QString fromStd(const std::string& text) {
    return QString::fromStdString(text);
}

// A program left running after the wait must not write into the folder during a later run:
// it is asked to stop, then killed, and its QProcess goes once it has ended. The function
// runs in a process group of its own (see runUserFunction), and the whole group is stopped,
// so a helper the program started (a script running the real program, say) goes with it.
void letGo(QProcess* process, pid_t group, bool stop) {
    if (stop && group > 0) {
        ::kill(-group, SIGTERM);
        QTimer::singleShot(stopGraceMs, qApp, [group] {
            if (::kill(-group, 0) == 0)
                ::kill(-group, SIGKILL);
        });
    }
    if (process->state() == QProcess::NotRunning) {
        process->deleteLater();
        return;
    }
    QObject::connect(process, &QProcess::finished, process, &QObject::deleteLater);
}

QString refusedMessage(const ExchangeResult& result) {
    return QStringLiteral("La funzione ha restituito dati non validi: %1 (numeri fuori da "
                          "1..90, conteggi errati o file incompleti).\rIl resto è stato letto.")
        .arg(QString::fromStdString(refusedDataText(result)));
}

} // namespace

UserFunctionList loadUserFunctions() {
    return UserFunctionList::load(programFolder());
}

QString userFunctionText(const std::string& bytes) {
    const QByteArrayView view(bytes.data(), static_cast<qsizetype>(bytes.size()));
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8(view);
    return utf8.hasError() ? QString::fromLatin1(view) : text;
}

bool addUserFunctionCommand(QWidget* parent) {
    UserFunctionList list = loadUserFunctions();
    const QString fullMessage =
        QStringLiteral("Il menù contiene già %1 funzioni, il massimo.\rEliminarne una prima di "
                       "aggiungerne un'altra.")
            .arg(maxUserFunctions);
    if (static_cast<int>(list.entries.size()) >= maxUserFunctions) {
        showError(parent, QStringLiteral("Errore !"), fullMessage);
        return false;
    }
    NewFunctionDialog dialog(folderText(), parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;

    HourglassGuard hourglass;
    switch (addUserFunction(programFolder(), dialog.chosenProgram().toStdString(),
                            dialog.chosenCaption().toStdString(), list)) {
    case AddOutcome::Added:
        break;
    case AddOutcome::AlreadyListed:
        return false;
    case AddOutcome::ListFull:
        hourglass.release();
        showError(parent, QStringLiteral("Errore !"), fullMessage);
        return false;
    case AddOutcome::UnsafeName:
        hourglass.release();
        showError(parent, QStringLiteral("Errore !"),
                  QStringLiteral("Il nome \"%1\" non può essere usato per una funzione utente.")
                      .arg(dialog.chosenProgram()));
        return false;
    case AddOutcome::WriteFailed:
        hourglass.release();
        showError(parent, QStringLiteral("Errore !"),
                  QStringLiteral("Impossibile scrivere l'elenco delle funzioni (funzioni.ute) "
                                 "nella cartella del programma."));
        return false;
    }
    return true;
}

bool deleteUserFunctionCommand(QWidget* parent) {
    UserFunctionList list = loadUserFunctions();
    if (list.entries.empty()) {
        beep();
        return false;
    }
    QStringList lines;
    for (const UserFunction& entry : list.entries)
        lines << fromStd(entry.program) + QStringLiteral(" : ") + userFunctionText(entry.caption);
    RemoveFunctionDialog dialog(lines, parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    if (!removeUserFunction(programFolder(), dialog.chosenIndex(), list)) {
        showError(parent, QStringLiteral("Errore !"),
                  QStringLiteral("Impossibile scrivere l'elenco delle funzioni (funzioni.ute) "
                                 "nella cartella del programma."));
        return false;
    }
    return true;
}

bool runUserFunction(QWidget* parent, SystemState& state, const UserFunction& function,
                     const std::function<void()>& showResults) {
    const std::filesystem::path folder = programFolder();
    const QString program = fromStd(function.program);
    if (!isSafeProgramName(function.program)) {
        showError(parent, QStringLiteral("Errore !"),
                  QStringLiteral("Il nome \"%1\" in funzioni.ute non è un file della cartella "
                                 "del programma: la funzione non viene avviata.")
                      .arg(program));
        return false;
    }
    const auto command = launchCommand(folder, function.program);
    const QString cannotStart =
        QStringLiteral("Impossibile avviare la funzione \"%1\":\ril programma %2 non esiste "
                       "nella cartella del programma o non è eseguibile.")
            .arg(fromStd(function.caption), program);
    if (!command) {
        showError(parent, QStringLiteral("Errore !"), cannotStart);
        return false;
    }

    HourglassGuard hourglass;
    if (!writeExchangeFiles(folder, state)) {
        removeExchangeFiles(folder);
        hourglass.release();
        showError(parent, QStringLiteral("Errore !"),
                  QStringLiteral("Impossibile preparare i file di scambio (sistema.dat, "
                                 "colonne.dat) nella cartella del programma."));
        return false;
    }

    auto* process = new QProcess(qApp);
    process->setWorkingDirectory(folderText());
    process->setProgram(fromStd(command->program));
    QStringList arguments;
    for (const std::string& argument : command->arguments)
        arguments << fromStd(argument);
    process->setArguments(arguments);
    // What the function prints goes where Quintor's own output goes.
    process->setProcessChannelMode(QProcess::ForwardedChannels);
    process->setChildProcessModifier([] { ::setpgid(0, 0); });
    process->start();
    if (!process->waitForStarted()) {
        letGo(process, 0, true);
        removeExchangeFiles(folder);
        hourglass.release();
        showError(parent, QStringLiteral("Errore !"), cannotStart);
        return false;
    }
    // Its group keeps this number after the program itself has ended.
    const auto group = static_cast<pid_t>(process->processId());

    FunctionWaitDialog wait(folderText(), fromStd(function.caption), parent);
    QObject::connect(process, &QProcess::finished, &wait,
                     [&wait](int exitCode) { wait.programEnded(exitCode); });
    hourglass.release();
    const bool finished = wait.exec() == QDialog::Accepted && finishedFileExists(folder);
    letGo(process, group, !finished);

    bool readBack = false;
    if (finished) {
        HourglassGuard reading;
        const ExchangeResult result = readExchangeFiles(folder);
        applyExchangeResult(result, state);
        readBack = true;
        removeExchangeFiles(folder);
        // The warning speaks of what the window shows: the new board and grid, not the old.
        if (showResults)
            showResults();
        if (result.refusedNumbers > 0 || result.refusedColumns > 0) {
            reading.release();
            Prompter::current().ask(parent, {QStringLiteral("Attenzione"), refusedMessage(result),
                                             QMessageBox::Ok, QMessageBox::Warning});
        }
    }
    removeExchangeFiles(folder);
    return readBack;
}

} // namespace quintor
