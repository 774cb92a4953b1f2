// The main window's controls and their arrangement: the players' group, the navigation
// buttons, the pages "Slide", "Nastav" and "Info", the time label, the info memo and the
// progress bar on the left; the map (or the end-of-world summary) on the right.
#include "main_window.h"
#include "quiet_scroll_bar.h"

#include "mapview/map_view.h"
#include "mapview/ui/map_grid.h"
#include "widgets/named_widget.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace kx {

namespace {

QLabel* valueLabel(const char* name) {
    auto* label = named(new QLabel, name);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    label->setMinimumWidth(60);
    return label;
}

QLabel* captionLabel(const char* text) {
    return new QLabel(QString::fromUtf8(text));
}

// A page of the page control: its group box close under the tabs.
void fillPage(QWidget* page, QWidget* group) {
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 4, 0, 0);
    layout->addWidget(group);
}

QPushButton* stepButton(const char* name, const char* text, const char* hint) {
    auto* button = named(new QPushButton(QString::fromUtf8(text)), name);
    button->setToolTip(QString::fromUtf8(hint));
    button->setAutoDefault(true); // Enter on a focused button presses that button
    // A click leaves the focus where it was, so the replay keys go on working on the map.
    button->setFocusPolicy(Qt::TabFocus);
    button->setMinimumWidth(36);
    return button;
}

} // namespace

QWidget* TFMain::buildPlayersGroup() {
    gbPlayers_ = named(new QGroupBox(QString::fromUtf8(" Hráči ")), "gbPlayers");
    cbPlayers_ = named(new QComboBox, "cbPlayers");
    lbPT_ = valueLabel("lbPT");
    lbPN_ = valueLabel("lbPN");
    lbPP_ = valueLabel("lbPP");
    lbPH_ = valueLabel("lbPH");
    lbPA_ = valueLabel("lbPA");
    lbPD_ = valueLabel("lbPD");
    auto* form = new QFormLayout;
    form->addRow(captionLabel("Tahy"), lbPT_);
    form->addRow(captionLabel("Nektar"), lbPN_);
    form->addRow(captionLabel("Produkce"), lbPP_);
    form->addRow(captionLabel("Velení"), lbPH_);
    form->addRow(captionLabel("Území"), lbPA_);
    form->addRow(captionLabel("Zničil"), lbPD_);
    auto* layout = new QVBoxLayout(gbPlayers_);
    layout->addWidget(cbPlayers_);
    layout->addLayout(form);
    return gbPlayers_;
}

QWidget* TFMain::buildNavigation() {
    Panel1_ = named(new QWidget, "Panel1");
    Button7_ = stepButton("Button7", "<< --", "Dozadu 10 akcí");
    Button6_ = stepButton("Button6", "< --", "Dozadu 1 akce");
    Button1_ = stepButton("Button1", "-->", "Dopředu 1 akce");
    Button2_ = stepButton("Button2", " -- >>", "Dopředu 10 akcí");
    auto* Button8 = stepButton("Button8", "-- >|", "");
    auto* Button9 = stepButton("Button9", "|< --", "");
    Button8->hide();
    Button9->hide();
    auto* layout = new QHBoxLayout(Panel1_);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    for (QPushButton* button : {Button9, Button7_, Button6_, Button1_, Button2_, Button8})
        layout->addWidget(button);
    Panel1_->setEnabled(false);
    return Panel1_;
}

