// kxsoak: the main window, offscreen, with its map drawn, runs the slide show at its shortest
// interval over a large generated record for a long while, with backward jumps and changes
// of the view at random, as a user does. The resident set is sampled all along; the run
// fails when it grows by 1 % or more after the first minute (--settle), when nothing was shown
// or jumped, or when the viewer showed a message.
#include "resident_memory.h"
#include "viewer_user.h"

#include "record_generator.h"

#include "app/startup.h"
#include "app/ui/main_window.h"
#include "app/ui/window_extras.h"
#include "records/user_messages.h"
#include "stats/ui/figure_worker.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <type_traits>
#include <vector>

using namespace kx;
using namespace kx::soak;

namespace {

struct Options {
    double seconds = 1800;
    double settle = 60;
    double sample = 5;
    double report = 60;
    int64_t events = 1'000'000;
    int pauseMs = 300;
    uint32_t seed = 20261209;
    bool memoryCheck = true;
    int growKiB = 0;
    double limitPercent = 1;
};

double mib(int64_t bytes) {
    return double(bytes) / (1024.0 * 1024.0);
}

bool readOptions(const QCoreApplication& app, Options& options) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("The slide show over a large record with random backward jumps and "
                       "view changes; fails when the resident set grows by 1 % or more."));
    parser.addHelpOption();
    const QCommandLineOption minutes(QStringLiteral("minutes"), QStringLiteral("Run time."),
                                     QStringLiteral("N"));
    const QCommandLineOption seconds(QStringLiteral("seconds"),
                                     QStringLiteral("Run time in seconds (default 1800)."),
                                     QStringLiteral("S"));
    const QCommandLineOption settle(
        QStringLiteral("settle"),
        QStringLiteral("Growth is measured from the sample this late (default 60 s)."),
        QStringLiteral("S"));
    const QCommandLineOption sample(QStringLiteral("sample"),
                                    QStringLiteral("Seconds between samples (default 5)."),
                                    QStringLiteral("S"));
    const QCommandLineOption report(QStringLiteral("report"),
                                    QStringLiteral("Seconds between progress lines (default 60)."),
                                    QStringLiteral("S"));
    const QCommandLineOption events(QStringLiteral("events"),
                                    QStringLiteral("Events in the record (default 1000000)."),
                                    QStringLiteral("N"));
    const QCommandLineOption pause(QStringLiteral("pause"),
                                   QStringLiteral("Mean milliseconds between user actions."),
                                   QStringLiteral("MS"));
    const QCommandLineOption seed(QStringLiteral("seed"), QStringLiteral("Random seed."),
                                  QStringLiteral("N"));
    const QCommandLineOption noMemoryCheck(
        QStringLiteral("no-memory-check"),
        QStringLiteral("Report the growth but do not fail on it (sanitized builds)."));
    const QCommandLineOption grow(
        QStringLiteral("grow"),
        QStringLiteral("Keeps KiB more memory at every sample (checks that growth fails)."),
        QStringLiteral("KIB"));
    const QCommandLineOption limit(
        QStringLiteral("limit"),
        QStringLiteral("Growth in percent that fails the run (default 1; a short run, whose "
                       "caches are still filling, needs more)."),
        QStringLiteral("PERCENT"));
    parser.addOptions({minutes, seconds, settle, sample, report, events, pause, seed, noMemoryCheck,
                       grow, limit});
    parser.process(app);

    bool ok = true;
    auto number = [&](const QCommandLineOption& option, auto& value, double least) {
        if (!parser.isSet(option))
            return;
        bool read = false;
        const double given = parser.value(option).toDouble(&read);
        if (!read || given < least) {
            std::fprintf(stderr, "kxsoak: bad --%s\n", qPrintable(option.names().first()));
            ok = false;
            return;
        }
        value = static_cast<std::remove_reference_t<decltype(value)>>(given);
    };
    number(seconds, options.seconds, 1);
    if (parser.isSet(minutes)) {
        number(minutes, options.seconds, 0.1);
        options.seconds *= 60;
    }
    number(settle, options.settle, 0);
    number(sample, options.sample, 0.1);
    number(report, options.report, 1);
    number(events, options.events, 100);
    number(pause, options.pauseMs, 2);
    number(seed, options.seed, 0);
    number(grow, options.growKiB, 0);
    number(limit, options.limitPercent, 0.01);
    options.memoryCheck = !parser.isSet(noMemoryCheck);
    if (ok && options.settle >= options.seconds) {
        std::fprintf(stderr, "kxsoak: --settle must be shorter than the run\n");
        ok = false;
    }
    return ok;
}

QString writeRecord(const QTemporaryDir& dir, const Options& options) {
    RecordGeneratorOptions generator;
    generator.seed = options.seed;
    generator.events = options.events;
    generator.width = 100;
    generator.height = 100;
    generator.players = 8;
    const QString path = dir.filePath(QStringLiteral("soak.kxr"));
    QFile file(path);
    QString error;
    if (!file.open(QIODevice::WriteOnly) ||
        !writeGeneratedRecord(generator, nullptr, &file, &error)) {
        std::fprintf(stderr, "kxsoak: the record was not written: %s\n", qPrintable(error));
        return {};
    }
    return path;
}

// The offscreen platform says for every raised dock that it cannot raise windows; the rest
// goes on to Qt's own output.
QtMessageHandler qtOutput = nullptr;
void quietOffscreenNotes(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (qtOutput && !text.startsWith(QLatin1String("This plugin does not support")))
        qtOutput(type, context, text);
}

} // namespace

