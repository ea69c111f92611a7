#include "app/main_frame.h"

#include "core/archive.h"
#include "core/program_folder.h"
#include "core/recent_files.h"
#include "core/system_file.h"
#include "gui/common/bevel_panel.h"
#include "gui/common/feedback.h"
#include "gui/common/help_link.h"
#include "gui/common/prompter.h"
#include "gui/common/window_place_keeper.h"
#include "gui/system/archive_window_access.h"
#include "gui/system/system_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPalette>
#include <QPushButton>
#include <QShowEvent>
#include <QStatusTipEvent>
#include <QTimer>
#include <QVBoxLayout>

namespace quintor {

namespace {
// The name system windows are remembered by.
const QString systemWindowKind = QStringLiteral("systemWindow");
} // namespace

MainFrame::MainFrame(const QStringList& parameters, QWidget* parent)
    : QMainWindow(parent), parameters_(parameters) {
    setObjectName(QStringLiteral("mainFrame"));
    setWindowTitle(QStringLiteral("Quintor"));

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    buildSimulatedDrawsBar(central);
    layout->addWidget(simulatedDrawsBar_);
    mdi_ = new QMdiArea(central);
    mdi_->setBackground(QColor(0, 128, 128));
    mdi_->setAccessibleName(QStringLiteral("Sistemi aperti"));
    // A window partly outside the visible area can still be reached.
    mdi_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdi_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    layout->addWidget(mdi_, 1);

    hintPanel_ = new BevelPanel(central);
    hintPanel_->setObjectName(QStringLiteral("hintPanel"));
    hintPanel_->setFixedHeight(17);
    hintPanel_->setBevelOuter(BevelPanel::Bevel::None);
    hintPanel_->setBevelInner(BevelPanel::Bevel::Lowered);
    auto* hintLayout = new QHBoxLayout(hintPanel_);
    hintLayout->setContentsMargins(3, 0, 3, 0);
    hintLabel_ = new QLabel(hintPanel_);
    hintLabel_->setObjectName(QStringLiteral("hintLabel"));
    QFont arial(QStringLiteral("Arial"));
    arial.setPixelSize(11);
    hintLabel_->setFont(arial);
    hintLabel_->setAccessibleName(QStringLiteral("Barra dei suggerimenti"));
    // A hint longer than the frame is wide is cut at its edge instead of widening the frame.
    hintLabel_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    hintLayout->addWidget(hintLabel_);
    setHint(hintPanel_, QStringLiteral("In questa barra sono visualizzate brevi spiegazioni sugli "
                                       "oggetti puntati dal cursore del mouse."));
    layout->addWidget(hintPanel_);
    setCentralWidget(central);

    buildMenus();
    connect(mdi_, &QMdiArea::subWindowActivated, this, &MainFrame::updateMenuBar);
    updateMenuBar();
}

MainFrame::~MainFrame() {
    // The windows go before the menu bar does; their going must not rebuild it. They also go
    // before the context they share.
    disconnect(mdi_, nullptr, this, nullptr);
    qDeleteAll(mdi_->subWindowList());
}

void MainFrame::buildMenus() {
    auto* file = new QMenu(QStringLiteral("&File"), this);
    file->setObjectName(QStringLiteral("fileMenu"));
    auto add = [](QMenu* menu, const char* name, const QString& caption, const char* keys) {
        QAction* action = menu->addAction(caption);
        action->setObjectName(QString::fromLatin1(name));
        if (*keys)
            action->setShortcut(QKeySequence(QString::fromLatin1(keys)));
        return action;
    };
    connect(add(file, "newAction", QStringLiteral("&Nuovo"), "Ctrl+N"), &QAction::triggered, this,
            &MainFrame::onNewTriggered);
    connect(add(file, "openAction", QStringLiteral("&Apri"), "Ctrl+A"), &QAction::triggered, this,
            &MainFrame::onOpenTriggered);
    QMenu* recent = file->addMenu(QStringLiteral("&Riapri"));
    recent->menuAction()->setObjectName(QStringLiteral("reopenAction"));
    recent->menuAction()->setShortcut(QKeySequence(QStringLiteral("Ctrl+R")));
    openSubmenuOnShortcut(file, recent);
    // Each item's tip is the whole path its caption shortens.
    recent->setToolTipsVisible(true);
    // The list is read again each time, so the items are there with no system window open.
    connect(recent, &QMenu::aboutToShow, this, &MainFrame::refreshRecentItems);
    for (int k = 0; k < 6; ++k) {
        QAction* item = recent->addAction(QStringLiteral("&%1").arg(k + 1));
        item->setObjectName(QStringLiteral("recentAction%1").arg(k + 1));
        item->setVisible(false);
        connect(item, &QAction::triggered, this, [this, k] { onRecentTriggered(k); });
        recentActions_ << item;
    }
    file->addSeparator();
    QAction* archive = add(file, "archiveAction", QStringLiteral("&Gestione colonne vincenti"), "");
    archive->setEnabled(!SystemWindow::pendingCommands().contains(archive->objectName()));
    connect(archive, &QAction::triggered, this, &MainFrame::onArchiveTriggered);
    file->addSeparator();
    QAction* quit = add(file, "quitAction", QStringLiteral("F&ine"), "Alt+F4");
    setHint(quit, QStringLiteral("Chiude il programma"));
    connect(quit, &QAction::triggered, this, &MainFrame::onQuitTriggered);

    auto* help = new QMenu(QStringLiteral("&Guida in linea"), this);
    help->setObjectName(QStringLiteral("helpMenu"));
    QAction* contents = add(help, "helpContentsAction", QStringLiteral("&Sommario"), "F1");
    connect(contents, &QAction::triggered, this, [] { showHelpTopic(HelpTopic::Contents); });
    QAction* search = add(help, "helpSearchAction", QStringLiteral("&Cerca argomento"), "");
    connect(search, &QAction::triggered, this, [] { showHelpSearch(); });
    QAction* tour = add(help, "quickTourAction", QStringLiteral("&Quintor in pochi secondi"), "");
    connect(tour, &QAction::triggered, this, [] { showHelpTopic(HelpTopic::QuickTour); });
    for (QAction* a : {contents, search, tour})
        a->setEnabled(helpAvailable());
    frameMenus_ = {file, help};
    refreshRecentItems();
}

void MainFrame::refreshRecentItems() {
    const RecentFiles list = RecentFiles::load(findFileNoCase(programFolder(), recentFilesName));
    for (int k = 0; k < 6; ++k)
        showRecentEntry(recentActions_[k], k, list);
}

void MainFrame::buildSimulatedDrawsBar(QWidget* parent) {
    simulatedDrawsBar_ = new QFrame(parent);
    QFrame* bar = simulatedDrawsBar_;
    bar->setObjectName(QStringLiteral("simulatedDrawsBar"));
    bar->setFrameShape(QFrame::StyledPanel);
    bar->setAutoFillBackground(true);
    QPalette colours = bar->palette();
    colours.setColor(QPalette::Window, QColor(255, 243, 176));
    colours.setColor(QPalette::WindowText, Qt::black);
    bar->setPalette(colours);
    auto* layout = new QHBoxLayout(bar);
    layout->setContentsMargins(8, 4, 8, 4);
    auto* text = new QLabel(
        QStringLiteral("<b>Estrazioni simulate.</b> L'archivio contiene estrazioni casuali, non "
                       "reali: statistiche, selezioni e verifiche calcolate su di esse non "
                       "valgono per il gioco. Importare le estrazioni reali da un file CSV."),
        bar);
    text->setObjectName(QStringLiteral("simulatedDrawsText"));
    text->setWordWrap(true);
    layout->addWidget(text, 1);
    auto* import = new QPushButton(QStringLiteral("Importa CSV..."), bar);
    import->setObjectName(QStringLiteral("importRealDrawsButton"));
    setHint(import, QStringLiteral("Importa le estrazioni reali|Sostituisce le estrazioni "
                                   "simulate con quelle reali di un file CSV."));
    import->setAccessibleName(QStringLiteral("Importa le estrazioni reali da un file CSV"));
    connect(import, &QPushButton::clicked, this, &MainFrame::onImportRealDrawsClicked);
    layout->addWidget(import, 0, Qt::AlignVCenter);
    bar->setAccessibleName(QStringLiteral("Avviso: estrazioni simulate"));
    bar->hide();
}

void MainFrame::refreshSimulatedDrawsBar() {
    simulatedDrawsBar_->setVisible(archiveWindow_ && isSimulatedArchive(context_.archive()));
}

void MainFrame::onImportRealDrawsClicked() {
    if (archiveWindow_)
        showArchiveImport(*archiveWindow_);
    refreshSimulatedDrawsBar();
}

QAction* MainFrame::command(const QString& objectName) const {
    for (QMenu* menu : frameMenus_)
        if (auto* a = menu->findChild<QAction*>(objectName))
            return a;
    for (QMenu* menu : frameMenus_)
        for (QAction* a : menu->actions())
            if (a->objectName() == objectName)
                return a;
    return nullptr;
}

QList<SystemWindow*> MainFrame::systems() const {
    QList<SystemWindow*> result;
    for (QMdiSubWindow* sub : mdi_->subWindowList(QMdiArea::CreationOrder))
        if (auto* system = qobject_cast<SystemWindow*>(sub->widget()))
            result << system;
    return result;
}

SystemWindow* MainFrame::activeSystem() const {
    QMdiSubWindow* sub = mdi_->activeSubWindow();
    if (!sub) {
        const auto list = mdi_->subWindowList(QMdiArea::ActivationHistoryOrder);
        sub = list.isEmpty() ? nullptr : list.last();
    }
    return sub ? qobject_cast<SystemWindow*>(sub->widget()) : nullptr;
}

void MainFrame::updateMenuBar() {
    menuBar()->clear();
    const SystemWindow* active = activeSystem();
    for (QMenu* menu : active ? active->menus() : frameMenus_)
        menuBar()->addMenu(menu);
}

bool MainFrame::eventFilter(QObject* watched, QEvent* event) {
    // A system window's place is kept as it closes, for the next one.
    auto* sub = qobject_cast<QMdiSubWindow*>(watched);
    if (sub && event->type() == QEvent::Close && sub->widget() && !sub->isMaximized() &&
        !sub->isMinimized())
        if (WindowPlaceKeeper* keeper = WindowPlaceKeeper::current())
            keeper->remember(systemWindowKind, QRect(sub->pos(), sub->widget()->size()));
    return QMainWindow::eventFilter(watched, event);
}

bool MainFrame::event(QEvent* event) {
    if (event->type() == QEvent::StatusTip) {
        showHint(static_cast<QStatusTipEvent*>(event)->tip());
        return true;
    }
    if (event->type() == QEvent::WindowActivate) {
        const bool handled = QMainWindow::event(event);
        // Before the start is finished the first system window waits for it.
        if (start_ == Start::done)
            openStartingSystem();
        return handled;
    }
    if (event->type() == QEvent::Paint && start_ == Start::waitingForPaint) {
        const bool handled = QMainWindow::event(event);
        // Queued: the children's painting in this pass reaches the screen first.
        QMetaObject::invokeMethod(this, &MainFrame::finishStart, Qt::QueuedConnection);
        return handled;
    }
    return QMainWindow::event(event);
}

void MainFrame::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (start_ != Start::notShown)
        return;
    // The frame is on the screen before the archive window and the first system window are
    // built. A frame that is never exposed (hidden by another, on another desktop) is not
    // painted; it does not wait for that longer than a moment.
    start_ = Start::waitingForPaint;
    QTimer::singleShot(250, this, &MainFrame::finishStart);
}