QWidget* TFMain::buildPages() {
    PageControl1_ = named(new QTabWidget, "PageControl1");
    PageControl1_->setDocumentMode(true);

    auto* slide = named(new QWidget, "ts1");
    auto* slideGroup = new QGroupBox(QStringLiteral(" SlideShow "));
    edTime_ = named(new QLineEdit(QStringLiteral("200")), "edTime");
    edTime_->setMaxLength(4);
    edTime_->setMaximumWidth(60);
    Button4_ = named(new QPushButton(QStringLiteral("Start!")), "Button4");
    Button5_ = named(new QPushButton(QString::fromUtf8("Zrušit")), "Button5");
    Button4_->setDefault(true);
    Button4_->setCheckable(true); // pressed while the slide show runs
    Button5_->setAutoDefault(true);
    auto* interval = new QHBoxLayout;
    interval->addWidget(new QLabel(QStringLiteral("Interval")));
    interval->addWidget(edTime_);
    interval->addWidget(new QLabel(QStringLiteral("ms")));
    interval->addStretch();
    auto* startStop = new QHBoxLayout;
    startStop->addWidget(Button4_);
    startStop->addWidget(Button5_);
    QWidget* speed = buildSlideSpeed();
    auto* slideLayout = new QVBoxLayout(slideGroup);
    slideLayout->addLayout(interval);
    slideLayout->addWidget(speed);
    slideLayout->addLayout(startStop);
    slideLayout->addWidget(cbStopAtMarkers_);
    fillPage(slide, slideGroup);

    auto* settings = named(new QWidget, "ts2");
    auto* settingsGroup = new QGroupBox(QString::fromUtf8(" Nastavení "));
    cbView_ = named(new QComboBox, "cbView");
    for (const MapView view : kMapViews)
        cbView_->addItem(mapViewName(view));
    cbHL_ = named(new QCheckBox(QString::fromUtf8("Highlight políček")), "cbHL");
    cbHH_ = named(new QCheckBox(QString::fromUtf8("Skrýt velení")), "cbHH");
    cbHL_->setChecked(true);
    cbHH_->setChecked(true);
    auto* view = new QHBoxLayout;
    view->addWidget(named(new QLabel(QString::fromUtf8("Vidět:")), "Label14"));
    view->addWidget(cbView_, 1);
    auto* settingsLayout = new QVBoxLayout(settingsGroup);
    settingsLayout->addLayout(view);
    settingsLayout->addWidget(cbHL_);
    settingsLayout->addWidget(cbHH_);
    fillPage(settings, settingsGroup);

    auto* info = named(new QWidget, "ts3");
    auto* fieldGroup = new QGroupBox(QString::fromUtf8(" Políčko "));
    lbFN_ = valueLabel("lbFN");
    lbFT_ = valueLabel("lbFT");
    lbFO_ = valueLabel("lbFO");
    lbFU_ = valueLabel("lbFU");
    lbFC_ = valueLabel("lbFC");
    auto* fields = new QFormLayout(fieldGroup);
    fields->addRow(named(captionLabel("Políčko"), "Label2"), lbFN_);
    fields->addRow(named(captionLabel("Typ"), "Label6"), lbFT_);
    fields->addRow(named(captionLabel("Vlastník"), "Label8"), lbFO_);
    fields->addRow(named(captionLabel("Jednotky"), "Label10"), lbFU_);
    fields->addRow(named(captionLabel("Počet"), "Label11"), lbFC_);
    fillPage(info, fieldGroup);

    PageControl1_->addTab(slide, QStringLiteral("Slide"));
    PageControl1_->addTab(settings, QStringLiteral("Nastav"));
    PageControl1_->addTab(info, QStringLiteral("Info"));
    PageControl1_->setCurrentIndex(1);
    return PageControl1_;
}

