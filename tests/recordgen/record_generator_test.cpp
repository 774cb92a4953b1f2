#include "record_generator.h"

#include "records/cell_address.h"
#include "records/event_list.h"
#include "records/time_stamp.h"
#include "records/windows1250.h"

#include <QBuffer>
#include <QFile>

#include <gtest/gtest.h>

#include <map>
#include <set>

using namespace kx;

namespace {

RecordGeneratorOptions optionsOf(uint64_t seed, int events, int players, int width, int height) {
    RecordGeneratorOptions o;
    o.seed = seed;
    o.events = events;
    o.players = players;
    o.width = width;
    o.height = height;
    return o;
}

// Lines of a file whose every line, the last included, ends with CR LF.
std::vector<QByteArray> crlfLines(const QByteArray& bytes) {
    std::vector<QByteArray> lines;
    qsizetype from = 0;
    for (qsizetype end; (end = bytes.indexOf("\r\n", from)) >= 0; from = end + 2)
        lines.push_back(bytes.mid(from, end - from));
    EXPECT_EQ(from, bytes.size()) << "text after the last CR LF";
    for (const QByteArray& line : lines)
        EXPECT_FALSE(line.contains('\r') || line.contains('\n'));
    return lines;
}

// The line the fields of an item make when written back: "f0; f1; ...; fn;".
QByteArray rejoin(const EventItem& item) {
    QByteArray line = item.subItem(0).toByteArray() + "; " + item.caption.toByteArray() + ";";
    for (int k = 1; k < item.subItemCount; ++k)
        line += " " + item.subItem(k).toByteArray() + ";";
    return line;
}

// Checks an event log against the rules of the format and against a small model of the world
// (owners, unit counts, living players) kept independently of the generator: every event is
// one that the world before it allows.
class LogChecker {
  public:
    LogChecker(const RecordGeneratorOptions& options, const QByteArray& log)
        : options_(options), lines_(crlfLines(log)) {}

    void check() {
        ASSERT_GE(lines_.size(), size_t(3) + size_t(options_.players));
        const EventItem header = splitFields(lines_[0]);
        EXPECT_EQ(decodeWindows1250(header.caption), options_.name);
        ASSERT_EQ(header.subItemCount, 5);
        EXPECT_EQ(header.subItem(1), QByteArray::number(options_.players));
        EXPECT_EQ(header.subItem(2), QByteArray::number(options_.width));
        EXPECT_EQ(header.subItem(3), QByteArray::number(options_.height));
        const EventItem map = splitFields(lines_[1]);
        ASSERT_EQ(map.caption, "create_world");
        map_ = map.subItem(1).toByteArray();
        ASSERT_EQ(map_.size(), qsizetype(options_.width) * options_.height);
        EXPECT_EQ(lines_[2], "");

        std::optional<int32_t> previous;
        for (size_t i = 0; i < lines_.size(); ++i) {
            if (i == 2)
                continue;
            const EventItem item = splitFields(lines_[i]);
            EXPECT_EQ(rejoin(item), lines_[i]);
            const auto seconds = timeSeconds(item.subItem(0));
            ASSERT_TRUE(seconds) << lines_[i].constData();
            if (previous) {
                EXPECT_LE(*previous, *seconds) << lines_[i].constData();
            }
            previous = seconds;
            if (i >= 3 && i < 3 + size_t(options_.players))
                createHq(item);
            else if (i >= 3)
                event(item);
        }
        EXPECT_GT(teams_.count("louka"), 0u);
        if (options_.players >= 2) {
            EXPECT_GT(teams_.count("les"), 0u);
        }
    }

    std::map<QByteArray, int> keywords;

  private:
    int cellOf(QByteArrayView address) {
        bool unreadable = false;
        const int x = addressColumn(address);
        const int y = addressRow(address, &unreadable);
        EXPECT_FALSE(unreadable);
        EXPECT_TRUE(x >= 0 && x < options_.width && y >= 0 && y < options_.height)
            << address.toByteArray().constData();
        if (x < 0 || x >= options_.width || y < 0 || y >= options_.height)
            return 0;
        const int cell = y * options_.width + x;
        EXPECT_NE(map_[cell], 'X') << "impassable " << address.toByteArray().constData();
        return cell;
    }
    int playerOf(QByteArrayView name) {
        const auto found = players_.find(name.toByteArray());
        EXPECT_NE(found, players_.end()) << name.toByteArray().constData();
        return found == players_.end() ? 0 : found->second;
    }
    void expectAlive(int player) { EXPECT_TRUE(alive_.count(player)) << player; }

