#pragma once

#include <QByteArray>
#include <QPoint>
#include <QRect>
#include <QString>

#include <cstdint>
#include <vector>

// A reader of metafile bytes for the tests, apart from the player: it lists
// the records and follows the object table the way another program would.
namespace emftest {

struct Record {
    std::uint32_t type = 0;
    std::uint32_t offset = 0;
    std::uint32_t size = 0;
};

std::uint32_t U32(const QByteArray& data, std::uint32_t offset);
std::int32_t I32(const QByteArray& data, std::uint32_t offset);

// The records from the start of `data`, following the size fields; stops at
// a size that is not a multiple of 4, smaller than 8 or past the end.
std::vector<Record> Records(const QByteArray& data);

struct Font {
    QString family;
    std::int32_t height = 0;
    std::int32_t weight = 0;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
};

// One EMR_EXTTEXTOUTW with the font and text colour in force at that point.
struct TextRun {
    QString text;
    QPoint reference;
    std::vector<std::int32_t> advances;
    Font font;
    std::uint32_t color = 0;
};

std::vector<TextRun> TextRuns(const QByteArray& data);

// The rectangles drawn with the brush colour in force (0x00BBGGRR), as
// left, top, right, bottom of the record.
struct FilledBox {
    QRect box;
    std::uint32_t brushColor = 0;
    bool nullPen = false;
};
std::vector<FilledBox> Boxes(const QByteArray& data);

}  // namespace emftest
