#pragma once

#include <QDialog>
#include <QStringList>

class QListWidget;
class QPushButton;

namespace quintor {

// The view-columns window: callers set its caption, the font size of its list and the lines,
// then show it modally. The program has one (ProgramContext::columnList()), which keeps its last
// list until the next caller clears it.
class ColumnListWindow : public QDialog {
    Q_OBJECT
public:
    explicit ColumnListWindow(QWidget* parent = nullptr);

    void clearLines();
    void addLine(const QString& line);
    QStringList lines() const;
    void setListFontSize(int points);

private:
    QListWidget* columnList_ = nullptr;
    QPushButton* okButton_ = nullptr;
};

} // namespace quintor
