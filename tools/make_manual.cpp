// Build-time helper: turns the manuals' Markdown sources into the PDFs that F1 opens, and draws
// the application icon as PNG files for the desktop's icon theme. Qt alone does both, so the build
// needs no other document toolchain.
//
//   make_manual manual SOURCE.md OUT.pdf
//   make_manual icon SIZE OUT.png

#include "ui/glyphs.h"

#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QGuiApplication>
#include <QIcon>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QPixmap>
#include <QStringList>
#include <QTextBlock>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextImageFormat>
#include <QUrl>

#include <cstdio>

namespace {

int Fail(const QString& text) {
    std::fprintf(stderr, "make_manual: %s\n", qPrintable(text));
    return 1;
}

// The title page: the product name in large type above the manual's own first heading, then a
// page break, so the manual proper starts on page 2.
void InsertTitlePage(QTextDocument& document, const QString& subtitle) {
    QTextCursor cursor(&document);
    cursor.movePosition(QTextCursor::Start);
    // Split off an empty first block for the title; the manual's own first block keeps its format.
    cursor.insertBlock(cursor.blockFormat(), cursor.charFormat());
    cursor.movePosition(QTextCursor::Start);

    QTextBlockFormat centred;
    centred.setAlignment(Qt::AlignHCenter);
    centred.setTopMargin(220);
    cursor.setBlockFormat(centred);
    QTextCharFormat big;
    big.setFontPointSize(48);
    big.setFontWeight(QFont::Bold);
    cursor.insertText(QStringLiteral("ZEVO"), big);

    QTextBlockFormat below;
    below.setAlignment(Qt::AlignHCenter);
    below.setTopMargin(24);
    below.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysAfter);
    QTextCharFormat medium;
    medium.setFontPointSize(18);
    cursor.insertBlock(below, medium);
    cursor.insertText(subtitle, medium);
}

// Screenshots lie beside the source; each is scaled to the width of the text.
bool FitImages(QTextDocument& document, const QString& folder, qreal width) {
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.charFormat().isImageFormat())
                continue;
            QTextImageFormat image = fragment.charFormat().toImageFormat();
            const QImage picture(folder + QLatin1Char('/') + image.name());
            if (picture.isNull()) {
                Fail(QStringLiteral("cannot read the image %1").arg(image.name()));
                return false;
            }
            // Printing works on a copy of the document, which keeps resources but loads no files.
            document.addResource(QTextDocument::ImageResource, QUrl(image.name()), picture);
            image.setWidth(width);
            image.setHeight(width * picture.height() / picture.width());
            QTextCursor cursor(&document);
            cursor.setPosition(fragment.position());
            cursor.setPosition(fragment.position() + fragment.length(), QTextCursor::KeepAnchor);
            cursor.setCharFormat(image);
        }
    }
    return true;
}

int MakeManual(const QString& sourcePath, const QString& pdfPath) {
    QFile source(sourcePath);
    if (!source.open(QIODevice::ReadOnly))
        return Fail(QStringLiteral("cannot read %1").arg(sourcePath));
    QString markdown = QString::fromUtf8(source.readAll());

    // The source's first line, "# Title", is the title page's subtitle and, after the product name, the
    // PDF's title.
    const qsizetype end = markdown.indexOf(QLatin1Char('\n'));
    const QString firstLine = markdown.left(end).trimmed();
    if (!firstLine.startsWith(QLatin1String("# ")))
        return Fail(QStringLiteral("%1 must start with a '# ' title line").arg(sourcePath));
    const QString title = firstLine.mid(2).trimmed();
    markdown = markdown.mid(end + 1);

    QTextDocument document;
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSize(10);
    document.setDefaultFont(font);
    document.setMarkdown(markdown, QTextDocument::MarkdownDialectGitHub);
    InsertTitlePage(document, title);

    QPdfWriter writer(pdfPath);
    writer.setTitle(QStringLiteral("ZEVO \u2013 %1").arg(title));
    writer.setCreator(QStringLiteral("ZEVO"));
    writer.setResolution(300);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(5, 5, 5, 5),
                                     QPageLayout::Millimeter));
    // Printing lays the text out in the writer's pixels and adds 2 cm margins of its own.
    // Image sizes count in pixels of 96 dpi, scaled up to the writer's resolution when printed.
    const qreal textWidth =
        (writer.width() - 2 * (2 / 2.54) * writer.resolution()) * 96 / writer.resolution();
    if (!FitImages(document, QFileInfo(sourcePath).absolutePath(), textWidth))
        return 1;
    // A document without a page size of its own is laid out to the writer's page and printed with
    // the page number at the foot of each page.
    document.print(&writer);
    if (!QFile::exists(pdfPath))
        return Fail(QStringLiteral("cannot write %1").arg(pdfPath));
    return 0;
}

int MakeIcon(int size, const QString& pngPath) {
    const QPixmap pixmap = zevo::ApplicationIcon().pixmap(size, size);
    if (pixmap.width() != size)
        return Fail(QStringLiteral("the application icon has no %1 px drawing").arg(size));
    if (!pixmap.toImage().save(pngPath, "PNG"))
        return Fail(QStringLiteral("cannot write %1").arg(pngPath));
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    // A build machine has no display; the offscreen platform renders fonts all the same.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 4 && args[1] == QLatin1String("manual"))
        return MakeManual(args[2], args[3]);
    if (args.size() == 4 && args[1] == QLatin1String("icon"))
        return MakeIcon(args[2].toInt(), args[3]);
    return Fail(QStringLiteral("usage: make_manual manual SOURCE.md OUT.pdf | icon SIZE OUT.png"));
}
