// File > Print: the window as it stands, live values and active page included, on one sheet of the
// default printer. There is no report layout; the client area is captured as an image, with the
// window first made ready for paper (white, the operating controls and the other tabs hidden).
#include "ui/printing.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QImage>
#include <QLayout>
#include <QLocale>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>

#include "files/checked_write.h"
#include "link/link_engine.h"
#include "ui/map_painter.h"
#include "ui/cgauge.h"
#include "ui/controls.h"
#include "ui/form_hlav.h"
#include "ui/prompter.h"
#include "ui/up_down.h"

namespace zevo {

namespace {

QString Text(PrintTextId id, std::uint8_t language) {
    const std::string_view text = PrintText(id, language);
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// A sheet of paper lies under the image the way a printer's unprintable margin would.
constexpr qreal PdfMarginMillimetres = 10;
constexpr int PdfResolution = 300;

} // namespace

QSize PrintedSize(QSize image, QSize page) {
    if (image.isEmpty() || page.isEmpty())
        return {};
    // 64 bits: a high-resolution page times a large window overflows an int.
    const qint64 w = image.width(), h = image.height();
    const qint64 pw = page.width(), ph = page.height();
    const qint64 widthAtFullHeight = w * ph / h;
    if (widthAtFullHeight < pw)
        return {static_cast<int>(widthAtFullHeight), page.height()};
    return {page.width(), static_cast<int>(h * pw / w)};
}

bool RenderPage(const QImage& page, QPagedPaintDevice& device) {
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    // The painter's origin is the top-left corner of the printable area; its size is the device's.
    const QSize target = PrintedSize(page.size(), QSize(device.width(), device.height()));
    painter.drawImage(QRect(QPoint(0, 0), target), page);
    return painter.end();
}

PrintOutcome PrintOnDefaultPrinter(const QImage& page) {
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull())
        return {PrintResult::NoPrinter, QString()};
    QPrinter printer(info, QPrinter::HighResolution);
    printer.setDocName(QStringLiteral("ZEVO"));
    // A spooler that refuses the job shows as a painter that will not start or an error state;
    // what happens to the job after spooling is the system's business.
    if (!printer.isValid() || !RenderPage(page, printer) || printer.printerState() == QPrinter::Error)
        return {PrintResult::PrinterFailed, info.printerName()};
    return {};
}

bool SavePageAsPdf(const QImage& page, const QString& path, QString* error) {
    const WriteResult written = WriteFileChecked(path, [&page](QIODevice& file) {
        QPdfWriter writer(&file);
        writer.setTitle(QStringLiteral("ZEVO"));
        writer.setCreator(QStringLiteral("ZEVO"));
        writer.setResolution(PdfResolution);
        writer.setPageLayout(QPageLayout(
            QPageSize(QPageSize::A4), QPageLayout::Portrait,
            QMarginsF(PdfMarginMillimetres, PdfMarginMillimetres, PdfMarginMillimetres, PdfMarginMillimetres),
            QPageLayout::Millimeter));
        return RenderPage(page, writer);
    });
    if (!written && error)
        *error = written.Reason;
    return written.Landed;
}

// ---- the Print command -----------------------------------------------------------------------

void TFormHlav::SpeedButtonPrintClick() {
    // The header of the printout is the status line, in the window's normal colour.
    const QColor face = palette().color(QPalette::Window);
    QPalette status = LabelHlaseni->palette();
    status.setColor(QPalette::Window, face);
    LabelHlaseni->setPalette(status);
    LabelHlaseni->setAutoFillBackground(true);
    const QLocale locale = QLocale::system();
    const QDateTime now = QDateTime::currentDateTime();
    LabelHlaseni->SetCaption(Text(PrintTextId::Caption, LanguageIndex) +
                             locale.toString(now.date(), QLocale::ShortFormat) + QStringLiteral("    ") +
                             locale.toString(now.time(), QLocale::LongFormat));
    Engine->HoldStatusLine(linktime::MessageTicks);

    const bool ownPalette = testAttribute(Qt::WA_SetPalette);
    const QPalette before = palette();
    QPalette paper = before;
    paper.setColor(QPalette::Window, Qt::white);
    setPalette(paper);
    // The transfer gauge is not shown again until a transfer starts.
    CGaugeProgram->hide();
    SetPrintControlsVisible(false);

    // The hidden status bar leaves its room to the client area before the capture.
    if (layout())
        layout()->activate();
    const QImage page = ClientArea->grab().toImage();
    const PrintOutcome outcome = PrintPage ? PrintPage(page) : PrintOnDefaultPrinter(page);

    // Put back whatever the print did, before any question: the ticks that run while a box is open
    // must see the working window.
    setPalette(ownPalette ? before : QPalette());
    SetPrintControlsVisible(true);
    UpdateServoPage();

    if (outcome.Result != PrintResult::Printed)
        OfferPdfInstead(page, outcome);
}

void TFormHlav::SetPrintControlsVisible(bool visible) {
    if (!visible) {
        if (PreparedForPrint)
            return;
        PreparedForPrint = true;
        // Only what is shown now is hidden, and only that is shown again: a control the window keeps
        // hidden (the connection label while the unit answers, a map row without TP) stays so.
        HiddenForPrint.clear();
        auto hide = [this](QWidget* control) {
            if (!control->isHidden()) {
                control->hide();
                HiddenForPrint.push_back(control);
            }
        };
        hide(StatusBar1);
        hide(GroupBoxToolBar);
        hide(LabelSpojeni);
        for (TUpDown* spinner : UpDownRpm)
            hide(spinner);
        for (auto& row : UpDownMap) {
            for (TUpDown* spinner : row)
                hide(spinner);
        }
        hide(UpDownHystMv);
        hide(UpDownHystRpm);
        for (TCSpinButton* spin : CSpinButtonColumn)
            hide(spin);
        hide(ButtonMinus);
        hide(ButtonPlus);
        hide(CheckBoxAll);
        hide(UpDownTps0);
        hide(UpDownTps100);
        hide(ButtonTps0);
        hide(ButtonTps100);
        hide(CGaugeRpm);
        hide(CGaugeTps);

        TabsHiddenForPrint.clear();
        for (int tab = 0; tab < PageControl1->count(); ++tab) {
            if (tab != PageControl1->currentIndex() && PageControl1->isTabVisible(tab)) {
                PageControl1->setTabVisible(tab, false);
                TabsHiddenForPrint.push_back(tab);
            }
        }
        // The row captions carry the live highlight's colours; on paper they are white.
        for (std::size_t r = 0; r < LabelTpRow.size(); ++r) {
            TLabel* label = LabelTpRow[r];
            RowLookBeforePrint[r] = {label->palette(), label->autoFillBackground()};
            QPalette white = label->palette();
            white.setColor(QPalette::Window, Qt::white);
            label->setPalette(white);
            label->setAutoFillBackground(true);
        }
        return;
    }

    if (!PreparedForPrint)
        return;
    PreparedForPrint = false;
    for (QWidget* control : HiddenForPrint)
        control->show();
    HiddenForPrint.clear();
    for (int tab : TabsHiddenForPrint)
        PageControl1->setTabVisible(tab, true);
    TabsHiddenForPrint.clear();
    // The highlight repaints only the cells it moves to, so the captions get their own look back.
    for (std::size_t r = 0; r < LabelTpRow.size(); ++r) {
        LabelTpRow[r]->setPalette(RowLookBeforePrint[r].Palette);
        LabelTpRow[r]->setAutoFillBackground(RowLookBeforePrint[r].Filled);
    }
    // The painter knows only what it gave the fields itself.
    if (CellPainter)
        CellPainter->Forget();
    PaintMap();
}

void TFormHlav::OfferPdfInstead(const QImage& page, const PrintOutcome& outcome) {
    if (!Prompts)
        return;
    const QString reason = outcome.Result == PrintResult::NoPrinter
                               ? Text(PrintTextId::NoPrinter, LanguageIndex)
                               : Text(PrintTextId::PrinterFailed, LanguageIndex).arg(outcome.PrinterName);
    if (Prompts->ConfirmYesNo(this, reason + QLatin1Char('\n') +
                                        Text(PrintTextId::SaveAsPdf, LanguageIndex)) != PromptAnswer::Yes)
        return;

    // Offered beside the parameter file on screen and named after it, when there is one.
    FileDialogSettings settings;
    settings.DefaultExtension = QStringLiteral("pdf");
    settings.Filters = {QStringLiteral("PDF (*.pdf)")};
    settings.PromptOverwrite = true;
    const QFileInfo shown(LabelFile2->Caption().trimmed());
    settings.InitialFileName = shown.fileName().isEmpty()
                                   ? QStringLiteral("ZEVO.pdf")
                                   : shown.dir().filePath(shown.completeBaseName() + QStringLiteral(".pdf"));
    const QString path = Prompts->SaveFileName(this, settings);
    if (path.isEmpty())
        return;
    QString error;
    if (!SavePageAsPdf(page, path, &error))
        Prompts->ShowMessage(this, Text(PrintTextId::PdfWriteFailed, LanguageIndex), error);
}

} // namespace zevo