void TFMain::buildControls() {
    auto* central = new QWidget;
    auto* left = new QVBoxLayout;
    left->addWidget(buildPlayersGroup());
    left->addWidget(buildNavigation());
    left->addWidget(buildPages());
    lbTime_ = named(new QLabel, "lbTime");
    QFont timeFont = lbTime_->font();
    timeFont.setBold(true);
    timeFont.setPixelSize(16);
    lbTime_->setFont(timeFont);
    // The label keeps its line while empty, so the first event does not move the memo.
    lbTime_->setMinimumHeight(QFontMetrics(timeFont).height());
    left->addWidget(lbTime_);
    mInfo_ = named(new QPlainTextEdit, "mInfo");
    mInfo_->setReadOnly(true);
    mInfo_->setVerticalScrollBar(new QuietScrollBar(Qt::Vertical));
    mInfo_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    mInfo_->setMinimumHeight(60);
    left->addWidget(mInfo_, 1);
    pbLoad_ = named(new QProgressBar, "pbLoad");
    pbLoad_->setRange(0, 100);
    // Its room is kept while it is hidden: showing it for a load or a jump moves nothing and
    // cannot make the window grow.
    QSizePolicy barPolicy = pbLoad_->sizePolicy();
    barPolicy.setRetainSizeWhenHidden(true);
    pbLoad_->setSizePolicy(barPolicy);
    pbLoad_->hide();
    left->addWidget(pbLoad_);

    auto* leftPanel = new QWidget;
    leftPanel->setLayout(left);
    leftPanel->setFixedWidth(230);

    dgMap_ = new MapGrid;
    dgMap_->setObjectName(QStringLiteral("dgMap"));
    summaryPage_ = new QWidget;
    mRes_ = named(new QPlainTextEdit, "mRes");
    mRes_->setReadOnly(true);
    mRes_->setBackgroundRole(QPalette::Button);
    mRes_->viewport()->setBackgroundRole(QPalette::Button);
    btnNext_ = named(new QPushButton(QString::fromUtf8("Pokračovat")), "btnNext");
    btnNext_->setAutoDefault(true);
    auto* summaryLayout = new QVBoxLayout(summaryPage_);
    summaryLayout->setContentsMargins(0, 0, 0, 0);
    summaryLayout->addWidget(mRes_, 1);
    summaryLayout->addWidget(btnNext_, 0, Qt::AlignLeft);
    mapArea_ = new QStackedWidget;
    mapArea_->addWidget(dgMap_);
    mapArea_->addWidget(summaryPage_);

    auto* layout = new QHBoxLayout(central);
    layout->addWidget(leftPanel);
    layout->addWidget(buildTimeline(mapArea_), 1);
    setCentralWidget(central);

    slajd_ = new QTimer(this);
    slajd_->setObjectName(QStringLiteral("slajd"));
    slajd_->setInterval(500);
}

void TFMain::buildMenu() {
    auto* bar = menuBar();
    bar->setObjectName(QStringLiteral("mmMain"));
    auto addMenu = [&](const char* name, const char* caption) {
        auto* menu = bar->addMenu(QString::fromUtf8(caption));
        menu->setObjectName(QLatin1String(name));
        menu->menuAction()->setObjectName(QLatin1String(name));
        return menu;
    };
    auto addItem = [this](QMenu* menu, const char* name, const char* caption,
                          const QKeySequence& shortcut, auto handler) {
        QAction* action = menu->addAction(QString::fromUtf8(caption));
        action->setObjectName(QLatin1String(name));
        action->setShortcut(shortcut);
        connect(action, &QAction::triggered, this, handler);
        return action;
    };

    QMenu* file = addMenu("mmFile", "&Soubor");
    addItem(file, "mmFileOpen", "&Otevřít", QKeySequence(Qt::CTRL | Qt::Key_O),
            [this] { mmFileOpenClick(); });
    file->addSeparator()->setObjectName(QStringLiteral("N1"));
    addItem(file, "mmFileEnd", "&Konec", QKeySequence(Qt::ALT | Qt::Key_F4), [this] { close(); });

    QMenu* util = addMenu("mmUtil", "&Utility");
    addItem(util, "mmUtilExp", "&Prohlížeč záznamů", QKeySequence(Qt::Key_F3),
            [this] { showModal(browser_); });
    addItem(util, "mmUtilCre", "&Editor map", QKeySequence(Qt::Key_F4),
            [this] { showModal(editor_); });
    addItem(util, "mmUtilConv", "&Konvertor", QKeySequence(Qt::Key_F5),
            [this] { mmUtilConvClick(); });
    // Not modal: records opened from the library play in this window beside it.
    addItem(util, "mmUtilLibrary", "Knihovna &záznamů…", QKeySequence(Qt::CTRL | Qt::Key_L),
            [this] {
                if (library_) {
                    library_->show();
                    library_->raise();
                    library_->activateWindow();
                }
            });
    addViewMenuItems(util);
    addMarkerMenu(addMenu("mmReplay", "&Přehrávání"));

    QMenu* help = addMenu("mmHelp", "&Nápověda");
    addItem(help, "mmHelpAbout", "&O programu", QKeySequence(Qt::SHIFT | Qt::Key_F1),
            [this] { showModal(about_); });
}

} // namespace kx
