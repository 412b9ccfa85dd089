#include "about/form_about.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QProcess>
#include <QScreen>
#include <QStandardPaths>
#include <QUrl>
#include <cmath>
#include <numbers>

#include "app/project_version.h"
#include "lang/language_tables.h"
#include "params/device_image.h"

namespace zevo {

namespace {

constexpr int ClientWidth = 273;
constexpr int ClientHeight = 375;
constexpr int LogoWidth = 161;
constexpr int LogoHeight = 81;

// The build stamp as the compiler writes it: "Oct 14 2011" and "07:42:44".
constexpr const char* BuildDate = __DATE__;
constexpr const char* BuildTime = __TIME__;

const QColor Navy(26, 52, 102);
const QColor Grease(236, 132, 20);

QFont SansFont(int pixelSize, bool bold = false) {
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

// The largest face up to `pixelSize` that writes `text` within `width`.
QFont FittingFont(const QString& text, qreal width, int pixelSize, bool bold, qreal spacing = 0) {
    QFont font = SansFont(pixelSize, bold);
    font.setLetterSpacing(QFont::AbsoluteSpacing, spacing);
    while (font.pixelSize() > 6 && QFontMetricsF(font).horizontalAdvance(text) > width)
        font.setPixelSize(font.pixelSize() - 1);
    return font;
}

QLabel* MakeLabel(QWidget* parent, const char* name, int left, int top, const QString& text, int pixelSize) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setFont(SansFont(pixelSize));
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, Qt::black);
    label->setPalette(palette);
    label->move(left, top);
    label->adjustSize();
    return label;
}

void DrawLogo(QPainter& p) {
    // A gear wheel with a drop of grease in its hub: the maker's trade, machines kept running.
    const QPointF hub(40.5, 40.5);
    constexpr int teeth = 10;
    constexpr qreal outer = 37, root = 30;
    QPainterPath gear;
    for (int i = 0; i < teeth; ++i) {
        const qreal pitch = 2 * std::numbers::pi / teeth;
        const qreal a = i * pitch;
        // Each tooth: up the flank, across the top, down the flank, along the root to the next one.
        const qreal corners[4][2] = {{a - 0.30 * pitch, root},
                                     {a - 0.18 * pitch, outer},
                                     {a + 0.18 * pitch, outer},
                                     {a + 0.30 * pitch, root}};
        for (int k = 0; k < 4; ++k) {
            const QPointF point(hub.x() + corners[k][1] * std::sin(corners[k][0]),
                                hub.y() - corners[k][1] * std::cos(corners[k][0]));
            if (i == 0 && k == 0)
                gear.moveTo(point);
            else
                gear.lineTo(point);
        }
    }
    gear.closeSubpath();
    gear.addEllipse(hub, 19, 19); // the hole, by the odd-even fill
    p.setPen(Qt::NoPen);
    p.setBrush(Navy);
    p.drawPath(gear);

    QPainterPath drop;
    drop.moveTo(hub.x(), hub.y() - 15);
    drop.cubicTo(hub.x() + 3, hub.y() - 8, hub.x() + 10, hub.y() - 1, hub.x() + 10, hub.y() + 5);
    drop.cubicTo(hub.x() + 10, hub.y() + 11, hub.x() + 5.5, hub.y() + 15, hub.x(), hub.y() + 15);
    drop.cubicTo(hub.x() - 5.5, hub.y() + 15, hub.x() - 10, hub.y() + 11, hub.x() - 10, hub.y() + 5);
    drop.cubicTo(hub.x() - 10, hub.y() - 1, hub.x() - 3, hub.y() - 8, hub.x(), hub.y() - 15);
    p.setBrush(Grease);
    p.drawPath(drop);
    p.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(hub.x() - 6.5, hub.y() - 1.5, 13, 13), 180 * 16, 70 * 16);

    // The word mark, with a line of grease under it.
    constexpr qreal left = 86, width = LogoWidth - left - 2;
    const QString name = QStringLiteral("KOLOMAZ");
    p.setPen(Navy);
    p.setFont(FittingFont(name, width, 24, true));
    p.drawText(QRectF(left, 14, width, 28), Qt::AlignLeft | Qt::AlignBottom, name);
    p.fillRect(QRectF(left, 46, width, 3), Grease);
    const QString trade = QStringLiteral("ELECTRONICS");
    p.setPen(QColor(90, 90, 90));
    p.setFont(FittingFont(trade, width, 11, false, 1.5));
    p.drawText(QRectF(left, 52, width + 4, 16), Qt::AlignLeft | Qt::AlignTop, trade);
}

} // namespace

