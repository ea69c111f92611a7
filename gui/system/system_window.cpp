#include "gui/system/system_window.h"

#include "core/column_price.h"
#include "core/combinatorics.h"
#include "core/money.h"
#include "core/print_settings.h"
#include "core/program_folder.h"
#include "core/random.h"
#include "core/recent_files.h"
#include "core/system_file.h"
#include "gui/common/bevel_panel.h"
#include "gui/common/feedback.h"
#include "gui/common/help_link.h"
#include "gui/common/prompter.h"
#include "gui/system/board.h"
#include "gui/system/columns_model.h"
#include "gui/userfunc/user_function_commands.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QHeaderView>
#include <QIcon>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPainter>
#include <QScrollBar>
#include <QTableView>
#include <QToolButton>

#include <filesystem>

// The pictures are compiled into a static library, whose resources are not registered on
// their own.
static void registerPictures() {
    Q_INIT_RESOURCE(icons);
}

namespace quintor {

namespace {

constexpr int toolPanelHeight = 38;
constexpr int leftPanelWidth = 337;
constexpr int gridTop = 92;

const QColor darkRed(128, 0, 0);

std::filesystem::path toPath(const QString& name) {
    return std::filesystem::path(name.toStdString());
}

QString fileNamePart(const QString& path) {
    return QFileInfo(path).fileName();
}

// A menu caption shows "&" as an accelerator; a file name must show it as it is.
QString literalCaption(QString text) {
    return text.replace(QLatin1Char('&'), QLatin1String("&&"));
}

QFont labelFont(int pixels, bool bold = true) {
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

// A text with a white copy one pixel right of and below it.
struct ShadowPair {
    QLabel* coloured;
    QLabel* white;
};

ShadowPair makePair(QWidget* parent, const QString& colouredName, const QString& whiteName,
                    const QColor& colour, const QFont& font, const QString& text = {}) {
    auto* white = new QLabel(text, parent);
    auto* coloured = new QLabel(text, parent);
    white->setObjectName(whiteName);
    coloured->setObjectName(colouredName);
    for (QLabel* label : {white, coloured}) {
        label->setFont(font);
        label->setAttribute(Qt::WA_TranslucentBackground);
    }
    QPalette p = coloured->palette();
    p.setColor(QPalette::WindowText, colour);
    coloured->setPalette(p);
    p.setColor(QPalette::WindowText, Qt::white);
    white->setPalette(p);
    return {coloured, white};
}

void placePair(const ShadowPair& pair, int x, int y) {
    pair.coloured->adjustSize();
    pair.white->adjustSize();
    pair.coloured->move(x, y);
    pair.white->move(x + 1, y + 1);
}

// The picture of a tool button: the desktop's icon theme where it has one for the command,
// else the program's own drawing, which is sharp at any size.
QIcon toolIcon(const QString& name) {
    static const QHash<QString, QString> themeNames = {
        {QStringLiteral("new"), QStringLiteral("document-new")},
        {QStringLiteral("open"), QStringLiteral("document-open")},
        {QStringLiteral("save"), QStringLiteral("document-save")},
        {QStringLiteral("delete"), QStringLiteral("edit-delete")},
        {QStringLiteral("print-paper"), QStringLiteral("document-print")},
        {QStringLiteral("keyboard"), QStringLiteral("input-keyboard")},
    };
    static const bool registered = (registerPictures(), true);
    Q_UNUSED(registered);
    const QIcon own(QStringLiteral(":/icons/%1.svg").arg(name));
    const QString theme = themeNames.value(name);
    return theme.isEmpty() ? own : QIcon::fromTheme(theme, own);
}

enum class Place { None, Toolbar, ColumnPanel };

struct CommandDef {
    const char* menu;
    const char* item; // objectName of the menu item
    const char* caption;
    const char* shortcut; // portable text, empty for none
    const char* itemHint; // empty for none
    const char* button;   // objectName of the tool button, empty for none
    const char* buttonHint;
    Place place;
    const char* icon; // picture of the tool button, see toolIcon
    void (SystemWindow::*slot)();
    bool separatorAfter = false;
};

// The menus and tool buttons, in menu order. The File menu's recent-files submenu is added
// by buildCommands after Apri1.
const CommandDef commandTable[] = {
    {"&File", "Nuovo1", "&Nuovo", "Ctrl+N", "", "SpeedButton1",
     "Nuovo sistema|Per lavorare su un nuovo sistema.", Place::Toolbar, "new",
     &SystemWindow::SpeedButton1Click},
    {"&File", "Apri1", "&Apri", "Ctrl+A", "", "SpeedButton2",
     "Apri sistema|Carica un sistema dal disco.", Place::Toolbar, "open",
     &SystemWindow::SpeedButton2Click},
    {"&File", "Chiudi1", "&Chiudi", "Ctrl+F4", "Chiude il sistema attivo.", "", "", Place::None, "",
     &SystemWindow::Chiudi1Click},
    {"&File", "Salva1", "&Salva", "Ctrl+S", "", "SpeedButton3",
     "Salva sistema|Salva il sistema attivo con il nome attuale.", Place::Toolbar, "save",
     &SystemWindow::Salva1Click},
    {"&File", "Salvaconnome1", "Sal&va con altro nome", "Ctrl+V", "", "", "", Place::None, "",
     &SystemWindow::Salvaconnome1Click, true},
    {"&File", "Fine1", "F&ine", "Alt+F4", "Chiude il programma Quintor", "", "", Place::None, "",
     &SystemWindow::Fine1Click},

    {"&Colonne", "Selezionacolonne1", "&Seleziona colonne finali", "", "", "SpeedButton14",
     "Seleziona colonne finali|Questo è il pulsante più importante: apre la scheda per "
     "selezionare le colonne finali, in bocca al lupo !",
     Place::Toolbar, "select", &SystemWindow::SpeedButton14Click},
    {"&Colonne", "Spogliodellecolonne1", "S&poglio delle colonne", "", "", "SpeedButton16",
     "Spoglio delle colonne|Permette di confrontare le colonne giocate con la colonna vincente.",
     Place::Toolbar, "compare", &SystemWindow::SpeedButton16Click},
    {"&Colonne", "Gestioneestrazioni1", "&Gestione colonne vincenti", "", "", "SpeedButton4",
     "Gestione colonne vincenti", Place::Toolbar, "archive", &SystemWindow::SpeedButton4Click,
     true},
    {"&Colonne", "Importacolonne1", "&Importa colonne", "", "", "", "", Place::None, "",
     &SystemWindow::Importacolonne1Click},
    {"&Colonne", "Importacolonnedacsv1", "Importa colonne da CSV", "Ctrl+Shift+I",
     "Aggiunge le colonne di un file CSV o di testo (sei numeri per riga).", "", "", Place::None,
     "", &SystemWindow::Importacolonnedacsv1Click},
    {"&Colonne", "Esportacolonne1", "Espo&rta colonne", "Ctrl+Shift+E",
     "Scrive le colonne finali in un file CSV o di testo.", "", "", Place::None, "",
     &SystemWindow::Esportacolonne1Click},
    {"&Colonne", "Filtracolonnefinali1", "&Filtra colonne finali", "Ctrl+Shift+F",
     "Elimina le colonne finali che non superano i filtri scelti.", "", "", Place::None, "",
     &SystemWindow::Filtracolonnefinali1Click},
    {"&Colonne", "Azzeracolonne1", "&Azzera colonne", "", "", "", "", Place::None, "",
     &SystemWindow::Azzeracolonne1Click},
    {"&Colonne", "Estraicolonnecasualmente1", "&Estrai colonne casualmente", "", "", "", "",
     Place::None, "", &SystemWindow::Estraicolonnecasualmente1Click},
    {"&Colonne", "Costocolonne1", "&Cambia costo di una colonna", "", "", "", "", Place::None, "",
     &SystemWindow::Costocolonne1Click, true},
    {"&Colonne", "Taglia1", "&Taglia", "", "", "SpeedButton19",
     "Elimina colonne|Elimina le colonne selezionate.", Place::ColumnPanel, "delete",
     &SystemWindow::SpeedButton19Click},
    {"&Colonne", "Modifica1", "&Modifica", "", "", "SpeedButton7",
     "Modifica la colonna selezionata|Permette di modificare la colonna selezionata.",
     Place::ColumnPanel, "edit", &SystemWindow::SpeedButton7Click},
    {"&Colonne", "Colonnedatastiera1", "C&olonne da tastiera", "", "", "SpeedButton21",
     "Colonne da tastiera|Permette di aggiungere colonne manualmente.", Place::ColumnPanel,
     "keyboard", &SystemWindow::SpeedButton21Click, true},
    {"&Colonne", "Distribuzionedeinumeri1", "&Distribuzione dei segni", "", "", "SpeedButton18",
     "Distribuzione dei segni|Visualizza la distribuzione dei segni.", Place::Toolbar,
     "distribution", &SystemWindow::SpeedButton18Click},
    {"&Colonne", "Calcolaprobabilitdivincita1", "Calcola probabilità di &vincita", "", "",
     "SpeedButton20",
     "Calcola la probabilità di vincita|Viene calcolata la probabilità di vincita delle colonne.",
     Place::Toolbar, "probability", &SystemWindow::SpeedButton20Click, true},
    {"&Colonne", "Garanziadelsistema1", "Gara&nzia del sistema", "Ctrl+Shift+G",
     "Mostra quante combinazioni dei segni le colonne finali coprono: t punti se m numeri "
     "estratti sono tra i segni.",
     "", "", Place::None, "", &SystemWindow::Garanziadelsistema1Click},
    {"&Colonne", "Buchidellagaranzia1", "&Buchi della garanzia", "Ctrl+Shift+B",
     "Elenca le combinazioni dei segni che nessuna colonna finale copre.", "", "", Place::None, "",
     &SystemWindow::Buchidellagaranzia1Click},
    {"&Colonne", "Completalagaranzia1", "Comp&leta la garanzia", "Ctrl+Shift+L",
     "Aggiunge colonne finali fino a garantire il risultato scelto.", "", "", Place::None, "",
     &SystemWindow::Completalagaranzia1Click},
    {"&Colonne", "Verificasullarchivio1", "Verifica sull'arc&hivio", "Ctrl+Shift+V",
     "Gioca le colonne finali su tutte le estrazioni dell'archivio.", "", "", Place::None, "",
     &SystemWindow::Verificasullarchivio1Click},

    {"&Sistema", "Modificaprobabilitdeinumeri1", "&Modifica probabilità dei numeri", "", "",
     "SpeedButton8", "Modifica probabilità dei numeri", Place::Toolbar, "weights",
     &SystemWindow::SpeedButton8Click},
    {"&Sistema", "Fisse1", "&Fisse", "",
     "Specifica i numeri che saranno presenti in tutte le colonne", "", "", Place::None, "",
     &SystemWindow::Fisse1Click},
    {"&Sistema", "Azzerasistema1", "A&zzera sistema", "", "", "", "", Place::None, "",
     &SystemWindow::Azzerasistema1Click, true},
    {"&Sistema", "Aggiungisegnocasualmente1", "&Aggiungi numero casualmente", "", "",
     "SpeedButton23", "Segno casuale|Aggiunge un segno casuale al sistema.", Place::Toolbar,
     "random", &SystemWindow::SpeedButton23Click},
    {"&Sistema", "Togliunsegnocasualmente1", "&Togli un numero casualmente", "", "", "", "",
     Place::None, "", &SystemWindow::Togliunsegnocasualmente1Click},
    {"&Sistema", "Aggiungisegnipiprobabili1", "A&ggiungi numeri più probabili", "", "", "", "",
     Place::None, "", &SystemWindow::Aggiungisegnipiprobabili1Click},
    {"&Sistema", "Toglisegnimenoprobabili1", "T&ogli numeri meno probabili", "", "", "", "",
     Place::None, "", &SystemWindow::Toglisegnimenoprobabili1Click},

    {"Stam&pa", "Verticalesuschedine1", "&Verticale su schedine", "", "", "SpeedButton15",
     "Stampa verticale delle colonne su schedine", Place::Toolbar, "print-vertical",
     &SystemWindow::SpeedButton15Click},
    {"Stam&pa", "Colonnesucarta1", "&Orizzontale su schedine", "", "", "SpeedButton17",
     "Stampa orizzontale delle colonne su schedine", Place::Toolbar, "print-horizontal",
     &SystemWindow::SpeedButton17Click},
    {"Stam&pa", "Sucartacomune1", "&Su carta comune", "", "", "SpeedButton22",
     "Stampa colonne su carta|Apre la scheda per la gestione della stampa su carta semplice.",
     Place::Toolbar, "print-paper", &SystemWindow::SpeedButton22Click, true},
    {"Stam&pa", "Impostastampante1", "&Imposta stampante", "", "", "", "", Place::None, "",
     &SystemWindow::Impostastampante1Click},

    {"Funzioni &Utente", "Aggiunginuovafunzione1", "Aggiungi nuova funzione", "", "", "", "",
     Place::None, "", &SystemWindow::Aggiunginuovafunzione1Click},
    {"Funzioni &Utente", "EliminaFunzioneUtente1", "Elimina Funzione", "", "", "", "", Place::None,
     "", &SystemWindow::EliminaFunzioneUtente1Click},
    {"Funzioni &Utente", "COMECREARLE1", "&COME CREARLE", "", "", "", "", Place::None, "",
     &SystemWindow::COMECREARLE1Click},

    {"&Guida in linea", "Sommario1", "&Sommario", "F1", "", "", "", Place::None, "",
     &SystemWindow::Sommario1Click},
    {"&Guida in linea", "Cercaargomento1", "&Cerca argomento", "", "", "", "", Place::None, "",
     &SystemWindow::Cercaargomento1Click},
    {"&Guida in linea", "Quintorinpochisecondi1", "&Quintor in pochi secondi", "", "", "", "",
     Place::None, "", &SystemWindow::Quintorinpochisecondi1Click},
};

// The tool bar's order, left to right, with a gap before each group.
const char* const toolbarOrder[] = {
    "SpeedButton1",  "SpeedButton2",  "SpeedButton3",  nullptr,
    "SpeedButton14", "SpeedButton16", "SpeedButton4",  nullptr,
    "SpeedButton18", "SpeedButton20", "SpeedButton8",  "SpeedButton23",
    nullptr,         "SpeedButton15", "SpeedButton17", "SpeedButton22"};

} // namespace

SystemWindow::SystemWindow(SystemHost* host, int newSystemNumber, QWidget* parent)
    : QWidget(parent), host_(host) {
    setAttribute(Qt::WA_DeleteOnClose, false); // the sub-window owns and frees it
    setWindowTitle(QStringLiteral("Sistema"));
    setHint(this, QStringLiteral("Scheda principale del sistema."));
    programRandom().setSeed(RandomGenerator::clockSeed());

    const PrintSettings settings = loadPrintSettings(programFolder());
    state_.layout = settings.layout;
    programColumnPrice() = settings.columnPrice;
    QString folder = QDir::currentPath();
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    setFileName(folder + QString::fromStdString(newSystemFileName(newSystemNumber)));
    state_.modified = false;

    buildPanels();
    buildCommands();
    carica_funzioni_utente();
    // An add or a delete made from any window changes the menu of every window.
    connect(&UserFunctionNotifier::instance(), &UserFunctionNotifier::listChanged, this,
            &SystemWindow::carica_funzioni_utente);
    resize(780, 480);
    setMinimumSize(leftPanelWidth + 260, toolPanelHeight + 360);
    refreshSystemView();
}

SystemWindow::~SystemWindow() = default;

QString SystemWindow::fileName() const {
    return QString::fromStdString(state_.fileName);
}

void SystemWindow::setFileName(const QString& name) {
    state_.fileName = name.toStdString();
}

QMdiSubWindow* SystemWindow::subWindow() const {
    return qobject_cast<QMdiSubWindow*>(parentWidget());
}

QString SystemWindow::saveErrorMessage() {
    return QStringLiteral(
        "Si è verificato un errore durante il salvataggio del sistema !\rImpossibile scrivere "
        "sul disco.");
}

void SystemWindow::buildPanels() {
    Miopan1 = new BevelPanel(this);
    Miopan1->setObjectName(QStringLiteral("Miopan1"));
    MP1 = new BevelPanel(this);
    MP1->setObjectName(QStringLiteral("MP1"));
    MP2 = new BevelPanel(this);
    MP2->setObjectName(QStringLiteral("MP2"));
    for (BevelPanel* panel : {Miopan1, MP1, MP2})
        panel->setSFONDO(BevelPanel::standardBackground());
    setHint(MP1, QStringLiteral("Parte riguardante il sistema iniziale."));
    setHint(MP2, QStringLiteral("Parte riguardante le colonne giocabili."));
    MP1->setAccessibleName(QStringLiteral("Sistema iniziale"));
    MP2->setAccessibleName(QStringLiteral("Colonne finali"));

    // Initial system.
    placePair(makePair(MP1, QStringLiteral("Label2"), QStringLiteral("Label1"), darkRed,
                       labelFont(18), QStringLiteral("Sistema iniziale")),
              20, 8);
    const ShadowPair segniCaption =
        makePair(MP1, QStringLiteral("Label6"), QStringLiteral("Label5"), Qt::black, labelFont(14),
                 QStringLiteral("Numero di segni:"));
    placePair(segniCaption, 20, 40);
    const ShadowPair columnsCaption =
        makePair(MP1, QStringLiteral("Label10"), QStringLiteral("Label9"), Qt::black, labelFont(14),
                 QStringLiteral("Colonne iniziali:"));
    placePair(columnsCaption, 20, 64);
    const ShadowPair count =
        makePair(MP1, QStringLiteral("Label8"), QStringLiteral("Label7"), Qt::black, labelFont(14));
    Label8 = count.coloured;
    Label7 = count.white;
    const ShadowPair initial = makePair(MP1, QStringLiteral("Label12"), QStringLiteral("Label11"),
                                        Qt::black, labelFont(14));
    Label12 = initial.coloured;
    Label11 = initial.white;
    for (QLabel* l : {segniCaption.coloured, segniCaption.white, Label8, Label7})
        setHint(l, QStringLiteral("Numero di segni che compongono il sistema."));
    for (QLabel* l : {columnsCaption.coloured, columnsCaption.white, Label11})
        setHint(l, QStringLiteral("Numero di colonne che compongono il sistema."));
    Label8->setAccessibleName(QStringLiteral("Numero di segni"));
    Label12->setAccessibleName(QStringLiteral("Colonne iniziali"));

    TAV = new NumberBoard(MP1);
    TAV->setObjectName(QStringLiteral("TAV"));
    TAV->move(20, 93);
    TAV->setAccessibleName(QStringLiteral("Tavola dei numeri"));
    setHint(TAV,
            QStringLiteral("Usa il tasto sinistro del mouse per selezionare/annullare un segno del "
                           "sistema."));
    connect(TAV, &NumberBoard::pressed, this, &SystemWindow::TAVMouseDown);
    connect(TAV, &NumberBoard::toggleRequested, this, [this](int n) {
        state_.modified = true;
        toggleBoardMark(n);
        refreshSystemView();
    });

    const ShadowPair list = makePair(MP1, QStringLiteral("Label14"), QStringLiteral("Label13"),
                                     Qt::black, labelFont(16));
    Label14 = list.coloured;
    Label13 = list.white;
    for (QLabel* l : {Label14, Label13}) {
        l->setWordWrap(true);
        l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        l->setFixedSize(153, 245);
    }
    Label14->move(172, 93);
    Label13->move(173, 94);
    Label14->setAccessibleName(QStringLiteral("Numeri segnati"));

    // Final columns.
    const ShadowPair finals =
        makePair(MP2, QStringLiteral("Label3"), QStringLiteral("Label4"), darkRed, labelFont(18));
    Label3 = finals.coloured;
    Label4 = finals.white;
    const ShadowPair cost = makePair(MP2, QStringLiteral("Label16"), QStringLiteral("Label15"),
                                     Qt::black, labelFont(14));
    Label16 = cost.coloured;
    Label15 = cost.white;
    for (QLabel* l : {Label3, Label4})
        setHint(l, QStringLiteral("Numero di colonne giocabili."));
    for (QLabel* l : {Label16, Label15})
        setHint(l, QStringLiteral("Costo delle colonne giocabili."));

    model_ = new FinalColumnsModel(state_, this);
    COL = new QTableView(MP2);
    COL->setObjectName(QStringLiteral("COL"));
    COL->setModel(model_);
    COL->setAccessibleName(QStringLiteral("Colonne finali"));
    setHint(COL, QStringLiteral("Elenco delle colonne giocabili."));
    QFont courier(QStringLiteral("Courier"));
    courier.setStyleHint(QFont::TypeWriter);
    courier.setPixelSize(13);
    COL->setFont(courier);
    COL->horizontalHeader()->setFont(courier);
    COL->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    COL->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    COL->horizontalHeader()->setHighlightSections(false);
    COL->setColumnWidth(0, 70);
    COL->setColumnWidth(1, 148);
    COL->verticalHeader()->hide();
    COL->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    COL->verticalHeader()->setMinimumSectionSize(10);
    COL->verticalHeader()->setDefaultSectionSize(17);
    COL->setSelectionBehavior(QAbstractItemView::SelectRows);
    // One range of rows, as the delete and modify commands take it: Ctrl+click must not make
    // a selection with gaps that "Taglia" would then close up.
    COL->setSelectionMode(QAbstractItemView::ContiguousSelection);
    COL->setEditTriggers(QAbstractItemView::NoEditTriggers);
    COL->setWordWrap(false);
    // Tab moves on to the next control; Ctrl+Tab moves between the grid's cells.
    COL->setTabKeyNavigation(false);
    COL->setFixedWidth(70 + 148 + COL->verticalScrollBar()->sizeHint().width() +
                       2 * COL->frameWidth() + 2);
}

void SystemWindow::buildCommands() {
    const QStringList& pending = pendingCommands();
    QMenu* currentMenu = nullptr;
    QString currentTitle;
    auto menuFor = [&](const char* title) {
        if (currentTitle != QString::fromUtf8(title)) {
            currentTitle = QString::fromUtf8(title);
            currentMenu = new QMenu(currentTitle, this);
            menus_ << currentMenu;
            if (currentTitle == QLatin1String("Funzioni &Utente")) {
                userMenu_ = currentMenu;
                currentMenu->setObjectName(QStringLiteral("Funzioniutente1"));
                // Places for the registered functions, shown as they are filled in.
                for (int k = 1; k <= 15; ++k) {
                    QAction* fu = currentMenu->addAction(QStringLiteral("&%1").arg(k));
                    fu->setObjectName(QStringLiteral("fu%1").arg(k));
                    fu->setVisible(false);
                    connect(fu, &QAction::triggered, this, &SystemWindow::fu1Click);
                    functionItems_ << fu;
                }
                N8 = currentMenu->addSeparator();
                N8->setObjectName(QStringLiteral("N8"));
                N8->setVisible(false);
            }
        }
        return currentMenu;
    };

    QHash<QString, QToolButton*> buttons;
    for (const CommandDef& def : commandTable) {
        QMenu* menu = menuFor(def.menu);
        auto* action = new QAction(QString::fromUtf8(def.caption), this);
        action->setObjectName(QString::fromUtf8(def.item));
        if (*def.shortcut)
            action->setShortcut(QKeySequence(QString::fromLatin1(def.shortcut)));
        if (*def.itemHint)
            setHint(action, QString::fromUtf8(def.itemHint));
        menu->addAction(action);
        connect(action, &QAction::triggered, this, def.slot);
        action->setEnabled(!pending.contains(action->objectName()) &&
                           (helpAvailable() || !helpCommands().contains(action->objectName())));

        if (action->objectName() == QLatin1String("Apri1")) {
            QMenu* recent = menu->addMenu(QStringLiteral("&Riapri"));
            recent->menuAction()->setObjectName(QStringLiteral("Riapri1"));
            recent->menuAction()->setShortcut(QKeySequence(QStringLiteral("Ctrl+R")));
            openSubmenuOnShortcut(menu, recent);
            // Read again each time: another window's save may have moved the entries, and an
            // item must open the file its caption names.
            connect(recent, &QMenu::aboutToShow, this, &SystemWindow::refreshRecentMenus);
            void (SystemWindow::*recentSlots[])() = {
                &SystemWindow::SF1Click, &SystemWindow::SF2Click, &SystemWindow::SF3Click,
                &SystemWindow::SF4Click, &SystemWindow::SF5Click, &SystemWindow::SF6Click};
            for (int k = 0; k < 6; ++k) {
                QAction* sf = recent->addAction(QStringLiteral("&%1").arg(k + 1));
                sf->setObjectName(QStringLiteral("SF%1").arg(k + 1));
                connect(sf, &QAction::triggered, this, recentSlots[k]);
                recentItems_ << sf;
            }
        }
        if (def.separatorAfter)
            menu->addSeparator();

        if (*def.button) {
            auto* button = new QToolButton(def.place == Place::Toolbar ? Miopan1 : MP2);
            const QString name = QString::fromUtf8(def.button);
            button->setObjectName(name);
            button->setAutoRaise(true);
            button->setIcon(toolIcon(QString::fromUtf8(def.icon)));
            button->setIconSize(QSize(24, 24));
            button->setFixedSize(32, 32);
            const QString hint = QString::fromUtf8(def.buttonHint);
            setHint(button, hint);
            button->setAccessibleName(shortHint(hint));
            button->setEnabled(action->isEnabled());
            connect(button, &QToolButton::clicked, this, def.slot);
            connect(action, &QAction::enabledChanged, button, &QToolButton::setEnabled);
            buttons.insert(name, button);
            if (def.place == Place::ColumnPanel)
                columnButtons_ << button;
        }
    }

    int x = 4;
    for (const char* name : toolbarOrder) {
        if (!name) {
            x += 10;
            continue;
        }
        if (QToolButton* b = buttons.value(QString::fromLatin1(name))) {
            b->move(x, 3);
            x += 34;
        }
    }
}

QAction* SystemWindow::command(const QString& objectName) const {
    return findChild<QAction*>(objectName);
}

QToolButton* SystemWindow::button(const QString& objectName) const {
    return findChild<QToolButton*>(objectName);
}

void SystemWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const int w = width();
    const int h = height();
    Miopan1->setGeometry(0, 0, w, toolPanelHeight);
    MP1->setGeometry(0, toolPanelHeight, leftPanelWidth, h - toolPanelHeight);
    MP2->setGeometry(leftPanelWidth, toolPanelHeight, std::max(0, w - leftPanelWidth),
                     h - toolPanelHeight);
    FormResize();
}

void SystemWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    FormResize();
}

