#include "platform/QtPrintingSurface.h"

#include "platform/TextCodec.h"

#include <QFile>
#include <QFileInfo>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>
#include <QTemporaryFile>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <system_error>

namespace quorvex {

namespace {

constexpr double kTwipsPerInch = 1440.0;

QFont typeFont(const PrintOperation& o)
{
    QFont font(QString::fromUtf8(o.text.c_str()));
    font.setPointSize(o.pointSize);
    font.setBold(o.bold);
    font.setUnderline(o.underline);
    return font;
}

// Tracks the print position like a line printer: x and y from the top-left corner of the
// printable area, in device pixels. Page breaks are held back until something visible is
// drawn, so a document never ends on an empty page. Without a painter it draws nothing and
// only counts the pages, by the same rules, so the count is known before a page is sent.
class Player {
public:
    Player(QPainter* painter, QPrinter& printer, std::function<bool(int sent)> pageSent = {})
        : m_painter(painter),
          m_printer(printer),
          m_pageSent(std::move(pageSent)),
          m_pageHeight(printer.height()),
          m_dpiX(printer.logicalDpiX()),
          m_metrics(painter ? painter->font() : QFont(), &printer)
    {
        m_lineHeight = m_metrics.lineSpacing();
        m_ascent = m_metrics.ascent();
    }

    bool run(const PrintOperations& operations)
    {
        for (const PrintOperation& o : operations) {
            switch (o.op) {
            case PrintOp::SetType: setType(o); break;
            case PrintOp::Text:
                if (!text(o.text))
                    return false;
                break;
            case PrintOp::SetX: m_x = o.twips * m_dpiX / kTwipsPerInch; break;
            case PrintOp::EndLine:
                startLine(false);
                newLine();
                break;
            case PrintOp::NewPage:
                ++m_pendingPages;
                m_x = 0;
                m_y = 0;
                break;
            case PrintOp::EndDocument: return true;
            }
        }
        return true;
    }

    int pages() const { return m_pages; }
    bool cancelled() const { return m_cancelled; }

private:
    void setType(const PrintOperation& o)
    {
        const QFont font = typeFont(o);
        if (m_painter)
            m_painter->setFont(font);
        m_metrics = QFontMetricsF(font, &m_printer);
        m_lineHeight = m_metrics.lineSpacing();
        m_ascent = m_metrics.ascent();
    }

    // A line that would pass the bottom of the page goes to the top of the next one.
    bool startLine(bool visible)
    {
        if (m_pendingPages == 0 && m_y > 0 && m_y + m_lineHeight > m_pageHeight) {
            ++m_pendingPages;
            m_y = 0;
        }
        for (; visible && m_pendingPages > 0; --m_pendingPages) {
            // The page before is complete: it is sent unless the user stops here.
            if (m_pageSent && !m_pageSent(m_pages)) {
                m_cancelled = true;
                return false;
            }
            ++m_pages;
            if (m_painter && !m_printer.newPage())
                return false;
        }
        return true;
    }

    void newLine()
    {
        m_x = 0;
        m_y += m_lineHeight;
    }

    // CR LF, a lone CR and a lone LF each start a new line.
    bool text(const std::string& bytes)
    {
        std::size_t start = 0;
        while (true) {
            const std::size_t brk = bytes.find_first_of("\r\n", start);
            const std::size_t end = brk == std::string::npos ? bytes.size() : brk;
            if (!draw(std::string_view(bytes).substr(start, end - start)))
                return false;
            if (brk == std::string::npos)
                return true;
            newLine();
            start = brk + 1;
            if (bytes[brk] == '\r' && start < bytes.size() && bytes[start] == '\n')
                ++start;
        }
    }

    bool draw(std::string_view piece)
    {
        if (!startLine(!piece.empty()))
            return false;
        if (piece.empty() || !m_painter)
            return true;
        const QString s = fromCp1252(piece);
        m_painter->drawText(QPointF(m_x, m_y + m_ascent), s);
        m_x += m_metrics.horizontalAdvance(s);
        return true;
    }

