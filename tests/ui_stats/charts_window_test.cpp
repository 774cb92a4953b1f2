#include "file_faults.h"
#include "record_files.h"
#include "wait_for.h"

#include "generated_log.h"
#include "replay/session.h"
#include "stats/figures_csv.h"
#include "stats/ui/charts_window.h"
#include "stats/ui/figure_chart.h"

#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace kx;

namespace {

QString generated(RecordFiles& files, uint64_t seed, int events, int players = 4) {
    return writeGeneratedLog(files, seed, events, players);
}

QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

struct Charts : ::testing::Test {
    RecordFiles files;
    RecordedMessages messages;
    ReplaySession session{messages, QLocale::c()};
    RecordedMessages shown;
    TFCharts window{session};
    QListWidget* players = window.findChild<QListWidget*>("lbChartPlayers");
    QComboBox* figure = window.findChild<QComboBox*>("cbFigure");
    FigureChart* chart = window.findChild<FigureChart*>("pnChart");
    QLabel* status = window.findChild<QLabel*>("lbChartStatus");
    QPushButton* exportFigures = window.findChild<QPushButton*>("btnExportFigures");
    QPushButton* exportSummary = window.findChild<QPushButton*>("btnExportSummary");

    Charts() { window.setMessages(&shown); }
    void showAndWait() {
        window.show();
        ASSERT_TRUE(waitFor([&] { return !window.computing(); }));
    }
};

} // namespace

TEST_F(Charts, WithoutARecordNothingCanBeExported) {
    ASSERT_TRUE(players && figure && chart && status && exportFigures && exportSummary);
    showAndWait();
    EXPECT_EQ(window.windowTitle(), QString::fromUtf8("Grafy světa"));
    EXPECT_EQ(players->count(), 0);
    EXPECT_EQ(status->text(), QString::fromUtf8("Není načten žádný záznam."));
    EXPECT_FALSE(exportFigures->isEnabled());
    EXPECT_FALSE(exportSummary->isEnabled());
    EXPECT_EQ(figure->count(), 4);
    EXPECT_EQ(figure->itemText(1), "Tahy");
}

TEST_F(Charts, ShowsTheRecordsPlayersAndFollowsTheChoice) {
    ASSERT_TRUE(session.loadRecord(generated(files, 2, 3000), RecordFormat::EventLog));
    showAndWait();
    ASSERT_EQ(players->count(), 4);
    EXPECT_EQ(players->item(1)->text(), session.state().cbPlayers.at(1));
    EXPECT_EQ(window.chosenPlayers(), (std::vector<int>{0, 1, 2, 3}));
    EXPECT_TRUE(exportFigures->isEnabled());
    EXPECT_TRUE(status->text().startsWith(QString::fromUtf8("3000 událostí")));
    ASSERT_NE(chart->view().figures, nullptr);
    EXPECT_TRUE(chart->view().figures->valid);

    players->item(1)->setCheckState(Qt::Unchecked);
    players->item(3)->setCheckState(Qt::Unchecked);
    EXPECT_EQ(chart->view().players, (std::vector<int>{0, 2}));
    figure->setCurrentIndex(2);
    EXPECT_EQ(chart->view().figure, Figure::Territory);

    // The chart draws the chosen players' lines in their colours.
    const QImage image = chart->grab().toImage();
    int louka = 0;
    int les = 0;
    const QRgb first = playerColour(*chart->view().figures, 0).rgb();
    const QRgb second = playerColour(*chart->view().figures, 1).rgb();
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            louka += image.pixel(x, y) == first ? 1 : 0;
            les += image.pixel(x, y) == second ? 1 : 0;
        }
    EXPECT_GT(louka, 50);
    EXPECT_EQ(les, 0); // unchecked: neither line nor legend
}