    void createHq(const EventItem& item) {
        ASSERT_EQ(item.caption, "create_hq");
        ASSERT_EQ(item.subItemCount, 4);
        const int player = int(players_.size());
        EXPECT_TRUE(players_.emplace(item.subItem(1).toByteArray(), player).second);
        teams_.insert(item.subItem(2).toByteArray());
        const int cell = cellOf(item.subItem(3));
        EXPECT_FALSE(owner_.count(cell)) << "two HQs on one cell";
        owner_[cell] = player;
        hq_[player] = cell;
        alive_.insert(player);
    }

    void event(const EventItem& item) {
        static const std::map<QByteArray, int> kSubItems = {
            {"buy", 4},     {"attack", 6}, {"move", 4},    {"convert_gnd", 3},
            {"retreat", 3}, {"trade", 4},  {"trade_hq", 5}};
        const QByteArray keyword = item.caption.toByteArray();
        ++keywords[keyword];
        const auto expected = kSubItems.find(keyword);
        ASSERT_NE(expected, kSubItems.end()) << keyword.constData();
        ASSERT_EQ(item.subItemCount, expected->second) << keyword.constData();
        const auto n = [&](int k) { return item.subItem(k).toInt(); };

        if (keyword == "trade" || keyword == "trade_hq") {
            const int from = playerOf(item.subItem(1));
            const int to = playerOf(item.subItem(2));
            EXPECT_NE(from, to);
            expectAlive(from);
            expectAlive(to);
            if (keyword == "trade_hq")
                units_[hq_[to]] += n(4);
            return;
        }
        const int cell = cellOf(item.subItem(1));
        const auto owner = owner_.find(cell);
        ASSERT_NE(owner, owner_.end()) << "acting from free land";
        const int player = owner->second;
        expectAlive(player);
        if (keyword == "buy") {
            units_[cell] += n(3);
        } else if (keyword == "retreat") {
            EXPECT_LE(n(2), units_[cell]);
            units_[cell] -= n(2);
        } else if (keyword == "convert_gnd") {
            EXPECT_NE(hq_[player], cell);
            EXPECT_TRUE(item.subItem(2) == "N" || item.subItem(2) == "B" || item.subItem(2) == "S");
        } else {
            const int target = cellOf(item.subItem(2));
            EXPECT_LE(std::abs(target % options_.width - cell % options_.width), 1);
            EXPECT_LE(std::abs(target / options_.width - cell / options_.width), 1);
            EXPECT_NE(target, cell);
            EXPECT_GE(n(3), 1);
            EXPECT_LE(n(3), units_[cell]);
            units_[cell] -= n(3);
            if (keyword == "move") {
                EXPECT_EQ(owner_.count(target) ? owner_[target] : -1, player);
                units_[target] += n(3);
            } else {
                attack(player, target, item.subItem(4) == "1", n(5));
            }
        }
    }

    void attack(int player, int target, bool success, int left) {
        const auto defender = owner_.find(target);
        EXPECT_TRUE(defender == owner_.end() || defender->second != player);
        if (!success) {
            EXPECT_LE(left, units_[target]);
            units_[target] = left;
            return;
        }
        EXPECT_GE(left, 1);
        if (defender != owner_.end() && hq_[defender->second] == target) {
            const int loser = defender->second;
            alive_.erase(loser);
            for (auto it = owner_.begin(); it != owner_.end();) {
                if (it->second == loser) {
                    units_.erase(it->first);
                    it = owner_.erase(it);
                } else {
                    ++it;
                }
            }
        }
        owner_[target] = player;
        units_[target] = left;
    }

