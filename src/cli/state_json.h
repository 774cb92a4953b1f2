#pragma once

#include <QJsonObject>
#include <QStringList>

namespace kx {

class ReplaySession;

// The main window's state as kxrtool replay prints it.
QJsonObject mainStateJson(const ReplaySession& session, const QStringList& messages);

} // namespace kx
