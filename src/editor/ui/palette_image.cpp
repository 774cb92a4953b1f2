#include "palette_image.h"

#include "editor_icons.h"

#include <QMouseEvent>
#include <QPainter>

namespace kx {

namespace {

constexpr int kPicture = 20;
constexpr int kMargin = 2;

} // namespace

PaletteImage::PaletteImage(int icon, int tag, QWidget* parent)
    : QWidget(parent), icon_(icon), tag_(tag) {
    setFixedSize(sizeHint());
    setCursor(Qt::PointingHandCursor);
}

QSize PaletteImage::sizeHint() const {
    return QSize(kPicture + 2 * kMargin, kPicture + 2 * kMargin);
}

void PaletteImage::setChosen(bool chosen) {
    if (chosen_ == chosen)
        return;
    chosen_ = chosen;
    update();
}

void PaletteImage::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (chosen_) {
        painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
        painter.drawRect(QRectF(1, 1, width() - 2, height() - 2));
    }
    painter.drawPixmap(kMargin, kMargin, editorIconPixmap(icon_, devicePixelRatioF()));
}

void PaletteImage::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) &&
        clicked)
        clicked(tag_);
    QWidget::mouseReleaseEvent(event);
}

} // namespace kx