    const RecordGeneratorOptions& options_;
    std::vector<QByteArray> lines_;
    QByteArray map_;
    std::map<QByteArray, int> players_;
    std::set<QByteArray> teams_;
    std::map<int, int> owner_;
    std::map<int, int> units_;
    std::map<int, int> hq_;
    std::set<int> alive_;
};

} // namespace

TEST(RecordGenerator, IsDeterministicPerSeed) {
    const auto options = optionsOf(11, 400, 5, 20, 20);
    const GeneratedRecord first = generateRecord(options);
    ASSERT_TRUE(first.error.isEmpty()) << first.error.toStdString();
    const GeneratedRecord again = generateRecord(options);
    EXPECT_EQ(first.xml, again.xml);
    EXPECT_EQ(first.log, again.log);

    // Writing only one of the files gives the same bytes.
    QByteArray logOnly;
    QBuffer buffer(&logOnly);
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(writeGeneratedRecord(options, nullptr, &buffer));
    EXPECT_EQ(logOnly, first.log);

    const GeneratedRecord other = generateRecord(optionsOf(12, 400, 5, 20, 20));
    EXPECT_NE(other.xml, first.xml);
    EXPECT_NE(other.log, first.log);
}

TEST(RecordGenerator, EventLogFollowsTheFormatAndTheWorld) {
    struct Case {
        uint64_t seed;
        int events, players, width, height;
    };
    // Tiny and crowded worlds, one player, many players, a world wider than its addresses.
    for (const Case& c :
         {Case{1, 3000, 4, 20, 20}, Case{2, 2000, 2, 2, 1}, Case{3, 500, 1, 5, 5},
          Case{4, 4000, 30, 12, 9}, Case{5, 3000, 6, 60, 40}, Case{6, 0, 3, 20, 20}}) {
        SCOPED_TRACE(testing::Message() << "seed " << c.seed);
        const auto options = optionsOf(c.seed, c.events, c.players, c.width, c.height);
        const GeneratedRecord record = generateRecord(options);
        ASSERT_TRUE(record.error.isEmpty()) << record.error.toStdString();
        LogChecker checker(options, record.log);
        checker.check();
        int events = 0;
        for (const auto& [keyword, count] : checker.keywords)
            events += count;
        EXPECT_EQ(events, c.events);
        if (c.events >= 3000) { // every kind of event occurs in a longer record
            EXPECT_EQ(checker.keywords.size(), 7u);
        }
    }
}

TEST(RecordGenerator, XmlRecordHasTheLinesTheReaderRequires) {
    bool sawHqRemoval = false;
    for (uint64_t seed = 1; seed <= 8; ++seed) {
        const auto options = optionsOf(seed, 50, 4, 20, 20);
        const GeneratedRecord record = generateRecord(options);
        const std::vector<QByteArray> lines = crlfLines(record.xml);
        ASSERT_GT(lines.size(), 8u);
        EXPECT_EQ(lines[0], R"(<?xml version="1.0" encoding="windows-1250"?>)");
        EXPECT_EQ(lines[1].trimmed(), "<record>");
        EXPECT_TRUE(lines[2].trimmed().startsWith("<world><"));
        EXPECT_TRUE(lines[2].endsWith("</world>"));
        EXPECT_EQ(lines[3].trimmed(), "<events>");
        EXPECT_EQ(lines[lines.size() - 2].trimmed(), "</events>");
        EXPECT_EQ(lines.back(), "</record>");
        // Indented with blanks only, and one element a line.
        for (const QByteArray& line : lines) {
            EXPECT_FALSE(line.contains('\t'));
            EXPECT_EQ(line.trimmed().count('<'), line.trimmed().count('>'));
        }
        if (record.xml.contains("<rhq>")) {
            sawHqRemoval = true;
            EXPECT_EQ(record.xml.count("<chq>"), options.players + 1);
        } else {
            EXPECT_EQ(record.xml.count("<chq>"), options.players);
        }
    }
    EXPECT_TRUE(sawHqRemoval);
}

