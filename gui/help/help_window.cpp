#include "gui/help/help_window.h"

#include "core/byte_file.h"
#include "gui/common/feedback.h"

#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHelpContentWidget>
#include <QHelpEngine>
#include <QHelpIndexModel>
#include <QHelpIndexWidget>
#include <QHelpLink>
#include <QHelpSearchEngine>
#include <QHelpSearchQueryWidget>
#include <QHelpSearchResultWidget>
#include <QImage>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QSplitter>
#include <QTabWidget>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextImageFormat>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWindow>

#include <algorithm>

#include <array>
#include <utility>

namespace quintor {

namespace {

const QString collectionName = QStringLiteral("quintor.qhc");
const QString documentationName = QStringLiteral("quintor.qch");

// Context number and page of every topic.
constexpr std::array<std::pair<int, const char*>, 15> topicPages{{
    {1, "sommario.html"},
    {2, "in-pochi-secondi.html"},
    {3, "archivio.html"},
    {12, "probabilita.html"},
    {13, "stampa-verticale.html"},
    {14, "selezione.html"},
    {15, "distribuzione.html"},
    {16, "fisse.html"},
    {17, "stampa-orizzontale.html"},
    {18, "funzioni-utente.html"},
    {30, "metodo-contro-caso.html"},
    {31, "garanzia.html"},
    {32, "buchi.html"},
    {33, "completa-garanzia.html"},
    {34, "verifica-archivio.html"},
}};

// The tool buttons of a layout and of the layouts inside it, left to right.
void collectToolButtons(QLayout* layout, QList<QToolButton*>& buttons) {
    if (!layout)
        return;
    for (int i = 0; i < layout->count(); ++i) {
        QLayoutItem* item = layout->itemAt(i);
        if (auto* button = qobject_cast<QToolButton*>(item->widget()))
            buttons << button;
        collectToolButtons(item->layout(), buttons);
    }
}

// The search box and the result pages come from the help library without names: a screen
// reader would announce them as a bare edit field, four arrows and a text area.
void nameSearchControls(QHelpSearchQueryWidget* query, QHelpSearchResultWidget* results) {
    if (auto* field = query->findChild<QLineEdit*>())
        field->setAccessibleName(QStringLiteral("Testo da cercare nella guida"));
    if (auto* list = results->findChild<QTextBrowser*>())
        list->setAccessibleName(QStringLiteral("Elenco delle pagine trovate"));
    QList<QToolButton*> pageButtons;
    collectToolButtons(results->layout(), pageButtons);
    static const char* const pageNames[] = {
        "Prima pagina dei risultati", "Pagina precedente dei risultati",
        "Pagina successiva dei risultati", "Ultima pagina dei risultati"};
    if (pageButtons.size() != 4)
        return;
    for (int i = 0; i < 4; ++i)
        pageButtons[i]->setAccessibleName(QString::fromUtf8(pageNames[i]));
}

QWidget* tabPage(QWidget* first, QWidget* second) {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(first);
    layout->addWidget(second, 1);
    return page;
}

} // namespace

HelpBrowser::HelpBrowser(QHelpEngine* engine, QWidget* parent)
    : QTextBrowser(parent), engine_(engine) {
    setObjectName(QStringLiteral("helpPage"));
    setAccessibleName(QStringLiteral("Pagina della guida"));
    // The browser's own link handling hands every address outside its file system, the
    // guide's qthelp: pages among them, to the desktop, which cannot open those.
    setOpenLinks(false);
    connect(this, &QTextBrowser::anchorClicked, this, &HelpBrowser::followLink);
    // Once the page is laid out with its pictures at their own size.
    connect(this, &QTextBrowser::sourceChanged, this,
            [this] { QMetaObject::invokeMethod(this, &HelpBrowser::fitPictures); });
}

void HelpBrowser::resizeEvent(QResizeEvent* event) {
    QTextBrowser::resizeEvent(event);
    fitPictures();
}

void HelpBrowser::fitPictures() {
    // The page's own margins (the style sheet's) on both sides, and the document's.
    constexpr qreal pageMargins = 2 * 16;
    const qreal room = viewport()->width() - 2 * document()->documentMargin() - pageMargins;
    struct Picture {
        int position;
        int length;
        QTextImageFormat format;
    };
    QList<Picture> pictures;
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it)
            if (const QTextFragment part = it.fragment(); part.charFormat().isImageFormat())
                pictures.append(
                    {part.position(), part.length(), part.charFormat().toImageFormat()});
    for (Picture& picture : pictures) {
        const QVariant data = loadResource(QTextDocument::ImageResource,
                                           source().resolved(QUrl(picture.format.name())));
        const QSize size = QImage::fromData(data.toByteArray()).size();
        if (size.isEmpty() || room <= 0)
            continue;
        const qreal width = std::min<qreal>(size.width(), room);
        if (qFuzzyCompare(picture.format.width(), width))
            continue;
        picture.format.setWidth(width);
        picture.format.setHeight(width * size.height() / size.width());
        QTextCursor cursor(document());
        cursor.setPosition(picture.position);
        cursor.setPosition(picture.position + picture.length, QTextCursor::KeepAnchor);
        cursor.setCharFormat(picture.format);
    }
}

