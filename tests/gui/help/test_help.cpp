// The help window and every command that opens it.
#include "app/main_frame.h"
#include "core/archive.h"
#include "gui/analysis/archive_backtest_dialog.h"
#include "gui/analysis/guarantee_holes_dialog.h"
#include "gui/analysis/guarantee_repair_dialog.h"
#include "gui/analysis/guarantee_table_dialog.h"
#include "gui/archive/archive_window.h"
#include "gui/archive/number_distribution_dialog.h"
#include "gui/help/help_window.h"
#include "gui/print/horizontal_slip_window.h"
#include "gui/print/vertical_slip_window.h"
#include "gui/selection/selection_dialog.h"
#include "gui/system/fixed_numbers_dialog.h"
#include "gui/system/number_probability_dialog.h"
#include "gui/system/system_window.h"
#include "gui/userfunc/new_function_dialog.h"
#include "tests/gui/support/gui_helpers.h"

#include <QAbstractButton>
#include <QDesktopServices>
#include <QHelpContentWidget>
#include <QHelpEngine>
#include <QHelpIndexWidget>
#include <QHelpSearchEngine>
#include <QHelpSearchResult>
#include <QImage>
#include <QLineEdit>
#include <QMenu>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextImageFormat>
#include <QtTest>

#include <memory>

using namespace quintor;

// Stands for the desktop's handler of an address scheme: records what it is asked to open.
class DesktopLinks : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void open(const QUrl& url) { opened << url; }
};

class HelpTest : public QObject, test::SystemWindowFixture {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void everyCommandOpensItsTopic();
    void dialogButtonsOpenTheirTopics();
    void withoutHelpTheCommandsAreDisabled();
    void indexAndSearchFindTheirPages();
    void everyMenuPathOfThePagesExists();
    void aClickInTheContentsOpensItsPage();
    void aLinkOpensItsPageBesideAModalDialog();
    void theWindowIsBuiltOnFirstUse();
    void contentsOpenExpandedAndPicturesFitThePage();

private:
    std::unique_ptr<HelpWindow> guide_;
};

void HelpTest::init() {
    guide_ = std::make_unique<HelpWindow>(
        HelpWindow::findCollection(QCoreApplication::applicationDirPath()));
    QVERIFY(guide_->isReady());
    setHelpViewer(guide_.get());
    openSystemWindow();
}

void HelpTest::cleanup() {
    closeSystemWindow();
    guide_.reset();
    QVERIFY(!helpAvailable());
}

void HelpTest::everyCommandOpensItsTopic() {
    struct Entry {
        const char* item;
        HelpTopic topic;
    };
    for (const Entry e : {Entry{"helpContentsAction", HelpTopic::Contents},
                          Entry{"quickTourAction", HelpTopic::QuickTour},
                          Entry{"userFunctionHelpAction", HelpTopic::UserFunctions}}) {
        // The system window's item first, then the frame's own, from another page each time.
        guide_->showUrl(HelpWindow::topicUrl(static_cast<int>(HelpTopic::Archive)));
        QVERIFY(test::trigger(window_, e.item));
        QCOMPARE(guide_->currentUrl(), HelpWindow::topicUrl(static_cast<int>(e.topic)));
        QVERIFY(guide_->isVisible());
        if (e.topic == HelpTopic::UserFunctions)
            continue; // a command of the system window only
        guide_->showUrl(HelpWindow::topicUrl(static_cast<int>(HelpTopic::Archive)));
        QVERIFY(test::trigger(frame_.get(), e.item));
        QCOMPARE(guide_->currentUrl(), HelpWindow::topicUrl(static_cast<int>(e.topic)));
    }
    // Every page a context number names is in the collection, with its title.
    for (int context : {1, 2, 3, 12, 13, 14, 15, 16, 17, 18, 30, 31, 32, 33, 34}) {
        const QByteArray page = guide_->engine()->fileData(HelpWindow::topicUrl(context));
        QVERIFY2(page.contains("<h1>"), qPrintable(QString::number(context)));
    }

    for (bool fromWindow : {true, false}) {
        guide_->tabs()->setCurrentIndex(0);
        guide_->indexField()->setText(QStringLiteral("vecchio"));
        QVERIFY(fromWindow ? test::trigger(window_, "helpSearchAction")
                           : test::trigger(frame_.get(), "helpSearchAction"));
        QCOMPARE(guide_->tabs()->currentIndex(), 1);
        QCOMPARE(guide_->focusWidget(), guide_->indexField());
        // What was typed before is selected, so typing replaces it.
        QCOMPARE(guide_->indexField()->selectedText(), QStringLiteral("vecchio"));
    }
}

