// Every control a keyboard or screen-reader user can reach says what it is: by its own text,
// by a label that names it as its buddy, or by an accessible name.
#include "analysis/ubuchi.h"
#include "analysis/ucompleta.h"
#include "analysis/ugaranzia.h"
#include "analysis/uverifica.h"
#include "app/upri.h"
#include "archive/uconf.h"
#include "archive/udistri.h"
#include "archive/ugestra.h"
#include "archive/upiuseg.h"
#include "archive/uvisua.h"
#include "core/archive.h"
#include "gui_common/prompter.h"
#include "help/uguida.h"
#include "print/printer.h"
#include "print/ustam.h"
#include "print/ustaor.h"
#include "print/usuca.h"
#include "selection/ufiltri.h"
#include "selection/uprovi.h"
#include "selection/uselco.h"
#include "system/ucosto.h"
#include "system/udainu.h"
#include "system/ufis.h"
#include "system/umodi.h"
#include "system/uproba.h"
#include "system/usis.h"
#include "system/utast.h"
#include "tests/gui/support/gui_helpers.h"
#include "userfunc/uelifu.h"
#include "userfunc/uinese.h"
#include "userfunc/unewfun.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSet>
#include <QTabBar>
#include <QTimer>
#include <QtTest>

#include <memory>
#include <optional>
#include <vector>

using namespace quintor;

namespace {

bool showsText(QString text) {
    return !text.remove(QLatin1Char('&')).trimmed().isEmpty();
}

// A tab bar reads out the caption of each tab.
bool everyTabCaptioned(const QTabBar* tabs) {
    for (int i = 0; i < tabs->count(); ++i)
        if (!showsText(tabs->tabText(i)))
            return false;
    return tabs->count() > 0;
}

// The controls of window a user can reach that carry no name at all, as
// "window: objectName (class)". Controls on pages not shown yet count: they are reached by
// turning the page.
QStringList unnamedControls(QWidget* window) {
    const QList<QWidget*> all = window->findChildren<QWidget*>();
    QSet<const QWidget*> labelled;
    for (QWidget* w : all)
        if (auto* label = qobject_cast<QLabel*>(w); label && label->buddy())
            labelled.insert(label->buddy());
    QStringList found;
    for (QWidget* w : all) {
        // A combo box's drop-down list is a window of its own, reached through the box.
        if (w->window() != window || w->focusPolicy() == Qt::NoFocus || w->isHidden())
            continue;
        // The editor inside a spin box or combo box, and a widget that hands its focus on, are
        // reached through their owner.
        QWidget* parent = w->parentWidget();
        if (qobject_cast<QAbstractSpinBox*>(parent) || qobject_cast<QComboBox*>(parent) ||
            w->focusProxy())
            continue;
        // Labels read out their own text; an inner window its title.
        if (qobject_cast<QLabel*>(w) || !w->windowTitle().isEmpty() ||
            !w->accessibleName().isEmpty() || labelled.contains(w))
            continue;
        if (auto* button = qobject_cast<QAbstractButton*>(w); button && showsText(button->text()))
            continue;
        if (auto* tabs = qobject_cast<QTabBar*>(w); tabs && everyTabCaptioned(tabs))
            continue;
        found << QStringLiteral("%1: %2 (%3)")
                     .arg(window->objectName().isEmpty() ? window->windowTitle()
                                                         : window->objectName(),
                          w->objectName(), QString::fromLatin1(w->metaObject()->className()));
    }
    return found;
}

} // namespace

class AccessibleNamesTest : public QObject, protected test::SystemWindowFixture {
    Q_OBJECT
private slots:
    void init() { openSystemWindow(); }
    void cleanup() { closeSystemWindow(); }

    void everyReachableControlIsNamed();
};

