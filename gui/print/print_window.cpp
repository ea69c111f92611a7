#include "gui/print/print_window.h"

#include "gui/common/feedback.h"
#include "gui/common/prompter.h"
#include "gui/print/printer.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QProgressBar>
#include <QPushButton>

namespace quintor {

QPushButton* printWindowButton(QWidget* parent, const char* name, const QString& caption,
                               const QString& hint) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    setHint(b, hint);
    return b;
}

PrintWindow::PrintWindow(QWidget* parent) : TiledDialog(parent) {}

void PrintWindow::createRunControls(const QString& stopHint) {
    FESTA = printWindowButton(this, "FESTA", QStringLiteral("Ferma la stampa"), stopHint);
    FESTA->hide();
    progress_ = new QProgressBar(this);
    progress_->setObjectName(QStringLiteral("Progresso"));
    progress_->setAccessibleName(QStringLiteral("Avanzamento della stampa"));
    progress_->hide();
    connect(FESTA, &QPushButton::clicked, this, &PrintWindow::FESTAClick);
}

void PrintWindow::setRunning(bool running) {
    running_ = running;
    if (running)
        stopRequested_ = false;
    FESTA->setVisible(running);
    progress_->setVisible(running);
    for (QWidget* control : idleControls_)
        control->setEnabled(!running);
    if (running)
        FESTA->setFocus();
    if (!running && closeWhenIdle_) {
        closeWhenIdle_ = false;
        // Queued: the handler that ran the loop finishes first.
        QMetaObject::invokeMethod(this, &PrintWindow::reject, Qt::QueuedConnection);
    }
}

bool PrintWindow::keepRunning() {
    QCoreApplication::processEvents();
    if (!stopRequested_)
        return true;
    stopRequested_ = false;
    return askQuestion(this, QStringLiteral("Conferma"),
                       QStringLiteral("Sei sicuro di voler interrompere la stampa ?"),
                       QMessageBox::Yes | QMessageBox::No, QMessageBox::No) != QMessageBox::Yes;
}

void PrintWindow::FESTAClick() {
    stopRequested_ = true;
}

void PrintWindow::spb7Click() {
    Impostastampante(this);
}

void PrintWindow::closeEvent(QCloseEvent* event) {
    if (running_) {
        // The run is asked to stop first; the window closes afterwards.
        stopRequested_ = true;
        closeWhenIdle_ = true;
        event->ignore();
        return;
    }
    TiledDialog::closeEvent(event);
}

void PrintWindow::reject() {
    if (running_) {
        stopRequested_ = true;
        closeWhenIdle_ = true;
        return;
    }
    TiledDialog::reject();
}

} // namespace quintor