void SystemWindow::FormResize() {
    const int clientWidth = MP2->contentsRect().width();
    Label3->adjustSize();
    Label4->adjustSize();
    const int finalsLeft = (clientWidth - Label3->width()) / 2;
    Label3->move(finalsLeft, 8);
    Label4->move(finalsLeft + 1, 9);
    Label16->adjustSize();
    Label15->adjustSize();
    const int costLeft = (clientWidth - Label16->width()) / 2;
    Label16->move(costLeft, 34);
    Label15->move(costLeft + 1, 35);

    const int buttonsWidth = int(columnButtons_.size()) * 34 - 2;
    int x = (clientWidth - buttonsWidth) / 2;
    for (QToolButton* b : columnButtons_) {
        b->move(x, 56);
        x += 34;
    }
    COL->move((clientWidth - COL->width()) / 2, gridTop);
    if (COL->isVisibleTo(MP2))
        COL->setFixedHeight(std::max(0, MP2->contentsRect().height() - gridTop - 4));
}

void SystemWindow::TAVMouseDown(Qt::MouseButton /*button*/, int x, int y) {
    state_.modified = true;
    const int w = NumberBoard::boardWidth;
    const int h = NumberBoard::boardHeight;
    if (x < 3 || x > w - 3 || y < 3 || y > h - 3)
        return;
    const int col = static_cast<int>(x / (w * (1.0 / 6)));
    const int row = static_cast<int>(y / (h * (1.0 / 15)));
    const int n = std::clamp(15 * col + row + 1, 1, boardSize);
    toggleBoardMark(n);
    refreshSystemView();
}

