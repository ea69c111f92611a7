#include "archive/uvisua.h"

#include <QApplication>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace quintor {

TVisua::TVisua(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("Visua"));
    setWindowTitle(QStringLiteral("Colonne vincenti"));
    resize(330, 360);

    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("VICO"));
    list_->setAccessibleName(QStringLiteral("Colonne"));
    QFont font(QStringLiteral("Courier"));
    font.setStyleHint(QFont::TypeWriter);
    font.setBold(true);
    font.setPointSize(10);
    list_->setFont(font);

    BitBtn1 = new QPushButton(QStringLiteral("OK"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setDefault(true); // Enter closes; Esc closes any dialog
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_);
    layout->addWidget(BitBtn1, 0, Qt::AlignHCenter);
}

TVisua& TVisua::shared() {
    // Owned by the application object's lifetime: deleted when the event loop's owner goes.
    static TVisua* window = [] {
        auto* created = new TVisua;
        QObject::connect(qApp, &QCoreApplication::aboutToQuit, created, &QObject::deleteLater);
        return created;
    }();
    return *window;
}

void TVisua::clearLines() {
    list_->clear();
}

void TVisua::addLine(const QString& line) {
    list_->addItem(line);
}

QStringList TVisua::lines() const {
    QStringList all;
    for (int i = 0; i < list_->count(); ++i)
        all << list_->item(i)->text();
    return all;
}

void TVisua::setListFontSize(int points) {
    QFont font = list_->font();
    font.setPointSize(points);
    list_->setFont(font);
}

} // namespace quintor
