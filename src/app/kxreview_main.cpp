// The viewer's entry: Czech texts, the five windows, the one-time association question and
// the record named on the command line.
#include "app/command_line.h"
#include "app/file_association.h"
#include "app/startup.h"
#include "app/ui/about_window.h"
#include "app/ui/main_window.h"
#include "app/ui/window_extras.h"
#include "browser/ui/explore_window.h"
#include "editor/ui/editor_window.h"
#include "library/ui/library_window.h"
#include "records/record_format.h"
#include "records/record_prefetch.h"
#include "records/ui/converter_window.h"
#include "replay/session.h"
#include "stats/ui/charts_window.h"

#include <QApplication>
#include <QFileInfo>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QSettings>
#include <QThread>
#include <QTimer>
#include <QTranslator>

#include <chrono>
#include <cstdio>
#include <memory>
#include <optional>

namespace kx {

namespace {

// Messages of a run without windows to answer them: written to standard error; every
// question is answered "no".
class StandardErrorMessages : public UserMessages {
  public:
    void showMessage(const QString& text) override {
        std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
    }
    bool askYesNo(const QString& caption, const QString& text, bool) override {
        showMessage(caption + QStringLiteral(": ") + text);
        return false;
    }
};

// --help, --version and usage errors, answered before the toolkit looks for a display.
// nullopt when the viewer is to start.
std::optional<int> answerCommandLine(int argc, char* argv[]) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    const ViewerCommandLine commandLine = parseViewerCommandLine(arguments);
    switch (commandLine.action) {
    case ViewerAction::Run:
        return std::nullopt;
    case ViewerAction::Help:
        std::printf("%s\n", viewerUsage().toLocal8Bit().constData());
        return 0;
    case ViewerAction::Version:
        std::printf("kxreview %s\n", KX_VERSION);
        return 0;
    case ViewerAction::UsageError:
        std::fprintf(stderr, "kxreview: %s\n%s\n", commandLine.error.toLocal8Bit().constData(),
                     viewerUsage().toLocal8Bit().constData());
        return 2;
    }
    return 2;
}

// The program icon in every size the build rendered (the hicolor theme's sizes).
QIcon programIcon() {
    QIcon icon;
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/hicolor/%1x%1/apps/kxreview.png").arg(size),
                     QSize(size, size));
    return icon;
}

// Ends the event loop once a widget of the given window has been painted for the first time,
// and prints the wall-clock time of that moment for a caller that knows when the process
// started. Watches the whole application: a window whose children cover it gets no paint of
// its own.
class QuitAfterFirstPaint : public QObject {
  public:
    explicit QuitAfterFirstPaint(const QWidget& window) : window_(window) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (!painted_ && event->type() == QEvent::Paint && watched->isWidgetType() &&
            static_cast<QWidget*>(watched)->window() == &window_) {
            painted_ = true;
            // Queued: the rest of the window is painted in the same pass. That may be while
            // a record loads, before the event loop runs: done() tells the caller.
            QTimer::singleShot(0, qApp, [this] {
                using namespace std::chrono;
                const auto now =
                    duration_cast<microseconds>(system_clock::now().time_since_epoch());
                std::printf("first paint: %lld\n", static_cast<long long>(now.count()));
                std::fflush(stdout);
                done_ = true;
                QCoreApplication::quit();
            });
        }
        return QObject::eventFilter(watched, event);
    }

    bool done() const { return done_; }

  private:
    const QWidget& window_;
    bool painted_ = false;
    bool done_ = false;
};

} // namespace

} // namespace kx

