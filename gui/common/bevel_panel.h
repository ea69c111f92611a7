#pragma once

#include <QFrame>
#include <QPixmap>

namespace quintor {

// The panel of the program's windows: the ordinary panel background, then a background picture
// tiled from the top-left corner, then an outer and an inner one-pixel bevel.
class BevelPanel : public QFrame {
    Q_OBJECT
public:
    enum class Bevel { None, Raised, Lowered };

    explicit BevelPanel(QWidget* parent = nullptr);

    // The tiled background picture; a null pixmap leaves the plain panel colour.
    const QPixmap& backgroundTile() const { return tile_; }
    void setBackgroundTile(const QPixmap& picture);

    Bevel bevelOuter() const { return outer_; }
    Bevel bevelInner() const { return inner_; }
    void setBevelOuter(Bevel bevel);
    void setBevelInner(Bevel bevel);

    // The shared background picture of the program's panels, drawn once.
    static const QPixmap& standardBackground();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap tile_;
    Bevel outer_ = Bevel::Raised;
    Bevel inner_ = Bevel::None;
};

} // namespace quintor
