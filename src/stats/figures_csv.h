#pragma once

#include "world_figures.h"

#include <QByteArray>
#include <QStringList>

#include <vector>

namespace kx {

// CSV as spreadsheets read it best: comma separators, UTF-8 text (names decoded from the
// record's Windows-1250) without a byte-order mark, CR LF line ends, a header row of ASCII
// column names. A field holding a comma, a double quote, CR or LF, or starting or ending with
// a blank, is enclosed in double quotes with its quotes doubled (RFC 4180).

// One field, quoted when it must be.
QByteArray csvField(const QString& text);
// One line of fields, ended by CR LF.
QByteArray csvLine(const QStringList& fields);

// "yyyy-mm-dd hh:00" of a time stamp text "yyyy-dd-mm-hh-mm-ss"; empty when it is too short
// or its date and hour are not digits.
QString csvHourText(QByteArrayView timeText);

// The chosen players' figures over time, one line per row and player:
// hour,time,player,team,nectar,moves,territory,production. `players` holds player indexes;
// indexes the figures do not have are skipped. An invalid result gives the header only.
QByteArray figuresCsv(const WorldFigures& figures, const std::vector<int>& players);
// Every player's figures over time.
QByteArray figuresCsv(const WorldFigures& figures);

// The end-of-world summary, one line per player in player-index order:
// player,team,survivor,experience,percent,kills,wins,nectar,production,fields. experience and
// percent are empty for a player that did not finish; the percent has a full stop.
QByteArray summaryCsv(const WorldFigures& figures);

} // namespace kx