void MainFrame::finishStart() {
    if (start_ != Start::waitingForPaint)
        return;
    start_ = Start::finishing;
    emit firstPainted();
    start_ = Start::done;
    // Without a window manager the frame may never be activated; the first showing counts.
    openStartingSystem();
    if (quickTourOffered_)
        // Once the first system window is on the screen, so the question comes over it.
        QTimer::singleShot(0, this, &MainFrame::askForQuickTour);
}

void MainFrame::askForQuickTour() {
    quickTourOffered_ = false;
    if (!helpAvailable())
        return;
    if (askQuestion(this, QStringLiteral("Benvenuti in Quintor"),
                    QStringLiteral("È la prima volta che Quintor viene avviato.\rSi vuole leggere "
                                   "la guida breve «Quintor in pochi secondi» ?"),
                    QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes) == QMessageBox::Yes)
        showHelpTopic(HelpTopic::QuickTour);
}

void MainFrame::showHint(const QString& longHint) {
    setReadableText(hintLabel_, QLatin1Char(' ') + longHint);
}

QString MainFrame::missingFileMessage() {
    return QStringLiteral("Il file specificato non esiste !\rCorreggere e riprovare.");
}

QString MainFrame::unreadableFileMessage() {
    return QStringLiteral("Impossibile leggere dal file specificato!\rCorreggere e riprovare.");
}