    QPainter* m_painter;  // null: counting only
    QPrinter& m_printer;
    std::function<bool(int sent)> m_pageSent;
    const double m_pageHeight;
    const double m_dpiX;
    QFontMetricsF m_metrics;  // of the current type, on this printer
    double m_x = 0;
    double m_y = 0;
    double m_lineHeight = 0;
    double m_ascent = 0;
    int m_pendingPages = 0;
    int m_pages = 1;
    bool m_cancelled = false;
};

std::filesystem::path fsPath(const QString& path)
{
#ifdef _WIN32
    return std::filesystem::path(path.toStdWString());
#else
    return std::filesystem::path(QFile::encodeName(path).toStdString());
#endif
}

// Qt's PDF writer does not report a failed write; a complete file ends with its trailer.
bool isCompletePdf(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() < 16)
        return false;
    file.seek(file.size() - 16);
    return file.read(16).contains("%%EOF");
}

} // namespace

QtPrintingSurface::QtPrintingSurface(QPrinter& printer) : m_printer(printer) {}

QString QtPrintingSurface::matchedFamily(const QString& typeName) const
{
    return QFontInfo(QFont(typeName)).family();
}

PrintTarget QtPrintingSurface::printerTarget() const
{
    // Without any printer Qt starts on a PDF output with no file: that is no target yet.
    if (m_printer.outputFormat() == QPrinter::PdfFormat)
        return m_printer.outputFileName().isEmpty() ? PrintTarget()
                                                    : PrintTarget{true, m_printer.outputFileName()};
    if (!m_printer.isValid() || m_printer.printerName().isEmpty())
        return {};
    return {false, m_printer.printerName()};
}

PrintTarget QtPrintingSurface::target() const
{
    const PrintTarget where = printerTarget();
    if (where.toPdf && where.name != m_pdfChosen)
        return {};
    return where;
}

void QtPrintingSurface::printToPdf(const QString& path)
{
    m_printer.setOutputFormat(QPrinter::PdfFormat);
    m_printer.setOutputFileName(path);
    m_pdfChosen = path;
}

PrintOutcome QtPrintingSurface::play(const PrintOperations& operations, const PageProgress& progress)
{
    const PrintTarget where = printerTarget();
    if (where.name.isEmpty())
        return {PrintFailure::NoPrinter, where.name};
    return where.toPdf ? playToPdf(operations, progress) : playOnPrinter(operations, where.name, progress);
}

PrintOutcome QtPrintingSurface::playOnPrinter(const PrintOperations& operations,
                                              const QString& target, const PageProgress& progress)
{
    int total = 1;
    if (progress) {
        Player counter(nullptr, m_printer);
        counter.run(operations);
        total = counter.pages();
        if (!progress(0, total))
            return {PrintFailure::Cancelled, target};
    }
    QPainter painter;
    if (!painter.begin(&m_printer))
        return {PrintFailure::PrinterError, target};
    Player player(&painter, m_printer, [&](int sent) { return !progress || progress(std::min(sent, total), total); });
    bool played = player.run(operations);
    // The last page goes with the end of the document; the user may still stop before it.
    bool cancelled = player.cancelled();
    if (played && progress && !progress(total, total)) {
        played = false;
        cancelled = true;
    }
    if (!played)
        m_printer.abort();
    const bool ended = painter.end();
    if (cancelled)
        return {PrintFailure::Cancelled, target};
    if (!played || !ended || m_printer.printerState() == QPrinter::Error
        || m_printer.printerState() == QPrinter::Aborted)
        return {PrintFailure::PrinterError, target};
    return {PrintFailure::None, target};
}

PrintOutcome QtPrintingSurface::playToPdf(const PrintOperations& operations, const PageProgress& progress)
{
    const QString target = m_printer.outputFileName();
    const PrintOutcome cannotWrite{PrintFailure::CannotWrite, target};
    const QFileInfo info(target);
    if (info.isDir())
        return cannotWrite;

    // Written beside the chosen file, so the final rename stays on one disk.
    QTemporaryFile temp(info.absolutePath() + QStringLiteral("/.quorvex-XXXXXX.pdf"));
    if (!temp.open())
        return cannotWrite;
    temp.close();
    temp.setPermissions(info.exists() ? info.permissions()
                                      : QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                            | QFileDevice::ReadGroup | QFileDevice::ReadOther);

    m_printer.setOutputFileName(temp.fileName());
    const PrintOutcome printed = playOnPrinter(operations, target, progress);
    m_printer.setOutputFileName(target);
    if (printed.failure == PrintFailure::Cancelled)
        return printed;
    if (!printed || !isCompletePdf(temp.fileName()))
        return cannotWrite;

    std::error_code error;
    std::filesystem::rename(fsPath(temp.fileName()), fsPath(target), error);
    if (error)
        return cannotWrite;
    temp.setAutoRemove(false);
    return {PrintFailure::None, target};
}

} // namespace quorvex
