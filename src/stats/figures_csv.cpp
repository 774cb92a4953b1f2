#include "figures_csv.h"

#include <QLocale>

#include <numeric>

namespace kx {

QByteArray csvField(const QString& text) {
    const bool quote = text.contains(u',') || text.contains(u'"') || text.contains(u'\r') ||
                       text.contains(u'\n') ||
                       (!text.isEmpty() && (text.front().isSpace() || text.back().isSpace()));
    if (!quote)
        return text.toUtf8();
    QString quoted = text;
    quoted.replace(u'"', QStringLiteral("\"\""));
    return '"' + quoted.toUtf8() + '"';
}

QByteArray csvLine(const QStringList& fields) {
    QByteArray line;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i > 0)
            line += ',';
        line += csvField(fields[i]);
    }
    return line + "\r\n";
}

QString csvHourText(QByteArrayView timeText) {
    if (timeText.size() < 13)
        return QString();
    for (const int digit : {0, 1, 2, 3, 5, 6, 8, 9, 11, 12})
        if (timeText[digit] < '0' || timeText[digit] > '9')
            return QString(); // not a time a spreadsheet could read
    const QString text = QString::fromLatin1(timeText.first(13));
    return text.left(4) + u'-' + text.mid(8, 2) + u'-' + text.mid(5, 2) + u' ' + text.mid(11, 2) +
           QStringLiteral(":00");
}

QByteArray figuresCsv(const WorldFigures& figures, const std::vector<int>& players) {
    QByteArray csv =
        csvLine({QStringLiteral("hour"), QStringLiteral("time"), QStringLiteral("player"),
                 QStringLiteral("team"), QStringLiteral("nectar"), QStringLiteral("moves"),
                 QStringLiteral("territory"), QStringLiteral("production")});
    if (!figures.valid)
        return csv;
    // Each player's name and team, and each row's hour and time, are made into fields once:
    // the rows of every player are most of a long record's text.
    std::vector<QByteArray> who;
    for (const int p : players)
        if (p >= 0 && p < figures.playerCount()) {
            const FigurePlayer& player = figures.players[static_cast<size_t>(p)];
            who.push_back(',' + csvField(player.name) + ',' + csvField(player.team));
        }
    csv.reserve(csv.size() + qsizetype(figures.rowCount()) * qsizetype(who.size() + 1) * 64);
    for (int row = 0; row < figures.rowCount(); ++row) {
        const QByteArray start = QByteArray::number(figures.rowHours[static_cast<size_t>(row)]) +
                                 ',' +
                                 csvField(csvHourText(figures.rowTimes[static_cast<size_t>(row)]));
        size_t next = 0;
        for (const int p : players) {
            if (p < 0 || p >= figures.playerCount())
                continue;
            csv += start;
            csv += who[next++];
            for (const Figure figure :
                 {Figure::Nectar, Figure::Moves, Figure::Territory, Figure::Production}) {
                csv += ',';
                csv += QByteArray::number(figures.value(row, p, figure));
            }
            csv += "\r\n";
        }
    }
    return csv;
}

QByteArray figuresCsv(const WorldFigures& figures) {
    std::vector<int> all(static_cast<size_t>(figures.playerCount()));
    std::iota(all.begin(), all.end(), 0);
    return figuresCsv(figures, all);
}

QByteArray summaryCsv(const WorldFigures& figures) {
    QByteArray csv =
        csvLine({QStringLiteral("player"), QStringLiteral("team"), QStringLiteral("survivor"),
                 QStringLiteral("experience"), QStringLiteral("percent"), QStringLiteral("kills"),
                 QStringLiteral("wins"), QStringLiteral("nectar"), QStringLiteral("production"),
                 QStringLiteral("fields")});
    if (!figures.valid)
        return csv;
    const QLocale c = QLocale::c();
    const int count =
        std::min<int>(figures.playerCount(), static_cast<int>(figures.endRows.size()));
    for (int i = 0; i < count; ++i) {
        const ResultRow& row = figures.endRows[static_cast<size_t>(i)];
        const FigurePlayer& player = figures.players[static_cast<size_t>(i)];
        QString points;
        QString percent;
        if (isSurvivor(row)) {
            const int32_t x = experience(figures.endRows, figures.best, i);
            points = QString::number(x);
            percent = experiencePercentText(x, c);
        }
        csv += csvLine(
            {player.name, player.team, isSurvivor(row) ? QStringLiteral("1") : QStringLiteral("0"),
             points, percent, QString::number(row[ResultKills]), QString::number(row[ResultWins]),
             QString::number(row[ResultNectar]), QString::number(row[ResultProduction]),
             QString::number(row[ResultFields])});
    }
    return csv;
}

} // namespace kx
