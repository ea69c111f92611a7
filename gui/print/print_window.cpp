#include "gui/print/print_window.h"

#include "gui/common/feedback.h"
#include "gui/common/prompter.h"
#include "gui/common/title_room.h"
#include "gui/print/printer.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QProgressBar>
#include <QPushButton>

#include <algorithm>

namespace quintor {

QPushButton* printWindowButton(QWidget* parent, const char* name, const QString& caption,
                               const QString& hint) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    setHint(b, hint);
    return b;
}

QHBoxLayout* controlRow(std::initializer_list<QWidget*> controls) {
    auto* row = new QHBoxLayout;
    for (QWidget* control : controls) {
        if (control)
            row->addWidget(control);
        else
            row->addStretch();
    }
    return row;
}

PrintWindow::PrintWindow(QWidget* parent) : TiledDialog(parent) {}

void PrintWindow::setWholeTitle(const QString& title) {
    setWindowTitle(title);
    // The window manager cuts a caption wider than the window: the window is made wide enough
    // for it, with room for the title bar's icon and buttons.
    const int needed = withRoomForTitle(this, QSize()).width();
    if (width() < needed || minimumWidth() < needed) {
        setMinimumWidth(std::max(minimumWidth(), needed));
        if (maximumWidth() < needed)
            setMaximumWidth(needed);
        resize(std::max(width(), needed), height());
    }
}

void PrintWindow::createRunControls(const QString& stopHint) {
    stopButton_ =
        printWindowButton(this, "stopButton", QStringLiteral("Ferma la stampa"), stopHint);
    stopButton_->hide();
    progressBar_ = new QProgressBar(this);
    progressBar_->setObjectName(QStringLiteral("progressBar"));
    progressBar_->setAccessibleName(QStringLiteral("Avanzamento della stampa"));
    progressBar_->hide();
    // Their room is kept while they are hidden: the window has a fixed size, and controls
    // that appeared in it during a run would squeeze the others' captions.
    for (QWidget* control :
         {static_cast<QWidget*>(stopButton_), static_cast<QWidget*>(progressBar_)}) {
        QSizePolicy policy = control->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        control->setSizePolicy(policy);
    }
    connect(stopButton_, &QPushButton::clicked, this, &PrintWindow::onStopClicked);
}

QPushButton* PrintWindow::createPrinterSetupButton() {
    return createButton(this, "printerSetupButton", QStringLiteral("Imposta stampante"),
                        QStringLiteral("Sceglie la stampante, la carta e l'orientamento"),
                        &PrintWindow::onPrinterSetupClicked);
}

void PrintWindow::setRunning(bool running) {
    running_ = running;
    if (running)
        stopRequested_ = false;
    stopButton_->setVisible(running);
    progressBar_->setVisible(running);
    for (QWidget* control : idleControls_)
        control->setEnabled(!running);
    if (running)
        stopButton_->setFocus();
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

void PrintWindow::onStopClicked() {
    stopRequested_ = true;
}

void PrintWindow::onPrinterSetupClicked() {
    if (setUpPrinter(this))
        printerChosen();
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