SystemWindow* MainFrame::createSystem(int number) {
    return new SystemWindow(this, context_, number);
}

QMdiSubWindow* MainFrame::showSystem(SystemWindow* system) {
    const QList<QMdiSubWindow*> before = mdi_->subWindowList(QMdiArea::CreationOrder);
    QMdiSubWindow* sub = mdi_->addSubWindow(system);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->setWindowTitle(system->windowTitle());
    const QSize frameExtra(12, 34);
    const QSize area = mdi_->viewport()->size() - frameExtra;
    // The size the user last gave a system window, else a good share of the frame.
    const WindowPlaceKeeper* keeper = WindowPlaceKeeper::current();
    const std::optional<WindowPlace> known =
        keeper ? keeper->place(systemWindowKind) : std::nullopt;
    const QSize wanted = known ? QSize(known->width, known->height).boundedTo(area)
                               : SystemWindow::defaultSize(area);
    system->resize(wanted.expandedTo(system->minimumSize()));
    sub->resize(system->size() + frameExtra);
    sub->move(before.isEmpty() && known
                  ? QPoint(std::clamp(known->x, 0, std::max(0, area.width() - system->width())),
                           std::clamp(known->y, 0, std::max(0, area.height() - system->height())))
                  : cascadePosition(before, sub->size()));
    sub->installEventFilter(this);
    sub->show();
    mdi_->setActiveSubWindow(sub);
    updateMenuBar();
    return sub;
}

