// Draws the aircraft picture of the payload page and the program icon, and writes them as
// 8-bit indexed PNG files. Every pixel is mapped to a palette fixed in this file and nothing
// depends on the clock, the fonts or a display, so two runs write the same bytes.
//
// Usage: loader_artwork <output folder>
// Writes bitmap140.png (627 x 119) and the same picture at twice the size for screens of a higher
// resolution, bitmap141.png (1254 x 238), icon32.png (32 x 32), icon48.png and icon256.png, and for
// the Windows program's resources bitmap140.bmp, bitmap141.bmp (compressed) and il18-loader.ico
// (16, 32, 48 and 256 pixels).

#include <QBuffer>
#include <QByteArray>
#include <QColor>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <QLinearGradient>
#include <QList>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QRectF>
#include <QString>
#include <QTransform>

#include <cmath>
#include <cstdio>

namespace {

// ---------------------------------------------------------------------------------------------
// Palettes

QRgb mix(QRgb a, QRgb b, double t) {
    auto channel = [t](int x, int y) { return static_cast<int>(std::lround(x + (y - x) * t)); };
    return qRgba(channel(qRed(a), qRed(b)), channel(qGreen(a), qGreen(b)),
                 channel(qBlue(a), qBlue(b)), channel(qAlpha(a), qAlpha(b)));
}

// Collects a palette of at most 256 distinct colours in a fixed order. The flat colours of a
// drawing come first, then the blends that its shading and antialiased edges produce, so the
// nearest-colour conversion finds a close entry for every pixel.
class PaletteBuilder {
public:
    void add(QRgb colour) {
        if (m_colours.size() < 256 && !m_colours.contains(colour))
            m_colours.append(colour);
    }
    // The colours strictly between a and b, in steps equal parts.
    void addRamp(QRgb a, QRgb b, int steps) {
        for (int i = 1; i < steps; ++i)
            add(mix(a, b, static_cast<double>(i) / steps));
    }
    // Fills the free entries with the midpoints of the colours gathered so far.
    void fillWithMidpoints() {
        const QList<QRgb> base = m_colours;
        for (qsizetype i = 0; i < base.size() && m_colours.size() < 256; ++i)
            for (qsizetype j = i + 1; j < base.size() && m_colours.size() < 256; ++j)
                add(mix(base[i], base[j], 0.5));
    }
    const QList<QRgb>& colours() const { return m_colours; }

private:
    QList<QRgb> m_colours;
};

QImage toIndexed(const QImage& image, const QList<QRgb>& palette) {
    // Qt maps each pixel to its nearest palette entry, without dithering.
    return image.convertToFormat(QImage::Format_Indexed8, palette);
}

// ---------------------------------------------------------------------------------------------
// The aircraft picture: the fuselage seen from above, nose to the left, with a white panel over
// each passenger cabin into which the payload page copies the seat maps.

constexpr int kPictureWidth = 627;
constexpr int kPictureHeight = 119;

// Cabin panels in picture pixels. The ranges are inclusive: the seat maps are copied to
// (89, 34) 63 x 53, (225, 33) 159 x 53 and (434, 34) 38 x 53, so cabin 2's map fills columns
// 225 to 383 (159 pixels) and cabin 1's map reaches row 86, the panel's last row.
// QRect(QPoint, QPoint) takes both corners inclusively.
const QRect kCabinPanels[] = {
    QRect(QPoint(89, 32), QPoint(152, 86)),
    QRect(QPoint(225, 32), QPoint(383, 86)),
    QRect(QPoint(432, 33), QPoint(474, 86)),
};

namespace pic {
constexpr QRgb white = qRgb(255, 255, 255);
constexpr QRgb sky = qRgb(218, 228, 238);
constexpr QRgb skinLight = qRgb(236, 239, 243);
constexpr QRgb skinMid = qRgb(205, 211, 219);
constexpr QRgb skinDark = qRgb(160, 168, 180);
constexpr QRgb outline = qRgb(104, 114, 128);
constexpr QRgb panelFrame = qRgb(84, 96, 114);
constexpr QRgb panelShade = qRgb(178, 186, 198);
constexpr QRgb cheatline = qRgb(44, 84, 150);
constexpr QRgb wing = qRgb(180, 189, 201);
constexpr QRgb wingDark = qRgb(160, 168, 180);
constexpr QRgb nacelleLight = qRgb(222, 226, 232);
constexpr QRgb spinner = qRgb(78, 88, 104);
constexpr QRgb glazing = qRgb(40, 58, 84);
constexpr QRgb glazingLight = qRgb(96, 128, 168);
constexpr QRgb fin = qRgb(178, 186, 197);
} // namespace pic

QList<QRgb> picturePalette() {
    using namespace pic;
    PaletteBuilder p;
    for (QRgb c : {white, sky, skinLight, skinMid, skinDark, outline, panelFrame, panelShade,
                   cheatline, wing, wingDark, nacelleLight, spinner, glazing, glazingLight, fin})
        p.add(c);
    // Shading of the fuselage, the nacelles and the canopy.
    p.addRamp(skinDark, skinMid, 10);
    p.addRamp(skinMid, skinLight, 10);
    p.addRamp(wingDark, nacelleLight, 10);
    p.addRamp(glazing, glazingLight, 8);
    // Antialiased edges.
    for (QRgb c : {outline, spinner, wingDark, cheatline})
        p.addRamp(sky, c, 6);
    for (QRgb c : {outline, cheatline, glazing, spinner})
        p.addRamp(skinMid, c, 6);
    for (QRgb c : {outline, glazing, fin})
        p.addRamp(skinLight, c, 6);
    p.addRamp(wing, outline, 6);
    p.addRamp(skinDark, cheatline, 6);
    p.addRamp(skinDark, outline, 4);
    p.addRamp(nacelleLight, outline, 6);
    p.addRamp(wing, spinner, 6);
    p.addRamp(nacelleLight, spinner, 6);
    p.fillWithMidpoints();
    return p.colours();
}

QPainterPath mirroredAbout(const QPainterPath& path, double yAxis) {
    return QTransform(1, 0, 0, -1, 0, 2 * yAxis).map(path);
}

// Closes the upper half of a shape that is symmetric about row yAxis: the half runs from a point
// on the axis along the upper side back to the axis, and its mirror image returns below.
QPainterPath symmetricShape(const QPainterPath& upperHalf, double yAxis) {
    QPainterPath shape = upperHalf;
    shape.connectPath(mirroredAbout(upperHalf, yAxis).toReversed());
    shape.closeSubpath();
    return shape;
}

// The fuselage is symmetric about the row between y 59 and 60 (centre 59.5 in painter
// coordinates, where pixel row n covers n to n + 1); its sides run at y 24.5 and 94.5.
constexpr double kAxis = 59.5;
constexpr double kHalfWidth = 35.0;
constexpr double kTop = kAxis - kHalfWidth;
constexpr double kBottom = kAxis + kHalfWidth;

// The outline from the nose (x 4) to the end of the tail cone (x 624).
QPainterPath fuselageOutline() {
    QPainterPath upper(QPointF(4, kAxis));
    upper.cubicTo(QPointF(4.5, kAxis - 22), QPointF(38, kTop), QPointF(84, kTop));
    upper.lineTo(468, kTop);
    upper.cubicTo(QPointF(536, kTop), QPointF(597, kAxis - 13), QPointF(620, kAxis - 4));
    upper.quadTo(QPointF(624, kAxis - 2.5), QPointF(624, kAxis));
    return symmetricShape(upper, kAxis);
}

// One wing (the upper one in the picture) from the axis out past the picture's edge. The wing
// of this airliner is nearly straight: a slight sweep of the leading edge, most of the taper at
// the trailing edge.
QPainterPath upperWing() {
    const double edge = -8;
    const double span = kTop - edge;
    QPainterPath path(QPointF(240, kAxis));
    path.lineTo(240, kTop);
    path.lineTo(240 + 0.06 * span, edge);
    path.lineTo(334 - 0.22 * span, edge);
    path.lineTo(334, kTop);
    path.lineTo(334, kAxis);
    path.closeSubpath();
    // Fillet where the trailing edge meets the fuselage.
    QPainterPath fillet(QPointF(330, kTop - 14));
    fillet.cubicTo(QPointF(333, kTop - 3), QPointF(340, kTop + 1), QPointF(362, kTop + 2));
    fillet.lineTo(320, kTop + 2);
    fillet.closeSubpath();
    return path.united(fillet);
}

// The flap hinge line of the upper wing, a quarter chord ahead of the trailing edge.
QLineF upperFlapLine() {
    const double edge = -8;
    const double span = kTop - edge;
    return QLineF(QPointF(311, kTop), QPointF(311 - 0.13 * span, edge));
}

// Horizontal tailplane, upper half, from the axis out past the picture's edge.
QPainterPath upperTailplane() {
    const double edge = -8;
    const double span = kAxis - edge;
    QPainterPath path(QPointF(556, kAxis));
    path.lineTo(556 + 0.20 * span, edge);
    path.lineTo(604 + 0.04 * span, edge);
    path.lineTo(604, kAxis);
    path.closeSubpath();
    return path;
}

QLineF upperElevatorLine() {
    const double edge = -8;
    const double span = kAxis - edge;
    return QLineF(QPointF(591, kAxis), QPointF(591 + 0.09 * span, edge));
}

// An inner engine nacelle centred on row y: a long body from the propeller at x 184 to past the
// trailing edge (it houses the main gear), widest just behind the propeller.
QPainterPath nacelle(double y) {
    QPainterPath upper(QPointF(184, y));
    upper.lineTo(184, y - 7);
    upper.cubicTo(QPointF(194, y - 9.5), QPointF(210, y - 10), QPointF(228, y - 10));
    upper.lineTo(300, y - 10);
    upper.cubicTo(QPointF(330, y - 10), QPointF(352, y - 5), QPointF(362, y));
    return symmetricShape(upper, y);
}

QPainterPath spinner(double y) {
    QPainterPath upper(QPointF(186, y));
    upper.lineTo(186, y - 5);
    upper.cubicTo(QPointF(179, y - 5), QPointF(172, y - 3), QPointF(169, y));
    return symmetricShape(upper, y);
}

// A propeller blade seen from above, from the hub at row y over length rows (negative: upwards).
QPainterPath propellerBlade(double y, double length) {
    const double tip = y + length;
    const double side = length > 0 ? 1.0 : -1.0;
    QPainterPath blade(QPointF(181, y));
    blade.lineTo(179.6, tip - side * 4);
    blade.quadTo(QPointF(181.2, tip + side * 0.5), QPointF(183.8, tip - side * 3));
    blade.lineTo(184, y);
    blade.closeSubpath();
    return blade;
}

// The flight deck windows: a band across the top of the nose, split into panes.
void drawCockpit(QPainter& painter) {
    QPainterPath upper(QPointF(26, kAxis));
    upper.cubicTo(QPointF(26.3, kAxis - 9), QPointF(30, kAxis - 17), QPointF(37, kAxis - 22));
    upper.lineTo(44, kAxis - 22.5);
    upper.cubicTo(QPointF(38.5, kAxis - 16), QPointF(35.5, kAxis - 8), QPointF(35.5, kAxis));
    const QPainterPath band = symmetricShape(upper, kAxis);

    QLinearGradient shade(QPointF(26, kAxis - 22), QPointF(44, kAxis + 22));
    shade.setColorAt(0.0, QColor(pic::glazingLight));
    shade.setColorAt(0.5, QColor(pic::glazing));
    shade.setColorAt(1.0, QColor(pic::glazing));
    painter.setPen(QPen(QColor(pic::outline), 0.8));
    painter.setBrush(shade);
    painter.drawPath(band);

    // Window posts between the windscreen and the side windows.
    painter.save();
    painter.setClipPath(band);
    painter.setPen(QPen(QColor(pic::skinMid), 1.4));
    painter.drawLine(QPointF(20, kAxis), QPointF(40, kAxis));
    for (double side : {-1.0, 1.0})
        painter.drawLine(QPointF(26, kAxis + side * 11), QPointF(40, kAxis + side * 13));
    painter.restore();
}

// The fin along the top of the tail cone, with its dorsal fillet.
void drawFin(QPainter& painter) {
    QPainterPath upper(QPointF(500, kAxis));
    upper.cubicTo(QPointF(530, kAxis - 1), QPointF(548, kAxis - 4), QPointF(568, kAxis - 4));
    upper.cubicTo(QPointF(592, kAxis - 4), QPointF(610, kAxis - 2), QPointF(619, kAxis));
    painter.setPen(QPen(QColor(pic::outline), 0.8));
    painter.setBrush(QColor(pic::fin));
    painter.drawPath(symmetricShape(upper, kAxis));
}

void drawPanels(QPainter& painter) {
    painter.setRenderHint(QPainter::Antialiasing, false);
    for (const QRect& panel : kCabinPanels) {
        // A soft shade ring, the dark frame on the panel's edge pixels, then the white inside.
        painter.fillRect(panel.adjusted(-2, -2, 2, 2), QColor(pic::panelShade));
        painter.fillRect(panel.adjusted(-1, -1, 1, 1), QColor(pic::panelFrame));
        painter.fillRect(panel, QColor(pic::white));
    }
    painter.setRenderHint(QPainter::Antialiasing, true);
}

// The picture at `scale` times its size: the same drawing, each of its pixels `scale` x `scale`
// pixels, so that the panels stay on whole pixels.
QImage drawAircraftPicture(int scale) {
    QImage image(kPictureWidth * scale, kPictureHeight * scale,
                 QImage::Format_ARGB32_Premultiplied);
    image.fill(QColor(pic::sky));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.scale(scale, scale);

    // Wings and tailplane first: the fuselage hides their roots (a low-wing aircraft).
    const QPen thinOutline(QColor(pic::outline), 1.0);
    for (bool upper : {true, false}) {
        const QTransform flip = upper ? QTransform() : QTransform(1, 0, 0, -1, 0, 2 * kAxis);
        painter.setPen(thinOutline);
        painter.setBrush(QColor(pic::wing));
        painter.drawPath(flip.map(upperWing()));
        painter.drawPath(flip.map(upperTailplane()));
        painter.setPen(QPen(QColor(pic::wingDark), 1.0));
        painter.drawLine(flip.map(upperFlapLine()));
        painter.drawLine(flip.map(upperElevatorLine()));

        const double y = upper ? 5.0 : 2 * kAxis - 5.0;
        const double inwards = upper ? 1.0 : -1.0;
        QLinearGradient nacelleShade(QPointF(0, y - 10), QPointF(0, y + 10));
        nacelleShade.setColorAt(0.0, QColor(pic::wingDark));
        nacelleShade.setColorAt(0.4, QColor(pic::nacelleLight));
        nacelleShade.setColorAt(1.0, QColor(pic::wingDark));
        painter.setPen(thinOutline);
        painter.setBrush(nacelleShade);
        painter.drawPath(nacelle(y));
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(pic::spinner));
        painter.drawPath(propellerBlade(y, inwards * 17));
        painter.drawPath(propellerBlade(y, -inwards * 17));
        painter.setPen(QPen(QColor(pic::outline), 0.8));
        painter.setBrush(QColor(pic::spinner));
        painter.drawPath(spinner(y));
    }

