#include "gui/common/column_list_window.h"

#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace quintor {

ColumnListWindow::ColumnListWindow(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("columnListWindow"));
    setWindowTitle(QStringLiteral("Colonne vincenti"));
    resize(330, 360);

    columnList_ = new QListWidget(this);
    columnList_->setObjectName(QStringLiteral("columnList"));
    columnList_->setAccessibleName(QStringLiteral("Colonne"));
    QFont font(QStringLiteral("Courier"));
    font.setStyleHint(QFont::TypeWriter);
    font.setBold(true);
    font.setPointSize(10);
    columnList_->setFont(font);

    okButton_ = new QPushButton(QStringLiteral("OK"), this);
    okButton_->setObjectName(QStringLiteral("okButton"));
    okButton_->setDefault(true); // Enter closes; Esc closes any dialog
    connect(okButton_, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(columnList_);
    layout->addWidget(okButton_, 0, Qt::AlignHCenter);
}

void ColumnListWindow::clearLines() {
    columnList_->clear();
}

void ColumnListWindow::addLine(const QString& line) {
    columnList_->addItem(line);
}

QStringList ColumnListWindow::lines() const {
    QStringList all;
    for (int i = 0; i < columnList_->count(); ++i)
        all << columnList_->item(i)->text();
    return all;
}

void ColumnListWindow::setListFontSize(int points) {
    QFont font = columnList_->font();
    font.setPointSize(points);
    columnList_->setFont(font);
}

} // namespace quintor