void HelpTest::dialogButtonsOpenTheirTopics() {
    SystemState state;
    for (int n : {3, 8, 15, 22, 40, 41, 77})
        state.marked[n] = 1;
    state.finalColumns.push_back(Column{{3, 8, 15, 22, 40, 41}});
    ProgramContext context;
    const Archive draws = test::cyclicArchive(30);

    struct Case {
        std::unique_ptr<QWidget> dialog;
        const char* button;
        HelpTopic topic;
    };
    Case cases[] = {
        {std::make_unique<FixedNumbersDialog>(state), "helpButton", HelpTopic::FixedNumbers},
        {std::make_unique<ArchiveWindow>(std::filesystem::path(home_->path().toStdString()),
                                         context.archives(), context.random()),
         "helpButton", HelpTopic::Archive},
        {std::make_unique<NumberProbabilityDialog>(state.marked, state.probabilities), "helpButton",
         HelpTopic::NumberProbabilities},
        {std::make_unique<NumberDistributionDialog>(state.finalColumns), "helpButton",
         HelpTopic::Distribution},
        {std::make_unique<SelectionDialog>(state, std::vector<Column>{}), "helpButton",
         HelpTopic::Selection},
        {std::make_unique<NewFunctionDialog>(home_->path()), "helpButton",
         HelpTopic::UserFunctions},
        {std::make_unique<VerticalSlipWindow>(state, context.columnList()), "helpButton",
         HelpTopic::VerticalPrinting},
        {std::make_unique<HorizontalSlipWindow>(state, context.columnList()), "helpButton",
         HelpTopic::HorizontalPrinting},
        {std::make_unique<GuaranteeTableDialog>(state), "helpButton", HelpTopic::GuaranteeTable},
        {std::make_unique<GuaranteeHolesDialog>(state, 3, 6), "helpButton",
         HelpTopic::GuaranteeHoles},
        {std::make_unique<GuaranteeRepairDialog>(state, draws), "helpButton",
         HelpTopic::GuaranteeRepair},
        {std::make_unique<ArchiveBacktestDialog>(state, draws, 800), "helpButton",
         HelpTopic::ArchiveBacktest},
    };
    for (Case& c : cases) {
        const QString name = c.dialog->objectName();
        // Shown modally, as the program shows them: the guide must still come up usable.
        c.dialog->setWindowModality(Qt::ApplicationModal);
        c.dialog->show();
        // At the screen's left edge, with room for the guide on its right.
        c.dialog->move(0, 0);
        c.dialog->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(c.dialog.get()));
        // F1 anywhere in the dialog.
        guide_->showUrl(HelpWindow::topicUrl(static_cast<int>(HelpTopic::Contents)));
        QTest::keyClick(c.dialog->focusWidget() ? c.dialog->focusWidget() : c.dialog.get(),
                        Qt::Key_F1);
        QCOMPARE(guide_->currentUrl(), HelpWindow::topicUrl(static_cast<int>(c.topic)));
        guide_->close();

        auto* button = c.dialog->findChild<QAbstractButton*>(QString::fromLatin1(c.button));
        QVERIFY2(button && button->isEnabled(), qPrintable(name));
        guide_->showUrl(HelpWindow::topicUrl(static_cast<int>(HelpTopic::Contents)));
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(guide_->currentUrl(), HelpWindow::topicUrl(static_cast<int>(c.topic)));
        QVERIFY2(guide_->isVisible(), qPrintable(name));
        // Beside the dialog, which it neither covers nor blocks.
        QCOMPARE(guide_->windowModality(), Qt::NonModal);
        QVERIFY2(!guide_->frameGeometry().intersects(c.dialog->frameGeometry()), qPrintable(name));
        QCOMPARE(QApplication::activeModalWidget(), c.dialog.get());
        c.dialog->hide();
        guide_->close();
    }
}

void HelpTest::withoutHelpTheCommandsAreDisabled() {
    closeSystemWindow();
    guide_.reset();
    openSystemWindow();
    for (const QString& name : SystemWindow::helpCommands())
        QVERIFY2(!window_->command(name)->isEnabled(), qPrintable(name));
    QVERIFY(!frame_->command(QStringLiteral("helpContentsAction"))->isEnabled());
    SystemState state;
    FixedNumbersDialog fixed(state);
    QVERIFY(!fixed.findChild<QAbstractButton*>(QStringLiteral("helpButton"))->isEnabled());
    // A guide whose collection is missing offers nothing either.
    HelpWindow missing(home_->file(QStringLiteral("nessuna.qhc")));
    QVERIFY(!missing.isReady());
    guide_ = std::make_unique<HelpWindow>(
        HelpWindow::findCollection(QCoreApplication::applicationDirPath()));
}

