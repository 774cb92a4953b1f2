#include "clip_options.h"

#include "mapview/map_zoom.h"

namespace kx {

std::optional<ClipFormat> clipFormatFor(const QString& path) {
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    if (dot < 0 || dot < slash)
        return std::nullopt;
    const QString extension = path.mid(dot + 1).toLower();
    for (const ClipFormat format :
         {ClipFormat::Mp4, ClipFormat::WebM, ClipFormat::Gif, ClipFormat::WebP})
        if (extension == clipExtension(format))
            return format;
    return std::nullopt;
}

QString clipExtension(ClipFormat format) {
    switch (format) {
    case ClipFormat::Mp4:
        return QStringLiteral("mp4");
    case ClipFormat::WebM:
        return QStringLiteral("webm");
    case ClipFormat::Gif:
        return QStringLiteral("gif");
    case ClipFormat::WebP:
        return QStringLiteral("webp");
    }
    return {};
}

std::optional<MapView> mapViewNamed(const QString& name) {
    static const char* const names[] = {"all", "louka", "les", "nahled"};
    for (const MapView view : kMapViews)
        if (name == QLatin1String(names[static_cast<int>(view)]))
            return view;
    return std::nullopt;
}

std::optional<int> zoomOfScale(const QString& scale) {
    // A whole part and at most two decimals, read exactly: a factor of hundredths.
    const qsizetype dot = scale.indexOf(QLatin1Char('.'));
    const QString whole = dot < 0 ? scale : scale.left(dot);
    const QString decimals = dot < 0 ? QString() : scale.mid(dot + 1);
    const auto digitsOnly = [](const QString& text) {
        for (const QChar c : text)
            if (c < QLatin1Char('0') || c > QLatin1Char('9'))
                return false;
        return true;
    };
    if (whole.isEmpty() || whole.size() > 3 || decimals.size() > 2 ||
        (dot >= 0 && decimals.isEmpty()) || !digitsOnly(whole) || !digitsOnly(decimals))
        return std::nullopt;
    const int percent =
        whole.toInt() * 100 + QString(decimals + QStringLiteral("00")).left(2).toInt();
    if (percent != clampZoom(percent))
        return std::nullopt;
    return percent;
}

std::optional<int32_t> playerOwnerNamed(const QStringList& players, const QString& name) {
    std::optional<int32_t> found;
    for (qsizetype i = 0; i < players.size(); ++i) {
        const QString& item = players[i];
        const qsizetype open = item.lastIndexOf(QStringLiteral(" ("));
        const bool matches = item == name || (open >= 0 && item.left(open) == name);
        if (!matches)
            continue;
        if (found)
            return std::nullopt;
        found = static_cast<int32_t>(i + 1);
    }
    return found;
}

QString frameSizeError(QSize size, int limit) {
    if (size.width() <= limit && size.height() <= limit)
        return {};
    return QString::fromUtf8("Obrázek %1 × %2 pixelů je příliš velký (nejvýše %3 pixelů na "
                             "stranu); zvolte menší měřítko.")
        .arg(size.width())
        .arg(size.height())
        .arg(limit);
}

QString clipRangeError(int32_t from, int32_t to, int32_t first, int32_t count) {
    if (count <= first)
        return QString::fromUtf8("Záznam nemá žádnou akci.");
    if (from < first || to > count - 1 || from > to)
        return QString::fromUtf8("Akce %1 až %2 nejsou v záznamu: jeho akce jsou %3 až %4.")
            .arg(from)
            .arg(to)
            .arg(first)
            .arg(count - 1);
    return {};
}

} // namespace kx
