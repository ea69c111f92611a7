#include "app/main_frame.h"
#include "core/archive.h"
#include "core/byte_file.h"
#include "core/program_folder.h"
#include "gui/common/dialog_window_guard.h"
#include "gui/common/program_identity.h"
#include "gui/common/prompter.h"
#include "gui/common/start_probe.h"
#include "gui/common/window_place_keeper.h"
#include "gui/help/help_window.h"

#include <QApplication>
#include <QDate>
#include <QDir>
#include <QLibraryInfo>
#include <QProxyStyle>
#include <QScreen>
#include <QStandardPaths>
#include <QTranslator>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <vector>

namespace {

// Tooltips come up after a quarter of a second, quicker than the toolkit's default, so the
// short hints of the tool buttons are there when the pointer rests on them.
class HintDelayStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        if (hint == QStyle::SH_ToolTip_WakeUpDelay)
            return 250;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

} // namespace

int main(int argc, char** argv) {
    // Past the file size limit a write fails and the save reports it; the signal would end
    // the program, and every unsaved window with it.
    std::signal(SIGXFSZ, SIG_IGN);
    QApplication app(argc, argv);
    QApplication::setStyle(new HintDelayStyle);
    quintor::DialogWindowGuard::install();
    quintor::applyProgramIdentity();
    // Every text of the program is Italian, so the toolkit's own texts (file dialogs, context
    // menus of the edits) are too, whatever the desktop's language.
    QTranslator toolkitTexts;
    if (toolkitTexts.load(QStringLiteral("qtbase_it"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&toolkitTexts);
    QTranslator helpTexts;
    if (helpTexts.load(QStringLiteral("qt_help_it"),
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&helpTexts);
    const char* home = std::getenv("QUINTOR_HOME");
    if (!home || !*home) {
        quintor::setExecutablePath(QApplication::applicationFilePath().toStdString());
        // An installed program cannot write beside its executable: its files go to the
        // user's data folder.
        quintor::setUserDataFolder(
            QStandardPaths::writableLocation(QStandardPaths::AppDataLocation).toStdString());
    }
    // The first start in a folder makes it ready: a simulated archive to try the statistics
    // on and the example user functions in the menu.
    // Scripts and descriptions are shared files; the compiled examples are programs and sit
    // with the other programs of the package.
    const QDir executableFolder(QApplication::applicationDirPath());
    std::vector<std::filesystem::path> exampleFolders;
    for (const char* examples : {"../share/quintor/funzioni", "../lib/quintor/funzioni"})
        exampleFolders.emplace_back(
            QDir::cleanPath(executableFolder.filePath(QLatin1String(examples))).toStdString());
    const QDate today = QDate::currentDate();
    const quintor::FolderPreparation prepared = quintor::prepareProgramFolder(
        exampleFolders,
        std::chrono::sys_days{std::chrono::year{today.year()} /
                              std::chrono::month{static_cast<unsigned>(today.month())} /
                              std::chrono::day{static_cast<unsigned>(today.day())}});
    if (!prepared.ok)
        quintor::showError(nullptr, QStringLiteral("Errore !"),
                           QStringLiteral("Impossibile preparare la cartella dei dati:\r%1")
                               .arg(QString::fromStdString(quintor::programFolder().string())));
    // A save killed half-way leaves its temporary file behind; nothing else removes it.
    quintor::removeStaleTemporaryFiles(quintor::programFolder());
    quintor::removeStaleTemporaryFiles(QDir::currentPath().toStdString());
    // The help comes first: the windows enable their help commands when it is there. Its
    // window is built when the help is first asked for.
    const QString helpCollection =
        quintor::HelpWindow::findCollection(QApplication::applicationDirPath());
    quintor::DeferredGuide guide(helpCollection);
    if (!helpCollection.isEmpty())
        quintor::setHelpViewer(&guide);

    // Windows open where the user left them in the last run.
    const quintor::WindowPlaceKeeper places;
    QStringList parameters = QApplication::arguments();
    parameters.removeFirst();
    quintor::MainFrame frame(parameters);
    // A long archive is read while the windows are built; the archive window takes it below.
    frame.context().archives().startReading(
        quintor::findFileNoCase(quintor::programFolder(), quintor::archiveFileName));
    quintor::quitOnceShownIfProbed(&frame);
    // A start timed from outside is not held up by a question.
    if (prepared.firstStart && !std::getenv("QUINTOR_START_PROBE"))
        frame.offerQuickTourOnStart();
    // The archive window takes the archive read ahead and offers the update file once the frame
    // is on the screen, before the first system window opens.
    QObject::connect(&frame, &quintor::MainFrame::firstPainted, &frame,
                     &quintor::MainFrame::loadArchive);
    // The first time, the frame fills the screen; later it comes back as the user left it.
    if (places.place(frame.objectName())) {
        frame.show();
    } else {
        if (const QScreen* screen = QGuiApplication::primaryScreen())
            frame.setGeometry(screen->availableGeometry());
        frame.showMaximized();
    }
    return QApplication::exec();
}
