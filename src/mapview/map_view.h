#pragma once

#include <QString>

#include <array>
#include <cstdint>
#include <optional>

namespace kx {

// The map's views, in the order of the view selector cbView; the values are its item indexes
// and the values kxrtool prints as viewFilter.
enum class MapView : int32_t {
    All = 0,     // every cell
    Louka = 1,   // what the louka team sees
    Les = 2,     // what the les team sees
    Preview = 3, // the front line
};

inline constexpr std::array<MapView, 4> kMapViews = {MapView::All, MapView::Louka, MapView::Les,
                                                     MapView::Preview};

// The view selector's text for a view.
QString mapViewName(MapView view);

// The view of a selector item index; nothing for an index outside the list.
inline std::optional<MapView> mapViewAt(int item) {
    if (item < 0 || item >= static_cast<int>(kMapViews.size()))
        return std::nullopt;
    return kMapViews[static_cast<size_t>(item)];
}

} // namespace kx
