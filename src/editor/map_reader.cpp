#include "map_reader.h"

#include "records/cell_address.h"
#include "records/numbers.h"
#include "records/unit_kinds.h"
#include "records/windows1250.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QXmlStreamReader>

#include <algorithm>
#include <limits>

namespace kx {

namespace {

// A 20 x 20 map is some 20 kB; anything far beyond is no map.
constexpr qint64 kMaxMapFileSize = 1 << 20;
// The most units a field can hold: the unit code, count x 10 + kind, is a 32-bit integer.
constexpr int32_t kMaxUnitCount = (std::numeric_limits<int32_t>::max() - 6) / 10;

QString tr8(const char* text) {
    return QString::fromUtf8(text);
}

// The header elements, in the order the editor writes them.
const char* const kHeaderNames[] = {"name",        "width",  "height", "speed", "limit",
                                    "description", "author", "class",  "min",   "max"};

struct RawField {
    QString t;
    QString u;
    QString c;
};

class Parser {
  public:
    explicit Parser(const QString& text) : xml_(text) {}

    MapReading run() {
        if (!readDocument())
            return fail();
        return build();
    }

  private:
    MapReading fail() {
        if (error_.isEmpty()) {
            if (!xml_.hasError())
                error_ = tr8("Soubor není platný soubor mapy.");
            else if (xml_.error() == QXmlStreamReader::PrematureEndOfDocumentError)
                error_ = tr8("Soubor není platný soubor mapy: je neúplný, končí předčasně na "
                             "řádku %1.")
                             .arg(xml_.lineNumber());
            else
                error_ = tr8("Soubor není platný soubor mapy: poškozený zápis XML na řádku %1, "
                             "sloupci %2.")
                             .arg(xml_.lineNumber())
                             .arg(xml_.columnNumber());
        }
        return {std::nullopt, error_};
    }

    bool setError(const QString& text) {
        error_ = text;
        return false;
    }

    // The text of a leaf element; nested elements are refused.
    std::optional<QString> leafText() {
        const QString text = xml_.readElementText(QXmlStreamReader::ErrorOnUnexpectedElement);
        if (xml_.hasError()) {
            if (xml_.error() == QXmlStreamReader::UnexpectedElementError)
                setError(tr8("Soubor není platný soubor mapy: prvek <%1> nemá obsahovat další "
                             "prvky (řádek %2).")
                             .arg(xml_.name().toString())
                             .arg(xml_.lineNumber()));
            return std::nullopt;
        }
        return text;
    }

    bool readDocument() {
        if (!xml_.readNextStartElement()) {
            return xml_.hasError() ? false
                                   : setError(tr8("Soubor není mapa: neobsahuje žádný prvek."));
        }
        if (xml_.name() != u"world")
            return setError(tr8("Soubor není mapa: začíná prvkem <%1> místo <world>.")
                                .arg(xml_.name().toString()));
        while (xml_.readNextStartElement()) {
            const QString name = xml_.name().toString();
            if (name == u"fld") {
                if (!readField())
                    return false;
                continue;
            }
            if (!std::any_of(std::begin(kHeaderNames), std::end(kHeaderNames),
                             [&](const char* h) { return name == QLatin1String(h); }))
                return setError(tr8("Mapa obsahuje neznámý prvek <%1> (řádek %2).")
                                    .arg(name)
                                    .arg(xml_.lineNumber()));
            if (header_.contains(name))
                return setError(tr8("Údaj <%1> je v mapě dvakrát.").arg(name));
            const auto text = leafText();
            if (!text)
                return false;
            header_.insert(name, *text);
        }
        if (xml_.hasError())
            return false;
        // Nothing but white space may follow </world>: the reader takes anything else (a
        // second element, text) for damaged XML.
        while (!xml_.atEnd())
            xml_.readNext();
        return !xml_.hasError();
    }

