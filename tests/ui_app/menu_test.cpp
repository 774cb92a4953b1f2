#include "main_window_fixture.h"

#include "records/ui/converter_window.h"

#include <QAbstractItemView>
#include <QMenu>
#include <QMenuBar>

using namespace kx;

namespace {

// An open dialog that answers as a test tells it and remembers what it was asked.
class ScriptedDialog : public OpenDialog {
  public:
    bool exec(OpenDialogState& dialog) override {
        asked.append(dialog);
        if (!accept)
            return false;
        dialog.fileName = fileName;
        dialog.filterIndex = filterIndex;
        return true;
    }
    bool accept = true;
    QString fileName;
    int filterIndex = kFilterXml;
    QList<OpenDialogState> asked;
};

struct MenuTest : MainWindowTest {
    void activate() {
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }
};

} // namespace

TEST_F(MenuTest, CaptionsAndShortcuts) {
    EXPECT_EQ(window.objectName(), "FMain");
    EXPECT_EQ(window.windowTitle(), "Kexland Review v0.5");
    QStringList menus;
    for (QAction* entry : window.menuBar()->actions())
        menus << entry->text();
    EXPECT_EQ(menus, QStringList({"&Soubor", "&Utility", QString::fromUtf8("&Přehrávání"),
                                  QString::fromUtf8("&Nápověda")}));

    const struct {
        const char* name;
        const char* caption;
        QKeySequence shortcut;
    } items[] = {
        {"mmFileOpen", "&Otevřít", QKeySequence(Qt::CTRL | Qt::Key_O)},
        {"mmFileEnd", "&Konec", QKeySequence(Qt::ALT | Qt::Key_F4)},
        {"mmUtilExp", "&Prohlížeč záznamů", QKeySequence(Qt::Key_F3)},
        {"mmUtilCre", "&Editor map", QKeySequence(Qt::Key_F4)},
        {"mmUtilConv", "&Konvertor", QKeySequence(Qt::Key_F5)},
        {"mmHelpAbout", "&O programu", QKeySequence(Qt::SHIFT | Qt::Key_F1)},
    };
    for (const auto& item : items) {
        QAction* entry = action(item.name);
        ASSERT_NE(entry, nullptr);
        EXPECT_EQ(entry->text(), QString::fromUtf8(item.caption)) << item.name;
        EXPECT_EQ(entry->shortcut(), item.shortcut) << item.name;
    }
    // The file menu: open, a separator, end.
    const QList<QAction*> file = child<QMenu>("mmFile")->actions();
    ASSERT_EQ(file.size(), 3);
    EXPECT_TRUE(file[1]->isSeparator());
    EXPECT_EQ(file[2]->objectName(), "mmFileEnd");
}

TEST_F(MenuTest, ShortcutsOpenTheirWindowsAndAltF4Closes) {
    activate();
    QWidget browser, editor, about;
    window.setBrowserWindow(&browser);
    window.setEditorWindow(&editor);
    window.setAboutWindow(&about);
    TFConv2 converter(&window);
    window.setConverterWindow(&converter);

    const struct {
        QWidget* shown;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        Qt::WindowModality modality;
    } cases[] = {
        {&browser, Qt::Key_F3, Qt::NoModifier, Qt::ApplicationModal},
        {&editor, Qt::Key_F4, Qt::NoModifier, Qt::ApplicationModal},
        {&about, Qt::Key_F1, Qt::ShiftModifier, Qt::ApplicationModal},
        {&converter, Qt::Key_F5, Qt::NoModifier, Qt::NonModal},
    };
    for (const auto& c : cases) {
        ASSERT_FALSE(c.shown->isVisible());
        activate();
        QTest::keyClick(&window, c.key, c.modifiers);
        EXPECT_TRUE(waitFor([&] { return c.shown->isVisible(); })) << c.key;
        EXPECT_EQ(c.shown->windowModality(), c.modality) << c.key;
        c.shown->hide();
    }

    // Windows not yet made leave their entries without effect.
    window.setAboutWindow(nullptr);
    action("mmHelpAbout")->trigger();
    EXPECT_TRUE(window.isVisible());

    activate();
    QTest::keyClick(&window, Qt::Key_F4, Qt::AltModifier);
    EXPECT_TRUE(waitFor([&] { return !window.isVisible(); }));
}