QPixmap MakerLogo() {
    // Drawn at twice the size too, so a high-density screen shows it sharp.
    const qreal ratio = QGuiApplication::instance() ? qGuiApp->devicePixelRatio() : 1.0;
    QImage image(qRound(LogoWidth * ratio), qRound(LogoHeight * ratio), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    DrawLogo(painter);
    painter.end();
    return QPixmap::fromImage(image);
}

namespace {

// xdg-open hands a file with no associated program to a web browser or gives up, in both cases
// after the launcher has reported success; xdg-mime tells beforehand whether anything is associated.
// Only a clear "nothing" counts: no xdg-mime, or one that does not answer in time, lets the desktop try.
bool NoProgramOpensPdf() {
#if defined(Q_OS_WIN) || defined(Q_OS_MACOS)
    return false;
#else
    // Without the freedesktop launcher nothing on the desktop opens documents for a program.
    if (QStandardPaths::findExecutable(QStringLiteral("xdg-open")).isEmpty())
        return true;
    const QString query = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
    if (query.isEmpty())
        return false;
    QProcess process;
    process.start(query,
                  {QStringLiteral("query"), QStringLiteral("default"), QStringLiteral("application/pdf")});
    // A desktop query answers in tens of milliseconds; the window does not wait long for a slow one.
    if (!process.waitForFinished(1500)) {
        process.kill();
        process.waitForFinished(500);
        return false;
    }
    return process.exitStatus() == QProcess::NormalExit &&
           process.readAllStandardOutput().trimmed().isEmpty();
#endif
}

} // namespace

DocumentOpening OpenWithDesktop(const QString& path) {
    if (!QFileInfo(path).isFile())
        return DocumentOpening::Missing;
    if (path.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive) && NoProgramOpensPdf())
        return DocumentOpening::NoViewer;
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path)) ? DocumentOpening::Opened
                                                                : DocumentOpening::Refused;
}

void TClickLabel::mouseReleaseEvent(QMouseEvent* event) {
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit Click();
}

TFormAbout::TFormAbout(const std::uint8_t& languageIndex, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint),
      LanguageIndex(languageIndex) {
    setObjectName(QStringLiteral("FormAbout"));
    setWindowTitle(QStringLiteral("About"));
    setFont(SansFont(11));
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    resize(ClientWidth, ClientHeight);

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(32, 24, LogoWidth, LogoHeight);
    Image1->setPixmap(MakerLogo());

    // The maker and its address are invented for this tool; .example names reach nobody.
    Label2 = MakeLabel(this, "Label2", 32, 132, QStringLiteral("Kolomaz Electronics"), 16);
    Label3 = MakeLabel(this, "Label3", 32, 157, QStringLiteral("Pístová 12"), 16);
    Label4 = MakeLabel(this, "Label4", 32, 182, QStringLiteral("123 45 Vačkov"), 16);
    Label5 = MakeLabel(this, "Label5", 32, 207, QStringLiteral("Czech Republic"), 16);
    Label9 = MakeLabel(this, "Label9", 32, 243, QStringLiteral("info@kolomaz.example"), 16);
    Label10 = MakeLabel(this, "Label10", 32, 268, QStringLiteral("www.kolomaz.example"), 16);
    LabelDate = MakeLabel(this, "LabelDate", 32, 305, QString(), 11);
    LabelTime = MakeLabel(this, "LabelTime", 32, 327, QString(), 11);
    LabelRsKey = MakeLabel(this, "LabelRsKey", 32, 346, QString(), 11);
    LabelRelease = MakeLabel(this, "LabelRelease", 120, 305, QString(), 11);

    LabelExit = new TClickLabel(QStringLiteral("OK"), this);
    LabelExit->setObjectName(QStringLiteral("LabelExit"));
    LabelExit->setFont(SansFont(23));
    LabelExit->setAlignment(Qt::AlignCenter);
    LabelExit->setGeometry(208, 334, 35, 29);
    LabelExit->setCursor(Qt::PointingHandCursor);
    connect(LabelExit, &TClickLabel::Click, this, &TFormAbout::Button1Click);

    FormCreate();
}

void TFormAbout::FormCreate() {
    LabelDate->setText(QString::fromLatin1(BuildDate));
    LabelDate->adjustSize();
    LabelTime->setText(QString::fromLatin1(BuildTime));
    LabelTime->adjustSize();
    LabelRsKey->setText(QStringLiteral("Version - %1").arg(PcProgramVersion));
    LabelRsKey->adjustSize();
    LabelRelease->setText(QStringLiteral("ZEVO %1").arg(QString::fromLatin1(ProjectVersion)));
    LabelRelease->adjustSize();

    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        const QSize outer = frameGeometry().size();
        move(area.left() + area.width() / 2 - outer.width() / 2,
             area.top() + area.height() / 2 - outer.height() / 2);
    }
}

void TFormAbout::FormActivate() {
    if (const auto caption = AboutCaptionText(LanguageIndex))
        setWindowTitle(QString::fromUtf8(caption->data(), static_cast<qsizetype>(caption->size())));
}

void TFormAbout::Button1Click() {
    accept();
}

bool TFormAbout::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate)
        FormActivate();
    return QDialog::event(event);
}

void TFormAbout::showEvent(QShowEvent* event) {
    // Also before the first paint, so the title never shows the language of the last showing.
    FormActivate();
    QDialog::showEvent(event);
}

} // namespace zevo
