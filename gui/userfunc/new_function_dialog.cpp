#include "gui/userfunc/new_function_dialog.h"

#include "core/user_functions.h"
#include "gui/common/feedback.h"
#include "gui/common/help_link.h"
#include "gui/common/window_help.h"
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
    fileList_ = new QListWidget(this);
    fileList_->setObjectName("fileList");
    fileList_->setAccessibleName("File della cartella del programma");
    fileList_->setMinimumSize(220, 260);
    setHint(fileList_, "File della cartella del programma|Scegliere il programma della funzione: "
                       "accanto deve esserci il suo file di descrizione (.txt).");
    choose->setBuddy(fileList_);

    fileTypeBox_ = new QComboBox(this);
    fileTypeBox_->setObjectName("fileTypeBox");
    fileTypeBox_->addItem("Programmi (eseguibili e script)");
    fileTypeBox_->addItem("Tutti i file (*)");
    fileTypeBox_->setAccessibleName("Tipo di file");
    setHint(fileTypeBox_, "Tipo di file|Quali file della cartella del programma elencare.");

    previewBox_ = new QGroupBox("Anteprima", this);
    previewBox_->setObjectName("previewBox");
    auto makeLabel = [this](const char* name, const QString& text) {
        auto* label = new QLabel(text, previewBox_);
        label->setObjectName(name);
        label->setTextFormat(Qt::PlainText);
        label->setMinimumWidth(320);
        return label;
    };
    nameLabel_ = makeLabel("nameLabel", nameCaption);
    menuTextLabel_ = makeLabel("menuTextLabel", menuCaption);
    authorLabel_ = makeLabel("authorLabel", authorCaption);
    mailLabel_ = makeLabel("mailLabel", mailCaption);
    auto* describe = new QLabel("Descrizione:", previewBox_);
    descriptionView_ = new QPlainTextEdit(previewBox_);
    descriptionView_->setObjectName("descriptionView");
    descriptionView_->setReadOnly(true);
    descriptionView_->setAccessibleName("Descrizione");
    descriptionView_->setMinimumHeight(140);
    auto* preview = new QVBoxLayout(previewBox_);
    for (QWidget* w : {static_cast<QWidget*>(nameLabel_), static_cast<QWidget*>(menuTextLabel_),
                       static_cast<QWidget*>(authorLabel_), static_cast<QWidget*>(mailLabel_),
                       static_cast<QWidget*>(describe), static_cast<QWidget*>(descriptionView_)})
        preview->addWidget(w);

    addButton_ = new QPushButton("&Aggiungi", this);
    addButton_->setObjectName("addButton");
    addButton_->setDefault(true);
    setHint(addButton_, "Aggiunge la funzione scelta al menù Funzioni utente.");
    cancelButton_ = new QPushButton("Annulla", this);
    cancelButton_->setObjectName("cancelButton");
    setHint(cancelButton_, "Chiude la scheda senza apportare modifiche.");
    helpButton_ = new QToolButton(this);
    helpButton_->setObjectName("helpButton");
    helpButton_->setText("?");
    helpButton_->setAccessibleName("Spiegazioni");
    helpButton_->setEnabled(helpAvailable());
    connect(helpButton_, &QToolButton::clicked, this,
            [] { showHelpTopic(HelpTopic::UserFunctions); });
    attachHelpTopic(this, HelpTopic::UserFunctions);
    setHint(helpButton_, "Spiegazioni");

    auto* grid = new QGridLayout(this);
    grid->addWidget(choose, 0, 0);
    grid->addWidget(fileList_, 1, 0);
    grid->addWidget(fileTypeBox_, 2, 0);
    grid->addWidget(previewBox_, 0, 1, 3, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(addButton_);
    buttons->addWidget(cancelButton_);
    buttons->addWidget(helpButton_);
    grid->addLayout(buttons, 3, 0, 1, 2);

    connect(fileTypeBox_, &QComboBox::currentIndexChanged, this, &NewFunctionDialog::listFiles);
    // The preview follows the line the user picked, not the one the list makes current
    // (unselected) when it takes the focus.
    connect(fileList_, &QListWidget::itemSelectionChanged, this, &NewFunctionDialog::showPreview);
    connect(fileList_, &QListWidget::itemActivated, this, [this] {
        if (valid_)
            onAddClicked();
    });
    connect(addButton_, &QPushButton::clicked, this, &NewFunctionDialog::onAddClicked);
    connect(cancelButton_, &QPushButton::clicked, this, &NewFunctionDialog::reject);
    listFiles();
    fixSize();
}

void NewFunctionDialog::listFiles() {
    const bool runnableOnly = fileTypeBox_->currentIndex() == 0;
    const QStringList names =
        QDir(folder_).entryList(QDir::Files | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    fileList_->clear();
    for (const QString& name : names) {
        if (!runnableOnly || isRunnableFile(toPath(QDir(folder_).filePath(name))))
            fileList_->addItem(name);
    }
    showPreview();
}

void NewFunctionDialog::showPreview() {
    valid_ = false;
    descriptionView_->clear();
    nameLabel_->setText(nameCaption);
    menuTextLabel_->setText(menuCaption);
    authorLabel_->setText(authorCaption);
    mailLabel_->setText(mailCaption);
    chosen_.clear();
    caption_.clear();

    const QList<QListWidgetItem*> selected = fileList_->selectedItems();
    const QListWidgetItem* item = selected.isEmpty() ? nullptr : selected.first();
    const std::string program = item ? item->text().toStdString() : std::string();
    const auto description =
        item ? readDescription(toPath(folder_), program) : std::optional<FunctionDescription>();
    if (description) {
        const std::string base = descriptionFileName(program);
        nameLabel_->setText(nameCaption + QString::fromStdString(base.substr(0, base.size() - 4)));
        menuTextLabel_->setText(menuCaption + userFunctionText(description->caption));
        authorLabel_->setText(authorCaption + userFunctionText(description->author));
        mailLabel_->setText(mailCaption + userFunctionText(description->email));
        QStringList lines;
        for (const std::string& line : description->lines)
            lines << userFunctionText(line);
        descriptionView_->setPlainText(lines.join(QLatin1Char('\n')));
        chosen_ = item->text();
        // An empty first line would give a menu item with no text.
        caption_ = description->caption.empty() ? nameLabel_->text().mid(nameCaption.size())
                                                : userFunctionText(description->caption);
        valid_ = true;
    }
    addButton_->setEnabled(valid_);
    previewBox_->setEnabled(valid_);
}

void NewFunctionDialog::onAddClicked() {
    if (!valid_)
        return;
    accept();
}

} // namespace quintor
