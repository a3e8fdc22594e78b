#include "Image.h"

#include <QApplication>
#include <QIcon>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QResizeEvent>
#include <functional>

namespace controls {

namespace {

QPixmap waterDrop(QSize size) {
    QPixmap pixmap(size.expandedTo(QSize(16, 16)));
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal w = pixmap.width();
    const qreal h = pixmap.height();
    const qreal s = std::min(w, h);
    const QPointF c(w / 2, h / 2);

    // Waves along the bottom, a drop above them.
    QLinearGradient water(0, c.y(), 0, c.y() + s / 2);
    water.setColorAt(0, QColor(70, 140, 200));
    water.setColorAt(1, QColor(20, 70, 130));
    for (int i = 0; i < 3; ++i) {
        QPainterPath wave;
        const qreal y = c.y() + s * (0.22 + 0.09 * i);
        wave.moveTo(c.x() - s * 0.45, y);
        for (int k = 0; k < 4; ++k) {
            const qreal x0 = c.x() - s * 0.45 + k * s * 0.225;
            wave.cubicTo(x0 + s * 0.06, y - s * 0.05, x0 + s * 0.17, y + s * 0.05, x0 + s * 0.225,
                         y);
        }
        p.setPen(QPen(QBrush(water), s * 0.035, Qt::SolidLine, Qt::RoundCap));
        p.drawPath(wave);
    }

    QPainterPath drop;
    const QPointF tip(c.x(), c.y() - s * 0.45);
    const qreal r = s * 0.2;
    const QPointF centre(c.x(), c.y() + s * 0.0);
    drop.moveTo(tip);
    drop.cubicTo(QPointF(c.x() + r * 0.3, tip.y() + s * 0.18),
                 QPointF(c.x() + r, centre.y() - r * 0.6), QPointF(c.x() + r, centre.y()));
    drop.arcTo(QRectF(centre.x() - r, centre.y() - r, 2 * r, 2 * r), 0, -180);
    drop.cubicTo(QPointF(c.x() - r, centre.y() - r * 0.6),
                 QPointF(c.x() - r * 0.3, tip.y() + s * 0.18), tip);
    QLinearGradient fill(c.x() - r, tip.y(), c.x() + r, centre.y() + r);
    fill.setColorAt(0, QColor(170, 215, 245));
    fill.setColorAt(1, QColor(30, 100, 170));
    p.setPen(QPen(QColor(20, 70, 130), s * 0.015));
    p.setBrush(fill);
    p.drawPath(drop);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 150));
    p.drawEllipse(QPointF(c.x() - r * 0.4, centre.y() - r * 0.35), r * 0.18, r * 0.28);
    return pixmap;
}

class PictureLabel : public QLabel {
  public:
    using QLabel::QLabel;
    std::function<void()> resized;

  protected:
    void resizeEvent(QResizeEvent* e) override {
        QLabel::resizeEvent(e);
        if (resized) resized();
    }
};

}  // namespace

Image::Image(Container& parent, std::string name, Picture picture, Geometry g, int index)
    : Control(parent, std::move(name), new PictureLabel(parent.area()), index),
      label_(static_cast<QLabel*>(widget())),
      picture_(picture) {
    label_->setAlignment(Qt::AlignCenter);
    static_cast<PictureLabel*>(label_)->resized = [this] { render(); };
    SetGeometry(g);
    render();
}

void Image::SetPicture(Picture picture) {
    picture_ = picture;
    render();
}

void Image::render() {
    switch (picture_) {
        case Picture::WaterDrop:
            label_->setPixmap(waterDrop(label_->size()));
            break;
    }
}

void UseProgramIcon() {
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128}) icon.addPixmap(waterDrop(QSize(size, size)));
    QApplication::setWindowIcon(icon);
}

}  // namespace controls
