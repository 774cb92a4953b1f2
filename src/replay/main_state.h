#pragma once

#include "mapview/map_view.h"
#include "records/event_list.h"
#include "records/line_list.h"
#include "records/record_format.h"
#include "records/world.h"
#include "records/xml_converter.h"

#include <QString>
#include <QStringList>

namespace kx {

// The open dialog: its file name is the current record; its filter index (1 = XML records,
// 2 = event logs) decides how a chosen record is read unless its extension says.
struct OpenDialogState {
    QString fileName;
    QString initialDir;
    int filterIndex = 1;
};

inline constexpr int kFilterXml = 1;
inline constexpr int kFilterEventLog = 2;
inline const char* const kOpenFilter =
    "Kexland Record 2 (*.kxr2)|*.kxr2|Kexland Record 1 (CSV) (*.kxr)|*.kxr";

// The six figures of the chosen player.
struct PlayerLabels {
    QString lbPT, lbPN, lbPP, lbPH, lbPA, lbPD;
};

// The field inspector's five labels.
struct InspectorLabels {
    QString lbFN, lbFT, lbFO, lbFU, lbFC;
};

// How the map is shown: the view selector cbView, the check boxes cbHL and cbHH, and the
// player whose fields are highlighted because the mouse points at one (0 for none).
struct MapViewState {
    MapView view = MapView::All;
    bool highlightFields = true;
    bool hideHq = true;
    int32_t highlightOwner = 0;
};

// Everything the main window shows, held headless: the window only binds it.
struct MainState {
    World world;
    XmlConverter converter; // the converter window's four lists
    LineList lbOpen;        // the record's event-log lines
    EventList lvData;       // the event list

    QStringList cbPlayers;                                   // "name (team)" per player index
    int selectedPlayer = -1;                                 // item index of cbPlayers, -1 for none
    QString gbPlayersCaption = QString::fromUtf8(" Hráči "); // until a record is loaded

    OpenDialogState dlgOpen;                       // its file name is the current record
    RecordFormat recordFormat = RecordFormat::Xml; // how the current record was read

    int mapColumns = 21; // dgMap columns and rows, the header ones included
    int mapRows = 21;
    MapViewState mapView;
    bool mapShown = true;      // dgMap visible
    bool summaryShown = false; // mRes and btnNext visible instead of the map
    bool panelEnabled = false; // the navigation buttons (Panel1)
    bool progressVisible = false;
    int progressValue = 0;

    QStringList info; // mInfo
    QString lbTime;
    QStringList summary; // mRes
    PlayerLabels stats;
    InspectorLabels inspector;

    bool slideShowEnabled = false; // the timer slajd
    int slideShowInterval = 500;   // milliseconds
    QString edTime = QStringLiteral("200");
};

} // namespace kx