    // The fuselage, shaded as a cylinder lit from above, with the blue cheatline along its sides.
    const QPainterPath body = fuselageOutline();
    QLinearGradient skin(QPointF(0, kTop), QPointF(0, kBottom));
    skin.setColorAt(0.00, QColor(pic::skinDark));
    skin.setColorAt(0.16, QColor(pic::skinMid));
    skin.setColorAt(0.42, QColor(pic::skinLight));
    skin.setColorAt(0.58, QColor(pic::skinLight));
    skin.setColorAt(0.84, QColor(pic::skinMid));
    skin.setColorAt(1.00, QColor(pic::skinDark));
    painter.setPen(Qt::NoPen);
    painter.setBrush(skin);
    painter.drawPath(body);

    // The nose cone curves away from the light towards its tip.
    QLinearGradient noseShade(QPointF(4, 0), QPointF(34, 0));
    noseShade.setColorAt(0.0, QColor(pic::skinDark));
    noseShade.setColorAt(1.0,
                         QColor(qRed(pic::skinMid), qGreen(pic::skinMid), qBlue(pic::skinMid), 0));
    painter.setBrush(noseShade);
    painter.drawPath(body);

    // The cheatline follows the sides from behind the flight deck to the tail cone.
    painter.save();
    QPainterPath sides;
    sides.addRect(QRectF(34, 0, 520, kPictureHeight));
    painter.setClipPath(body.intersected(sides));
    painter.setPen(QPen(QColor(pic::cheatline), 6.0));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(body);
    painter.restore();

