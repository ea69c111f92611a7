#include "app/upri.h"
#include "archive/ugestra.h"
#include "archive/uvisua.h"
#include "core/archive.h"
#include "core/byte_file.h"
#include "core/program_folder.h"

#include <QApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QProxyStyle>
#include <QScreen>
#include <QTranslator>

#include <cstdlib>

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
    QApplication app(argc, argv);
    QApplication::setStyle(new HintDelayStyle);
    QApplication::setApplicationName(QStringLiteral("Quintor"));
    QApplication::setApplicationDisplayName(QStringLiteral("Quintor"));
    // Every text of the program is Italian, so the toolkit's own texts (file dialogs, context
    // menus of the edits) are too, whatever the desktop's language.
    QTranslator toolkitTexts;
    if (toolkitTexts.load(QStringLiteral("qtbase_it"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&toolkitTexts);
    const char* home = std::getenv("QUINTOR_HOME");
    if (!home || !*home)
        quintor::setExecutablePath(QApplication::applicationFilePath().toStdString());
    // A save killed half-way leaves its temporary file behind; nothing else removes it.
    quintor::removeStaleTemporaryFiles(quintor::programFolder());
    quintor::removeStaleTemporaryFiles(QDir::currentPath().toStdString());

    // One view-columns window for the whole run, filled by whichever window shows it.
    quintor::TVisua::shared();

    QStringList parameters = QApplication::arguments();
    parameters.removeFirst();
    quintor::TPRI frame(parameters);
    // The archive window loads the archive and offers the update file now, before the first
    // system window opens.
    quintor::TGestra archiveWindow(quintor::programFolder(), quintor::programArchive(), &frame);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        frame.setGeometry(screen->availableGeometry());
    frame.showMaximized();
    return QApplication::exec();
}
