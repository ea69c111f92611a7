#include "tests/gui/support/gui_helpers.h"

#include "app/upri.h"
#include "core/program_folder.h"
#include "system/board.h"
#include "system/usis.h"

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QtTest>

namespace quintor::test {

TestHome::TestHome() : previousCurrent_(QDir::currentPath()) {
    setProgramFolder(dir_.path().toStdString());
    QDir::setCurrent(dir_.path());
}

TestHome::~TestHome() {
    QDir::setCurrent(previousCurrent_);
    setProgramFolder({});
}

QString labelText(const TSIS* window, const QString& objectName) {
    const auto* label = window->findChild<QLabel*>(objectName);
    return label ? label->text() : QStringLiteral("<no %1>").arg(objectName);
}

void clickNumber(TSIS* window, int n) {
    QTest::mouseClick(window->TAV(), Qt::LeftButton, {}, NumberBoard::cellCentre(n));
}

namespace {
bool fire(QAction* action) {
    if (!action || !action->isEnabled())
        return false;
    action->trigger();
    return true;
}
} // namespace

bool trigger(TSIS* window, const QString& objectName) {
    return fire(window->command(objectName));
}

bool trigger(TPRI* frame, const QString& objectName) {
    return fire(frame->command(objectName));
}

} // namespace quintor::test
