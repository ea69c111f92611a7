#pragma once

#include <QDialog>
#include <QPixmap>

namespace quintor {

// The small dialogs of the system window: modal, fixed in size, centred on the screen, with
// their picture Image1 tiled over the whole client area. Tag carries the result (1 for OK,
// 0 otherwise).
class TiledDialog : public QDialog {
    Q_OBJECT
public:
    explicit TiledDialog(QWidget* parent = nullptr);

    int Tag() const { return tag_; }
    void setTag(int tag) { tag_ = tag; }

    const QPixmap& Image1() const { return image1_; }

protected:
    // Fixes the size to what the layout needs; called once the controls are in place.
    void fixSize();
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    QPixmap image1_;
    int tag_ = 0;
};

} // namespace quintor
