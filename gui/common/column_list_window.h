#pragma once

#include <QDialog>
#include <QStringList>

class QListWidget;
class QPushButton;

namespace quintor {

// The one view-columns window of the program: callers set its caption, the font size of its
// list and the lines, then show it modally. It lives from start-up to the end of the run and
// keeps its last list until the next caller clears it.
class ColumnListWindow : public QDialog {
    Q_OBJECT
public:
    explicit ColumnListWindow(QWidget* parent = nullptr);

    // Created by the first caller and kept until the application quits.
    static ColumnListWindow& shared();

    void clearLines();
    void addLine(const QString& line);
    QStringList lines() const;
    void setListFontSize(int points);

private:
    QListWidget* VICO = nullptr;
    QPushButton* BitBtn1 = nullptr;
};

} // namespace quintor
