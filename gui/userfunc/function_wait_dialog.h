#pragma once

#include "gui/common/tiled_dialog.h"

#include <QString>

class QFileSystemWatcher;
class QLabel;
class QPushButton;
class QTimer;

namespace quintor {

// The wait while a user function runs: on top, no close box, one button "Interrompi" (also
// Esc). It closes by itself (accepted) as soon as finito.ok appears in the program folder,
// noticed by a watch on the folder and a slow timer as a second check, so the program does
// no work while it waits. Interrompi rejects it.
class FunctionWaitDialog : public TiledDialog {
    Q_OBJECT
public:
    FunctionWaitDialog(const QString& programFolder, const QString& caption,
                       QWidget* parent = nullptr);

    // The started program ended without creating finito.ok: say so, and keep waiting for the
    // user (it may have left a helper running that will still finish).
    void programEnded(int exitCode);

public slots:
    // Interrompi: the wait ends, rejected.
    void onStopClicked();
    // True (and the window closed) when finito.ok is there.
    bool checkFinished();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QLabel* messageLabel_ = nullptr;
    QPushButton* stopButton_ = nullptr;
    QString folder_;
    QFileSystemWatcher* watcher_ = nullptr;
    QTimer* timer_ = nullptr;
};

} // namespace quintor