void SystemWindow::toggleBoardMark(int n) {
    if (!isBoardNumber(n))
        return;
    // Only a byte 1 is a mark, as the state counts it; a loaded file may hold other values.
    if (state_.marked[static_cast<std::size_t>(n)] == 1)
        TAV->eraseMark(n);
    else
        TAV->drawMark(n);
    FormResize();
    state_.toggleMark(n);
}

void SystemWindow::drawBoardMarks() {
    for (int n = 1; n <= boardSize; ++n) {
        if (state_.marked[static_cast<std::size_t>(n)] == 1)
            TAV->drawMark(n);
        else
            TAV->eraseMark(n);
    }
    FormResize();
}

void SystemWindow::refreshSystemView() {
    const int count = state_.markedCount();
    const QString countText = QString::number(count);
    Label7->setText(countText);
    Label8->setText(countText);
    Label8->adjustSize();
    Label7->adjustSize();
    Label8->move(160, 40);
    Label7->move(161, 41);

    const QString initial = QString::fromStdString(initialColumnCountText(count));
    Label11->setText(initial);
    Label12->setText(initial);
    setHint(Label12, initial);
    Label12->adjustSize();
    Label11->adjustSize();
    Label12->move(160, 64);
    Label11->move(161, 65);

    const QString list = QString::fromStdString(markedNumbersText(state_));
    Label13->setText(list);
    Label14->setText(list);

    const std::size_t columns = state_.finalColumns.size();
    const QString finals = QStringLiteral("Colonne finali: %1").arg(columns);
    Label3->setText(finals);
    Label4->setText(finals);
    const QString costLabel = QString::fromStdString(costText(programColumnPrice(), columns));
    Label16->setText(costLabel);
    Label15->setText(costLabel);

    model_->refresh();
    COL->horizontalHeader()->setVisible(!state_.finalColumns.empty());
    FormResize();
}

