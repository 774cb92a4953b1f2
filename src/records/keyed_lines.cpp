#include "keyed_lines.h"

namespace kx {

void KeyedLines::clear() {
    lines_.clear();
    taken_.clear();
    byKey_.clear();
}

void KeyedLines::append(QByteArrayView line, QByteArrayView key) {
    byKey_[key.toByteArray()].push_back(lines_.size());
    lines_.append(line);
    taken_.push_back(false);
}

qsizetype KeyedLines::findFirst(QByteArrayView key) const {
    const auto it = byKey_.constFind(QByteArray::fromRawData(key.data(), key.size()));
    return it == byKey_.constEnd() ? -1 : it->front();
}

bool KeyedLines::takeFirst(QByteArrayView key) {
    const auto it = byKey_.find(QByteArray::fromRawData(key.data(), key.size()));
    if (it == byKey_.end())
        return false;
    taken_[static_cast<size_t>(it->front())] = true;
    it->pop_front();
    if (it->empty())
        byKey_.erase(it);
    return true;
}

void KeyedLines::appendTo(LineList& list) const {
    for (qsizetype i = 0; i < lines_.size(); ++i)
        if (!taken_[static_cast<size_t>(i)])
            list.append(lines_.at(i));
}

} // namespace kx
