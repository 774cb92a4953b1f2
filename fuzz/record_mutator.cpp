#include "record_mutator.h"

#include <algorithm>
#include <cstring>
#include <random>
#include <string>
#include <string_view>
#include <vector>

extern "C" size_t LLVMFuzzerMutate(uint8_t* data, size_t size, size_t maxSize);

namespace kxfuzz {

namespace {

using Random = std::minstd_rand;

// Unit names and a player name as the record files hold them (Windows-1250).
constexpr std::string_view kUnits[] = {"kom\xe1r",
                                       "hovado",
                                       "\x9av\xe1"
                                       "b",
                                       "beru\x9aka",
                                       "chrob\xe1k",
                                       "vosi\xe8ka"};
constexpr std::string_view kPlayers[] = {"Pepa", "Jana", "\x8aimon"};
constexpr std::string_view kTeams[] = {"louka", "les", "Louka", "x"};
constexpr std::string_view kGrounds[] = {"N", "S", "B", "X", "Q"};
constexpr std::string_view kOddCells[] = {"A-1", "Z99", "@0", "AA0", "", "a0", "A"};
constexpr std::string_view kNumbers[] = {
    "0", "1", "2", "5", "20", "99", "-1", "2147483647", "", "-2147483648", "99999999999", "1e3"};
constexpr std::string_view kDefaultTime = "2005-07-03-14-00-00";
constexpr std::string_view kDefaultXmlTime = "1120399200";

template <size_t N> std::string_view pick(Random& random, const std::string_view (&items)[N]) {
    return items[random() % N];
}

struct Record {
    std::vector<std::string> lines; // each with its own line end, if it had one
    bool xml = false;
    std::vector<std::string> players; // names seen in the record's headquarters lines
};

Record split(const uint8_t* data, size_t size) {
    Record record;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    size_t start = 0;
    while (start < size) {
        size_t end = text.find('\n', start);
        end = end == std::string_view::npos ? size : end + 1;
        record.lines.emplace_back(text.substr(start, end - start));
        start = end;
    }
    record.xml = text.find("<events>") != std::string_view::npos || text.substr(0, 5) == "<?xml" ||
                 text.substr(0, 7) == "<record";
    for (const std::string& line : record.lines) {
        const std::string_view view(line);
        size_t at = std::string_view::npos;
        size_t end = std::string_view::npos;
        if (record.xml) {
            at = view.find("<player>");
            if (at != std::string_view::npos) {
                at += 8;
                end = view.find('<', at);
            }
        } else if (view.find("; create_hq; ") != std::string_view::npos) {
            at = view.find("; create_hq; ") + 13;
            end = view.find(';', at);
        }
        if (at != std::string_view::npos && end != std::string_view::npos && end > at &&
            record.players.size() < 8)
            record.players.emplace_back(view.substr(at, end - at));
    }
    return record;
}

std::string cell(Random& random) {
    if (random() % 8 == 0)
        return std::string(pick(random, kOddCells));
    std::string text(1, char('A' + random() % 10));
    return text + std::to_string(random() % 10);
}

std::string player(Random& random, const Record& record) {
    if (!record.players.empty() && random() % 4 != 0)
        return record.players[random() % record.players.size()];
    return std::string(pick(random, kPlayers));
}

std::string number(Random& random) {
    return random() % 4 == 0 ? std::string(pick(random, kNumbers))
                             : std::to_string(1 + random() % 30);
}

// The time stamp of the line before `index`, so that a new event mostly keeps the order.
std::string timeBefore(const Record& record, size_t index) {
    for (size_t i = std::min(index, record.lines.size()); i-- > 0;) {
        const std::string& line = record.lines[i];
        if (record.xml) {
            const size_t at = line.find("<time>");
            const size_t end = line.find("</time>");
            if (at != std::string::npos && end != std::string::npos && end > at + 6)
                return line.substr(at + 6, end - at - 6);
        } else if (line.size() > kDefaultTime.size() && line[kDefaultTime.size()] == ';') {
            return line.substr(0, kDefaultTime.size());
        }
    }
    return std::string(record.xml ? kDefaultXmlTime : kDefaultTime);
}

std::string element(std::string_view tag, const std::string& value) {
    return "<" + std::string(tag) + ">" + value + "</" + std::string(tag) + ">";
}

std::string eventLogLine(Random& random, const Record& record, const std::string& time) {
    const std::string c = cell(random);
    std::string fields;
    switch (random() % 8) {
    case 0:
        fields = "create_hq; " + player(random, record) + "; " + std::string(pick(random, kTeams)) +
                 "; " + c;
        break;
    case 1:
        fields = "buy; " + c + "; " + std::string(pick(random, kUnits)) + "; " + number(random);
        break;
    case 2:
        fields = "move; " + c + "; " + cell(random) + "; " + number(random);
        break;
    case 3:
        fields = "attack; " + c + "; " + cell(random) + "; " + number(random) + "; " +
                 std::to_string(random() % 2) + "; " + number(random);
        break;
    case 4:
        fields = "convert_gnd; " + c + "; " + std::string(pick(random, kGrounds));
        break;
    case 5:
        fields = "trade; " + player(random, record) + "; " + player(random, record) + "; " +
                 number(random);
        break;
    case 6:
        fields = "trade_hq; " + player(random, record) + "; " + player(random, record) + "; " +
                 number(random) + "; " + number(random);
        break;
    default:
        fields = "retreat; " + c + "; " + number(random);
        break;
    }
    return time + "; " + fields + ";\r\n";
}

std::string xmlLine(Random& random, const Record& record, const std::string& time) {
    const std::string t = element("time", time);
    const std::string c = cell(random);
    std::string body;
    std::string_view tag;
    switch (random() % 9) {
    case 0:
        tag = "chq";
        body = element("player", player(random, record)) + element("cell", c) +
               element("team", std::string(pick(random, kTeams)));
        break;
    case 1:
        tag = "rhq";
        body = element("player", player(random, record)) + element("cell", c);
        break;
    case 2:
        tag = "buy";
        body = element("cell", c) + element("unit", std::string(pick(random, kUnits))) +
               element("count", number(random));
        break;
    case 3:
        tag = "mov";
        body = element("from", c) + element("to", cell(random)) + element("count", number(random));
        break;
    case 4:
        tag = "att";
        body = element("from", c) + element("to", cell(random)) + element("sent", number(random)) +
               element("unit", std::string(pick(random, kUnits))) +
               element("defenders", number(random)) +
               element("defunit", random() % 2 ? std::string(pick(random, kUnits)) : "") +
               element("success", std::to_string(random() % 2)) + element("left", number(random));
        break;
    case 5:
        tag = "cfd";
        body = element("cell", c) + element("ground", std::string(pick(random, kGrounds)));
        break;
    case 6:
        tag = "ret";
        body = element("cell", c) + element("count", number(random));
        break;
    case 7:
        tag = "trn";
        body = element("from", player(random, record)) + element("to", player(random, record)) +
               element("nectar", number(random));
        break;
    default:
        tag = "trb";
        body = element("from", player(random, record)) + element("to", player(random, record)) +
               element("nectar", number(random)) + element("units", number(random));
        break;
    }
    return "    <" + std::string(tag) + ">" + t + body + "</" + std::string(tag) + ">\r\n";
}

std::string token(Random& random, const Record& record) {
    switch (random() % 5) {
    case 0:
        return cell(random);
    case 1:
        return number(random);
    case 2:
        return std::string(pick(random, kUnits));
    case 3:
        return player(random, record);
    default:
        return std::string(random() % 2 ? pick(random, kTeams) : pick(random, kGrounds));
    }
}

// Replaces one field: a value between "; " separators, or an XML element's text.
void replaceField(Random& random, Record& record, std::string& line) {
    std::vector<std::pair<size_t, size_t>> spans; // [begin, end) of each field's text
    if (record.xml) {
        for (size_t at = line.find('>'); at != std::string::npos; at = line.find('>', at + 1)) {
            const size_t end = line.find('<', at + 1);
            if (end != std::string::npos && end + 1 < line.size() && line[end + 1] == '/')
                spans.emplace_back(at + 1, end);
        }
    } else {
        size_t begin = line.find(';');
        while (begin != std::string::npos) {
            const size_t end = line.find(';', begin + 1);
            if (end == std::string::npos)
                break;
            spans.emplace_back(begin + 1, end);
            begin = end;
        }
    }
    if (spans.empty())
        return;
    const auto [begin, end] = spans[random() % spans.size()];
    line.replace(begin, end - begin, (record.xml ? "" : " ") + token(random, record));
}

// Changes one digit of a line's time stamp: events out of order, days apart, or a bad date.
void moveTime(Random& random, Record& record, std::string& line) {
    size_t begin = 0;
    size_t end = std::min(line.size(), kDefaultTime.size());
    if (record.xml) {
        begin = line.find("<time>");
        if (begin == std::string::npos)
            return;
        begin += 6;
        end = std::min(line.find('<', begin), line.size());
    }
    std::vector<size_t> digits;
    for (size_t i = begin; i < end; ++i)
        if (line[i] >= '0' && line[i] <= '9')
            digits.push_back(i);
    if (!digits.empty())
        line[digits[random() % digits.size()]] = char('0' + random() % 10);
}

void mutateLineBytes(std::string& line, size_t room) {
    const size_t size = line.size();
    line.resize(size + room);
    line.resize(LLVMFuzzerMutate(reinterpret_cast<uint8_t*>(line.data()), size, size + room));
}

} // namespace

size_t mutateRecord(uint8_t* data, size_t size, size_t maxSize, unsigned seed) {
    Random random(seed);
    Record record = split(data, size);
    auto& lines = record.lines;
    // Event logs keep their two header lines in place; XML records their world block and
    // the closing tags at the end.
    const size_t headerLines = std::min(lines.size(), record.xml ? size_t{4} : size_t{2});
    size_t endLines = 0;
    while (record.xml && endLines < 2 && lines.size() > headerLines + endLines) {
        const std::string& line = lines[lines.size() - 1 - endLines];
        if (line.find("</events>") == std::string::npos &&
            line.find("</record>") == std::string::npos)
            break;
        ++endLines;
    }
    const size_t bodyLines = lines.size() - headerLines - endLines;
    auto anyLine = [&] { return random() % lines.size(); };
    auto bodyLine = [&] { return headerLines + random() % bodyLines; };

    const unsigned operation = lines.empty() ? 0 : random() % 8;
    if (operation <= 2 || bodyLines == 0) {
        const size_t at = headerLines + random() % (bodyLines + 1);
        const std::string time = timeBefore(record, at);
        lines.insert(lines.begin() + ptrdiff_t(at), record.xml
                                                        ? xmlLine(random, record, time)
                                                        : eventLogLine(random, record, time));
    } else if (operation == 3) {
        lines.erase(lines.begin() + ptrdiff_t(bodyLine()));
    } else if (operation == 4) {
        const size_t from = bodyLine();
        const std::string copy = lines[from];
        lines.insert(lines.begin() + ptrdiff_t(bodyLine()), copy);
    } else if (operation == 5) {
        std::swap(lines[bodyLine()], lines[bodyLine()]);
    } else if (operation == 6) {
        std::string& line = lines[anyLine()];
        if (random() % 2)
            replaceField(random, record, line);
        else
            moveTime(random, record, line);
    } else {
        mutateLineBytes(lines[anyLine()], 16);
    }

    size_t written = 0;
    for (const std::string& line : lines) {
        const size_t n = std::min(line.size(), maxSize - written);
        std::memcpy(data + written, line.data(), n);
        written += n;
        if (written == maxSize)
            break;
    }
    return written;
}

} // namespace kxfuzz