int main(int argc, char* argv[]) {
    if (const std::optional<int> status = kx::answerCommandLine(argc, argv))
        return *status;
    // The record named on the command line is read and converted on a thread of its own while
    // the application and its windows are built; the window's load takes what it read. The
    // name is taken from the arguments as Qt will give them; a read of another name (Qt's own
    // options among them) is dropped by the load.
    std::unique_ptr<kx::RecordPrefetch> prefetch;
    {
        // Qt takes the first thread that asks for its thread data as the main one: this one
        // asks before the reading thread starts.
        QThread::currentThread();
        QStringList arguments;
        for (int i = 0; i < argc; ++i)
            arguments.append(QString::fromLocal8Bit(argv[i]));
        if (const std::optional<QString> file = kx::startFileFromArguments(arguments))
            prefetch = std::make_unique<kx::RecordPrefetch>(*file, kx::recordFormatForPath(*file),
                                                            kx::ReplaySession::blankWorld());
    }
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Velmora"));
    QCoreApplication::setApplicationName(QStringLiteral("KXReview"));
    // The name in the task bar and the message boxes; the main window keeps its own caption.
    QGuiApplication::setApplicationDisplayName(QString::fromUtf8(kx::kApplicationTitle));
    QGuiApplication::setDesktopFileName(QStringLiteral("kxreview"));
    QApplication::setWindowIcon(kx::programIcon());

    // Qt's own texts (standard buttons, the file dialog) in Czech.
    QTranslator qtTranslator;
    if (qtTranslator.load(QLocale(QLocale::Czech), QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTranslator);

    const std::optional<QString> startFile = kx::startFileFromArguments(QApplication::arguments());

    // The settings live as long as the windows that keep things in them.
    const std::unique_ptr<QSettings> settings(kx::openSettings());
    kx::StandardErrorMessages errorOutput; // outlives the window that may report through it
    kx::TFMain mainWindow;
    mainWindow.session().setPrefetch(std::move(prefetch));
    auto* extras = new kx::WindowExtras(mainWindow, *settings); // recent records, layout, drop
    mainWindow.show();
    // KX_QUIT_AFTER_LOAD (scripts/bench.sh, the start-up check of the tests): start as usual
    // without asking anything, open the named record, if any, and end without entering the
    // event loop: 0 when it loaded (or none was named), 1 with the message on standard error
    // when it did not. KX_QUIT_AFTER_PAINT (the start-up figure of scripts/bench.sh): the same,
    // but the event loop runs until the main window has been painted once, and the time of
    // that paint is printed ("first paint: " and microseconds since the epoch).
    const bool quitAfterPaint = qEnvironmentVariableIsSet("KX_QUIT_AFTER_PAINT");
    const bool quitAfterLoad = qEnvironmentVariableIsSet("KX_QUIT_AFTER_LOAD") || quitAfterPaint;
    kx::QuitAfterFirstPaint quitter(mainWindow);
    if (quitAfterPaint)
        QApplication::instance()->installEventFilter(&quitter);
    if (quitAfterLoad) {
        mainWindow.setMessages(&errorOutput);
    } else {
        kx::XdgFileAssociation association(QCoreApplication::applicationFilePath());
        kx::runAssociationStep(*settings, mainWindow.messages(), association);
        kx::reportSettingsTrouble(*settings, mainWindow.messages());
    }
    // The other windows, in their order; each lives until the program ends and is hidden,
    // not destroyed, when closed.
    kx::TFAbout aboutWindow(&mainWindow); // FAbout
    mainWindow.setAboutWindow(&aboutWindow);
    kx::TFExplore exploreWindow(&mainWindow); // FExplore
    exploreWindow.setRecordOpener(
        [&mainWindow](const QString& path) { mainWindow.openRecord(path); });
    exploreWindow.setFolderMemory(settings.get());
    mainWindow.setBrowserWindow(&exploreWindow);
    kx::TFCreate editorWindow(&mainWindow); // FCreate: the map editor
    mainWindow.setEditorWindow(&editorWindow);
    kx::TFConv2 converterWindow(&mainWindow); // FConv2
    mainWindow.setConverterWindow(&converterWindow);
    // The world's figures, from the quiet pass that also finds the timeline's markers.
    kx::TFCharts chartsWindow(mainWindow.session(), &mainWindow, &mainWindow.figureWorker());
    mainWindow.setChartsWindow(&chartsWindow);
    kx::TFLibrary libraryWindow(&mainWindow); // the record library
    libraryWindow.setRecordOpener([&mainWindow](const QString& path) {
        mainWindow.openRecord(path);
        mainWindow.raise();
        mainWindow.activateWindow();
    });
    libraryWindow.setFolderShower([&exploreWindow](const QString& record) {
        exploreWindow.showFolder(QFileInfo(record).absolutePath());
        exploreWindow.setWindowModality(Qt::ApplicationModal);
        exploreWindow.show();
        exploreWindow.raise();
    });
    mainWindow.setLibraryWindow(&libraryWindow);
    // A relative path is read from the directory the program was started in: no window has
    // changed the process's directory so far.
    const bool loaded = !startFile || mainWindow.openRecord(*startFile);
    if (quitAfterLoad && !(quitAfterPaint && loaded && !quitter.done()))
        return loaded ? 0 : 1;
    const int status = QApplication::exec();
    extras->saveLayout();
    return status;
}