void HelpBrowser::followLink(const QUrl& link) {
    const QUrl url = source().resolved(link);
    const QString scheme = url.scheme();
    if (scheme == QLatin1String("qthelp"))
        setSource(url);
    else if (scheme == QLatin1String("http") || scheme == QLatin1String("https") ||
             scheme == QLatin1String("mailto"))
        QDesktopServices::openUrl(url);
}

QVariant HelpBrowser::loadResource(int type, const QUrl& name) {
    if (name.scheme() == QLatin1String("qthelp")) {
        const QByteArray data = engine_->fileData(name);
        // Style sheets are taken as text only.
        if (type == QTextDocument::StyleSheetResource)
            return QString::fromUtf8(data);
        return data;
    }
    return QTextBrowser::loadResource(type, name);
}

HelpWindow::HelpWindow(const QString& collection, QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("helpWindow"));
    setWindowTitle(QStringLiteral("Guida di Quintor"));
    // Closing the main frame ends the program even while the guide is open.
    setAttribute(Qt::WA_QuitOnClose, false);
    resize(900, 620);

    openCollection(collection);
    browser_ = new HelpBrowser(engine_, this);
    QWidget* contents = buildContentsPage();
    QWidget* index = buildIndexPage();
    QWidget* search = buildSearchPage();
    tabs_ = new QTabWidget;
    tabs_->setObjectName(QStringLiteral("helpTabs"));
    tabs_->addTab(contents, QStringLiteral("&Sommario"));
    tabs_->addTab(index, QStringLiteral("&Indice"));
    tabs_->addTab(search, QStringLiteral("C&erca"));

    auto* splitter = new QSplitter;
    splitter->addWidget(tabs_);
    splitter->addWidget(browser_);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({260, 640});
    setCentralWidget(splitter);
    buildNavigationBar();

    connect(browser_, &QTextBrowser::sourceChanged, this, &HelpWindow::selectInContents);
    connect(engine_->contentModel(), &QHelpContentModel::contentsCreated, this, [this] {
        // The chapters open, so the first look shows every page there is.
        engine_->contentWidget()->expandToDepth(0);
        selectInContents(browser_->source());
    });
    if (ready_)
        browser_->setSource(topicUrl(1));
    else
        browser_->setHtml(
            QStringLiteral(
                "<h2>Guida non disponibile</h2><p>Il file della guida <code>%1</code> non è stato "
                "trovato o non si può leggere.</p>")
                .arg(collection.toHtmlEscaped()));
}

void HelpWindow::openCollection(const QString& collection) {
    QString workCollection;
    if (workFolder_.isValid() && QFileInfo::exists(collection)) {
        const QDir source = QFileInfo(collection).dir();
        const QDir work(workFolder_.path());
        // Copied as every file is saved: a copy cut short (a full disk) fails here, and the
        // window says the guide is missing instead of the engine reading half a database.
        const auto copy = [](const QString& from, const QString& to) {
            return copyFileContents(QFile::encodeName(from).toStdString(),
                                    QFile::encodeName(to).toStdString());
        };
        if (copy(collection, work.filePath(collectionName)) &&
            copy(source.filePath(documentationName), work.filePath(documentationName))) {
            workCollection = work.filePath(collectionName);
            // Copies of read-only files are read-only too, and the engine writes.
            for (const QString& name : {collectionName, documentationName})
                QFile::setPermissions(work.filePath(name), QFile::ReadOwner | QFile::WriteOwner);
        }
    }
    engine_ = new QHelpEngine(workCollection, this);
    engine_->setUsesFilterEngine(true);
    // Made before the set-up, so that the set-up starts the indexing of the pages.
    engine_->searchEngine();
    ready_ = !workCollection.isEmpty() && engine_->setupData() &&
             !engine_->registeredDocumentations().isEmpty();
}

