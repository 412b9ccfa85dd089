#pragma once
#include <QSize>
#include <QString>

class QImage;
class QPagedPaintDevice;

namespace zevo {

// How a print of the window went. A failed print names its reason, so the user can be told why.
enum class PrintResult { Printed, NoPrinter, PrinterFailed };
struct PrintOutcome {
    PrintResult Result = PrintResult::Printed;
    QString PrinterName; // the printer that failed
};

// The size the window's image takes on paper, proportions kept: the full page height when the width
// that gives still fits the page, otherwise the full page width. An empty image takes no room.
QSize PrintedSize(QSize image, QSize page);

// Draws the image as one page of the device, scaled by PrintedSize and placed at the top-left corner
// of the printable area. False when the device refuses to start or to finish the page.
bool RenderPage(const QImage& page, QPagedPaintDevice& device);

// Prints the image on the system's default printer, without a printer dialog.
PrintOutcome PrintOnDefaultPrinter(const QImage& page);

// Writes the image as a one-page PDF file (A4, through a temporary file renamed into place). On
// failure `error` gets the system's reason.
bool SavePageAsPdf(const QImage& page, const QString& path, QString* error = nullptr);

} // namespace zevo