    painter.setPen(QPen(QColor(pic::outline), 1.0));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(body);

    drawFin(painter);
    drawCockpit(painter);
    drawPanels(painter);
    painter.end();
    return toIndexed(image.convertToFormat(QImage::Format_ARGB32), picturePalette());
}

// ---------------------------------------------------------------------------------------------
// The program icon: a four-engined turboprop seen from above, nose up, drawn on a 32 x 32 grid
// and scaled for the larger sizes.

namespace ico {
constexpr QRgb clear = qRgba(0, 0, 0, 0);
constexpr QRgb body = qRgb(42, 86, 156);
constexpr QRgb light = qRgb(118, 160, 214);
constexpr QRgb dark = qRgb(22, 44, 84);
} // namespace ico

QList<QRgb> iconPalette() {
    using namespace ico;
    PaletteBuilder p;
    for (QRgb c : {clear, body, light, dark})
        p.add(c);
    p.addRamp(dark, body, 12);
    p.addRamp(body, light, 12);
    // Antialiased edges against the transparent background keep the colour and fade the alpha.
    for (QRgb c : {dark, body, light})
        p.addRamp(qRgba(qRed(c), qGreen(c), qBlue(c), 0), c, 32);
    p.fillWithMidpoints();
    return p.colours();
}

// Edges lie on whole units of the 32 x 32 grid so that the smallest icon stays crisp.
QPainterPath iconFuselage() {
    QPainterPath path(QPointF(16, 1));
    path.cubicTo(QPointF(17.5, 1), QPointF(18, 2.5), QPointF(18, 5));
    path.lineTo(18, 21);
    path.cubicTo(QPointF(18, 25), QPointF(17, 29), QPointF(16.5, 31));
    path.lineTo(15.5, 31);
    path.cubicTo(QPointF(15, 29), QPointF(14, 25), QPointF(14, 21));
    path.lineTo(14, 5);
    path.cubicTo(QPointF(14, 2.5), QPointF(14.5, 1), QPointF(16, 1));
    path.closeSubpath();
    return path;
}