void HelpTest::contentsOpenExpandedAndPicturesFitThePage() {
    guide_->showTopic(static_cast<int>(HelpTopic::Contents));
    auto* tree = test::child<QHelpContentWidget>(guide_.get(), "contentsTree");
    QTRY_VERIFY(tree->model()->rowCount() > 0);
    const QModelIndex chapter = tree->model()->index(0, 0);
    QVERIFY(tree->model()->rowCount(chapter) > 0);
    QTRY_VERIFY(tree->isExpanded(chapter));

    // The page with the big picture, in the window as it opens and in a narrower one: the
    // page never scrolls sideways and the picture keeps its proportions.
    auto* page = test::child<QTextBrowser>(guide_.get(), "helpPage");
    for (const int width : {guide_->width(), 700}) {
        guide_->resize(width, guide_->height());
        QTest::qWait(50);
        QCOMPARE(page->horizontalScrollBar()->maximum(), 0);
        bool pictureSeen = false;
        for (QTextBlock block = page->document()->begin(); block.isValid(); block = block.next())
            for (auto it = block.begin(); !it.atEnd(); ++it)
                if (it.fragment().charFormat().isImageFormat()) {
                    const QTextImageFormat picture = it.fragment().charFormat().toImageFormat();
                    pictureSeen = true;
                    QVERIFY(picture.width() > 0);
                    QVERIFY(picture.width() < page->viewport()->width());
                    const QImage file = QImage::fromData(
                        guide_->engine()->fileData(page->source().resolved(QUrl(picture.name()))));
                    QVERIFY(!file.isNull());
                    QVERIFY(picture.width() <= file.width());
                    QVERIFY(qAbs(picture.width() / picture.height() -
                                 qreal(file.width()) / file.height()) < 0.01);
                }
        QVERIFY(pictureSeen);
    }
}

void HelpTest::theWindowIsBuiltOnFirstUse() {
    DeferredGuide deferred(HelpWindow::findCollection(QCoreApplication::applicationDirPath()));
    setHelpViewer(&deferred);
    QVERIFY(!deferred.window());
    QVERIFY(test::trigger(frame_.get(), "quickTourAction"));
    QVERIFY(deferred.window());
    QVERIFY(deferred.window()->isVisible());
    QCOMPARE(deferred.window()->currentUrl(),
             HelpWindow::topicUrl(static_cast<int>(HelpTopic::QuickTour)));
    setHelpViewer(guide_.get());
}

void HelpTest::indexAndSearchFindTheirPages() {
    // The keyword index: typing a word and Enter opens its page.
    guide_->showSearch();
    QTest::keyClicks(guide_->indexField(), QStringLiteral("fisse"));
    QTRY_VERIFY(guide_->engine()->indexWidget()->currentIndex().isValid());
    QTest::keyClick(guide_->indexField(), Qt::Key_Return);
    QCOMPARE(guide_->currentUrl(), HelpWindow::topicUrl(static_cast<int>(HelpTopic::FixedNumbers)));

    // The full-text search over the words of the pages, once they are indexed.
    QHelpSearchEngine* search = guide_->engine()->searchEngine();
    auto pagesWith = [search](const QString& word) {
        QSignalSpy done(search, &QHelpSearchEngine::searchingFinished);
        search->search(word);
        QStringList found;
        if (done.wait(10000))
            for (const QHelpSearchResult& r : search->searchResults(0, search->searchResultCount()))
                found << r.url().toString();
        return found;
    };
    QTRY_VERIFY_WITH_TIMEOUT(!pagesWith(QStringLiteral("fisse")).isEmpty(), 30000);
    struct Case {
        const char* word;
        HelpTopic page;
    };
    for (const Case c :
         {Case{"fisse", HelpTopic::FixedNumbers}, Case{"schedina", HelpTopic::VerticalPrinting},
          Case{"schedina", HelpTopic::HorizontalPrinting}}) {
        const QStringList found = pagesWith(QString::fromLatin1(c.word));
        QVERIFY2(found.contains(HelpWindow::topicUrl(static_cast<int>(c.page)).toString()),
                 qPrintable(QString::fromLatin1(c.word) + QLatin1String(": ") +
                            found.join(QLatin1Char(' '))));
    }
}

