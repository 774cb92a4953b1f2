#pragma once

#include "record_open_dialog.h"
#include "widgets/qt_user_messages.h"
#include "window_activity.h"

#include "library/bookmarks.h"
#include "replay/session.h"

#include <QMainWindow>

#include <functional>
#include <map>
#include <memory>
#include <optional>

class QAction;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QSlider;
class QStackedWidget;
class QTabWidget;
class QTimer;
class QWidget;

namespace kx {

struct ClipEnd;

class EventDock;
class FigureWorker;
class MapGrid;
class TFConv2;
class TimelineBar;

// The main window: binds its controls to the replay session and shows what it says.
class TFMain : public QMainWindow {
    Q_OBJECT
  public:
    explicit TFMain(QWidget* parent = nullptr);
    ~TFMain() override;

    ReplaySession& session() { return session_; }
    UserMessages& messages() { return *messages_; }
    // Replaces the message boxes (tests record them instead).
    void setMessages(UserMessages* messages);
    void setOpenDialog(OpenDialog* dialog) { openDialog_ = dialog; }
    void setConverterWindow(TFConv2* window) { converter_ = window; }
    // Windows opened from the menu; a window not yet set leaves its entry without effect.
    void setBrowserWindow(QWidget* window) { browser_ = window; }
    void setEditorWindow(QWidget* window) { editor_ = window; }
    void setAboutWindow(QWidget* window) { about_ = window; }
    void setChartsWindow(QWidget* window) { charts_ = window; }
    void setLibraryWindow(QWidget* window) { library_ = window; }

    // Loads a record handed over by name (command line, record browser): read by its name.
    bool openRecord(const QString& path);

    // Shows everything the session holds now.
    void refresh();

    // The figures, markers and content hash of the record, shared with the charts window.
    FigureWorker& figureWorker() { return *figures_; }
    // Asks for a bookmark's note, showing `note` to start from; nullopt when the user
    // cancels. The default asks with QInputDialog (tests answer instead).
    using NoteAsker =
        std::function<std::optional<QString>(const QString& title, const QString& note)>;
    void setNoteAsker(NoteAsker asker) { noteAsker_ = std::move(asker); }
    // Where bookmarks are kept (the user's library or bookmark file unless set).
    void setBookmarkStore(Bookmarks store) { bookmarkStore_ = std::move(store); }
    const std::map<int32_t, QString>& bookmarks() const { return bookmarks_; }
    // The events offered as a clip's ends: the bookmarks, then the markers the timeline's
    // filter shows (at most kMaxClipEndMarkers of them).
    static constexpr int kMaxClipEndMarkers = 200;
    QList<ClipEnd> clipEnds() const;
    // Markers and bookmarks: the next (1) or previous (-1) marker the timeline's filter
    // shows; a bookmark at an event asked for with a note.
    void stepToMarker(int direction);
    void addBookmark(int32_t event);
    void renameBookmark(int32_t event);
    void removeBookmark(int32_t event);

  Q_SIGNALS:
    // A record was opened (menu, command line, browser, drop): its path.
    void recordOpened(const QString& path);

  protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void buildControls();
    QWidget* buildPlayersGroup();
    QWidget* buildNavigation();
    QWidget* buildPages();
    void buildMenu();
    void connectControls();
    void afterAction();
    void refreshPlayers();
    void refreshPlayersTitle();
    void refreshLabels();
    void refreshSlideShow();
    void showModal(QWidget* window);

    void mmFileOpenClick();
    void mmUtilConvClick();

    // The timeline, the event list and the replay keys.
    QWidget* buildTimeline(QWidget* mapArea);
    void buildEventDock();
    void addViewMenuItems(QMenu* menu);
    void jumpTo(int32_t eventIndex);
    void eventDockVisibilityChanged(bool visible);
    bool inReplayKeyArea(const QWidget* widget) const;

    // Markers, bookmarks and the slide show's speed.
    void buildMarkers();
    void addMarkerMenu(QMenu* menu);
    void refreshMarkers();
    void figuresFinished();
    void showMarkedEvents();
    void reloadBookmarks();
    void storeNote(const QString& hash, int32_t event, const QString& note);
    void stopSlideShowAtMarker();
    QWidget* buildSlideSpeed();
    bool replayKeyPressed(QKeyEvent* event);

    QtUserMessages boxes_;
    ReplaySession session_;
    UserMessages* messages_;
    std::unique_ptr<WindowActivity> activity_;
    RecordOpenDialog fileDialog_;
    OpenDialog* openDialog_;
    TFConv2* converter_ = nullptr;
    QWidget* browser_ = nullptr;
    QWidget* editor_ = nullptr;
    QWidget* about_ = nullptr;
    QWidget* charts_ = nullptr;
    QWidget* library_ = nullptr;
    bool closeRequested_ = false;
    // A step made by a key has not been painted yet: repeated keys wait for it.
    bool keyStepPending_ = false;
    QTimer* keyStepTimeout_ = nullptr;
    // The window's size while the docked event list is hidden: a window the list made grow
    // shrinks back to it when the list closes.
    QSize sizeWithoutEventDock_;

    // Controls, named as the window's layout names them.
    QGroupBox* gbPlayers_ = nullptr;
    QComboBox* cbPlayers_ = nullptr;
    QLabel* lbPT_ = nullptr;
    QLabel* lbPN_ = nullptr;
    QLabel* lbPP_ = nullptr;
    QLabel* lbPH_ = nullptr;
    QLabel* lbPA_ = nullptr;
    QLabel* lbPD_ = nullptr;
    QWidget* Panel1_ = nullptr;
    QPushButton* Button7_ = nullptr;
    QPushButton* Button6_ = nullptr;
    QPushButton* Button1_ = nullptr;
    QPushButton* Button2_ = nullptr;
    QTabWidget* PageControl1_ = nullptr;
    QLineEdit* edTime_ = nullptr;
    QPushButton* Button4_ = nullptr;
    QPushButton* Button5_ = nullptr;
    QComboBox* cbView_ = nullptr;
    QCheckBox* cbHL_ = nullptr;
    QCheckBox* cbHH_ = nullptr;
    QLabel* lbFN_ = nullptr;
    QLabel* lbFT_ = nullptr;
    QLabel* lbFO_ = nullptr;
    QLabel* lbFU_ = nullptr;
    QLabel* lbFC_ = nullptr;
    QPlainTextEdit* mInfo_ = nullptr;
    QLabel* lbTime_ = nullptr;
    QProgressBar* pbLoad_ = nullptr;
    QStackedWidget* mapArea_ = nullptr;
    MapGrid* dgMap_ = nullptr;
    QWidget* summaryPage_ = nullptr;
    QPlainTextEdit* mRes_ = nullptr;
    QPushButton* btnNext_ = nullptr;
    QTimer* slajd_ = nullptr;
    TimelineBar* timeline_ = nullptr;
    EventDock* eventDock_ = nullptr;
    FigureWorker* figures_ = nullptr;
    QTimer* markerProgress_ = nullptr;
    uint64_t markersGeneration_ = 0;
    std::map<int32_t, QString> bookmarks_;
    Bookmarks bookmarkStore_;
    NoteAsker noteAsker_;
    QCheckBox* cbStopAtMarkers_ = nullptr;
    QSlider* tbSpeed_ = nullptr;
    QLabel* lbSpeed_ = nullptr;
    QStringList shownPlayers_;
    QStringList shownInfo_;
    QStringList shownSummary_;
};

} // namespace kx