QPainterPath iconWingsAndEngines() {
    QPainterPath wings;
    wings.addPolygon(QPolygonF({QPointF(1, 13), QPointF(31, 13), QPointF(31, 15), QPointF(18, 17),
                                QPointF(14, 17), QPointF(1, 15), QPointF(1, 13)}));
    QPainterPath tailplane;
    tailplane.addPolygon(QPolygonF(
        {QPointF(11, 27), QPointF(21, 27), QPointF(21, 29), QPointF(11, 29), QPointF(11, 27)}));
    QPainterPath nacelles;
    for (double x : {6.0, 10.0, 20.0, 24.0})
        nacelles.addRoundedRect(QRectF(x, 10, 2, 9), 0.8, 0.8);
    return wings.united(tailplane).united(nacelles);
}

QImage drawProgramIcon(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.scale(size / 32.0, size / 32.0);

    // The desktop's large icon gets a thin dark rim; on the small ones it would blur the nacelles.
    if (size > 48)
        painter.setPen(QPen(QColor(ico::dark), 32.0 / size));
    else
        painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(ico::body));
    painter.drawPath(iconWingsAndEngines());
    painter.setBrush(QColor(ico::light));
    painter.drawPath(iconFuselage());

    // Propeller spinners at the front of the nacelles, the fin along the tail; the larger icons
    // show them rounded and add the flight deck windows.
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(ico::dark));
    if (size < 48) {
        for (double x : {6.0, 10.0, 20.0, 24.0})
            painter.drawRect(QRectF(x, 9, 2, 1.5));
        painter.drawRect(QRectF(15.5, 23, 1, 7));
    } else {
        for (double x : {6.0, 10.0, 20.0, 24.0}) {
            QPainterPath spinner(QPointF(x, 10.5));
            spinner.cubicTo(QPointF(x, 9), QPointF(x + 0.5, 8.4), QPointF(x + 1, 8.4));
            spinner.cubicTo(QPointF(x + 1.5, 8.4), QPointF(x + 2, 9), QPointF(x + 2, 10.5));
            spinner.closeSubpath();
            painter.drawPath(spinner);
        }
        QPainterPath fin(QPointF(16, 20));
        fin.cubicTo(QPointF(16.6, 23), QPointF(16.6, 28), QPointF(16, 30.5));
        fin.cubicTo(QPointF(15.4, 28), QPointF(15.4, 23), QPointF(16, 20));
        painter.drawPath(fin);
        QPainterPath windows(QPointF(14.6, 4.6));
        windows.quadTo(QPointF(16, 3.2), QPointF(17.4, 4.6));
        windows.lineTo(17.4, 5.4);
        windows.quadTo(QPointF(16, 4.2), QPointF(14.6, 5.4));
        windows.closeSubpath();
        painter.drawPath(windows);
    }
    painter.end();
    return toIndexed(image.convertToFormat(QImage::Format_ARGB32), iconPalette());
}

