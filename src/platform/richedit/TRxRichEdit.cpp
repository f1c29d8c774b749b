#include "platform/richedit/TRxRichEdit.h"

#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QFontMetrics>
#include <QIODevice>
#include <QPainter>
#include <QPrinter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <string_view>

#include "RichText/RtfReader.h"
#include "platform/errors/Messages.h"
#include "platform/errors/PlatformError.h"
#include "platform/files/FileContent.h"
#include "platform/richedit/RangeLayout.h"
#include "platform/richedit/RtfReader.h"
#include "platform/richedit/RtfWriter.h"

namespace platform {
namespace {

// Ends a print job and drops the page layout whatever happens.
class PrintJobGuard {
public:
    PrintJobGuard(TRxRichEdit& pane, QPainter& painter) : m_pane(pane), m_painter(painter) {}
    ~PrintJobGuard() {
        m_pane.ReleaseFormatRange();
        m_painter.end();
    }
    PrintJobGuard(const PrintJobGuard&) = delete;
    PrintJobGuard& operator=(const PrintJobGuard&) = delete;

private:
    TRxRichEdit& m_pane;
    QPainter& m_painter;
};

// Shows the vertical scroll bar of a pane that shows it only when needed, for
// the length of a load, and then gives the pane its own policy back. A bar
// that appears once a long document has been laid out narrows the text and
// makes the pane lay the whole document out a second time; shown beforehand,
// the one layout of the load already has the final width. A document short
// enough to need no bar is laid out again without it, which costs little.
class ScrollBarShownDuringLoad {
public:
    explicit ScrollBarShownDuringLoad(QTextEdit& pane)
        : m_pane(pane), m_policy(pane.verticalScrollBarPolicy()) {
        if (m_policy == Qt::ScrollBarAsNeeded) {
            m_pane.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        }
    }
    ~ScrollBarShownDuringLoad() { m_pane.setVerticalScrollBarPolicy(m_policy); }
    ScrollBarShownDuringLoad(const ScrollBarShownDuringLoad&) = delete;
    ScrollBarShownDuringLoad& operator=(const ScrollBarShownDuringLoad&) = delete;

private:
    QTextEdit& m_pane;
    Qt::ScrollBarPolicy m_policy;
};

// While a document is loaded the pane's document has no page, so that its
// layout ignores each change; given its page back, the document is laid out
// from the top a few screens at a time, the rest between events, rather than
// all of it before the pane is painted.
class LayoutDeferredDuringLoad {
public:
    explicit LayoutDeferredDuringLoad(QTextDocument& document)
        : m_document(document), m_pageSize(document.pageSize()) {
        m_document.setPageSize(QSizeF(0, 0));
    }
    ~LayoutDeferredDuringLoad() { m_document.setPageSize(m_pageSize); }
    LayoutDeferredDuringLoad(const LayoutDeferredDuringLoad&) = delete;
    LayoutDeferredDuringLoad& operator=(const LayoutDeferredDuringLoad&) = delete;

private:
    QTextDocument& m_document;
    QSizeF m_pageSize;
};

// While a document is loaded the pane has no cursor: its own would follow
// the text to the end, or select it all, and leaving there would lay the
// whole document out to repaint it. Afterwards it stands at the start.
class CursorParkedDuringLoad {
public:
    explicit CursorParkedDuringLoad(QTextEdit& pane) : m_pane(pane) {
        m_pane.setTextCursor(QTextCursor());
    }
    ~CursorParkedDuringLoad() {
        m_pane.setTextCursor(QTextCursor(m_pane.document()));
        m_pane.ensureCursorVisible();
    }
    CursorParkedDuringLoad(const CursorParkedDuringLoad&) = delete;
    CursorParkedDuringLoad& operator=(const CursorParkedDuringLoad&) = delete;

private:
    QTextEdit& m_pane;
};

}  // namespace

TRxRichEdit::TRxRichEdit(QWidget* parent) : QTextEdit(parent) {
    ApplyTabStops();
    connect(document(), &QTextDocument::contentsChanged, this, [this] { ReleaseFormatRange(); });
}

TRxRichEdit::~TRxRichEdit() = default;

void TRxRichEdit::ClearContent() {
    clear();
    document()->setModified(false);
}

void TRxRichEdit::SetRichTextMode(bool rich) {
    m_richText = rich;
    setAcceptRichText(rich);
}

void TRxRichEdit::LoadFromStream(QIODevice& stream) {
    if (!stream.isReadable()) {
        throw PlatformError(messages::kStreamLoadError);
    }
    const QByteArray data = stream.readAll();
    const std::string_view bytes(data.constData(), static_cast<std::size_t>(data.size()));

    // The whole stream is inserted inside one edit block (InsertRtfDocument,
    // ReadPlainText) while the layout waits, so the pane lays the document
    // out once, when it is complete, beginning with what it shows.
    const ScrollBarShownDuringLoad scrollBar(*this);
    QTextCursor cursor = textCursor();
    const CursorParkedDuringLoad parked(*this);
    const LayoutDeferredDuringLoad deferred(*document());
    if (m_streamMode == StreamMode::WholeContent) {
        cursor.select(QTextCursor::Document);
    }
    if (m_richText && RichText::LooksLikeRtf(bytes)) {
        const RichText::RtfDocument read = RichText::ReadRtf(bytes);
        InsertRtfDocument(cursor, read);
        if (read.defaultTabTwips) {
            SetDefaultTabTwips(*read.defaultTabTwips);
        }
    } else {
        ReadPlainText(cursor, bytes);
    }
}

QByteArray TRxRichEdit::ContentForStream() const {
    int start = 0;
    int end = TextLength();
    if (m_streamMode == StreamMode::Selection) {
        start = textCursor().selectionStart();
        end = textCursor().selectionEnd();
    }
    const std::string bytes = m_richText ? WriteRtf(*document(), start, end, m_defaultTabTwips)
                                         : WritePlainText(*document(), start, end);
    return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

void TRxRichEdit::SaveToFile(const QString& fileName, const std::optional<RtfPage>& page) const {
    const QFileInfo info(fileName);
    int start = 0;
    int end = TextLength();
    if (m_streamMode == StreamMode::Selection) {
        start = textCursor().selectionStart();
        end = textCursor().selectionEnd();
    }
    const bool plain =
        !m_richText || info.suffix().compare(QLatin1String("txt"), Qt::CaseInsensitive) == 0;
    const std::string text = plain ? WritePlainText(*document(), start, end)
                                   : WriteRtf(*document(), start, end, m_defaultTabTwips, page);
    // A full disk, a pulled-out stick or a killed program never leaves the
    // teacher's earlier file truncated: it stays whole or the new one is.
    if (!ReplaceFileContent(fileName.toStdString(), text)) {
        // Named with the system's separators, as the teacher knows file names
        // (backslashes on Windows).
        throw PlatformError(
            messages::CannotCreateFile(QDir::toNativeSeparators(info.absoluteFilePath())));
    }
}

QString TRxRichEdit::PlainText() const {
    QTextCursor cursor(document());
    cursor.select(QTextCursor::Document);
    QString text = cursor.selectedText();
    text.replace(QChar::ParagraphSeparator, QStringLiteral("\r\n"));
    text.replace(QChar::LineSeparator, QStringLiteral("\r\n"));
    return text;
}

int TRxRichEdit::LineCount() const {
    int lines = 0;
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
        lines += 1 + static_cast<int>(block.text().count(QChar::LineSeparator));
    }
    if (document()->lastBlock().length() == 1) {
        --lines;  // the empty last line
    }
    return lines;
}

int TRxRichEdit::TextLength() const {
    return document()->characterCount() - 1;
}

void TRxRichEdit::SetDefaultTabTwips(int twips) {
    m_defaultTabTwips = twips;
    ApplyTabStops();
}

void TRxRichEdit::ApplyTabStops() {
    setTabStopDistance(static_cast<qreal>(m_defaultTabTwips) * logicalDpiX() / kTwipsPerInch);
}

std::optional<int> TRxRichEdit::FormatRange(QPaintDevice& device, const QRect& rectTwips, int start,
                                            QPainter* painter) {
    if (!m_rangeLayout || !m_rangeLayout->Serves(device, rectTwips.width())) {
        m_rangeLayout = std::make_unique<RangeLayout>(*document(), device, rectTwips.width(),
                                                      m_defaultTabTwips);
    }
    return m_rangeLayout->Format(start, rectTwips, painter);
}

void TRxRichEdit::ReleaseFormatRange() {
    m_rangeLayout.reset();
}

void TRxRichEdit::PrintAsJob(QPrinter& printer, const QString& title,
                             const std::function<QString(int page)>& pageMark) {
    // One call is one copy of the whole content: a copy count or a page range
    // left in the printer by its dialog must not multiply or cut the job.
    printer.setCopyCount(1);
    printer.setPrintRange(QPrinter::AllPages);
    printer.setDocName(title);
    QPainter painter;
    if (!painter.begin(&printer)) {
        throw PlatformError(messages::kInvalidPrinter);
    }
    PrintJobGuard job(*this, painter);
    // The printable page in twips, remainders dropped.
    const QRect page(0, 0, printer.width() * kTwipsPerInch / printer.logicalDpiX(),
                     printer.height() * kTwipsPerInch / printer.logicalDpiY());
    // The mark: the documents' 9-point Arial, a line and a half high with the
    // space under it. The text keeps its width, so the lines break as on the
    // first page; only fewer of them fit on the later pages.
    QFont markFont(QStringLiteral("Arial"));
    markFont.setPointSizeF(9);
    const int markHeight = QFontMetrics(markFont, &printer).height();
    const int markBand = markHeight * 3 / 2 * kTwipsPerInch / printer.logicalDpiY();
    const int length = TextLength();
    int position = 0;
    for (int number = 1;; ++number) {
        QRect area = page;
        if (pageMark && number > 1) {
            painter.save();
            painter.setFont(markFont);
            painter.setPen(Qt::black);
            painter.drawText(QRect(0, 0, printer.width(), markHeight),
                             Qt::AlignRight | Qt::AlignTop, pageMark(number));
            painter.restore();
            area.setTop(markBand);
        }
        const std::optional<int> next = FormatRange(printer, area, position, &painter);
        if (!next || *next >= length) {
            break;
        }
        if (!printer.newPage()) {
            throw PlatformError(messages::kInvalidPrinter);
        }
        position = *next;
    }
}

}  // namespace platform