TEST_F(MenuTest, CtrlOOpensTheChosenRecordAndKeepsTheFilter) {
    activate();
    ScriptedDialog dialog;
    window.setOpenDialog(&dialog);
    dialog.fileName = samplePath("kxr");
    dialog.filterIndex = kFilterEventLog;
    QTest::keyClick(&window, Qt::Key_O, Qt::ControlModifier);
    ASSERT_EQ(dialog.asked.size(), 1);
    EXPECT_EQ(dialog.asked[0].filterIndex, kFilterXml); // the first filter at start
    EXPECT_TRUE(messages.shown.isEmpty()) << messages.shown.join("|").toStdString();
    EXPECT_EQ(child<QComboBox>("cbPlayers")->count(), 5);
    EXPECT_TRUE(child<QWidget>("Panel1")->isEnabled());

    // The next dialog starts in the record's folder with the filter chosen last. An XML record
    // is read by its extension whatever the filter.
    dialog.fileName = samplePath("kxr2");
    action("mmFileOpen")->trigger();
    ASSERT_EQ(dialog.asked.size(), 2);
    EXPECT_EQ(dialog.asked[1].initialDir, QStringLiteral(KX_SAMPLES_DIR));
    EXPECT_EQ(dialog.asked[1].filterIndex, kFilterEventLog);
    EXPECT_TRUE(dialog.asked[1].fileName.isEmpty());
    EXPECT_TRUE(messages.shown.isEmpty()) << messages.shown.join("|").toStdString();
    EXPECT_EQ(window.session().state().dlgOpen.fileName, samplePath("kxr2"));

    // Cancelling changes nothing.
    dialog.accept = false;
    action("mmFileOpen")->trigger();
    EXPECT_EQ(dialog.asked.size(), 3);
    EXPECT_EQ(dialog.asked[2].filterIndex, kFilterEventLog);
    EXPECT_TRUE(messages.shown.isEmpty());
    EXPECT_EQ(window.session().state().dlgOpen.fileName, samplePath("kxr2"));
}

TEST_F(MenuTest, F5ShowsTheLastConversion) {
    TFConv2 converter(&window);
    window.setConverterWindow(&converter);
    ASSERT_TRUE(window.openRecord(samplePath("kxr2")));
    action("mmUtilConv")->trigger();
    ASSERT_TRUE(waitFor([&] { return converter.isVisible(); }));
    EXPECT_EQ(converter.objectName(), "FConv2");

    const XmlConverter& conversion = window.session().state().converter;
    auto rows = [&](const char* name) {
        auto* view = converter.findChild<QAbstractItemView*>(QLatin1String(name));
        return view ? view->model()->rowCount() : -1;
    };
    EXPECT_EQ(rows("log"), conversion.log().size());
    EXPECT_EQ(rows("kxr"), conversion.kxr().size());
    EXPECT_EQ(rows("hq"), conversion.hq().size());
    EXPECT_EQ(rows("hqc"), conversion.hqc().size());
    EXPECT_GT(rows("kxr"), 300);
    EXPECT_GT(rows("log"), rows("kxr")); // read again: the load converted it while reading
    EXPECT_EQ(rows("hq"), 5);
    auto* kxr = converter.findChild<QAbstractItemView*>(QStringLiteral("kxr"));
    EXPECT_EQ(kxr->model()->index(3, 0).data().toString(),
              QString::fromUtf8("2026-14-11-09-10-04; create_hq; Pepa; louka; R15;"));

    // An event log read while the window is open leaves the last conversion in place.
    ASSERT_TRUE(window.openRecord(files.write("mapa.kxr", kSmallRecord)));
    EXPECT_EQ(rows("hq"), 5);
}