bool writeImage(const QImage& image, const QDir& folder, const QString& name, const char* format) {
    const QString path = folder.filePath(name);
    QImageWriter writer(path, format);
    if (!writer.write(image)) {
        std::fprintf(stderr, "loader_artwork: cannot write %s: %s\n", qPrintable(path),
                     qPrintable(writer.errorString()));
        return false;
    }
    return true;
}

bool writePng(const QImage& image, const QDir& folder, const QString& name) {
    return writeImage(image, folder, name, "png");
}

void putWord(QByteArray& out, quint32 value) {
    out.append(static_cast<char>(value & 0xFF));
    out.append(static_cast<char>((value >> 8) & 0xFF));
}
void putDword(QByteArray& out, quint32 value) {
    putWord(out, value & 0xFFFF);
    putWord(out, value >> 16);
}

// One image of an icon file as the system reads it: a 32-bit bitmap of twice the height, rows
// from the bottom, then the one-bit mask (set where the icon is transparent).
QByteArray iconBitmap(const QImage& source) {
    const QImage image = source.convertToFormat(QImage::Format_ARGB32);
    const int size = image.width();
    const int maskStride = ((size + 31) / 32) * 4;
    QByteArray out;
    putDword(out, 40);
    putDword(out, static_cast<quint32>(size));
    putDword(out, static_cast<quint32>(size * 2));
    putWord(out, 1);
    putWord(out, 32);
    putDword(out, 0);
    putDword(out, static_cast<quint32>(size * size * 4 + maskStride * size));
    for (int i = 0; i < 4; ++i)
        putDword(out, 0);
    for (int y = size - 1; y >= 0; --y)
        for (int x = 0; x < size; ++x)
            putDword(out, image.pixel(x, y));
    for (int y = size - 1; y >= 0; --y) {
        QByteArray row(maskStride, '\0');
        for (int x = 0; x < size; ++x)
            if (qAlpha(image.pixel(x, y)) == 0)
                row[x / 8] = static_cast<char>(row[x / 8] | (0x80 >> (x % 8)));
        out.append(row);
    }
    return out;
}

