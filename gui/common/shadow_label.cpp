#include "gui/common/shadow_label.h"

#include <QPainter>
#include <QStyle>

namespace quintor {

ShadowLabel::ShadowLabel(const QColor& colour, const QFont& font, QWidget* parent,
                         const QString& text)
    : QLabel(text, parent) {
    setFont(font);
    setAttribute(Qt::WA_TranslucentBackground);
    QPalette p = palette();
    p.setColor(QPalette::WindowText, colour);
    setPalette(p);
    setContentsMargins(0, 0, shadowOffset.x(), shadowOffset.y());
}

void ShadowLabel::paintEvent(QPaintEvent* event) {
    {
        // The copy with the flags QLabel draws plain text with, so the two line up exactly.
        QPainter painter(this);
        QPalette white = palette();
        white.setColor(QPalette::WindowText, Qt::white);
        int flags = int(QStyle::visualAlignment(layoutDirection(), alignment()));
        if (wordWrap())
            flags |= Qt::TextWordWrap;
        style()->drawItemText(&painter, contentsRect().translated(shadowOffset), flags, white,
                              isEnabled(), text(), QPalette::WindowText);
    }
    QLabel::paintEvent(event);
}

} // namespace quintor