void HelpTest::everyMenuPathOfThePagesExists() {
    // "Menu, Item" in bold is how a page names a command; the frame's own menus and those of
    // the system window inside it must hold each one.
    auto plain = [](QString caption) { return caption.remove(QLatin1Char('&')).simplified(); };
    auto exists = [&](const QString& menuTitle, const QString& item) {
        for (const QMenu* menu : frame_->findChildren<QMenu*>()) {
            if (plain(menu->title()) != menuTitle)
                continue;
            for (const QAction* a : menu->actions()) {
                // "Salva" is followed by the system's name.
                const QString text = plain(a->text());
                if (text == item || text.startsWith(item + QLatin1Char(' ')))
                    return true;
            }
        }
        return false;
    };
    const QRegularExpression path(QStringLiteral("<b>([^<,]+),([^<,]+)</b>"));
    const QList<QUrl> pages = guide_->engine()->files(QStringLiteral("it.quintor.guida"), QString(),
                                                      QStringLiteral("html"));
    QVERIFY(pages.size() >= 10);
    int named = 0;
    for (const QUrl& page : pages) {
        const QString html = QString::fromUtf8(guide_->engine()->fileData(page));
        for (const QRegularExpressionMatch& m : path.globalMatch(html)) {
            ++named;
            QVERIFY2(exists(m.captured(1).simplified(), m.captured(2).simplified()),
                     qPrintable(page.fileName() + QLatin1String(": ") + m.captured(0)));
        }
    }
    QVERIFY(named > 0);
}

void HelpTest::aClickInTheContentsOpensItsPage() {
    guide_->showUrl(HelpWindow::topicUrl(static_cast<int>(HelpTopic::Contents)));
    QHelpContentWidget* tree = guide_->engine()->contentWidget();
    const QUrl page = HelpWindow::topicUrl(static_cast<int>(HelpTopic::FixedNumbers));
    // The contents are read in the background.
    QTRY_VERIFY(tree->indexOf(page).isValid());
    tree->expandAll();
    const QModelIndex target = tree->indexOf(page);
    tree->scrollTo(target);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualRect(target).center());
    QCOMPARE(guide_->currentUrl(), page);
}

// A link between pages of the guide opens the page in the help window, never on the desktop,
// also while a modal dialog is open: the click goes through the window system, which drops
// the clicks of a window the dialog blocks.
void HelpTest::aLinkOpensItsPageBesideAModalDialog() {
    DesktopLinks desktop;
    QDesktopServices::setUrlHandler(QStringLiteral("qthelp"), &desktop, "open");
    SystemState state;
    FixedNumbersDialog dialog(state);
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.show();
    dialog.move(0, 0);
    QTest::mouseClick(dialog.findChild<QAbstractButton*>(QStringLiteral("helpButton")),
                      Qt::LeftButton);
    QVERIFY(QTest::qWaitForWindowExposed(guide_.get()));
    QCOMPARE(guide_->currentUrl(), HelpWindow::topicUrl(static_cast<int>(HelpTopic::FixedNumbers)));

    HelpBrowser* browser = guide_->browser();
    QTextCursor link;
    for (QTextBlock block = browser->document()->begin(); block.isValid() && link.isNull();
         block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it)
            if (it.fragment().charFormat().anchorHref() == QLatin1String("selezione.html")) {
                link = QTextCursor(browser->document());
                link.setPosition(it.fragment().position() + 1);
                break;
            }
    QVERIFY(!link.isNull());
    browser->setTextCursor(link);
    browser->ensureCursorVisible();
    const QPoint inWindow =
        browser->viewport()->mapTo(guide_.get(), browser->cursorRect(link).center());
    QTest::mouseClick(guide_->windowHandle(), Qt::LeftButton, {}, inWindow);
    QCOMPARE(guide_->currentUrl(), HelpWindow::topicUrl(static_cast<int>(HelpTopic::Selection)));
    QVERIFY(desktop.opened.isEmpty());
    QDesktopServices::unsetUrlHandler(QStringLiteral("qthelp"));
    dialog.hide();
    guide_->close();
}

// The offscreen screen is 800 pixels wide, too narrow to put the guide beside some dialogs:
// the tests run on a desktop-sized one.
int main(int argc, char** argv) {
    QTemporaryDir folder;
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (folder.isValid() && (platform.isEmpty() || platform == "offscreen")) {
        QFile config(folder.filePath(QStringLiteral("screen.json")));
        if (config.open(QIODevice::WriteOnly))
            config.write(R"({"screens": [{"name": "desktop", "x": 0, "y": 0, "width": 1920,
                             "height": 1080, "logicalDpi": 96, "logicalBaseDpi": 96,
                             "dpr": 1}]})");
        config.close();
        qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + config.fileName().toUtf8());
    }
    QApplication app(argc, argv);
    HelpTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "test_help.moc"