// An icon file of the program icon at each size; the largest is stored as PNG, as the system
// reads it from Windows Vista on.
bool writeIco(const QDir& folder, const QString& name) {
    QList<QByteArray> images;
    const QList<int> sizes{16, 32, 48, 256};
    for (int size : sizes) {
        const QImage icon = drawProgramIcon(size);
        if (size < 256) {
            images.append(iconBitmap(icon));
            continue;
        }
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        if (!QImageWriter(&buffer, "png").write(icon))
            return false;
        images.append(png);
    }
    QByteArray out;
    putWord(out, 0);
    putWord(out, 1);
    putWord(out, static_cast<quint32>(images.size()));
    quint32 offset = 6 + 16 * static_cast<quint32>(images.size());
    for (qsizetype i = 0; i < images.size(); ++i) {
        const int size = sizes[i];
        out.append(static_cast<char>(size < 256 ? size : 0));
        out.append(static_cast<char>(size < 256 ? size : 0));
        out.append('\0');
        out.append('\0');
        putWord(out, 1);
        putWord(out, 32);
        putDword(out, static_cast<quint32>(images[i].size()));
        putDword(out, offset);
        offset += static_cast<quint32>(images[i].size());
    }
    for (const QByteArray& image : images)
        out.append(image);
    QFile file(folder.filePath(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(out) != out.size()) {
        std::fprintf(stderr, "loader_artwork: cannot write %s\n", qPrintable(file.fileName()));
        return false;
    }
    return true;
}

// An 8-bit bitmap file compressed in runs (BI_RLE8), as the system reads it: the larger aircraft
// picture is mostly rows of one colour, and the program file carries it in a tenth of its size.
bool writeRle8Bmp(const QImage& image, const QDir& folder, const QString& name) {
    QByteArray pixels;
    for (int y = image.height() - 1; y >= 0; --y) {
        const uchar* row = image.constScanLine(y);
        for (int x = 0; x < image.width();) {
            int run = 1;
            while (x + run < image.width() && run < 255 && row[x + run] == row[x])
                ++run;
            pixels.append(static_cast<char>(run));
            pixels.append(static_cast<char>(row[x]));
            x += run;
        }
        pixels.append('\0');
        pixels.append(y == 0 ? '\1' : '\0'); // the end of the line, or of the bitmap
    }
    const QList<QRgb> palette = image.colorTable();
    const auto headers = static_cast<quint32>(14 + 40 + 4 * palette.size());
    QByteArray out;
    out.append("BM");
    putDword(out, headers + static_cast<quint32>(pixels.size()));
    putDword(out, 0);
    putDword(out, headers);
    putDword(out, 40);
    putDword(out, static_cast<quint32>(image.width()));
    putDword(out, static_cast<quint32>(image.height()));
    putWord(out, 1);
    putWord(out, 8);
    putDword(out, 1); // BI_RLE8
    putDword(out, static_cast<quint32>(pixels.size()));
    putDword(out, 2835); // 72 dots per inch, as Qt writes the other bitmap
    putDword(out, 2835);
    putDword(out, static_cast<quint32>(palette.size()));
    putDword(out, 0);
    for (QRgb colour : palette)
        putDword(out, colour & 0xFFFFFFu);
    out.append(pixels);
    QFile file(folder.filePath(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(out) != out.size()) {
        std::fprintf(stderr, "loader_artwork: cannot write %s\n", qPrintable(file.fileName()));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: loader_artwork <output folder>\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!folder.exists()) {
        std::fprintf(stderr, "loader_artwork: no folder %s\n", argv[1]);
        return 2;
    }
    const QImage picture = drawAircraftPicture(1);
    const QImage largePicture = drawAircraftPicture(2);
    bool ok = writePng(picture, folder, QStringLiteral("bitmap140.png"));
    ok = writePng(largePicture, folder, QStringLiteral("bitmap141.png")) && ok;
    ok = writePng(drawProgramIcon(32), folder, QStringLiteral("icon32.png")) && ok;
    ok = writePng(drawProgramIcon(48), folder, QStringLiteral("icon48.png")) && ok;
    ok = writePng(drawProgramIcon(256), folder, QStringLiteral("icon256.png")) && ok;
    ok = writeImage(picture, folder, QStringLiteral("bitmap140.bmp"), "bmp") && ok;
    ok = writeRle8Bmp(largePicture, folder, QStringLiteral("bitmap141.bmp")) && ok;
    ok = writeIco(folder, QStringLiteral("il18-loader.ico")) && ok;
    return ok ? 0 : 1;
}