void SystemWindow::showFileName() {
    const QString shortName = fileNamePart(fileName());
    setWindowTitle(shortName);
    if (QMdiSubWindow* sub = subWindow())
        sub->setWindowTitle(shortName);
    command(QStringLiteral("Salva1"))
        ->setText(QStringLiteral("&Salva ") + literalCaption(shortName));
    setHint(button(QStringLiteral("SpeedButton3")), QStringLiteral("Salva ") + shortName);
    refreshRecentMenus();
}

void SystemWindow::refreshRecentMenus() {
    const RecentFiles list = RecentFiles::load(RecentFiles::location(programFolder()));
    const std::string own = state_.fileName;
    for (int k = 0; k < 6; ++k) {
        QAction* sf = recentItems_[k];
        const bool filled = list.entryInUse(k);
        const std::string& entry = list.entries[static_cast<std::size_t>(k)];
        sf->setText(filled ? recentItemCaption(k, entry) : QStringLiteral("&%1").arg(k + 1));
        sf->setData(filled ? QString::fromStdString(entry) : QString());
        sf->setVisible(filled);
        if (host_)
            host_->showRecentItem(k, sf->text(), sf->data().toString(), filled);
        if (filled && entry == own)
            sf->setVisible(false);
    }
}

bool SystemWindow::readSystemFile(const QString& name) {
    const bool loaded = quintor::readSystemFile(toPath(name), state_);
    // A file that is not a readable system (a damaged one, or another kind of file chosen by
    // mistake) is not replaced by a plain save without asking.
    nameChosen_ = loaded;
    model_->refresh();
    COL->horizontalHeader()->setVisible(!state_.finalColumns.empty());
    if (!loaded)
        return false;
    drawBoardMarks();
    refreshSystemView();
    return true;
}