int main(int argc, char** argv) {
    // Settings, the record library and bookmarks go to a folder of the run's own, never to
    // the user's home; the window is drawn offscreen.
    QTemporaryDir home;
    if (!home.isValid())
        return 2;
    for (const char* name : {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME"})
        qputenv(name, home.filePath(QLatin1String(name)).toLocal8Bit());
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qtOutput = qInstallMessageHandler(quietOffscreenNotes);
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Velmora"));
    QCoreApplication::setApplicationName(QStringLiteral("KXReview"));

    Options options;
    if (!readOptions(app, options))
        return 2;
    const QString record = writeRecord(home, options);
    if (record.isEmpty())
        return 2;

    const std::unique_ptr<QSettings> settings(openSettings());
    RecordedMessages messages;
    TFMain window;
    new WindowExtras(window, *settings);
    window.setMessages(&messages);
    window.resize(1100, 800);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        return 2;
    QElapsedTimer loading;
    loading.start();
    if (!window.openRecord(record)) {
        std::fprintf(stderr, "kxsoak: the record did not load\n");
        return 2;
    }
    const double loaded = double(loading.elapsed()) / 1000.0;
    // The record's figures and markers come from a pass on another thread; the user waits for
    // the timeline's markers before the run is measured.
    if (!QTest::qWaitFor([&window] { return window.figureWorker().current() != nullptr; },
                         600'000)) {
        std::fprintf(stderr, "kxsoak: the record's markers did not come\n");
        return 2;
    }
    std::printf("Soak: %lld events, 100 x 100 world, 8 players, seed %u; loaded in %.1f s, "
                "markers in %.1f s\n",
                static_cast<long long>(options.events), options.seed, loaded,
                double(loading.elapsed()) / 1000.0);
    std::fflush(stdout);

    auto* user = new ViewerUser(window, options.seed);
    QElapsedTimer clock;
    clock.start();
    std::vector<MemorySample> samples{{0.0, residentBytes()}};
    std::vector<std::unique_ptr<char[]>> grown;
    std::optional<size_t> copiesAtSettle;
    double nextReport = options.report;
    auto takeSample = [&] {
        if (options.growKiB > 0) {
            grown.emplace_back(new char[size_t(options.growKiB) * 1024]);
            std::memset(grown.back().get(), 1, size_t(options.growKiB) * 1024);
        }
        samples.push_back({double(clock.elapsed()) / 1000.0, residentBytes()});
        if (!copiesAtSettle && samples.back().seconds >= options.settle)
            copiesAtSettle = window.session().snapshots().size();
        if (samples.back().seconds >= nextReport) {
            nextReport += options.report;
            std::printf("%6.1f min  %.1f MiB (files %.1f MiB)  %lld events shown  %lld jumps\n",
                        samples.back().seconds / 60, mib(samples.back().bytes),
                        mib(fileBackedBytes()), static_cast<long long>(user->eventsShown()),
                        static_cast<long long>(user->jumps()));
            std::fflush(stdout);
        }
    };
    QTimer sampler;
    QObject::connect(&sampler, &QTimer::timeout, takeSample);
    sampler.start(int(options.sample * 1000));
    QTimer::singleShot(int(options.seconds * 1000), &app, [&] {
        sampler.stop();
        user->stop();
        takeSample();
        QApplication::quit();
    });
    user->start(options.pauseMs);
    QApplication::exec();

    const double minutes = samples.back().seconds / 60;
    const auto growth = memoryGrowth(samples, options.settle);
    std::printf("\n%8s %13s %9s %7s %13s %13s %12s %9s\n", "minutes", "events shown", "events/s",
                "jumps", "view changes", "RSS at settle", "RSS at end", "growth");
    std::printf("%8.1f %13lld %9.0f %7lld %13lld %9.1f MiB %9.1f MiB %+8.2f %%\n", minutes,
                static_cast<long long>(user->eventsShown()),
                double(user->eventsShown()) / samples.back().seconds,
                static_cast<long long>(user->jumps()), static_cast<long long>(user->viewChanges()),
                growth ? mib(growth->settled.bytes) : 0.0, mib(samples.back().bytes),
                growth ? growth->growth * 100 : 0.0);
    std::printf("(settled at %.0f s; %lld forward jumps; %lld restarts of the slide show; "
                "%zu copies of the world at settle, %zu at the end; %zu samples)\n",
                growth ? growth->settled.seconds : 0.0,
                static_cast<long long>(user->forwardJumps()),
                static_cast<long long>(user->restarts()), copiesAtSettle.value_or(0),
                window.session().snapshots().size(), samples.size());

    bool failed = false;
    auto fail = [&failed](const char* why) {
        std::printf("FAIL: %s\n", why);
        failed = true;
    };
    if (user->eventsShown() == 0)
        fail("the slide show showed no event");
    if (user->jumps() == 0)
        fail("no backward jump was done");
    for (const QString& text : messages.shown)
        std::printf("message: %s\n", qPrintable(text));
    if (!messages.shown.isEmpty())
        fail("the viewer showed messages");
    if (!growth)
        fail("no memory sample after the settling time");
    else if (options.memoryCheck && growth->growth * 100 >= options.limitPercent)
        fail("the resident set grew by the limit or more");
    if (!failed)
        std::printf("OK\n");
    return failed ? 1 : 0;
}
