#pragma once

#include <QColor>
#include <QString>
#include <QTextCharFormat>
#include <QTextCursor>

#include <map>
#include <optional>
#include <utility>
#include <vector>

#include "platform/richedit/RtfCharacterState.h"

namespace platform {

// Writes the text that an RTF stream carries into a document through a
// cursor: it keeps the font and colour tables, turns character states into
// character formats and inserts text run by run, a run being the longest
// stretch of text in one state.
class RtfDocumentBuilder {
public:
    explicit RtfDocumentBuilder(QTextCursor& cursor) : m_cursor(cursor) {}

    void SetDefaultFont(int entry);
    void DefineFont(int entry, const QString& name);
    // Starts a new colour table; the entries follow in order.
    void BeginColourTable();
    // An entry with no colour is the automatic colour.
    void AddColour(const std::optional<QColor>& colour);

    void Append(QChar character, const RtfCharacterState& state);
    void Append(const QString& text, const RtfCharacterState& state);
    void EndParagraph(const RtfCharacterState& state);
    // The state in force when the document's own group closed; an empty last
    // line takes it.
    void NoteDocumentEnd(const RtfCharacterState& state);
    // Inserts what is still pending; `state` is the one in force at the end of
    // the stream.
    void Finish(const RtfCharacterState& state);

private:
    void StartRun(const RtfCharacterState& state);
    void Flush();
    // Forgets the formats built so far, after a change of the tables they
    // were built from.
    void TablesChanged();
    QTextCharFormat FormatOf(const RtfCharacterState& state);
    std::optional<QColor> Colour(int entry) const;

    QTextCursor& m_cursor;

    int m_defaultFont = 0;
    std::map<int, QString> m_fonts;
    std::vector<std::optional<QColor>> m_colours;

    QString m_run;
    RtfCharacterState m_runState;
    QTextCharFormat m_runFormat;
    std::optional<QTextCharFormat> m_formatAtDocumentEnd;
    // The formats built so far for the character states met, while the font
    // and colour tables stay as they are: a document switches back and forth
    // between a few states, and a shared format is also hashed only once
    // when the text is inserted.
    std::vector<std::pair<RtfCharacterState, QTextCharFormat>> m_formats;
};

}  // namespace platform
