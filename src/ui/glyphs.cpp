#include "ui/glyphs.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygonF>

namespace zevo {

namespace {

// The glyphs are drawn on a 16-unit grid with outlines on half units, so that at 16 x 16 every
// one-pixel line falls on a pixel instead of smearing over two; larger sizes scale the same drawing.
using Draw = void (*)(QPainter&);

const QColor Outline(64, 64, 64);

QPixmap Render(int pixels, qreal units, Draw draw) {
    QImage image(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(pixels / units, pixels / units);
    draw(painter);
    painter.end();
    return QPixmap::fromImage(image);
}

QIcon ToolGlyph(Draw draw) {
    QIcon icon;
    icon.addPixmap(Render(16, 16, draw));
    icon.addPixmap(Render(32, 16, draw)); // high-density screens
    return icon;
}

void Shape(QPainter& p, const QPolygonF& outline, const QColor& fill, const QColor& pen = Outline) {
    p.setPen(QPen(pen, 1, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.setBrush(fill);
    p.drawPolygon(outline);
}

void DrawNew(QPainter& p) {
    // A blank sheet with its top right corner folded over.
    Shape(p, QPolygonF({{3.5, 1.5}, {9.5, 1.5}, {12.5, 4.5}, {12.5, 14.5}, {3.5, 14.5}}), Qt::white);
    Shape(p, QPolygonF({{9.5, 1.5}, {9.5, 4.5}, {12.5, 4.5}}), QColor(205, 205, 205));
}

void DrawOpen(QPainter& p) {
    // An open folder: the back with its tab, and the front flap tilted towards the viewer.
    Shape(p, QPolygonF({{1.5, 13.5}, {1.5, 3.5}, {5.5, 3.5}, {6.5, 4.5}, {12.5, 4.5}, {12.5, 7.5}}),
          QColor(214, 168, 48), QColor(122, 88, 16));
    Shape(p, QPolygonF({{4.5, 7.5}, {15.5, 7.5}, {12.5, 13.5}, {1.5, 13.5}}), QColor(252, 214, 88),
          QColor(122, 88, 16));
}

void DrawSave(QPainter& p) {
    // A floppy disk: the body with one cut corner, the paper label at the top, the metal shutter below.
    Shape(p, QPolygonF({{1.5, 1.5}, {13.0, 1.5}, {14.5, 3.0}, {14.5, 14.5}, {1.5, 14.5}}),
          QColor(46, 84, 164), QColor(24, 40, 90));
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(4, 2, 8, 5));
    p.setPen(QPen(QColor(150, 170, 210), 1));
    p.drawLine(QPointF(5, 3.5), QPointF(11, 3.5));
    p.drawLine(QPointF(5, 5.5), QPointF(11, 5.5));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(208, 212, 220));
    p.drawRect(QRectF(4, 9, 8, 5));
    p.setBrush(QColor(46, 84, 164));
    p.drawRect(QRectF(9, 10, 2, 3));
}

void DrawPrint(QPainter& p) {
    // A printer: the paper going in at the back, the housing with a lamp, the printed sheet coming out.
    Shape(p, QPolygonF(QRectF(4.5, 1.5, 7, 5)), Qt::white);
    QPainterPath body;
    body.addRoundedRect(QRectF(1.5, 6.5, 13, 5), 1, 1);
    p.setPen(QPen(Outline, 1));
    p.setBrush(QColor(188, 190, 196));
    p.drawPath(body);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(60, 190, 70));
    p.drawRect(QRectF(11.5, 7.5, 2, 1.5));
    Shape(p, QPolygonF(QRectF(4.5, 9.5, 7, 5)), Qt::white);
    p.setPen(QPen(QColor(120, 120, 120), 1));
    p.drawLine(QPointF(6, 11.5), QPointF(10, 11.5));
    p.drawLine(QPointF(6, 13), QPointF(9, 13));
}

void DrawUndo(QPainter& p) {
    // A hooked arrow: it rises from the lower right, turns over and points back to the left.
    const QColor blue(32, 92, 184);
    QPainterPath hook;
    hook.moveTo(13, 13.5);
    hook.cubicTo(13.5, 8.5, 11, 5.5, 6, 5.5);
    p.setPen(QPen(blue, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(hook);
    p.setPen(Qt::NoPen);
    p.setBrush(blue);
    p.drawPolygon(QPolygonF({{1, 5.5}, {7, 1}, {7, 10}}));
}

void DrawRedo(QPainter& p) {
    p.translate(16, 0);
    p.scale(-1, 1);
    DrawUndo(p);
}

// The application icon, on a 32-unit grid: a round tuning dial with its scale, a red end zone and
// the needle, and in front of it a small servo with its arm, which is what the tool sets up.
void DrawApplication(QPainter& p) {
    const QPointF centre(14, 14);
    p.setPen(QPen(QColor(30, 30, 36), 1));
    p.setBrush(QColor(70, 72, 84));
    p.drawEllipse(centre, 13, 13);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(250, 248, 236));
    p.drawEllipse(centre, 10.5, 10.5);

    // The scale runs clockwise over 270 degrees, from lower left to lower right.
    const QRectF scale(centre.x() - 8.5, centre.y() - 8.5, 17, 17);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(40, 40, 40), 2, Qt::SolidLine, Qt::FlatCap));
    p.drawArc(scale, 225 * 16, -210 * 16);
    p.setPen(QPen(QColor(220, 30, 30), 2, Qt::SolidLine, Qt::FlatCap));
    p.drawArc(scale, 15 * 16, -60 * 16);

    // The needle, at about two thirds of the scale.
    p.save();
    p.translate(centre);
    p.rotate(35);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(210, 20, 20));
    p.drawPolygon(QPolygonF({{-1.4, 0}, {0, -9.5}, {1.4, 0}, {0, 2.5}}));
    p.restore();
    p.setBrush(QColor(30, 30, 36));
    p.drawEllipse(centre, 2, 2);

    // The servo: its case, the round output gear and the arm with a hole at its end.
    p.setPen(QPen(QColor(20, 20, 20), 1));
    p.setBrush(QColor(240, 140, 20));
    p.drawRoundedRect(QRectF(16.5, 21.5, 14, 9), 1.5, 1.5);
    const QPointF shaft(21.5, 26);
    const QPointF tip(29, 17);
    p.setPen(QPen(QColor(20, 20, 20), 4.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(shaft, tip);
    p.setPen(QPen(Qt::white, 2.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(shaft, tip);
    p.setPen(QPen(QColor(20, 20, 20), 1));
    p.setBrush(Qt::white);
    p.drawEllipse(shaft, 2.8, 2.8);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(20, 20, 20));
    p.drawEllipse(shaft, 0.9, 0.9);
    p.drawEllipse(tip, 0.7, 0.7);
}

} // namespace

QIcon GlyphNew() {
    return ToolGlyph(DrawNew);
}
QIcon GlyphOpen() {
    return ToolGlyph(DrawOpen);
}
QIcon GlyphSave() {
    return ToolGlyph(DrawSave);
}
QIcon GlyphPrint() {
    return ToolGlyph(DrawPrint);
}
QIcon GlyphUndo() {
    return ToolGlyph(DrawUndo);
}
QIcon GlyphRedo() {
    return ToolGlyph(DrawRedo);
}

QIcon ApplicationIcon() {
    QIcon icon;
    for (int size : {16, 32, 48, 256})
        icon.addPixmap(Render(size, 32, DrawApplication));
    return icon;
}

} // namespace zevo