    bool readField() {
        const qint64 line = xml_.lineNumber();
        QHash<QString, QString> parts;
        while (xml_.readNextStartElement()) {
            const QString name = xml_.name().toString();
            if (name != u"id" && name != u"t" && name != u"u" && name != u"c")
                return setError(
                    tr8("Políčko na řádku %1 obsahuje neznámý prvek <%2>.").arg(line).arg(name));
            if (parts.contains(name))
                return setError(
                    tr8("Políčko na řádku %1 má údaj <%2> dvakrát.").arg(line).arg(name));
            const auto text = leafText();
            if (!text)
                return false;
            parts.insert(name, *text);
        }
        if (xml_.hasError())
            return false;
        for (const char* needed : {"id", "t", "u", "c"})
            if (!parts.contains(QLatin1String(needed)))
                return setError(tr8("Políčku na řádku %1 chybí údaj <%2>.")
                                    .arg(line)
                                    .arg(QLatin1String(needed)));
        const auto id = parseDecimalInt(QStringView(parts.value(QStringLiteral("id"))));
        if (!id)
            return setError(tr8("Políčko na řádku %1 má číslo „%2“, které není celé číslo.")
                                .arg(line)
                                .arg(parts.value(QStringLiteral("id"))));
        if (fields_.contains(*id))
            return setError(tr8("Políčko číslo %1 je v mapě dvakrát.").arg(*id));
        fields_.insert(*id, {parts.value(QStringLiteral("t")), parts.value(QStringLiteral("u")),
                             parts.value(QStringLiteral("c"))});
        return true;
    }

    std::optional<int> side(const char* name, const char* caption) {
        const QString text = header_.value(QLatin1String(name));
        const auto value = parseDecimalInt(QStringView(text));
        if (!value || *value < kMinMapSide || *value > kMaxMapSide) {
            setError(tr8("%1 mapy „%2“ není mezi %3 a %4.")
                         .arg(tr8(caption), text)
                         .arg(kMinMapSide)
                         .arg(kMaxMapSide));
            return std::nullopt;
        }
        return *value;
    }

