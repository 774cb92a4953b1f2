#pragma once

#include <QLatin1String>

namespace kx {

// Gives a new widget its control name, so tests and style sheets find it: named(new X, "id").
template <typename T> T* named(T* widget, const char* name) {
    widget->setObjectName(QLatin1String(name));
    return widget;
}

} // namespace kx
