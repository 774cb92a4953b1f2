#include "map_file.h"

#include "records/atomic_file.h"
#include "records/file_path.h"
#include "records/numbers.h"
#include "records/unit_kinds.h"
#include "records/user_messages.h"
#include "records/windows1250.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QIODevice>
#include <QRandomGenerator>
#include <QScopeGuard>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace kx {

namespace {

// The description is one line in the file: the memo's text up to its first line break.
QString descriptionLine(const QString& text) {
    qsizetype end = 0;
    while (end < text.size()) {
        const char16_t c = text[end].unicode();
        if (c == u'\n' || c == u'\r' || c == u'\u2028' || c == u'\u2029')
            break;
        ++end;
    }
    return text.left(end);
}

// The character of `text` at `index`, both halves of a surrogate pair included.
QString characterAt(const QString& text, qsizetype index) {
    const bool pair = text[index].isHighSurrogate() && index + 1 < text.size() &&
                      text[index + 1].isLowSurrogate();
    return text.mid(index, pair ? 2 : 1);
}

// The first of '&', '<', '>' and '"' in `text`, or -1.
qsizetype firstMarkupCharacter(const QString& text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c == u'&' || c == u'<' || c == u'>' || c == u'"')
            return i;
    }
    return -1;
}

// Gives `from` the name `to` unless something already has that name: 0, or the errno value.
int renameNoReplace(const QString& from, const QString& to) {
    const QByteArray source = QFile::encodeName(from);
    const QByteArray target = QFile::encodeName(to);
    if (::renameat2(AT_FDCWD, source.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) ==
        0)
        return 0;
    if (errno != EINVAL && errno != ENOSYS)
        return errno;
    // A file system without the no-replace rename: a hard link fails on an existing name too.
    if (::link(source.constData(), target.constData()) != 0)
        return errno;
    ::unlink(source.constData());
    return 0;
}

bool taken(const QString& path) {
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

QByteArray element(const char* tag, const QByteArray& value) {
    return QByteArray("<") + tag + '>' + value + "</" + tag + ">\n";
}

QByteArray fieldLine(int id, int32_t fieldCode, int32_t unitCode) {
    const int32_t kind = wrapMod(unitCode, 10);
    QByteArray line = "<fld><id>" + QByteArray::number(id) + "</id><t>" +
                      QByteArray::number(fileTerrainType(fieldCode)) + "</t><u>" +
                      encodeWindows1250(unitName(kind)).value_or(QByteArray()) + "</u>";
    if (kind != 0)
        line += "<c>" + QByteArray::number(wrapDiv(unitCode, 10)) + "</c></fld>\n";
    else
        line += "<c>0</c></fld>\n";
    return line;
}

} // namespace

int32_t fileTerrainType(int32_t code) {
    switch (code) {
    case 2:
    case 7:
        return 1;
    case 3:
    case 8:
        return 2;
    case -1:
        return 3;
    default:
        return 0;
    }
}

bool writeText(QIODevice& file, QByteArrayView text) {
    return writeAll(file, text);
}

QString mapTextsRefusal(const MapTexts& texts) {
    for (const QString* setting : {&texts.edMinE, &texts.edMaxE, &texts.edLimit, &texts.edSpeed})
        if (!parseDecimalInt(QStringView(*setting)))
            return QString::fromUtf8("Špatné parametry!");

    // The name is the file's name: without one the file would be a hidden ".xml".
    if (texts.edName.isEmpty())
        return QString::fromUtf8("Pole „Jméno“ je prázdné. Zadejte prosím jméno mapy, podle "
                                 "kterého se pojmenuje její soubor.");

    const struct {
        const char* field;
        QString text;
    } saved[] = {{"Jméno", texts.edName},
                 {"Autor", texts.edAuthor},
                 {"Popis", descriptionLine(texts.mPopis)}};
    for (const auto& [field, text] : saved) {
        const qsizetype bad = firstUnencodableWindows1250(text);
        if (bad >= 0)
            return QString::fromUtf8("Pole „%1“ obsahuje znak „%2“, který nelze uložit v kódování "
                                     "mapy (Windows-1250). Nahraďte ho prosím jiným znakem.")
                .arg(QString::fromUtf8(field), characterAt(text, bad));
        // The texts go into the file as typed, so a character that has a meaning in XML would
        // leave a file the game cannot read.
        const qsizetype markup = firstMarkupCharacter(text);
        if (markup >= 0)
            return QString::fromUtf8("Pole „%1“ obsahuje znak „%2“, který soubor mapy nesmí "
                                     "obsahovat (hra by soubor nepřečetla). Nahraďte ho prosím "
                                     "jiným znakem.")
                .arg(QString::fromUtf8(field), text.at(markup));
    }

    // The file goes into the current folder: its name must not lead anywhere else.
    for (const QChar separator : {QChar(u'/'), QChar(u'\\')})
        if (texts.edName.contains(separator))
            return QString::fromUtf8("Jméno mapy nesmí obsahovat znak „%1“.").arg(separator);
    return QString();
}

