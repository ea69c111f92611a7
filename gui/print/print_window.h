#pragma once

#include "gui/common/tiled_dialog.h"

#include <QList>
#include <QPushButton>

#include <initializer_list>

class QHBoxLayout;
class QProgressBar;

namespace quintor {

// A push button of a print window: named, with its hint, never the default button.
QPushButton* printWindowButton(QWidget* parent, const char* name, const QString& caption,
                               const QString& hint);
// A row of controls, left to right; a null entry stands for a stretch.
QHBoxLayout* controlRow(std::initializer_list<QWidget*> controls);

// What the print windows share: the stop button and the progress bar of a long run, during
// which the other controls are disabled, and "Imposta stampante". Closing the window during a
// run asks the run to stop instead; the run asks the user between two pages.
class PrintWindow : public TiledDialog {
    Q_OBJECT
public:
    explicit PrintWindow(QWidget* parent = nullptr);

    bool running() const { return running_; }
    // Sets the caption and widens the window until the caption shows whole.
    void setWholeTitle(const QString& title);

    void onStopClicked();
    void onPrinterSetupClicked();

protected:
    // Makes the stop button (with its hint) and the progress bar, both hidden until a run
    // starts.
    void createRunControls(const QString& stopHint);
    // Makes the "Imposta stampante" button, connected to the printer set-up.
    QPushButton* createPrinterSetupButton();
    // A print window button whose clicks go to a handler of the window.
    template <typename Window>
    QPushButton* createButton(QWidget* parent, const char* name, const QString& caption,
                              const QString& hint, void (Window::*handler)()) {
        QPushButton* button = printWindowButton(parent, name, caption, hint);
        connect(button, &QPushButton::clicked, static_cast<Window*>(this), handler);
        return button;
    }
    // The controls disabled while a run goes on.
    void setIdleControls(const QList<QWidget*>& controls) { idleControls_ = controls; }
    void addIdleControl(QWidget* control) { idleControls_.append(control); }
    void setRunning(bool running);
    // Between two pages: lets the window see its clicks; after one on the stop button, asks
    // whether to stop. False when the user confirmed the stop.
    bool keepRunning();

    // After the printer set-up was confirmed: the paper may have changed.
    virtual void printerChosen() {}

    void closeEvent(QCloseEvent* event) override;
    void reject() override;

    QPushButton* stopButton_ = nullptr;
    QProgressBar* progressBar_ = nullptr;

private:
    QList<QWidget*> idleControls_;
    bool running_ = false;
    bool stopRequested_ = false;
    // Closing was asked for during a run: the window closes once the run has ended.
    bool closeWhenIdle_ = false;
};

} // namespace quintor
