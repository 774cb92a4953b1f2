// Fuzz target: the map editor's map file writer.
//
// The input drives the editor, then saves: two bytes choose the size lists' items (as signed
// numbers, so that -1, "nothing chosen", and items past the list are tried), then commands of
// three bytes each until a zero command byte: a palette click (tag), a unit count typed
// (the next two bytes as a signed number, or as text that is no number), or a click on grid
// cell (column, row) with a unit list item. The rest are the seven texts of the window,
// separated by zero bytes, as UTF-8 or (bit 0 of the first byte) as UTF-16.
// Checked: the refusal and the pieces agree on which texts can be saved; a saved file holds
// exactly the pieces, and its field lines number every field once, in order, with the terrain
// and units the editor holds; a failed save leaves no file and says why once.

#include "editor/map_editor.h"
#include "editor/map_file.h"

#include "records/numbers.h"
#include "records/unit_kinds.h"
#include "records/user_messages.h"
#include "records/windows1250.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

// Aborts, naming the line of the failed check.
void check(bool condition, int line = __builtin_LINE()) {
    if (!condition) {
        std::fprintf(stderr, "check failed at %s:%d\n", __FILE__, line);
        std::abort();
    }
}

class Input {
  public:
    Input(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    bool empty() const { return pos_ >= size_; }
    uint8_t byte() { return pos_ < size_ ? data_[pos_++] : 0; }
    const uint8_t* rest() const { return data_ + pos_; }
    size_t restSize() const { return size_ - pos_; }

  private:
    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
};

QString decoded(QByteArrayView bytes, bool utf16) {
    if (!utf16)
        return QString::fromUtf8(bytes);
    QString text;
    for (qsizetype i = 0; i + 1 < bytes.size(); i += 2)
        text.append(QChar(char16_t(uint8_t(bytes[i]) | (uint8_t(bytes[i + 1]) << 8))));
    return text;
}

// The field line of cell (x, y) as the editor holds it.
QByteArray expectedFieldLine(const kx::MapEditor& editor, int x, int y) {
    const int32_t unitCode = editor.editUnits(x, y);
    const int32_t kind = kx::wrapMod(unitCode, 10);
    const QByteArray count = kind != 0 ? QByteArray::number(kx::wrapDiv(unitCode, 10)) : "0";
    return "<fld><id>" + QByteArray::number(y * editor.width() + x) + "</id><t>" +
           QByteArray::number(kx::fileTerrainType(editor.editFields(x, y))) + "</t><u>" +
           kx::encodeWindows1250(kx::unitName(kind)).value_or("?") + "</u><c>" + count +
           "</c></fld>\n";
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 8192)
        return 0;
    Input input(data, size);
    const bool utf16 = input.byte() & 1;

    kx::MapEditor editor;
    editor.cbXChange(int8_t(input.byte()), int8_t(input.byte()));
    for (int commands = 0; commands < 256; ++commands) {
        const uint8_t command = input.byte();
        if (command == 0)
            break;
        const uint8_t a = input.byte();
        const uint8_t b = input.byte();
        switch (command % 4) {
        case 0:
            editor.image1Click(int8_t(a));
            break;
        case 1:
            editor.edUnitChange(QString::number(int16_t(a | (b << 8))));
            break;
        case 2:
            // Text that is no number leaves the count as it was.
            editor.edUnitChange(a & 1 ? QStringLiteral("-") : QString());
            break;
        default: {
            const int32_t before = editor.paintCount;
            editor.dgMapSelectCell(int8_t(a), int8_t(b), int8_t(command) >> 2);
            check(editor.paintCount == before);
            break;
        }
        }
        check(editor.width() >= kx::kMinMapSide && editor.width() <= kx::kMaxMapSide);
        check(editor.height() >= kx::kMinMapSide && editor.height() <= kx::kMaxMapSide);
    }
    // A count typed as a large number, as the edit allows.
    if (!input.empty() && (data[0] & 2)) {
        editor.edUnitChange(QStringLiteral("2147483647"));
        for (int y = 0; y < editor.height(); y += 2)
            editor.dgMapSelectCell(1, y + 1, 1 + y % 6);
    }

    QStringList texts =
        decoded(QByteArrayView(input.rest(), qsizetype(input.restSize())), utf16).split(QChar(0));
    while (texts.size() < 7)
        texts.append(QStringLiteral("1"));
    const kx::MapTexts mapTexts{texts[0], texts[1], texts[2], texts[3],
                                texts[4], texts[5], texts[6]};

    const QString refusal = kx::mapTextsRefusal(mapTexts);
    const auto pieces = kx::mapFilePieces(editor, mapTexts);
    if (refusal.isEmpty())
        check(pieces.has_value());

    if (pieces) {
        const int width = editor.width();
        const int height = editor.height();
        check(pieces->size() == 12 + width * height + height + 1);
        check(pieces->at(3) == "<width>" + QByteArray::number(width) + "</width>\n");
        check(pieces->at(4) == "<height>" + QByteArray::number(height) + "</height>\n");
        check(pieces->at(11).endsWith("</max>\n\n"));
        qsizetype index = 12;
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x)
                check(pieces->at(index++) == expectedFieldLine(editor, x, y));
            check(pieces->at(index++) == "\n");
        }
        check(pieces->at(index) == "</world>");
    }

    static QTemporaryDir dir;
    check(dir.isValid());
    kx::RecordedMessages messages;
    QString savedPath;
    const bool saved = kx::saveMap(editor, mapTexts, dir.path(), messages, &savedPath);
    const QStringList left =
        QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    // Texts that may be saved are saved, unless the name is too long for a file name.
    if (refusal.isEmpty() && (mapTexts.edName + QStringLiteral("1.xml")).toUtf8().size() <= 255)
        check(saved);
    if (saved) {
        check(refusal.isEmpty() && messages.shown.isEmpty());
        check(left.size() == 1 && savedPath == dir.path() + QLatin1Char('/') + left[0]);
        check(left[0] == mapTexts.edName + QStringLiteral(".xml"));
        QFile file(savedPath);
        check(file.open(QIODevice::ReadOnly));
        check(file.readAll() == pieces->join());
        file.close();
        check(file.remove());
    } else {
        check(messages.shown.size() == 1 && !messages.shown[0].isEmpty());
        check(left.isEmpty());
    }
    return 0;
}