std::optional<QList<QByteArray>> mapFilePieces(const MapEditor& editor, const MapTexts& texts) {
    const auto name = encodeWindows1250(texts.edName);
    const auto author = encodeWindows1250(texts.edAuthor);
    const auto description = encodeWindows1250(descriptionLine(texts.mPopis));
    const auto speed = encodeWindows1250(texts.edSpeed);
    const auto limit = encodeWindows1250(texts.edLimit);
    const auto minE = encodeWindows1250(texts.edMinE);
    const auto maxE = encodeWindows1250(texts.edMaxE);
    if (!name || !author || !description || !speed || !limit || !minE || !maxE)
        return std::nullopt;

    const int width = editor.width();
    const int height = editor.height();
    QList<QByteArray> pieces;
    pieces.reserve(14 + width * height + height);
    pieces << "<?xml version=\"1.0\" encoding=\"Windows-1250\" ?>\n"
           << "<world>\n"
           << element("name", *name) << element("width", QByteArray::number(width))
           << element("height", QByteArray::number(height)) << element("speed", *speed)
           << element("limit", *limit) << element("description", *description)
           << element("author", *author) << "<class>0</class>\n"
           << element("min", *minE) << element("max", *maxE) + '\n';
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            pieces << fieldLine(y * width + x, editor.editFields(x, y), editor.editUnits(x, y));
        pieces << "\n";
    }
    pieces << "</world>";
    return pieces;
}

QString freeMapFileName(const QString& directory, const QString& name) {
    const QString folder = directory.isEmpty() ? QStringLiteral(".") : directory;
    QString path = childPath(folder, name + QStringLiteral(".xml"));
    for (qint64 n = 1; taken(path); ++n)
        path = childPath(folder, name + QString::number(n) + QStringLiteral(".xml"));
    return path;
}

bool saveMap(const MapEditor& editor, const MapTexts& texts, const QString& directory,
             UserMessages& messages, QString* savedPath) {
    const QString refusal = mapTextsRefusal(texts);
    const auto pieces = refusal.isEmpty() ? mapFilePieces(editor, texts) : std::nullopt;
    if (!pieces) {
        messages.showMessage(refusal);
        return false;
    }

    // The map goes into a hidden file beside its target and gets its name only when it is
    // complete, so a failure leaves no partial map. The name is given without replacing
    // anything: a file that appears under the chosen name meanwhile makes the next free name
    // be taken. Unbuffered: every piece is one write, and a failing write is seen at once.
    QString target = freeMapFileName(directory, texts.edName);
    const auto fail = [&](const char* text, const QString& reason) {
        messages.showMessage(QString::fromUtf8(text).arg(QDir::toNativeSeparators(target), reason));
        return false;
    };
    const QString folder = QFileInfo(target).path();
    QFile file;
    for (;;) {
        file.setFileName(childPath(
            folder, QStringLiteral(".kxmap-%1.tmp")
                        .arg(QRandomGenerator::global()->generate64(), 16, 16, QLatin1Char('0'))));
        if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered))
            break;
        if (!taken(file.fileName()))
            return fail("Soubor mapy „%1“ se nepodařilo vytvořit:\n%2", file.errorString());
    }
    // Removes the hidden file on every way out but success.
    auto discard = qScopeGuard([&file] { file.remove(); });
    for (const QByteArray& piece : *pieces)
        if (!writeText(file, piece))
            return fail("Do souboru mapy „%1“ se nepodařilo zapsat:\n%2", file.errorString());
    if (::fsync(file.handle()) != 0)
        return fail("Do souboru mapy „%1“ se nepodařilo zapsat:\n%2", qt_error_string(errno));
    file.close();
    for (;;) {
        const int error = renameNoReplace(file.fileName(), target);
        if (error == 0)
            break;
        if (error != EEXIST)
            return fail("Soubor mapy „%1“ se nepodařilo vytvořit:\n%2", qt_error_string(error));
        target = freeMapFileName(directory, texts.edName);
    }
    discard.dismiss();
    if (savedPath)
        *savedPath = target;
    return true;
}

bool button1Click(MapEditor& editor, const MapTexts& texts, const QString& directory,
                  UserMessages& messages, QString* savedPath) {
    bool saved = saveMap(editor, texts, directory, messages, savedPath);
    if (!saved &&
        messages.askYesNo(QString::fromUtf8("Chyba ukládání"),
                          QString::fromUtf8("Mapu se nepodařilo uložit. Opakovat?"), false))
        saved = saveMap(editor, texts, directory, messages, savedPath);
    if (saved)
        editor.drawingChanged = false;
    return saved;
}

} // namespace kx
