#pragma once

#include "gui/common/help_link.h"

#include <QMainWindow>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QUrl>

#include <memory>

class QHelpEngine;
class QLineEdit;
class QTabWidget;

namespace quintor {

// The page viewer of the help window: reads the pages out of the help collection. A link to
// another page of the guide opens it here; only web and mail addresses go to the desktop.
class HelpBrowser : public QTextBrowser {
    Q_OBJECT
public:
    HelpBrowser(QHelpEngine* engine, QWidget* parent);
    QVariant loadResource(int type, const QUrl& name) override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    // Each picture of the page at its own size, or smaller to fit the page's width: a picture
    // is never cut or scrolled sideways.
    void fitPictures();
    void followLink(const QUrl& link);

    QHelpEngine* engine_;
};

// The help window: contents tree, keyword index and full-text search beside the page. One
// window for the whole run; asked for a topic it shows that page and comes to the front.
class HelpWindow : public QMainWindow, public HelpViewer {
    Q_OBJECT
public:
    // collection: the help collection (.qhc) with its .qch beside it.
    explicit HelpWindow(const QString& collection, QWidget* parent = nullptr);
    ~HelpWindow() override;

    // The installed collection, or the one of the build tree; empty when neither is there.
    static QString findCollection(const QString& executableFolder);
    // The page of a context number; an unknown number gives the contents page.
    static QUrl topicUrl(int context);

    // False when the collection could not be read: the window then has nothing to show.
    bool isReady() const { return ready_; }
    QUrl currentUrl() const;

    void showTopic(int context) override;
    void showSearch() override;
    void showUrl(const QUrl& url);

    QHelpEngine* engine() const { return engine_; }
    QLineEdit* indexField() const { return indexField_; }
    QTabWidget* tabs() const { return tabs_; }
    HelpBrowser* browser() const { return browser_; }

private:
    // Sets up the engine on a copy of the collection; ready_ says whether it could be read.
    void openCollection(const QString& collection);
    QWidget* buildContentsPage();
    QWidget* buildIndexPage();
    QWidget* buildSearchPage();
    // Back, forward and contents, with Escape closing the window.
    void buildNavigationBar();
    // Shown and raised, beside the window that asked for it, which stays usable.
    void bringToFront();
    void placeBeside(const QWidget* other);
    void selectInContents(const QUrl& url);
    void search();

    // The engine writes its search index beside the collection, so it works on a copy of
    // its own: an installed collection sits in a read-only folder.
    QTemporaryDir workFolder_;
    QHelpEngine* engine_ = nullptr;
    QTabWidget* tabs_ = nullptr;
    QLineEdit* indexField_ = nullptr;
    HelpBrowser* browser_ = nullptr;
    bool ready_ = false;
};

// Stands for the help window until the help is first asked for. Building the window sets up the
// help engine from a copy of the collection and starts indexing the pages, a cost that every
// start of the program would pay for a window most starts never open.
class DeferredGuide : public HelpViewer {
public:
    // collection: as for HelpWindow; an empty one still gives the window its "not available" page.
    explicit DeferredGuide(QString collection);
    ~DeferredGuide() override;

    void showTopic(int context) override;
    void showSearch() override;

    // The help window once asked for, otherwise nullptr.
    HelpWindow* window() const { return window_.get(); }

private:
    HelpWindow& build();

    QString collection_;
    std::unique_ptr<HelpWindow> window_;
};

} // namespace quintor
