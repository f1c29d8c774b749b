#pragma once

#include <QRect>
#include <QString>
#include <QTextEdit>

#include "platform/richedit/RtfWriter.h"

#include <functional>
#include <memory>
#include <optional>

class QIODevice;
class QPaintDevice;
class QPainter;
class QPrinter;

namespace platform {

class RangeLayout;

// The rich-text pane: a QTextEdit that reads and writes RTF, lays its
// document out page by page on any paint device and prints it as one job.
// Every change of its content is signalled by QTextEdit::textChanged.
class TRxRichEdit : public QTextEdit {
    Q_OBJECT

public:
    // What reading a stream replaces and what writing one writes.
    enum class StreamMode { WholeContent, Selection };

    explicit TRxRichEdit(QWidget* parent = nullptr);
    ~TRxRichEdit() override;

    // Removes all content and clears the modified flag.
    void ClearContent();

    // In rich-text mode streams are RTF; otherwise they are plain text.
    void SetRichTextMode(bool rich);
    bool IsRichTextMode() const { return m_richText; }

    void SetStreamMode(StreamMode mode) { m_streamMode = mode; }
    StreamMode CurrentStreamMode() const { return m_streamMode; }

    // Reads a whole stream in place of the selection (or of the whole content)
    // as RTF, or as plain text when it is not RTF or the pane is in plain-text
    // mode; then puts the caret at the start and scrolls it into view. Throws
    // PlatformError "Erreur au chargement du flux" when the stream cannot be
    // read.
    void LoadFromStream(QIODevice& stream);

    // The selection (or the whole content) as the pane writes it: RTF, or
    // Windows-1252 plain text in plain-text mode.
    QByteArray ContentForStream() const;
    // Writes the selection (or the whole content) to a file, as plain text when
    // the name's extension is "txt" in any case; an RTF file carries `page`
    // when one is given. An existing file stays whole until the new one is
    // (ReplaceFileContent). Throws PlatformError "Impossible de créer le
    // fichier <full name>", in the system's separators, when the file cannot
    // be created or written.
    void SaveToFile(const QString& fileName,
                    const std::optional<RtfPage>& page = std::nullopt) const;

    // The text with CR LF between paragraphs.
    QString PlainText() const;
    // The number of lines of the text: paragraphs and line breaks, not the
    // wrapped lines of the screen, so that it does not depend on the pane's
    // width. An empty last line does not count: an empty pane has none.
    int LineCount() const;
    // Characters of the document, each paragraph end counting one, the last
    // (which every document has) excluded: the positions that FormatRange()
    // returns run up to this length.
    int TextLength() const;

    // Whether the Tab key types a tab (true) or moves the focus.
    void SetWantTabs(bool want) { setTabChangesFocus(!want); }
    bool WantTabs() const { return !tabChangesFocus(); }

    // Default tab stops, in twips; RTF's "\deftab" sets them when it is read.
    void SetDefaultTabTwips(int twips);
    int DefaultTabTwips() const { return m_defaultTabTwips; }

    // Lays the document out for `device` at the width of `rectTwips` and, from
    // the line that holds `start`, takes the lines that fit into the
    // rectangle; draws them with `painter` (active on `device`) when one is
    // given, or only measures. Returns the position of the first character not
    // drawn (TextLength() once the last line is in), or nothing when not even
    // one line fits, so that a page loop always ends. The layout is kept for
    // further pages on the same device until ReleaseFormatRange() or a change
    // of the content.
    std::optional<int> FormatRange(QPaintDevice& device, const QRect& rectTwips, int start,
                                   QPainter* painter = nullptr);
    void ReleaseFormatRange();

    // Prints the whole content as one job titled `title`, page after page, on
    // the printer's whole page with no margin of our own, one copy, all pages. Throws
    // PlatformError "Imprimante sélectionnée incorrecte" when the printer
    // cannot be opened for drawing. With `pageMark`, every page after the
    // first carries the mark's text for its number (2, 3...) at its top right,
    // in a band of its own above the document's lines: a page that comes
    // apart from the first still says what it belongs to. The first page is
    // the same with or without it.
    void PrintAsJob(QPrinter& printer, const QString& title,
                    const std::function<QString(int page)>& pageMark = {});

private:
    void ApplyTabStops();

    bool m_richText = true;
    StreamMode m_streamMode = StreamMode::WholeContent;
    int m_defaultTabTwips = 720;  // RTF's default, half an inch
    std::unique_ptr<RangeLayout> m_rangeLayout;
};

}  // namespace platform