QPoint MainFrame::cascadePosition(const QList<QMdiSubWindow*>& open, QSize size) const {
    // One title bar down and right of the newest window; back to the corner when the new
    // one would not fit in the visible area.
    if (open.isEmpty())
        return {0, 0};
    const int step =
        std::max(24, open.constLast()->height() - open.constLast()->widget()->height());
    const QPoint next = open.constLast()->pos() + QPoint(step, step);
    const QSize area = mdi_->viewport()->size();
    if (next.x() + size.width() > area.width() || next.y() + size.height() > area.height())
        return {0, 0};
    return next;
}

void MainFrame::openStartingSystem() {
    if (counter_ != 0)
        return;
    if (parameters_.size() == 1) {
        if (QFileInfo(parameters_.constFirst()).isFile()) {
            openInNewWindow(parameters_.constFirst());
            counter_ = 1;
        } else if (!missingParameterReported_) {
            // Nothing opens, but the user learns why (a file removed since it was listed).
            missingParameterReported_ = true;
            showError(this, QStringLiteral("Errore !"), missingFileMessage());
        }
        return;
    }
    if (parameters_.isEmpty())
        onNewTriggered(); // brings the counter to 1
}

void MainFrame::onNewTriggered() {
    // Names of files already in the folder are skipped, so a new system never replaces one.
    counter_ = firstFreeSystemNumber(QDir::currentPath().toStdString(), counter_ + 1);
    SystemWindow* system = createSystem(counter_);
    system->showFileName();
    showSystem(system);
}

