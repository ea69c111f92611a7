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
    CC = new QLineEdit(this);
    CC->setObjectName("CC");
    CC->setAccessibleName(instructions->text());
    CC->installEventFilter(this);
    auto* countCaption = new QLabel("Nº di colonne attuali:", this);
    NCC = new QLabel(this);
    NCC->setObjectName("NCC");
    NCC->setAccessibleName(countCaption->text());
    SPB1 = new QPushButton("OK", this);
    SPB1->setObjectName("SPB1");
    SPB1->setAutoDefault(false); // Enter belongs to CC
    setHint(SPB1, "Chiude la scheda.");

    auto* grid = new QGridLayout(this);
    grid->addWidget(instructions, 0, 0, 1, 3);
    grid->addWidget(CC, 1, 0, 1, 3);
    grid->addWidget(countCaption, 2, 0);
    grid->addWidget(NCC, 2, 1);
    grid->addWidget(SPB1, 2, 2);
    grid->setColumnStretch(1, 1);
    grid->setVerticalSpacing(12);

    connect(SPB1, &QPushButton::clicked, this, [this] {
        setTag(1);
        accept();
    });
    fixSize();
}

void KeyboardEntryDialog::showEvent(QShowEvent* event) {
    CC->clear();
    CC->setFocus();
    showCount();
    TiledDialog::showEvent(event);
}

void KeyboardEntryDialog::showCount() {
    setReadableText(NCC, QString::number(state_.finalColumns.size()));
}

bool KeyboardEntryDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == CC && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            CCKeyPress();
            return true; // never reaches the edit nor the dialog's default button
        }
    }
    return TiledDialog::eventFilter(watched, event);
}

void KeyboardEntryDialog::CCKeyPress() {
    const TypedColumn typed = parseTypedColumn(CC->text().toStdString());
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
    CC->clear();
    appendColumn(state_, typed.column);
    showCount();
}

} // namespace quintor
