#include "replay_actions.h"

#include "records/cell_address.h"
#include "records/numbers.h"
#include "replay/session.h"

namespace kx {

namespace {

ReplayAction make(ReplayAction::Kind kind, int number = 0, int row = 0, QString text = {}) {
    return ReplayAction{kind, number, row, std::move(text)};
}

std::optional<ReplayAction> parseOne(const QString& text) {
    using K = ReplayAction::Kind;
    static const std::pair<const char*, K> kPlain[] = {
        {"f", K::Forward},   {"f10", K::Forward10}, {"b", K::Back},
        {"b10", K::Back10},  {"end", K::End},       {"next", K::Next},
        {"start", K::Start}, {"stop", K::Stop},     {"tick", K::Tick}};
    for (const auto& [name, kind] : kPlain)
        if (text == QLatin1String(name))
            return make(kind);

    const qsizetype colon = text.indexOf(QLatin1Char(':'));
    if (colon < 0)
        return std::nullopt;
    const QString key = text.left(colon);
    const QString value = text.mid(colon + 1);
    if (key == QLatin1String("ed"))
        return make(K::EditInterval, 0, 0, value);
    if (key == QLatin1String("pt")) {
        const QByteArray address = value.toLatin1();
        const auto row =
            parseDecimalInt(QByteArrayView(address).sliced(std::min<qsizetype>(1, address.size())));
        if (value.size() < 2 || !value[0].isLetter() || !row)
            return std::nullopt;
        return make(K::Point, addressColumn(address), *row);
    }
    const auto number = parseDecimalInt(QStringView(value));
    if (!number)
        return std::nullopt;
    if (key == QLatin1String("sel"))
        return make(K::Select, *number);
    if (key == QLatin1String("view"))
        return make(K::View, *number);
    if (key == QLatin1String("hl") && (*number == 0 || *number == 1))
        return make(K::Highlight, *number);
    return std::nullopt;
}

} // namespace

std::optional<std::vector<ReplayAction>> parseReplayActions(const QString& list, QString* bad) {
    std::vector<ReplayAction> actions;
    if (list.isEmpty())
        return actions;
    for (const QString& text : list.split(QLatin1Char(','))) {
        const auto action = parseOne(text);
        if (!action) {
            if (bad)
                *bad = text;
            return std::nullopt;
        }
        actions.push_back(*action);
    }
    return actions;
}

void performReplayAction(ReplaySession& session, const ReplayAction& action) {
    using K = ReplayAction::Kind;
    const MainState& state = session.state();
    switch (action.kind) {
    case K::Forward:
        session.Button1Click();
        break;
    case K::Forward10:
        session.Button2Click();
        break;
    case K::Back:
        session.Button6Click();
        break;
    case K::Back10:
        session.Button7Click();
        break;
    case K::End:
        if (state.panelEnabled && !state.summaryShown) {
            const qsizetype clicks = state.lvData.size() + 1;
            for (qsizetype i = 0; i < clicks && !state.summaryShown; ++i)
                session.Button1Click();
        }
        break;
    case K::Next:
        if (state.summaryShown)
            session.btnNextClick();
        break;
    case K::Select:
        if (action.number == -1)
            session.clearPlayerSelection();
        else
            session.selectPlayer(action.number);
        break;
    case K::Point:
        if (state.world.contains(action.number, action.row))
            session.dgMapMouseMove(action.number + 1, action.row + 1);
        break;
    case K::Highlight:
        session.setHighlightFields(action.number == 1);
        break;
    case K::View:
        session.cbViewChange(action.number);
        break;
    case K::Start:
        session.Button4Click();
        break;
    case K::Stop:
        session.Button5Click();
        break;
    case K::Tick:
        session.slajdTimer();
        break;
    case K::EditInterval:
        session.setEdTimeText(action.text);
        break;
    }
}

} // namespace kx