SystemWindow* MainFrame::openInNewWindow(const QString& name) {
    SystemWindow* system = createSystem(counter_);
    system->setFileName(QFileInfo(name).absoluteFilePath());
    system->showFileName();
    {
        HourglassGuard hourglass;
        if (!system->loadSystem(system->fileName())) {
            hourglass.release();
            showError(this, QStringLiteral("Errore !"), unreadableFileMessage());
        }
    }
    system->state().modified = false;
    showSystem(system);
    return system;
}

bool MainFrame::openSystemFile(const QString& name) {
    if (!QFileInfo(name).isFile()) {
        showError(this, QStringLiteral("Errore !"), missingFileMessage());
        return false;
    }
    openInNewWindow(name);
    return true;
}

void MainFrame::onOpenTriggered() {
    FileRequest request;
    request.title = QStringLiteral("Apri sistema Quintor");
    request.filter = QStringLiteral("Sistema Quintor (*.qtr)|*.qtr|Tutti i file (*.*)|*.*");
    request.defaultExtension = QStringLiteral("qtr");
    for (;;) {
        const QString chosen = Prompter::current().openFileName(this, request);
        if (chosen.isEmpty())
            return;
        request.startName = chosen;
        if (openSystemFile(
                QString::fromStdString(systemFileNameFor(chosen.toStdString()).string())))
            return;
    }
}

void MainFrame::onRecentTriggered(int index) {
    const RecentFiles list = RecentFiles::load(RecentFiles::location(programFolder()));
    if (!list.entryInUse(index))
        return;
    openSystemFile(QString::fromStdString(list.entries[static_cast<std::size_t>(index)]));
}

void MainFrame::setRecentItem(int k, const QString& caption, const QString& entry, bool visible) {
    if (QAction* item = recentActions_.value(k)) {
        item->setText(caption);
        item->setData(entry);
        item->setToolTip(entry);
        item->setVisible(visible);
    }
}

void MainFrame::onArchiveTriggered() {
    showArchiveWindow();
}

void MainFrame::loadArchive() {
    archiveWindow_ = createArchiveWindow(programFolder(), context_, this);
    // An archive still being read is watched until it is taken.
    watchArchiveChanges(*archiveWindow_, this, [this] { refreshSimulatedDrawsBar(); });
    refreshSimulatedDrawsBar();
}

void MainFrame::showArchiveWindow() {
    if (!archiveWindow_)
        return;
    completeArchiveLoading(*archiveWindow_);
    archiveWindow_->exec();
    refreshSimulatedDrawsBar();
}

void MainFrame::finishArchiveLoading() {
    if (archiveWindow_)
        completeArchiveLoading(*archiveWindow_);
}

void MainFrame::onQuitTriggered() {
    close();
}

void MainFrame::closeEvent(QCloseEvent* event) {
    const QList<SystemWindow*> open = systems();
    for (qsizetype i = 0; i < open.size(); ++i) {
        if (!open[i]->confirmClose()) {
            // Nothing closes, so the systems whose changes were given up for this close keep
            // them, and the next close asks about them again.
            for (qsizetype j = 0; j < i; ++j)
                if (open[j]->changesGivenUp())
                    open[j]->state().modified = true;
            event->ignore();
            return;
        }
    }
    // Every window has agreed: its modified flag is clear, so closing asks nothing more.
    for (auto it = open.crbegin(); it != open.crend(); ++it) {
        if (QMdiSubWindow* sub = (*it)->subWindow())
            sub->close();
    }
    event->accept();
}

} // namespace quintor