void AccessibleNamesTest::everyReachableControlIsNamed() {
    for (int n : {3, 8, 15, 22, 40, 41, 77})
        test::clickNumber(window_, n);
    SystemState& state = window_->state();
    state.finalColumns.push_back(Column{{3, 8, 15, 22, 40, 41}});
    Archive archive = test::cyclicArchive(30);
    const std::vector<Column> draws = archive.newestFirst(archive.size());
    const auto noCount = [](const auto&, const auto&) -> std::optional<std::uint64_t> { return 0; };

    std::vector<std::unique_ptr<QWidget>> windows;
    windows.push_back(std::make_unique<TDAINU>());
    windows.push_back(std::make_unique<TTAST>(state));
    windows.push_back(std::make_unique<Tcosto>());
    windows.push_back(std::make_unique<Tfiss>(state));
    windows.push_back(std::make_unique<TModi>());
    windows.push_back(std::make_unique<TPROBA>(state.marked, state.probabilities));
    windows.push_back(std::make_unique<TBuchi>(state, 3, 6));
    windows.push_back(std::make_unique<TCompleta>(state, archive));
    windows.push_back(std::make_unique<TGaranzia>(state));
    windows.push_back(std::make_unique<TVerifica>(state, archive, 800));
    windows.push_back(std::make_unique<TCONF>(state.finalColumns, TVisua::shared()));
    windows.push_back(std::make_unique<TDistri>(state.finalColumns));
    windows.push_back(
        std::make_unique<TGestra>(std::filesystem::path(home_->path().toStdString()), archive));
    windows.push_back(std::make_unique<TPiuseg>());
    windows.push_back(std::make_unique<TVisua>());
    windows.push_back(
        std::make_unique<TGuida>(TGuida::findCollection(QCoreApplication::applicationDirPath())));
    windows.push_back(std::make_unique<TFiltri>(ColumnFilters{},
                                                std::make_shared<const std::vector<Column>>(draws),
                                                noCount, 1, QStringLiteral("colonne finali")));
    windows.push_back(std::make_unique<TPROVI>(state.finalColumns, state.marked));
    windows.push_back(std::make_unique<TSELCO>(state, draws));
    windows.push_back(std::make_unique<TSTAM>(state));
    windows.push_back(std::make_unique<TSTAOR>(state));
    windows.push_back(std::make_unique<TSUCA>(state));
    windows.push_back(
        std::make_unique<Telifu>(QStringList{QStringLiteral("uno"), QStringLiteral("due")}));
    windows.push_back(std::make_unique<Tinese>(home_->path(), QStringLiteral("Funzione")));
    windows.push_back(std::make_unique<Tnewfun>(home_->path()));

    QStringList offenders = unnamedControls(frame_.get());
    // The dialog the next step opens modally, looked at and closed as soon as it shows.
    const auto checkNextDialog = [&offenders](const QString& what) {
        QTimer::singleShot(0, [&offenders, what] {
            QWidget* shown = QApplication::activeModalWidget();
            if (!shown) {
                offenders << what + QStringLiteral(": not shown");
                return;
            }
            offenders << unnamedControls(shown);
            shown->close();
        });
    };
    for (auto& w : windows) {
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        offenders << unnamedControls(w.get());
        // The print windows' preview is a window of its own.
        if (auto* preview = w->findChild<QPushButton*>(QStringLiteral("Anteprima"))) {
            checkNextDialog(w->objectName() + QStringLiteral(" preview"));
            QTest::mouseClick(preview, Qt::LeftButton);
        }
        w->hide();
    }
    // So are the printer set-up, the properties dialog it opens, and the file dialog.
    QTimer::singleShot(0, [&] {
        QWidget* setup = QApplication::activeModalWidget();
        if (!setup) {
            offenders << QStringLiteral("Imposta stampante: not shown");
            return;
        }
        offenders << unnamedControls(setup);
        checkNextDialog(QStringLiteral("Proprietà della stampante"));
        test::child<QPushButton>(setup, "properties")->click();
        setup->close();
    });
    Impostastampante(window_);
    checkNextDialog(QStringLiteral("file dialog"));
    DialogPrompter().openFileName(window_,
                                  FileRequest{QStringLiteral("Apri"),
                                              QStringLiteral("Sistema Quintor (*.qtr)|*.qtr"),
                                              QStringLiteral("qtr"), home_->path()});
    QVERIFY2(offenders.isEmpty(),
             qPrintable(QLatin1Char('\n') + offenders.join(QLatin1Char('\n'))));
}

QTEST_MAIN(AccessibleNamesTest)
#include "test_accessible_names.moc"
