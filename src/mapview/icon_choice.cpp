#include "icon_choice.h"

#include <array>
#include <optional>
#include <utility>

namespace kx {

namespace {

// The eight neighbours in the order they are examined: clockwise from the upper left.
constexpr std::array<std::pair<int, int>, 8> kNeighbours = {
    {{-1, -1}, {0, -1}, {1, -1}, {1, 0}, {1, 1}, {0, 1}, {-1, 1}, {-1, 0}}};

// Team of the player numbered `owner` (player index owner - 1); nothing for no owner and for
// an owner number that has no player record.
std::optional<int32_t> ownerTeam(const World& world, int32_t owner) {
    if (owner == 0 || !world.hasPlayer(owner - 1))
        return std::nullopt;
    return world.playerTable[static_cast<size_t>(owner - 1)][Team];
}

std::optional<int32_t> cellTeam(const World& world, int x, int y) {
    return ownerTeam(world, world.fieldGrid(x, y) / 100);
}

// A team's sight: the cell is visible when it or one of its neighbours belongs to the team.
bool teamSees(const World& world, int x, int y, int32_t team) {
    if (cellTeam(world, x, y) == team)
        return true;
    for (const auto& [dx, dy] : kNeighbours) {
        if (world.contains(x + dx, y + dy) && cellTeam(world, x + dx, y + dy) == team)
            return true;
    }
    return false;
}

// The front line: held fields and HQs whose block of nine cells holds both sides. Any team
// other than louka (les, and a destroyed player's -1) counts as the forest side.
bool onFrontLine(const World& world, int x, int y) {
    bool louka = false;
    bool les = false;
    auto mark = [&](int cx, int cy) {
        if (const auto team = cellTeam(world, cx, cy)) {
            if (*team == kTeamLouka)
                louka = true;
            else
                les = true;
        }
    };
    mark(x, y);
    for (const auto& [dx, dy] : kNeighbours) {
        if (world.contains(x + dx, y + dy))
            mark(x + dx, y + dy);
    }
    if (world.fieldGrid(x, y) % 100 < 10)
        louka = false; // free land never shows
    return louka && les;
}

} // namespace

int typeIcon(int32_t type) {
    switch (type) {
    case 0:
        return 1;
    case 1:
    case 2:
    case 3:
        return type + 1; // 2, 3, 4
    case 11:
    case 12:
    case 13:
        return type - 6; // 5, 6, 7
    case 16:
    case 17:
    case 18:
        return type - 5; // 11, 12, 13
    case 21:
    case 22:
    case 23:
        return type - 13; // 8, 9, 10
    case 26:
    case 27:
    case 28:
        return type - 12; // 14, 15, 16
    case 31:
    case 32:
    case 33:
        return type - 14; // 17, 18, 19
    case 36:
    case 37:
    case 38:
        return type - 19; // 17, 18, 19
    default:
        return kIconBlank;
    }
}

int fieldIcon(int32_t type, int32_t owner, const IconContext& context) {
    if (context.highlightFields && owner != 0 && owner == context.highlightOwner) {
        switch (type) {
        case 11:
        case 12:
        case 13:
            return type + 9; // 20, 21, 22
        case 21:
        case 22:
        case 23:
            return type - 1; // 20, 21, 22
        case 16:
        case 17:
        case 18:
            return type + 7; // 23, 24, 25
        case 26:
        case 27:
        case 28:
            return type - 3; // 23, 24, 25
        case 31:
        case 32:
        case 33:
        case 36:
        case 37:
        case 38:
            return typeIcon(type); // a highlighted HQ always shows itself
        default:
            break;
        }
    }
    const MapView view = context.viewItem;
    switch (type) {
    case 0:
    case 1:
    case 2:
    case 3:
    case 11:
    case 12:
    case 13:
    case 21:
    case 22:
    case 23:
        return typeIcon(type);
    case 16:
    case 17:
    case 18:
        // Louka units are seen in "Vše" and "Louka" only.
        return view == MapView::All || view == MapView::Louka ? typeIcon(type) : typeIcon(type - 5);
    case 26:
    case 27:
    case 28:
        return view == MapView::All || view == MapView::Les ? typeIcon(type) : typeIcon(type - 5);
    case 31:
    case 32:
    case 33:
        // "Skrýt velení" draws an HQ as an ordinary field of its team on the same terrain.
        return context.hideHq ? typeIcon(type - 20) : typeIcon(type);
    case 36:
    case 37:
    case 38:
        return context.hideHq ? typeIcon(type - 15) : typeIcon(type);
    default:
        return kIconBlank;
    }
}

int cellIcon(const World& world, int x, int y, const IconContext& context) {
    if (!world.contains(x, y))
        return kIconBlank;
    const int32_t code = world.fieldGrid(x, y);
    if (code == kImpassable)
        return typeIcon(kImpassable);
    const int32_t type = code % 100;
    const int32_t owner = code / 100;
    switch (context.viewFilter) {
    case MapView::Louka:
        if (!teamSees(world, x, y, kTeamLouka))
            return kIconHidden;
        break;
    case MapView::Les:
        if (!teamSees(world, x, y, kTeamLes))
            return kIconHidden;
        break;
    case MapView::Preview:
        if (!onFrontLine(world, x, y))
            return kIconHidden;
        break;
    case MapView::All:
        break; // every cell shows
    }
    return fieldIcon(type, owner, context);
}

} // namespace kx
