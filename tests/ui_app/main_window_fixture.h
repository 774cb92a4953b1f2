#pragma once

#include "record_files.h"
#include "wait_for.h"

#include "app/ui/main_window.h"
#include "mapview/ui/map_grid.h"
#include "mapview/ui/map_icons.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <ostream>

QT_BEGIN_NAMESPACE
// Failed expectations print texts as texts.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}
QT_END_NAMESPACE

// A 4 x 3 world. Pepa (louka) has his HQ on A1, Jana (les) hers on D1; B1 is rock, C0 swamp,
// D2 impassable. Pepa buys, takes B1, withdraws from it and buys there again; Jana buys and
// takes C1. Items 4 to 9 are the events (N = 10).
inline const QStringList kSmallRecord = {
    QString::fromUtf8("2005-07-03-14-00-00; Mapa; 2; 4; 3; 4;"),
    QString::fromUtf8("2005-07-03-14-00-00; create_world; NNBNNSNNNNNX;"),
    QString::fromUtf8("2005-07-03-14-01-00; create_hq; Pepa; louka; A1;"),
    QString::fromUtf8("2005-07-03-14-02-00; create_hq; Jana; les; D1;"),
    QString::fromUtf8("2005-07-03-14-10-00; buy; A1; komár; 10;"),
    QString::fromUtf8("2005-07-03-14-20-00; attack; A1; B1; 5; 1; 5;"),
    QString::fromUtf8("2005-07-03-14-30-00; retreat; B1; 5;"),
    QString::fromUtf8("2005-07-03-15-40-00; buy; B1; komár; 3;"),
    QString::fromUtf8("2005-07-03-16-05-00; buy; D1; hovado; 4;"),
    QString::fromUtf8("2005-07-03-16-10-00; attack; D1; C1; 2; 1; 2;"),
};

inline QString samplePath(const char* extension) {
    return QStringLiteral(KX_SAMPLES_DIR "/Kopretinova_louka_2026-11-14.") +
           QLatin1String(extension);
}

// The main window, shown, with its message boxes recorded.
struct MainWindowTest : ::testing::Test {
    RecordFiles files;
    kx::RecordedMessages messages;
    kx::TFMain window;

    void SetUp() override {
        window.setMessages(&messages);
        window.resize(760, 640); // room for a 20 x 20 map
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    template <typename T> T* child(const char* name) {
        T* found = window.findChild<T*>(QLatin1String(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    QLabel* label(const char* name) { return child<QLabel>(name); }
    QPushButton* button(const char* name) { return child<QPushButton>(name); }
    QAction* action(const char* name) { return child<QAction>(name); }
    kx::MapGrid* map() { return child<kx::MapGrid>("dgMap"); }
    QStringList infoLines() {
        return child<QPlainTextEdit>("mInfo")->toPlainText().split(QLatin1Char('\n'));
    }
    const kx::World& world() { return window.session().state().world; }

    void loadSmall() {
        ASSERT_TRUE(window.openRecord(files.write(QStringLiteral("mapa.kxr"), kSmallRecord)));
    }
    void click(const char* name, int times = 1) {
        for (int i = 0; i < times; ++i)
            QTest::mouseClick(button(name), Qt::LeftButton);
    }

    // The map as the screen shows it, and the icon a cell of it shows (-1 for none).
    QImage shot() {
        QCoreApplication::processEvents();
        return map()->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    }
    int iconAt(const QImage& image, int column, int row) {
        const QImage cell = image.copy(map()->cellRect(column, row));
        for (int i = 0; i < 26; ++i)
            if (cell == kx::mapIcon(i, 1).toImage().convertToFormat(QImage::Format_RGB32))
                return i;
        return -1;
    }
    // The icons of the body cells, row by row ("A0 B0 C0 D0", "A1 ..."), for short asserts.
    std::vector<std::vector<int>> icons() {
        const QImage image = shot();
        std::vector<std::vector<int>> rows;
        for (int row = 1; row < map()->rowCount(); ++row) {
            rows.emplace_back();
            for (int column = 1; column < map()->columnCount(); ++column)
                rows.back().push_back(iconAt(image, column, row));
        }
        return rows;
    }
    // Points the mouse at a grid cell of the map.
    void pointAt(int column, int row) {
        QTest::mouseMove(map()->viewport(), map()->cellRect(column, row).center());
        QCoreApplication::processEvents();
    }
};
