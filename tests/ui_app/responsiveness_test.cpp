#include "main_window_fixture.h"
#include "session_test_access.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <set>

using namespace kx;

namespace {

constexpr int kEvents = 200'000;
constexpr qint64 kLongestGapMs = 50;

// While the window works, a fast timer notes when the event loop served it and what the
// progress bar showed then.
class LoopWatch {
  public:
    explicit LoopWatch(QProgressBar* bar) : bar_(bar) {
        timer_.setTimerType(Qt::PreciseTimer);
        timer_.setInterval(1);
        QObject::connect(&timer_, &QTimer::timeout, [this] { note(); });
        QObject::connect(bar_, &QProgressBar::valueChanged,
                         [this](int value) { valuesSet_.push_back(value); });
    }
    void start() {
        clock_.start();
        stamps_ = {{0, -1}};
        timer_.start();
    }
    void stop() {
        timer_.stop();
        stamps_.push_back({clock_.elapsed(), -1});
    }
    qint64 longestGap() const { return stamps_[longest()].first - stamps_[longest() - 1].first; }
    // Where the longest gap was: the bar's values before and after it (-1: hidden, or the
    // start or the end of the work).
    QString longestGapPlace() const {
        return QStringLiteral("between bar values %1 and %2")
            .arg(stamps_[longest() - 1].second)
            .arg(stamps_[longest()].second);
    }
    qint64 total() const { return stamps_.back().first; }
    const std::set<int>& barValues() const { return barValues_; }
    const std::vector<int>& valuesSet() const { return valuesSet_; }

  private:
    size_t longest() const {
        size_t at = 1;
        for (size_t i = 1; i < stamps_.size(); ++i)
            if (stamps_[i].first - stamps_[i - 1].first > stamps_[at].first - stamps_[at - 1].first)
                at = i;
        return at;
    }
    void note() {
        const int value = bar_->isVisible() ? bar_->value() : -1;
        stamps_.push_back({clock_.elapsed(), value});
        if (value >= 0)
            barValues_.insert(value);
    }

    QTimer timer_;
    QElapsedTimer clock_;
    std::vector<std::pair<qint64, int>> stamps_; // when the loop served, and the bar's value
    std::set<int> barValues_;
    std::vector<int> valuesSet_; // every value the bar was given, in order
    QProgressBar* bar_;
};

// A generated record of kEvents events in both formats, made once for all tests here.
class LargeRecord {
  public:
    static const LargeRecord& get() {
        static const LargeRecord record;
        return record;
    }
    QString xml() const { return dir_.filePath("velky.kxr2"); }
    QString log() const { return dir_.filePath("velky.kxr"); }
    QString error;

  private:
    LargeRecord() {
        const QString generator = QStringLiteral(KX_BIN_DIR "/kxrgen");
        if (!QFileInfo(generator).isExecutable()) {
            error = generator + " is missing: build the target kxrgen";
            return;
        }
        QProcess run;
        run.start(generator, {"--events", QString::number(kEvents), "--players", "12", "--width",
                              "60", "--height", "50", "--kxr2", xml(), "--kxr", log()});
        if (!run.waitForFinished(60'000) || run.exitCode() != 0)
            error = "kxrgen failed: " + QString::fromLocal8Bit(run.readAllStandardError());
    }
    QTemporaryDir dir_;
};

struct ResponsivenessTest : MainWindowTest {
    void SetUp() override {
        MainWindowTest::SetUp();
        ASSERT_TRUE(LargeRecord::get().error.isEmpty()) << LargeRecord::get().error.toStdString();
    }
    // Runs `work` under the watch and checks that the loop was served, that the bar moved
    // forward in many steps, and that the served window showed at least `barSteps` of them
    // when the work lasted long enough for that (a fast machine loads an event log between
    // two or three servings, and shows only where it was then).
    template <typename Work> void expectResponsive(const char* what, size_t barSteps, Work&& work) {
        LoopWatch watch(child<QProgressBar>("pbLoad"));
        watch.start();
        work();
        watch.stop();
        std::printf("%s: %lld ms, longest gap of the event loop %lld ms %s\n", what,
                    static_cast<long long>(watch.total()),
                    static_cast<long long>(watch.longestGap()),
                    qPrintable(watch.longestGapPlace()));
        EXPECT_LT(watch.longestGap(), kLongestGapMs) << what;
        const std::vector<int>& set = watch.valuesSet();
        EXPECT_GE(set.size(), 20u) << what;
        EXPECT_TRUE(std::is_sorted(set.begin(), set.end())) << what;
        if (!set.empty()) {
            EXPECT_EQ(set.back(), 99) << what;
        }
        const size_t servings = static_cast<size_t>(watch.total() / 10);
        EXPECT_GE(watch.barValues().size(), std::min(barSteps, servings / 4)) << what;
        EXPECT_FALSE(child<QProgressBar>("pbLoad")->isVisible()) << what;
    }
};

} // namespace

TEST_F(ResponsivenessTest, LoadingALongRecordKeepsTheWindowServed) {
    // The conversion moves the bar from 0 to 50 and the event list on to 100; an event log
    // skips the first half and goes fast.
    expectResponsive("XML record", 3,
                     [&] { EXPECT_TRUE(window.openRecord(LargeRecord::get().xml())); });
    EXPECT_EQ(window.session().state().lvData.size(), kEvents + 14);
    expectResponsive("event log", 2,
                     [&] { EXPECT_TRUE(window.openRecord(LargeRecord::get().log())); });
    EXPECT_EQ(window.session().state().lvData.size(), kEvents + 14);
    EXPECT_TRUE(messages.shown.isEmpty());
}

TEST_F(ResponsivenessTest, ClosingDuringALoadClosesWhenTheLoadEnds) {
    bool loading = true;
    bool askedDuringLoad = false;
    bool closedDuringLoad = false;
    QTimer::singleShot(20, &window, [&] {
        window.close();
        askedDuringLoad = loading;
        closedDuringLoad = loading && !window.isVisible();
    });
    EXPECT_TRUE(window.openRecord(LargeRecord::get().xml()));
    loading = false;
    EXPECT_TRUE(askedDuringLoad);
    EXPECT_FALSE(closedDuringLoad);
    EXPECT_TRUE(waitFor([&] { return !window.isVisible(); }));
    EXPECT_EQ(window.session().state().lvData.size(), kEvents + 14);
}

TEST_F(ResponsivenessTest, AJumpBackThroughALongRecordKeepsTheWindowServed) {
    ASSERT_TRUE(window.openRecord(LargeRecord::get().log()));
    // To the end without display, then back one event the slow way: a rebuild and a quiet
    // replay of everything before it.
    ReplaySession& session = window.session();
    session.setSnapshotsEnabled(false);
    SessionTestAccess::state(session).world.liveDisplay = 0;
    while (session.state().world.eventIndex < session.state().lvData.size())
        session.replayStep();
    SessionTestAccess::state(session).world.liveDisplay = 1;
    expectResponsive("back jump", 2, [&] { click("Button6"); });
    EXPECT_EQ(session.state().world.eventIndex, kEvents + 13);
    EXPECT_EQ(infoLines().last(),
              QStringLiteral("Akce %1 z %2").arg(kEvents + 12).arg(kEvents + 14));
}
