#include "gui/common/column_list_window.h"

#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace quintor {

ColumnListWindow::ColumnListWindow(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("Visua"));
    setWindowTitle(QStringLiteral("Colonne vincenti"));
    resize(330, 360);

    VICO = new QListWidget(this);
    VICO->setObjectName(QStringLiteral("VICO"));
    VICO->setAccessibleName(QStringLiteral("Colonne"));
    QFont font(QStringLiteral("Courier"));
    font.setStyleHint(QFont::TypeWriter);
    font.setBold(true);
    font.setPointSize(10);
    VICO->setFont(font);

    BitBtn1 = new QPushButton(QStringLiteral("OK"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setDefault(true); // Enter closes; Esc closes any dialog
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(VICO);
    layout->addWidget(BitBtn1, 0, Qt::AlignHCenter);
}

void ColumnListWindow::clearLines() {
    VICO->clear();
}

void ColumnListWindow::addLine(const QString& line) {
    VICO->addItem(line);
}

QStringList ColumnListWindow::lines() const {
    QStringList all;
    for (int i = 0; i < VICO->count(); ++i)
        all << VICO->item(i)->text();
    return all;
}

void ColumnListWindow::setListFontSize(int points) {
    QFont font = VICO->font();
    font.setPointSize(points);
    VICO->setFont(font);
}

} // namespace quintor
