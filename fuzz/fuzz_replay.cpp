// Fuzz target: loading a record and using the main window on it.
//
// Input layout: [record bytes][action bytes][control byte]. The control byte's bit 0 reads
// the record as an XML record (else as an event log), bit 1 loads a small good record before
// it, and bits 2 to 7 give the number of action bytes before the control byte, of which the
// first kMaxActions are done. Each action
// byte is a user action (low four bits) with an argument (high four bits): forward, forward
// ten, back, back ten, "Pokračovat" or a reload, selecting a player, pointing at the map,
// the view and highlight, the slide show, the interval edit, and loads of the good record or
// of the same file read the other way.
//
// Worlds with a side longer than kMaxSide fields are left to the loaders' own targets: they only
// slow the replay down. A custom mutator keeps the record mostly well formed (record_mutator.h) and
// mutates the actions and the control byte apart from it.
//
// Two sessions do the same: one jumps back from copies of the world, the other rebuilds and
// replays from the first event. After every action the state must be consistent, and at the
// end both sessions must show the same state, as kxrtool replay prints it.

#include "record_mutator.h"

#include "records/record_loader.h"
#include "replay/session.h"
#include "replay_actions.h"
#include "state_json.h"

#include <QByteArray>
#include <QJsonObject>
#include <QLocale>
#include <QString>

#include <unistd.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

extern "C" size_t LLVMFuzzerMutate(uint8_t* data, size_t size, size_t maxSize);