TEST_F(Charts, ComputesOnlyWhenTheRecordChanges) {
    const QString first = generated(files, 3, 1000);
    ASSERT_TRUE(session.loadRecord(first, RecordFormat::EventLog));
    showAndWait();
    EXPECT_EQ(window.cache().computations(), 1);
    window.hide();
    session.Button2Click();
    session.Button6Click();
    showAndWait();
    EXPECT_EQ(window.cache().computations(), 1);

    window.hide();
    ASSERT_TRUE(session.loadRecord(generated(files, 4, 1200, 3), RecordFormat::EventLog));
    showAndWait();
    EXPECT_EQ(window.cache().computations(), 2);
    EXPECT_EQ(players->count(), 3);

    // A record loaded while the pass runs is computed next; the old pass is not kept.
    window.hide();
    ASSERT_TRUE(session.loadRecord(generated(files, 5, 20000), RecordFormat::EventLog));
    window.show();
    EXPECT_TRUE(window.computing());
    QProgressBar* progress = window.findChild<QProgressBar*>("pbCharts");
    EXPECT_TRUE(progress->isVisible());
    EXPECT_FALSE(exportFigures->isEnabled());
    ASSERT_TRUE(session.loadRecord(first, RecordFormat::EventLog));
    window.refresh();
    ASSERT_TRUE(waitFor([&] { return !window.computing(); }));
    EXPECT_TRUE(window.cache().isCurrent(session));
    EXPECT_EQ(window.cache().cached().eventCount, 1000);
    EXPECT_EQ(players->count(), 4);
    EXPECT_FALSE(progress->isVisible());
}

TEST_F(Charts, ExportsTheChosenPlayersAndTheSummary) {
    ASSERT_TRUE(session.loadRecord(generated(files, 6, 800), RecordFormat::EventLog));
    showAndWait();
    players->item(0)->setCheckState(Qt::Unchecked);
    QTemporaryDir dir;
    QString answer = dir.filePath("prubeh.csv");
    QString asked;
    window.setSaveFileChooser([&](const QString&, const QString& name) {
        asked = name;
        return answer;
    });
    exportFigures->click();
    EXPECT_TRUE(asked.endsWith("g6_800_prubeh.csv"));
    EXPECT_EQ(contents(answer), figuresCsv(window.cache().cached(), {1, 2, 3}));

    answer = dir.filePath("souhrn.csv");
    exportSummary->click();
    EXPECT_TRUE(asked.endsWith("g6_800_souhrn.csv"));
    EXPECT_EQ(contents(answer), summaryCsv(window.cache().cached()));
    EXPECT_TRUE(shown.shown.isEmpty());

    // A folder that does not exist, a cancelled dialog, no player chosen.
    answer = dir.filePath("chybi/x.csv");
    exportSummary->click();
    ASSERT_EQ(shown.shown.size(), 1);
    EXPECT_TRUE(shown.shown[0].startsWith(QString::fromUtf8("Soubor nelze uložit:")));
    answer.clear();
    exportFigures->click();
    EXPECT_EQ(shown.shown.size(), 1);
    for (int i = 0; i < players->count(); ++i)
        players->item(i)->setCheckState(Qt::Unchecked);
    exportFigures->click();
    ASSERT_EQ(shown.shown.size(), 2);
    EXPECT_EQ(shown.shown[1], QString::fromUtf8("Vyberte alespoň jednoho hráče."));

    // A write cut short keeps the file saved before whole and leaves nothing beside it.
    answer = dir.filePath("souhrn.csv");
    const QByteArray before = contents(answer);
    {
        test::FileSizeLimit limit(16);
        exportSummary->click();
    }
    ASSERT_EQ(shown.shown.size(), 3);
    EXPECT_TRUE(shown.shown[2].contains("File too large")) << shown.shown[2].toStdString();
    EXPECT_EQ(contents(answer), before);
    EXPECT_EQ(test::entriesUnder(dir.path()), QStringList({"prubeh.csv", "souhrn.csv"}));
}

TEST(ChartsLifetime, ClosingDuringAPassDoesNotWaitForItsEnd) {
    RecordFiles files;
    RecordedMessages messages;
    ReplaySession session(messages, QLocale::c());
    ASSERT_TRUE(session.loadRecord(generated(files, 9, 40000), RecordFormat::EventLog));
    QElapsedTimer timer;
    {
        TFCharts window(session);
        window.show();
        EXPECT_TRUE(window.computing());
        QTest::qWait(20);
        timer.start();
    }
    EXPECT_LT(timer.elapsed(), 2000);
}
