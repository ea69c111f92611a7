#include "gui/system/keyboard_entry_dialog.h"

#include "core/column_editing.h"
#include "gui/common/feedback.h"
#include "gui/common/prompter.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace quintor {

KeyboardEntryDialog::KeyboardEntryDialog(SystemState& state, QWidget* parent)
    : TiledDialog(parent), state_(state) {
    setObjectName("KeyboardEntryDialog");
    setWindowTitle("Colonne da tastiera");

    auto* instructions = new QLabel(
        "Inserire i SEI numeri della colonna separati da un spazio quindi premere invio", this);
    instructions->setWordWrap(true);
    instructions->setFixedWidth(300);
    columnEdit_ = new QLineEdit(this);
    columnEdit_->setObjectName("columnEdit");
    columnEdit_->setAccessibleName(instructions->text());
    columnEdit_->installEventFilter(this);
    auto* countCaption = new QLabel("Nº di colonne attuali:", this);
    columnCountLabel_ = new QLabel(this);
    columnCountLabel_->setObjectName("columnCountLabel");
    columnCountLabel_->setAccessibleName(countCaption->text());
    okButton_ = new QPushButton("OK", this);
    okButton_->setObjectName("okButton");
    okButton_->setAutoDefault(false); // Enter belongs to columnEdit_
    setHint(okButton_, "Chiude la scheda.");

    auto* grid = new QGridLayout(this);
    grid->addWidget(instructions, 0, 0, 1, 3);
    grid->addWidget(columnEdit_, 1, 0, 1, 3);
    grid->addWidget(countCaption, 2, 0);
    grid->addWidget(columnCountLabel_, 2, 1);
    grid->addWidget(okButton_, 2, 2);
    grid->setColumnStretch(1, 1);
    grid->setVerticalSpacing(12);

    connect(okButton_, &QPushButton::clicked, this, [this] {
        setOutcome(1);
        accept();
    });
    fixSize();
}

void KeyboardEntryDialog::showEvent(QShowEvent* event) {
    columnEdit_->clear();
    columnEdit_->setFocus();
    showCount();
    TiledDialog::showEvent(event);
}

void KeyboardEntryDialog::showCount() {
    setReadableText(columnCountLabel_, QString::number(state_.finalColumns.size()));
}

bool KeyboardEntryDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == columnEdit_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            addTypedColumn();
            return true; // never reaches the edit nor the dialog's default button
        }
    }
    return TiledDialog::eventFilter(watched, event);
}

void KeyboardEntryDialog::addTypedColumn() {
    const TypedColumn typed = parseTypedColumn(columnEdit_->text().toStdString());
    if (typed.beep)
        beep();
    if (!isValidTypedColumn(typed.column)) {
        showError(this, "Errore !", invalidTypedColumnMessage);
        return;
    }
    if (isDuplicate(state_, typed.column) &&
        askQuestion(this, "Attenzione", typedColumnPresentQuestion,
                    QMessageBox::Yes | QMessageBox::No, QMessageBox::No) != QMessageBox::Yes)
        return;
    columnEdit_->clear();
    appendColumn(state_, typed.column);
    showCount();
}

} // namespace quintor