QWidget* HelpWindow::buildContentsPage() {
    QHelpContentWidget* contents = engine_->contentWidget();
    contents->setObjectName(QStringLiteral("contentsTree"));
    contents->setAccessibleName(QStringLiteral("Sommario della guida"));
    connect(contents, &QHelpContentWidget::linkActivated, this, &HelpWindow::showUrl);
    // Styles that activate items only on a double click would leave a single click showing
    // nothing: a click on a title opens its page as well.
    connect(contents, &QAbstractItemView::clicked, this, [this](const QModelIndex& index) {
        if (const QHelpContentItem* item = engine_->contentModel()->contentItemAt(index))
            showUrl(item->url());
    });
    return contents;
}

QWidget* HelpWindow::buildIndexPage() {
    indexField_ = new QLineEdit;
    indexField_->setObjectName(QStringLiteral("indexField"));
    indexField_->setPlaceholderText(QStringLiteral("Parola da cercare"));
    indexField_->setAccessibleName(QStringLiteral("Parola chiave da cercare"));
    indexField_->setClearButtonEnabled(true);
    QHelpIndexWidget* index = engine_->indexWidget();
    index->setObjectName(QStringLiteral("indexList"));
    index->setAccessibleName(QStringLiteral("Indice delle parole chiave"));
    connect(indexField_, &QLineEdit::textChanged, index,
            [index](const QString& text) { index->filterIndices(text); });
    connect(indexField_, &QLineEdit::returnPressed, index, &QHelpIndexWidget::activateCurrentItem);
    // The index is made in the background: what was typed meanwhile is applied when it is done.
    connect(engine_->indexModel(), &QHelpIndexModel::indexCreated, index,
            [this, index] { index->filterIndices(indexField_->text()); });
    connect(index, &QHelpIndexWidget::documentActivated, this,
            [this](const QHelpLink& link, const QString&) { showUrl(link.url); });
    connect(index, &QHelpIndexWidget::documentsActivated, this,
            [this](const QList<QHelpLink>& links, const QString&) {
                if (!links.isEmpty())
                    showUrl(links.first().url);
            });
    auto* indexLabel = new QLabel(QStringLiteral("&Cerca la parola chiave:"));
    indexLabel->setBuddy(indexField_);
    auto* indexTop = new QWidget;
    auto* indexTopLayout = new QVBoxLayout(indexTop);
    indexTopLayout->setContentsMargins(0, 0, 0, 0);
    indexTopLayout->addWidget(indexLabel);
    indexTopLayout->addWidget(indexField_);
    return tabPage(indexTop, index);
}

QWidget* HelpWindow::buildSearchPage() {
    QHelpSearchEngine* searchEngine = engine_->searchEngine();
    QHelpSearchQueryWidget* query = searchEngine->queryWidget();
    query->setObjectName(QStringLiteral("searchQuery"));
    QHelpSearchResultWidget* results = searchEngine->resultWidget();
    results->setObjectName(QStringLiteral("searchResults"));
    results->setAccessibleName(QStringLiteral("Pagine trovate"));
    nameSearchControls(query, results);
    connect(query, &QHelpSearchQueryWidget::search, this, &HelpWindow::search);
    connect(results, &QHelpSearchResultWidget::requestShowLink, this, &HelpWindow::showUrl);
    // The pages are few: the index of their words is made at once, in the background.
    connect(searchEngine, &QHelpSearchEngine::indexingStarted, this,
            [query] { query->setEnabled(false); });
    connect(searchEngine, &QHelpSearchEngine::indexingFinished, this,
            [query] { query->setEnabled(true); });
    return tabPage(query, results);
}