TEST(RecordGenerator, NamesAndTimes) {
    auto options = optionsOf(21, 2000, 24, 20, 20);
    options.name = QStringLiteral("Žluťoučká louka");
    const GeneratedRecord record = generateRecord(options);
    const std::vector<QByteArray> lines = crlfLines(record.log);
    EXPECT_EQ(decodeWindows1250(splitFields(lines[0]).caption), options.name);
    // Czech names, numbered once the list is used up.
    EXPECT_EQ(decodeWindows1250(splitFields(lines[5]).subItem(1)), QStringLiteral("Šimon"));
    EXPECT_EQ(decodeWindows1250(splitFields(lines[26]).subItem(1)), QStringLiteral("Kuře2"));
    // The record starts on the default day and runs over days, sometimes hours apart.
    EXPECT_EQ(splitFields(lines[0]).subItem(0), "2026-14-11-09-00-00");
    const int32_t first = *timeSeconds(splitFields(lines[3]).subItem(0));
    const int32_t last = *timeSeconds(splitFields(lines.back()).subItem(0));
    EXPECT_GT(last - first, 2 * 86400);
    int longGaps = 0;
    for (size_t i = 4; i < lines.size(); ++i)
        longGaps += *timeSeconds(splitFields(lines[i]).subItem(0)) -
                        *timeSeconds(splitFields(lines[i - 1]).subItem(0)) >=
                    3600;
    EXPECT_GT(longGaps, 5);
}

TEST(RecordGenerator, RefusesWhatItCannotWrite) {
    const auto refused = [](auto change) {
        auto options = optionsOf(1, 10, 4, 20, 20);
        change(options);
        return !checkGeneratorOptions(options).isEmpty() &&
               !generateRecord(options).error.isEmpty();
    };
    EXPECT_FALSE(refused([](RecordGeneratorOptions&) {}));
    EXPECT_TRUE(refused([](RecordGeneratorOptions& o) { o.players = 0; }));
    EXPECT_TRUE(refused([](RecordGeneratorOptions& o) { o.players = 31; }));
    EXPECT_TRUE(refused([](RecordGeneratorOptions& o) { o.width = 1001; }));
    EXPECT_TRUE(refused([](RecordGeneratorOptions& o) { o.height = 0; }));
    EXPECT_TRUE(refused([](RecordGeneratorOptions& o) { o.events = -1; }));
    EXPECT_TRUE(refused([](RecordGeneratorOptions& o) { o.width = o.height = 1; }));
    EXPECT_TRUE(refused([](RecordGeneratorOptions& o) { o.name = "a;b"; }));
    EXPECT_TRUE(refused([](RecordGeneratorOptions& o) { o.name = "<louka>"; }));
    EXPECT_TRUE(refused([](RecordGeneratorOptions& o) { o.name = QStringLiteral("Жук"); }));
    EXPECT_TRUE(refused([](RecordGeneratorOptions& o) { o.name.clear(); }));
}

TEST(RecordGenerator, UsesOnlyColumnsWhoseAddressesReadBack) {
    EXPECT_EQ(addressableColumns(20), 20);
    // 'A' + 32 is 'a', which reads as column 0.
    EXPECT_EQ(addressableColumns(200), 32);
}

TEST(RecordGenerator, LargeWorldIsQuick) {
    const auto options = optionsOf(9, 50000, 30, 200, 200);
    const GeneratedRecord record = generateRecord(options);
    ASSERT_TRUE(record.error.isEmpty());
    EXPECT_EQ(record.log.count("\r\n"), 3 + 30 + 50000);
}

TEST(RecordGenerator, BundledSampleIsUpToDate) {
    // resources/samples is made by scripts/make-samples.sh with these options; after a change
    // of the generator, run that script again.
    RecordGeneratorOptions options = optionsOf(2029, 300, 5, 20, 20);
    options.name = QStringLiteral("Kopretinová louka");
    const GeneratedRecord record = generateRecord(options);
    const QString base = QStringLiteral(KX_SAMPLES_DIR "/Kopretinova_louka_2026-11-14");
    QFile xml(base + ".kxr2");
    QFile log(base + ".kxr");
    ASSERT_TRUE(xml.open(QIODevice::ReadOnly));
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    EXPECT_EQ(xml.readAll(), record.xml);
    EXPECT_EQ(log.readAll(), record.log);
}
