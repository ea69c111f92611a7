#include "gui/userfunc/new_function_dialog.h"

#include "core/user_functions.h"
#include "gui/common/feedback.h"
#include "gui/common/help_link.h"
#include "gui/userfunc/user_function_commands.h"

#include <QComboBox>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include <filesystem>

namespace quintor {

namespace {

const QString nameCaption = QStringLiteral("Nome funzione: ");
const QString menuCaption = QStringLiteral("Voce del menù: ");
const QString authorCaption = QStringLiteral("Nome dell'autore: ");
const QString mailCaption = QStringLiteral("Indirizzo e-mail: ");

std::filesystem::path toPath(const QString& text) {
    return std::filesystem::path(text.toStdString());
}

} // namespace

NewFunctionDialog::NewFunctionDialog(const QString& programFolder, QWidget* parent)
    : TiledDialog(parent), folder_(programFolder) {
    setObjectName("NewFunctionDialog");
    setWindowTitle("Nuova funzione utente");

    auto* choose = new QLabel("&Scegli la funzione:", this);
    flbox = new QListWidget(this);
    flbox->setObjectName("flbox");
    flbox->setAccessibleName("File della cartella del programma");
    flbox->setMinimumSize(220, 260);
    setHint(flbox, "File della cartella del programma|Scegliere il programma della funzione: "
                   "accanto deve esserci il suo file di descrizione (.txt).");
    choose->setBuddy(flbox);

    fcb = new QComboBox(this);
    fcb->setObjectName("fcb");
    fcb->addItem("Programmi (eseguibili e script)");
    fcb->addItem("Tutti i file (*)");
    fcb->setAccessibleName("Tipo di file");
    setHint(fcb, "Tipo di file|Quali file della cartella del programma elencare.");

    GroupBox1 = new QGroupBox("Anteprima", this);
    GroupBox1->setObjectName("GroupBox1");
    auto makeLabel = [this](const char* name, const QString& text) {
        auto* label = new QLabel(text, GroupBox1);
        label->setObjectName(name);
        label->setTextFormat(Qt::PlainText);
        label->setMinimumWidth(320);
        return label;
    };
    Label2 = makeLabel("Label2", nameCaption);
    Label3 = makeLabel("Label3", menuCaption);
    Label4 = makeLabel("Label4", authorCaption);
    Label5 = makeLabel("Label5", mailCaption);
    auto* describe = new QLabel("Descrizione:", GroupBox1);
    Des = new QPlainTextEdit(GroupBox1);
    Des->setObjectName("Des");
    Des->setReadOnly(true);
    Des->setAccessibleName("Descrizione");
    Des->setMinimumHeight(140);
    auto* preview = new QVBoxLayout(GroupBox1);
    for (QWidget* w : {static_cast<QWidget*>(Label2), static_cast<QWidget*>(Label3),
                       static_cast<QWidget*>(Label4), static_cast<QWidget*>(Label5),
                       static_cast<QWidget*>(describe), static_cast<QWidget*>(Des)})
        preview->addWidget(w);

    BitBtn1 = new QPushButton("&Aggiungi", this);
    BitBtn1->setObjectName("BitBtn1");
    BitBtn1->setDefault(true);
    setHint(BitBtn1, "Aggiunge la funzione scelta al menù Funzioni utente.");
    BitBtn2 = new QPushButton("Annulla", this);
    BitBtn2->setObjectName("BitBtn2");
    setHint(BitBtn2, "Chiude la scheda senza apportare modifiche.");
    HLP3 = new QToolButton(this);
    HLP3->setObjectName("HLP3");
    HLP3->setText("?");
    HLP3->setAccessibleName("Spiegazioni");
    HLP3->setEnabled(helpAvailable());
    connect(HLP3, &QToolButton::clicked, this, [] { showHelpTopic(HelpTopic::UserFunctions); });
    setHint(HLP3, "Spiegazioni");

    auto* grid = new QGridLayout(this);
    grid->addWidget(choose, 0, 0);
    grid->addWidget(flbox, 1, 0);
    grid->addWidget(fcb, 2, 0);
    grid->addWidget(GroupBox1, 0, 1, 3, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BitBtn2);
    buttons->addWidget(HLP3);
    grid->addLayout(buttons, 3, 0, 1, 2);

    connect(fcb, &QComboBox::currentIndexChanged, this, &NewFunctionDialog::fcbChange);
    // The preview follows the line the user picked, not the one the list makes current
    // (unselected) when it takes the focus.
    connect(flbox, &QListWidget::itemSelectionChanged, this, &NewFunctionDialog::flboxClick);
    connect(flbox, &QListWidget::itemActivated, this, [this] {
        if (valid_)
            BitBtn1Click();
    });
    connect(BitBtn1, &QPushButton::clicked, this, &NewFunctionDialog::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &NewFunctionDialog::reject);
    fcbChange();
    fixSize();
}

void NewFunctionDialog::fcbChange() {
    const bool runnableOnly = fcb->currentIndex() == 0;
    const QStringList names =
        QDir(folder_).entryList(QDir::Files | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    flbox->clear();
    for (const QString& name : names) {
        if (!runnableOnly || isRunnableFile(toPath(QDir(folder_).filePath(name))))
            flbox->addItem(name);
    }
    flboxClick();
}

void NewFunctionDialog::flboxClick() {
    valid_ = false;
    Des->clear();
    Label2->setText(nameCaption);
    Label3->setText(menuCaption);
    Label4->setText(authorCaption);
    Label5->setText(mailCaption);
    chosen_.clear();
    caption_.clear();

    const QList<QListWidgetItem*> selected = flbox->selectedItems();
    const QListWidgetItem* item = selected.isEmpty() ? nullptr : selected.first();
    const std::string program = item ? item->text().toStdString() : std::string();
    const auto description =
        item ? readDescription(toPath(folder_), program) : std::optional<FunctionDescription>();
    if (description) {
        const std::string base = descriptionFileName(program);
        Label2->setText(nameCaption + QString::fromStdString(base.substr(0, base.size() - 4)));
        Label3->setText(menuCaption + userFunctionText(description->caption));
        Label4->setText(authorCaption + userFunctionText(description->author));
        Label5->setText(mailCaption + userFunctionText(description->email));
        QStringList lines;
        for (const std::string& line : description->lines)
            lines << userFunctionText(line);
        Des->setPlainText(lines.join(QLatin1Char('\n')));
        chosen_ = item->text();
        // An empty first line would give a menu item with no text.
        caption_ = description->caption.empty() ? Label2->text().mid(nameCaption.size())
                                                : userFunctionText(description->caption);
        valid_ = true;
    }
    BitBtn1->setEnabled(valid_);
    GroupBox1->setEnabled(valid_);
}

void NewFunctionDialog::BitBtn1Click() {
    if (!valid_)
        return;
    setTag(1);
    accept();
}

} // namespace quintor
