#pragma once

#include "gui/common/program_context.h"
#include "gui/system/system_host.h"

#include <QMainWindow>
#include <QStringList>

#include <memory>

class QAction;
class QDialog;
class QFrame;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;

namespace quintor {

class BevelPanel;
class SystemWindow;

// The main frame: the MDI area with the system windows, the hint bar at the bottom, the frame's
// own menus (replaced by the active system window's menus while there is one), opening and
// creating systems, and closing the program. It owns what the windows share (the program
// context) and the archive window.
class MainFrame : public QMainWindow, public SystemHost {
    Q_OBJECT
public:
    // parameters: the command-line parameters, without the program's own name.
    explicit MainFrame(const QStringList& parameters = {}, QWidget* parent = nullptr);
    ~MainFrame() override;

    // The new-system counter: how many systems "Nuovo" has made (1 after a start with a file).
    int newSystemCounter() const { return counter_; }
    QMdiArea* mdiArea() const { return mdi_; }
    QList<SystemWindow*> systems() const; // in the frame's child order
    SystemWindow* activeSystem() const;
    QAction* command(const QString& objectName) const; // the frame's own menu items
    QAction* recentAction(int k) const { return recentActions_.value(k - 1); }
    ProgramContext& context() { return context_; }
    // The archive window, or null before loadArchive().
    QDialog* archiveWindow() const { return archiveWindow_.get(); }

    // Builds the archive window on the program folder: it takes the archive read ahead into the
    // context and offers the update file. The program does it once, when firstPainted.
    void loadArchive();

    // Every status tip ends here: the hint bar shows one blank and the long hint.
    void showHint(const QString& longHint);
    // At each activation while the counter is 0: opens the command-line file or a new system.
    void openStartingSystem();
    // Opens the named system in a new window; false when it does not exist.
    bool openSystemFile(const QString& name);
    // A window's recent-files item k (0..5) as the frame's own item k shows it.
    void setRecentItem(int k, const QString& caption, const QString& entry, bool visible);
    // The frame's own recent-files items, from the list on disk.
    void refreshRecentItems();

    // Asks once, when the start is done, whether to show the short guide: for the first start.
    void offerQuickTourOnStart() { quickTourOffered_ = true; }

    static QString missingFileMessage();
    static QString unreadableFileMessage();

signals:
    // Once, when the frame has first been painted (or has waited long enough for it), before
    // the first system window opens: the start-up work that need not hold up the frame's
    // appearing is done here, and may ask the user.
    void firstPainted();

public slots:
    void onNewTriggered();
    void onOpenTriggered();
    void onQuitTriggered();
    void onRecentTriggered(int index); // 0..5
    void onArchiveTriggered();
    // The notice bar's button: the archive window's CSV import.
    void onImportRealDrawsClicked();

protected:
    // What the system windows ask of the frame.
    void newSystem() override { onNewTriggered(); }
    void openSystem() override { onOpenTriggered(); }
    void quitProgram() override { onQuitTriggered(); }
    void openRecentSystem(int k) override { onRecentTriggered(k); }
    void showRecentItem(int k, const QString& caption, const QString& entry,
                        bool visible) override {
        setRecentItem(k, caption, entry, visible);
    }
    void showArchiveWindow() override;
    void finishArchiveLoading() override;

    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    SystemWindow* createSystem(int number);
    QMdiSubWindow* showSystem(SystemWindow* system);
    QPoint cascadePosition(const QList<QMdiSubWindow*>& open, QSize size) const;
    SystemWindow* openInNewWindow(const QString& name);
    void updateMenuBar();
    void buildMenus();
    void buildSimulatedDrawsBar(QWidget* parent);
    // The bar is shown while the archive holds the simulated draws of a first start.
    void refreshSimulatedDrawsBar();
    void askForQuickTour();
    // The rest of the start after the first painting: firstPainted, then the first system.
    void finishStart();

    // First, so that it outlives the archive window; the system windows go before it too.
    ProgramContext context_;
    std::unique_ptr<QDialog> archiveWindow_;
    QStringList parameters_;
    int counter_ = 0;
    bool missingParameterReported_ = false; // the command-line file did not exist
    bool quickTourOffered_ = false;
    enum class Start { notShown, waitingForPaint, finishing, done };
    Start start_ = Start::notShown;
    QMdiArea* mdi_ = nullptr;
    QFrame* simulatedDrawsBar_ = nullptr;
    BevelPanel* hintPanel_ = nullptr;
    QLabel* hintLabel_ = nullptr;
    QList<QMenu*> frameMenus_;
    QList<QAction*> recentActions_; // recentAction1 .. recentAction6
};

} // namespace quintor
