#pragma once

#include "gui/common/tiled_dialog.h"

#include <QList>

class QProgressBar;
class QPushButton;

namespace quintor {

// A push button of a print window: named, with its hint, never the default button.
QPushButton* printWindowButton(QWidget* parent, const char* name, const QString& caption,
                               const QString& hint);

// What the print windows share: the stop button FESTA and the progress bar of a long run,
// during which the other controls are disabled, and "Imposta stampante". Closing the window
// during a run asks the run to stop instead; the run asks the user between two pages.
class PrintWindow : public TiledDialog {
    Q_OBJECT
public:
    explicit PrintWindow(QWidget* parent = nullptr);

    bool running() const { return running_; }

    void FESTAClick();
    void spb7Click();

protected:
    // Makes FESTA (with its hint) and the progress bar, both hidden until a run starts.
    void createRunControls(const QString& stopHint);
    // The controls disabled while a run goes on.
    void setIdleControls(const QList<QWidget*>& controls) { idleControls_ = controls; }
    void setRunning(bool running);
    // Between two pages: lets the window see its clicks; after one on FESTA, asks whether
    // to stop. False when the user confirmed the stop.
    bool keepRunning();

    void closeEvent(QCloseEvent* event) override;
    void reject() override;

    QPushButton* FESTA = nullptr;
    QProgressBar* progress_ = nullptr;

private:
    QList<QWidget*> idleControls_;
    bool running_ = false;
    bool stopRequested_ = false;
    // Closing was asked for during a run: the window closes once the run has ended.
    bool closeWhenIdle_ = false;
};

} // namespace quintor