bool SystemWindow::writeSystemFile(const QString& name) {
    if (!quintor::writeSystemFile(toPath(name), state_))
        return false;
    state_.modified = false;
    nameChosen_ = true;
    // The list's own troubles never make a save fail.
    RecentFiles::recordSave(programFolder(), name.toStdString());
    refreshRecentMenus();
    return true;
}

void SystemWindow::Salva1Click() {
    // A name the program chose has never been confirmed by the user: a file that has
    // appeared under it since is not replaced without asking.
    if (!nameChosen_ && QFileInfo::exists(fileName()) && !confirmOverwrite())
        return;
    HourglassGuard hourglass;
    if (!writeSystemFile(fileName())) {
        hourglass.release();
        showError(this, QStringLiteral("Errore !"), saveErrorMessage());
    }
}

void SystemWindow::Salvaconnome1Click() {
    FileRequest request;
    request.title = QStringLiteral("Salva sistema con nome");
    request.filter = QStringLiteral("Sistema Quintor (*.qtr)|*.qtr|Tutti i file (*.*)|*.*");
    request.defaultExtension = QStringLiteral("qtr");
    request.startName = fileName();
    const QString typed = Prompter::current().saveFileName(this, request);
    if (typed.isEmpty())
        return;
    const QString chosen = QString::fromStdString(systemFileNameFor(toPath(typed)).string());
    if (QFileInfo::exists(chosen) && !confirmOverwrite())
        return;
    setFileName(chosen);
    showFileName();
    HourglassGuard hourglass;
    if (!writeSystemFile(chosen)) {
        hourglass.release();
        showError(this, QStringLiteral("Errore !"), saveErrorMessage());
    }
}

