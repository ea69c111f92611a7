#pragma once

#include <QColor>
#include <QLabel>

namespace quintor {

// A caption in its own colour over a white copy of itself one pixel right and one pixel down,
// so it stands out on the panels' picture. One widget, so screen readers hear the caption
// once. The widget is one pixel wider and taller than its text for the copy; its text sits in
// contentsRect().
class ShadowLabel : public QLabel {
    Q_OBJECT
public:
    ShadowLabel(const QColor& colour, const QFont& font, QWidget* parent = nullptr,
                const QString& text = {});

    // Where the white copy is drawn, from the coloured text.
    static constexpr QPoint shadowOffset{1, 1};

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace quintor