void HelpWindow::buildNavigationBar() {
    QToolBar* bar = addToolBar(QStringLiteral("Navigazione"));
    bar->setObjectName(QStringLiteral("navigationBar"));
    bar->setMovable(false);
    QAction* back = bar->addAction(style()->standardIcon(QStyle::SP_ArrowBack),
                                   QStringLiteral("Indietro"), browser_, &QTextBrowser::backward);
    back->setObjectName(QStringLiteral("backAction"));
    back->setShortcut(QKeySequence::Back);
    back->setEnabled(false);
    connect(browser_, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
    QAction* forward = bar->addAction(style()->standardIcon(QStyle::SP_ArrowForward),
                                      QStringLiteral("Avanti"), browser_, &QTextBrowser::forward);
    forward->setObjectName(QStringLiteral("forwardAction"));
    forward->setShortcut(QKeySequence::Forward);
    forward->setEnabled(false);
    connect(browser_, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);
    QAction* home =
        bar->addAction(style()->standardIcon(QStyle::SP_DirHomeIcon), QStringLiteral("Sommario"),
                       this, [this] { showUrl(topicUrl(1)); });
    home->setObjectName(QStringLiteral("homeAction"));
    home->setShortcut(QKeySequence(QStringLiteral("Alt+Home")));
    QAction* close = new QAction(QStringLiteral("Chiudi"), this);
    close->setShortcut(QKeySequence(Qt::Key_Escape));
    connect(close, &QAction::triggered, this, &QWidget::close);
    addAction(close);
    for (QAction* a : bar->actions())
        a->setToolTip(a->text() + QStringLiteral(" (") +
                      a->shortcut().toString(QKeySequence::NativeText) + QLatin1Char(')'));
}

HelpWindow::~HelpWindow() {
    if (helpViewer() == this)
        setHelpViewer(nullptr);
}

QString HelpWindow::findCollection(const QString& executableFolder) {
    const QDir folder(executableFolder);
    for (const QString& relative :
         {QStringLiteral("../share/quintor/guida/"), QStringLiteral("../gui/help/guida/")}) {
        const QString path = QDir::cleanPath(folder.filePath(relative + collectionName));
        if (QFileInfo::exists(path))
            return path;
    }
    return {};
}

QUrl HelpWindow::topicUrl(int context) {
    const char* page = topicPages.front().second;
    for (const auto& [number, name] : topicPages)
        if (number == context)
            page = name;
    return QUrl(QStringLiteral("qthelp://it.quintor.guida/doc/") + QLatin1String(page));
}

QUrl HelpWindow::currentUrl() const {
    return browser_->source();
}

void HelpWindow::showUrl(const QUrl& url) {
    if (ready_)
        browser_->setSource(url);
}

void HelpWindow::showTopic(int context) {
    showUrl(topicUrl(context));
    bringToFront();
    browser_->setFocus();
}

void HelpWindow::showSearch() {
    tabs_->setCurrentIndex(1);
    bringToFront();
    indexField_->selectAll();
    indexField_->setFocus();
}

void HelpWindow::bringToFront() {
    QWidget* modal = QApplication::activeModalWidget();
    QWidget* asking = modal ? modal : QApplication::activeWindow();
    if (asking == this)
        asking = nullptr;
    // A modal dialog blocks every other window but those that belong to it: as its transient
    // window the guide can be read and clicked while the dialog stays usable beside it.
    winId();
    if (QWindow* window = windowHandle())
        window->setTransientParent(modal && modal != this ? modal->windowHandle() : nullptr);
    if (asking && !asking->isMaximized() && !asking->isFullScreen())
        placeBeside(asking);
    show();
    raise();
    activateWindow();
}

void HelpWindow::placeBeside(const QWidget* other) {
    const QRect covered = other->frameGeometry();
    const QRect own = isVisible() ? frameGeometry() : QRect(pos(), size());
    // Where the user has put the window away from the other one, it stays.
    if (!own.intersects(covered))
        return;
    const QScreen* screen = other->screen();
    if (!screen)
        return;
    const QRect room = screen->availableGeometry();
    constexpr int gap = 8;
    constexpr int narrowest = 320;
    const int rightRoom = room.right() - covered.right() - gap;
    const int leftRoom = covered.left() - room.left() - gap;
    const bool onTheRight = rightRoom >= leftRoom;
    // As wide as it was when there is room, never narrower than a readable page.
    const int width = std::max(std::min(own.width(), std::max(rightRoom, leftRoom)), narrowest);
    const int height = std::min(own.height(), room.height());
    const int x = onTheRight ? std::min(covered.right() + 1 + gap, room.right() + 1 - width)
                             : std::max(covered.left() - gap - width, room.left());
    const int y = std::clamp(covered.top(), room.top(), room.bottom() + 1 - height);
    resize(width - (own.width() - this->width()), height - (own.height() - this->height()));
    move(x, y);
}

void HelpWindow::selectInContents(const QUrl& url) {
    QHelpContentWidget* contents = engine_->contentWidget();
    const QModelIndex index = contents->indexOf(url);
    if (index.isValid())
        contents->setCurrentIndex(index);
}

void HelpWindow::search() {
    engine_->searchEngine()->search(engine_->searchEngine()->queryWidget()->searchInput());
}

DeferredGuide::DeferredGuide(QString collection) : collection_(std::move(collection)) {}

DeferredGuide::~DeferredGuide() {
    if (helpViewer() == this)
        setHelpViewer(nullptr);
}

void DeferredGuide::showTopic(int context) {
    build().showTopic(context);
}

void DeferredGuide::showSearch() {
    build().showSearch();
}

HelpWindow& DeferredGuide::build() {
    if (!window_) {
        HourglassGuard hourglass;
        window_ = std::make_unique<HelpWindow>(collection_);
    }
    return *window_;
}

} // namespace quintor