bool SystemWindow::confirmOverwrite() {
    return askQuestion(
               this, QStringLiteral("Attenzione"),
               QStringLiteral("Il nome specificato è già presente sul disco !\rSovrascrivo ?"),
               QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
}

bool SystemWindow::FormCloseQuery() {
    changesGivenUp_ = false;
    if (!state_.modified)
        return true;
    // With several systems asked in turn, the user sees which one the question is about.
    if (QMdiSubWindow* sub = subWindow(); sub && sub->mdiArea())
        sub->mdiArea()->setActiveSubWindow(sub);
    const auto answer = askQuestion(
        this, QStringLiteral("Attenzione"),
        QStringLiteral(
            "Il sistema attuale è stato modificato !\rVuoi registrare le modifiche ?\r") +
            fileNamePart(fileName()),
        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes);
    if (answer == QMessageBox::Yes) {
        Salvaconnome1Click();
        return !state_.modified;
    }
    if (answer == QMessageBox::No) {
        state_.modified = false;
        changesGivenUp_ = true;
        return true;
    }
    return false;
}

void SystemWindow::closeEvent(QCloseEvent* event) {
    if (FormCloseQuery())
        event->accept();
    else
        event->ignore();
}

void SystemWindow::Chiudi1Click() {
    if (QMdiSubWindow* sub = subWindow())
        sub->close();
    else
        close();
}

void SystemWindow::SpeedButton1Click() {
    if (host_)
        host_->newSystem();
}

void SystemWindow::SpeedButton2Click() {
    if (host_)
        host_->openSystem();
}

void SystemWindow::Fine1Click() {
    if (host_)
        host_->quitProgram();
}

void SystemWindow::openRecent(int index) {
    if (host_)
        host_->openRecentSystem(index);
}

void SystemWindow::SF1Click() {
    openRecent(0);
}
void SystemWindow::SF2Click() {
    openRecent(1);
}
void SystemWindow::SF3Click() {
    openRecent(2);
}
void SystemWindow::SF4Click() {
    openRecent(3);
}
void SystemWindow::SF5Click() {
    openRecent(4);
}
void SystemWindow::SF6Click() {
    openRecent(5);
}

} // namespace quintor
