#pragma once

#include <QDialog>
#include <QPixmap>

namespace quintor {

// The small dialogs of the system window: modal, fixed in size, centred on the screen, with
// the panels' background picture tiled over the whole client area. outcome() carries the
// result (1 for OK, 0 otherwise).
class TiledDialog : public QDialog {
    Q_OBJECT
public:
    explicit TiledDialog(QWidget* parent = nullptr);

    int outcome() const { return outcome_; }
    void setOutcome(int outcome) { outcome_ = outcome; }

    const QPixmap& backgroundTile() const { return tile_; }

protected:
    // Fixes the size to what the layout needs; called once the controls are in place.
    void fixSize();
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    QPixmap tile_;
    int outcome_ = 0;
};

} // namespace quintor