namespace {

constexpr size_t kMaxActions = 24;
constexpr int kMaxSide = 32;
// Loads are the dearest actions; beyond this many in one session they step forward instead.
constexpr int kMaxReloads = 1;

// Aborts, naming the line of the failed check.
void check(bool condition, int line = __builtin_LINE()) {
    if (!condition) {
        std::fprintf(stderr, "check failed at %s:%d\n", __FILE__, line);
        std::abort();
    }
}

// A small record that loads: two players, a few events over several hours.
constexpr char kGoodRecord[] = "2005-07-03-14-00-00; Louka; 2; 4; 3; 4;\r\n"
                               "2005-07-03-14-00-00; create_world; NNBSNNNNSBNN;\r\n"
                               "2005-07-03-14-01-00; create_hq; Pepa; louka; A0;\r\n"
                               "2005-07-03-14-02-00; create_hq; Jana; les; D2;\r\n"
                               "2005-07-03-15-00-00; buy; A0; komár; 20;\r\n"
                               "2005-07-03-15-10-00; move; A0; B0; 10;\r\n"
                               "2005-07-03-17-00-00; buy; D2; šváb; 3;\r\n"
                               "2005-07-03-18-00-00; attack; B0; C1; 5; 1; 4;\r\n"
                               "2005-07-03-18-30-00; convert_gnd; C1; S;\r\n"
                               "2005-07-03-19-00-00; trade; Pepa; Jana; 40;\r\n"
                               "2005-07-03-20-00-00; trade_hq; Jana; Pepa; 10; 5;\r\n"
                               "2005-07-03-21-00-00; retreat; A0; 2;\r\n"
                               "2005-07-04-09-00-00; attack; C1; D2; 4; 1; 2;\r\n";

QString writeFile(const char* role, const char* bytes, size_t size) {
    const char* dir = std::getenv("TMPDIR");
    const QString path = QStringLiteral("%1/kx_fuzz_replay_%2_%3")
                             .arg(QString::fromLocal8Bit(dir && *dir ? dir : "/tmp"))
                             .arg(::getpid())
                             .arg(QString::fromLatin1(role));
    const QByteArray name = path.toLocal8Bit();
    std::FILE* file = std::fopen(name.constData(), "wb");
    check(file != nullptr);
    check(std::fwrite(bytes, 1, size, file) == size);
    check(std::fclose(file) == 0);
    return path;
}

// Whether the record declares a side longer than kMaxSide fields: the event log's header
// fields 3 and 4, or an XML record's <width> and <height>. Read before loading, as a large
// world's grids cost more to allocate than a small record costs to replay.
bool declaresLargeWorld(std::string_view text) {
    auto large = [](std::string_view number) {
        while (!number.empty() && number.front() == ' ')
            number.remove_prefix(1);
        size_t digits = 0;
        int value = 0;
        while (digits < number.size() && number[digits] >= '0' && number[digits] <= '9') {
            if (++digits > 3)
                return true;
            value = value * 10 + (number[digits - 1] - '0');
        }
        return value > kMaxSide;
    };
    for (const std::string_view tag : {"<width>", "<height>"}) {
        const size_t at = text.find(tag);
        if (at != std::string_view::npos && large(text.substr(at + tag.size())))
            return true;
    }
    std::string_view header = text.substr(0, text.find('\n'));
    for (int field = 0; field <= 4; ++field) {
        const size_t end = header.find(';');
        if (end == std::string_view::npos)
            return false;
        if (field >= 3 && large(header.substr(0, end)))
            return true;
        header.remove_prefix(end + 1);
    }
    return false;
}

struct Paths {
    QString record;
    QString good;
};

const Paths& paths() {
    static const Paths p = [] {
        Paths made{writeFile("record", "", 0),
                   writeFile("good", kGoodRecord, sizeof kGoodRecord - 1)};
        std::atexit([] {
            std::remove(paths().record.toLocal8Bit().constData());
            std::remove(paths().good.toLocal8Bit().constData());
        });
        return made;
    }();
    return p;
}

void checkState(const kx::ReplaySession& session) {
    const kx::MainState& s = session.state();
    const kx::World& w = s.world;
    check(!session.busy());
    check(w.eventIndex >= 0 && w.eventIndex <= s.lvData.size());
    check(s.selectedPlayer == -1 ||
          (s.selectedPlayer >= 0 && s.selectedPlayer < s.cbPlayers.size()));
    check(w.width() >= 1 && w.width() <= kx::kMaxWorldSide);
    check(w.height() >= 1 && w.height() <= kx::kMaxWorldSide);
    check(w.playerCount() <= kx::kMaxPlayers);
    check(s.cbPlayers.size() == w.playerCount());
    check(s.mapColumns == w.width() + 1 && s.mapRows == w.height() + 1);
    check(s.mapShown != s.summaryShown);
    check(!s.progressVisible);
    for (const kx::PlayerRecord& player : w.playerTable)
        check(player[kx::Team] >= kx::kTeamDestroyed && player[kx::Team] <= kx::kTeamLes);
    // The fields' running tally agrees with a count over the map.
    std::array<int32_t, kx::kMaxPlayers + 1> fields{};
    std::array<uint32_t, kx::kMaxPlayers + 1> yield{};
    for (int x = 0; x < w.width(); ++x)
        for (int y = 0; y < w.height(); ++y) {
            const int32_t code = w.fieldGrid(x, y);
            const int owner = kx::fieldOwner(code);
            if (owner < 1)
                continue;
            ++fields[size_t(owner)];
            yield[size_t(owner)] += uint32_t(kx::terrainYield(kx::fieldTerrain(code)));
        }
    for (int owner = 1; owner <= kx::kMaxPlayers; ++owner)
        check(w.fieldGrid.ownedFields(owner) == fields[size_t(owner)] &&
              uint32_t(w.fieldGrid.ownedYield(owner)) == yield[size_t(owner)]);
}

void act(kx::ReplaySession& session, uint8_t byte, uint8_t next, kx::RecordFormat reading,
         int& reloads) {
    using K = kx::ReplayAction::Kind;
    const int arg = byte >> 4;
    const bool reload = (byte & 15) == 14 || (byte & 15) == 15 ||
                        ((byte & 15) == 4 && !session.state().summaryShown);
    if (reload && ++reloads > kMaxReloads)
        byte = 0;
    auto perform = [&session](K kind, int number = 0, QString text = {}) {
        kx::performReplayAction(session, kx::ReplayAction{kind, number, 0, std::move(text)});
    };
    switch (byte & 15) {
    case 0:
        return perform(K::Forward);
    case 1:
        return perform(K::Forward10);
    case 2:
        return perform(K::Back);
    case 3:
        return perform(K::Back10);
    case 4:
        if (session.state().summaryShown)
            return perform(K::Next);
        session.loadRecord(paths().record, reading);
        return;
    case 5:
        return perform(K::Select, arg - 1);
    case 6:
        // Grid coordinates, the headers and cells beyond the map included.
        return session.dgMapMouseMove(arg, next);
    case 7:
        return perform(K::View, arg - 1);
    case 8:
        return perform(K::Highlight, arg & 1);
    case 9:
        return perform(K::Start);
    case 10:
        return perform(K::Stop);
    case 11:
        return perform(K::Tick);
    case 12:
        return perform(K::End);
    case 13: {
        static const char* const kTexts[] = {"", "0", "00", "x1", "-5", "1", "10", "9999"};
        return perform(K::EditInterval, 0, QString::fromLatin1(kTexts[arg & 7]));
    }
    case 14:
        session.loadRecord(paths().good, kx::RecordFormat::EventLog);
        return;
    default:
        session.loadRecord(paths().record, reading == kx::RecordFormat::Xml
                                               ? kx::RecordFormat::EventLog
                                               : kx::RecordFormat::Xml);
        return;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    const uint8_t control = data[size - 1];
    const kx::RecordFormat reading =
        control & 1 ? kx::RecordFormat::Xml : kx::RecordFormat::EventLog;
    const size_t actionBytes = std::min<size_t>(control >> 2, size - 1);
    const size_t actionCount = std::min(actionBytes, kMaxActions);
    const size_t recordSize = size - 1 - actionBytes;
    const uint8_t* actions = data + recordSize;

    if (declaresLargeWorld({reinterpret_cast<const char*>(data), recordSize}))
        return -1; // not kept in the corpus
    const Paths& p = paths();
    writeFile("record", reinterpret_cast<const char*>(data), recordSize);

    kx::RecordedMessages messagesA;
    kx::RecordedMessages messagesB;
    kx::ReplaySession copies(messagesA, QLocale::c());
    kx::ReplaySession rebuilds(messagesB, QLocale::c());
    copies.setSnapshotSpacing(3);
    rebuilds.setSnapshotsEnabled(false);

    for (kx::ReplaySession* session : {&copies, &rebuilds}) {
        if (control & 2)
            check(session->loadRecord(p.good, kx::RecordFormat::EventLog));
        session->loadRecord(p.record, reading);
        checkState(*session);
        int reloads = 0;
        for (size_t i = 0; i < actionCount; ++i) {
            act(*session, actions[i], i + 1 < actionCount ? actions[i + 1] : 0, reading, reloads);
            checkState(*session);
        }
    }
    // Both show the same, down to every field kxrtool prints.
    check(kx::mainStateJson(copies, messagesA.shown) ==
          kx::mainStateJson(rebuilds, messagesB.shown));
    return 0;
}

// Mutates the record, the actions or the control byte, each apart from the others.
extern "C" size_t LLVMFuzzerCustomMutator(uint8_t* data, size_t size, size_t maxSize,
                                          unsigned seed) {
    if (size == 0 || seed % 8 == 0)
        return LLVMFuzzerMutate(data, size, maxSize);
    uint8_t control = data[size - 1];
    size_t actionBytes = std::min<size_t>(control >> 2, size - 1);
    std::string record(reinterpret_cast<const char*>(data), size - 1 - actionBytes);
    std::string actions(reinterpret_cast<const char*>(data) + record.size(), actionBytes);
    switch (seed % 8) {
    case 1:
    case 2: {
        actions.resize(kMaxActions);
        actions.resize(LLVMFuzzerMutate(reinterpret_cast<uint8_t*>(actions.data()),
                                        std::min(actionBytes, kMaxActions), kMaxActions));
        break;
    }
    case 3:
        control ^= uint8_t(1 << (seed / 8 % 2));
        break;
    default: {
        const size_t room = maxSize > actions.size() + 1 ? maxSize - actions.size() - 1 : 0;
        const size_t recordSize = record.size();
        record.resize(std::max(room, recordSize));
        record.resize(kxfuzz::mutateRecord(reinterpret_cast<uint8_t*>(record.data()), recordSize,
                                           room, seed / 8));
        break;
    }
    }
    control = uint8_t((control & 3) | (actions.size() << 2));
    const std::string input = record + actions + char(control);
    if (input.size() > maxSize)
        return LLVMFuzzerMutate(data, size, maxSize);
    std::memcpy(data, input.data(), input.size());
    return input.size();
}