    MapReading build() {
        for (const char* name : kHeaderNames)
            if (!header_.contains(QLatin1String(name))) {
                setError(tr8("V mapě chybí údaj <%1>.").arg(QLatin1String(name)));
                return fail();
            }
        const auto width = side("width", "Šířka");
        const auto height = width ? side("height", "Výška") : std::nullopt;
        if (!width || !height)
            return fail();
        const struct {
            const char* name;
            const char* caption;
        } settings[] = {
            {"speed", "Rychlost"}, {"limit", "Limit"}, {"min", "Min. expy"}, {"max", "Max. expy"}};
        for (const auto& [name, caption] : settings) {
            const QString text = header_.value(QLatin1String(name));
            if (!parseDecimalInt(QStringView(text))) {
                setError(
                    tr8("Nastavení „%1“ mapy („%2“) není celé číslo.").arg(tr8(caption), text));
                return fail();
            }
        }
        if (header_.value(QStringLiteral("class")) != u"0") {
            setError(tr8("Údaj <class> mapy má být 0, je „%1“.")
                         .arg(header_.value(QStringLiteral("class"))));
            return fail();
        }

        LoadedMap map{
            Grid(*width, *height, kEditorNormal), Grid(*width, *height, 0),
            MapTexts{header_.value(QStringLiteral("name")), header_.value(QStringLiteral("author")),
                     header_.value(QStringLiteral("description")),
                     header_.value(QStringLiteral("speed")), header_.value(QStringLiteral("limit")),
                     header_.value(QStringLiteral("min")), header_.value(QStringLiteral("max"))}};
        const int count = *width * *height;
        for (auto it = fields_.cbegin(); it != fields_.cend(); ++it)
            if (it.key() < 0 || it.key() >= count) {
                setError(tr8("Políčko číslo %1 leží mimo mapu %2 × %3 (čísla 0 až %4).")
                             .arg(it.key())
                             .arg(*width)
                             .arg(*height)
                             .arg(count - 1));
                return fail();
            }
        for (int id = 0; id < count; ++id) {
            const int x = id % *width;
            const int y = id / *width;
            const QString where = tr8("Políčko %1 (číslo %2)").arg(cellAddressText(x, y)).arg(id);
            if (!fields_.contains(id)) {
                setError(
                    tr8("V mapě chybí políčko %1 (číslo %2).").arg(cellAddressText(x, y)).arg(id));
                return fail();
            }
            const RawField& raw = fields_[id];
            static const int32_t kTerrains[] = {kEditorNormal, kEditorSwamp, kEditorRock,
                                                kEditorImpassable};
            const auto t = parseDecimalInt(QStringView(raw.t));
            if (!t || *t < 0 || *t > 3) {
                setError(tr8("%1 má neznámý terén „%2“ (známé jsou 0 až 3).").arg(where, raw.t));
                return fail();
            }
            const int32_t terrain = kTerrains[*t];
            int32_t kind = 0;
            if (!raw.u.isEmpty()) {
                for (int32_t k = 1; k <= 6 && kind == 0; ++k)
                    if (unitName(k) == raw.u)
                        kind = k;
                if (kind == 0) {
                    setError(tr8("%1 má neznámou jednotku „%2“.").arg(where, raw.u));
                    return fail();
                }
            }
            const auto c = parseDecimalInt(QStringView(raw.c));
            if (!c || (kind == 0 && *c != 0) || (kind != 0 && (*c <= 0 || *c > kMaxUnitCount))) {
                setError(kind == 0
                             ? tr8("%1 nemá jednotky, ale jejich počet je „%2“.").arg(where, raw.c)
                             : tr8("%1 má počet jednotek „%2“; musí to být kladné celé "
                                   "číslo.")
                                   .arg(where, raw.c));
                return fail();
            }
            if (kind != 0 && terrain == kEditorImpassable) {
                setError(tr8("%1 je nedobytné, a přesto na něm stojí jednotky.").arg(where));
                return fail();
            }
            map.editFields(x, y) = kind != 0 ? terrain + kEditorUnitsFlag : terrain;
            map.editUnits(x, y) = kind != 0 ? *c * 10 + kind : 0;
        }
        return {std::move(map), QString()};
    }

    QXmlStreamReader xml_;
    QString error_;
    QHash<QString, QString> header_;
    QHash<int, RawField> fields_;
};

} // namespace

MapReading readMap(QByteArrayView bytes) {
    // The text is decoded here and the XML reader ignores the declaration of a text it is
    // given, so the declared encoding is checked on the bytes.
    static const QRegularExpression declaration(
        QStringLiteral(R"(^\s*<\?xml[^>]*\bencoding\s*=\s*["']([^"']*)["'])"));
    const auto match =
        declaration.match(QString::fromLatin1(bytes.first(std::min<qsizetype>(bytes.size(), 200))));
    if (match.hasMatch() && match.captured(1).compare(u"Windows-1250", Qt::CaseInsensitive) != 0)
        return {std::nullopt, tr8("Soubor je v kódování „%1“; mapy se ukládají v kódování "
                                  "Windows-1250.")
                                  .arg(match.captured(1))};
    return Parser(decodeWindows1250(bytes)).run();
}

MapReading readMapFile(const QString& path) {
    QFile file(path);
    const QString shown = QDir::toNativeSeparators(path);
    if (!file.open(QIODevice::ReadOnly))
        return {std::nullopt, tr8("Soubor „%1“ se nepodařilo otevřít.").arg(shown)};
    if (file.size() > kMaxMapFileSize)
        return {std::nullopt, tr8("Soubor „%1“ je na mapu příliš velký.").arg(shown)};
    const QByteArray bytes = file.read(kMaxMapFileSize + 1);
    if (bytes.size() > kMaxMapFileSize)
        return {std::nullopt, tr8("Soubor „%1“ je na mapu příliš velký.").arg(shown)};
    if (file.error() != QFileDevice::NoError)
        return {std::nullopt, tr8("Soubor „%1“ se nepodařilo přečíst.").arg(shown)};
    return readMap(bytes);
}

} // namespace kx
