// The map editor window's controls, their arrangement and their handlers.
#include "editor_window.h"

#include "description_edit.h"
#include "editor_grid.h"
#include "map_edit_command.h"
#include "palette_image.h"

#include "editor/map_reader.h"
#include "mapview/ui/map_renderer.h"
#include "records/unit_kinds.h"
#include "widgets/elided_label.h"
#include "widgets/named_widget.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QToolButton>
#include <QUndoStack>
#include <QVBoxLayout>

namespace kx {

namespace {

constexpr int kMaxTextLength = 32;  // name and author
constexpr int kSizeItemTwenty = 17; // "20" in the size lists

QLineEdit* edit(const char* name, const char* text, int maxLength) {
    auto* line = named(new QLineEdit(QString::fromUtf8(text)), name);
    line->setMaxLength(maxLength);
    return line;
}

// A caption whose accelerator moves the focus to `buddy`.
QLabel* caption(const char* text, QWidget* buddy) {
    auto* label = new QLabel(QString::fromUtf8(text));
    label->setBuddy(buddy);
    return label;
}

// A short settings edit: wide enough for its characters and a little more.
void fitToLength(QLineEdit* line) {
    const QFontMetrics metrics(line->font());
    line->setFixedWidth(metrics.horizontalAdvance(QString(line->maxLength() + 1, u'0')) + 12);
}

} // namespace

// The undo stack goes first: clearing it as the base class deletes it would tell this
// window, no longer a TFCreate then, about its steps.
TFCreate::~TFCreate() {
    delete undoStack_;
}

TFCreate::TFCreate(QWidget* parent) : QDialog(parent), boxes_(this), messages_(&boxes_) {
    setObjectName(QStringLiteral("FCreate"));
    undoStack_ = new QUndoStack(this);

    auto* left = new QVBoxLayout;
    left->addWidget(buildTerrainGroup());
    left->addWidget(buildMapGroup(), 1);
    left->addWidget(buildSettingsGroup());
    left->addWidget(buildUnitsGroup());
    Button1_ = named(new QPushButton(QString::fromUtf8("&Uložit")), "Button1");
    Button2_ = named(new QPushButton(QString::fromUtf8("&Zavřít")), "Button2");
    Button1_->setDefault(true);
    Button2_->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Button1_);
    buttons->addWidget(Button2_);
    left->addLayout(buttons);

    // The map keeps its cells' size; the area around it scrolls when the window is small.
    dgMap_ = new EditorGrid(editor_);
    // A click on the map takes the focus from the edits, so Ctrl+Z undoes the map, not a text.
    dgMap_->setFocusPolicy(Qt::ClickFocus);
    mapArea_ = named(new QScrollArea, "mapArea");
    mapArea_->setFrameShape(QFrame::NoFrame);
    mapArea_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    mapArea_->setWidget(dgMap_);
    mapArea_->setMinimumSize(6 * MapRenderer::kCellSize, 6 * MapRenderer::kCellSize);
    mapArea_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);

    // A long path is shortened in its middle, so the file's name stays in sight.
    lbStatus_ = named(new ElidedLabel(Qt::ElideMiddle), "lbStatus");
    lbStatus_->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* right = new QVBoxLayout;
    right->addWidget(buildToolRow());
    right->addWidget(mapArea_, 1);
    auto* panes = new QHBoxLayout;
    panes->addLayout(left, 0);
    panes->addLayout(right, 1);
    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(buildMenus());
    layout->addLayout(panes, 1);
    layout->addWidget(lbStatus_);

    for (PaletteImage* image : images_)
        image->clicked = [this](int tag) { Image1Click(tag); };
    connect(cbX_, &QComboBox::currentIndexChanged, this, &TFCreate::cbXChange);
    connect(cbY_, &QComboBox::currentIndexChanged, this, &TFCreate::cbXChange);
    connect(edUnit_, &QLineEdit::textChanged, this, &TFCreate::edUnitChange);
    connect(dgMap_, &EditorGrid::selectCell, this, &TFCreate::dgMapSelectCell);
    connect(dgMap_, &EditorGrid::strokeStarted, this, &TFCreate::strokeStarted);
    connect(dgMap_, &EditorGrid::rectangleDragged, this, &TFCreate::rectangleDragged);
    connect(dgMap_, &EditorGrid::strokeFinished, this, &TFCreate::strokeFinished);
    connect(dgMap_, &EditorGrid::fillRequested, this, &TFCreate::fillRequested);
    // A text or setting is one step once it is finished: the edit left or Enter pressed.
    for (QLineEdit* line : {edName_, edAuthor_, edSpeed_, edLimit_, edMinE_, edMaxE_}) {
        connect(line, &QLineEdit::editingFinished, this, &TFCreate::commitTexts);
        connect(line, &QLineEdit::textChanged, this, &TFCreate::updateTitle);
    }
    mPopis_->installEventFilter(this);
    connect(mPopis_, &QPlainTextEdit::textChanged, this, &TFCreate::updateTitle);
    connect(undoStack_, &QUndoStack::cleanChanged, this, &TFCreate::updateTitle);
    committedTexts_ = mapTexts();
    updateTitle();
    connect(Button1_, &QPushButton::clicked, this, &TFCreate::Button1Click);
    connect(Button2_, &QPushButton::clicked, this, &TFCreate::Button2Click);

    // Room for the whole 20 x 20 map beside the groups, and the status line below.
    const QSize grid = dgMap_->sizeHint();
    resize(std::max(621, panes->sizeHint().width() - mapArea_->sizeHint().width() + grid.width() +
                             layout->contentsMargins().left() + layout->contentsMargins().right()),
           std::max(450, grid.height() + 2 * layout->contentsMargins().top() + layout->spacing() +
                             lbStatus_->sizeHint().height()));
}

QWidget* TFCreate::buildMenus() {
    auto* bar = named(new QMenuBar, "menuBar");
    QMenu* map = bar->addMenu(QString::fromUtf8("&Mapa"));
    openAction_ =
        map->addAction(QString::fromUtf8("&Otevřít mapu…"), this, &TFCreate::openMapClick);
    openAction_->setObjectName(QStringLiteral("acOpen"));
    openAction_->setShortcut(QKeySequence::Open);
    QAction* save = map->addAction(QString::fromUtf8("&Uložit"), this, &TFCreate::Button1Click);
    save->setObjectName(QStringLiteral("acSave"));
    save->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));

    QMenu* edit = bar->addMenu(QString::fromUtf8("Úpra&vy"));
    // The entries name the step they undo or redo; texts still being typed become a step
    // first, so they are what a click on "Zpět" undoes.
    undoAction_ = edit->addAction(QString::fromUtf8("&Zpět"), this, [this] {
        commitTexts();
        undoStack_->undo();
    });
    undoAction_->setObjectName(QStringLiteral("acUndo"));
    undoAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    redoAction_ = edit->addAction(QString::fromUtf8("Z&novu"), this, [this] {
        commitTexts();
        undoStack_->redo();
    });
    redoAction_->setObjectName(QStringLiteral("acRedo"));
    redoAction_->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    const auto name = [](QAction* action, const QString& caption, const QString& step) {
        action->setText(step.isEmpty() ? caption : caption + QStringLiteral(": ") + step);
    };
    connect(undoStack_, &QUndoStack::undoTextChanged, this, [this, name](const QString& step) {
        name(undoAction_, QString::fromUtf8("&Zpět"), step);
    });
    connect(undoStack_, &QUndoStack::redoTextChanged, this, [this, name](const QString& step) {
        name(redoAction_, QString::fromUtf8("Z&novu"), step);
    });
    connect(undoStack_, &QUndoStack::canUndoChanged, undoAction_, &QAction::setEnabled);
    connect(undoStack_, &QUndoStack::canRedoChanged, redoAction_, &QAction::setEnabled);
    undoAction_->setEnabled(false);
    redoAction_->setEnabled(false);
    return bar;
}

QWidget* TFCreate::buildToolRow() {
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    tbFill_ = named(new QToolButton, "tbFill");
    tbFill_->setText(QString::fromUtf8("Vyplni&t"));
    tbFill_->setCheckable(true);
    tbFill_->setToolTip(QString::fromUtf8("Kliknutí vyplní souvislou oblast stejného terénu "
                                          "(také Shift+klik); Ctrl+tažení kreslí obdélník"));
    connect(tbFill_, &QToolButton::toggled, this, [this](bool on) { dgMap_->setFillMode(on); });
    cbPreview_ = named(new QCheckBox(QString::fromUtf8("Ná&hled hry")), "cbPreview");
    cbPreview_->setToolTip(QString::fromUtf8("Mapa, jak ji ukáže přehrávač záznamů"));
    connect(cbPreview_, &QCheckBox::toggled, this, [this](bool on) { dgMap_->setPreview(on); });
    layout->addWidget(tbFill_);
    layout->addWidget(cbPreview_);
    layout->addStretch();
    return row;
}

QGroupBox* TFCreate::buildTerrainGroup() {
    auto* group = named(new QGroupBox(QString::fromUtf8(" Typ políčka ")), "GroupBox1");
    // Pictures of the grass, swamp and rock textures and the impassable tile; their tags are
    // the terrains, 0 the impassable one.
    const struct {
        const char* name;
        int icon;
        int tag;
    } pictures[] = {{"Image1", 1, 1}, {"Image2", 2, 2}, {"Image3", 3, 3}, {"Image4", 0, 0}};
    auto* row = new QHBoxLayout(group);
    row->setSpacing(0);
    for (size_t i = 0; i < images_.size(); ++i) {
        images_[i] = named(new PaletteImage(pictures[i].icon, pictures[i].tag), pictures[i].name);
        images_[i]->setToolTip(terrainCaption(pictures[i].tag == 0 ? -1 : pictures[i].tag));
        row->addWidget(images_[i]);
    }
    images_[0]->setChosen(true);
    lbType_ = named(new QLabel(editor_.lbType), "lbType");
    row->addSpacing(8);
    row->addWidget(lbType_, 1);
    return group;
}

QGroupBox* TFCreate::buildMapGroup() {
    auto* group = named(new QGroupBox(QString::fromUtf8(" Mapa ")), "GroupBox2");
    cbX_ = named(new QComboBox, "cbX");
    cbY_ = named(new QComboBox, "cbY");
    for (int side = kMinMapSide; side <= kMaxMapSide; ++side) {
        cbX_->addItem(QString::number(side));
        cbY_->addItem(QString::number(side));
    }
    // Chosen before the handlers are connected: the map of the creation stays.
    cbX_->setCurrentIndex(kSizeItemTwenty);
    cbY_->setCurrentIndex(kSizeItemTwenty);
    shownX_ = shownY_ = kSizeItemTwenty;
    cbX_->setToolTip(QString::fromUtf8("Počet sloupců; změna velikosti smaže nakreslenou mapu"));
    cbY_->setToolTip(QString::fromUtf8("Počet řádků; změna velikosti smaže nakreslenou mapu"));
    edName_ = edit("edName", "mapa", kMaxTextLength);
    edAuthor_ = edit("edAuthor", "", kMaxTextLength);
    mPopis_ = new DescriptionEdit;
    mPopis_->setMinimumHeight(3 * QFontMetrics(mPopis_->font()).lineSpacing());

    auto* size = new QHBoxLayout;
    size->addWidget(cbX_);
    size->addWidget(named(new QLabel(QStringLiteral("x")), "Label1"));
    size->addWidget(cbY_);
    size->addStretch();
    auto* grid = new QGridLayout(group);
    grid->addLayout(size, 0, 0, 1, 2);
    grid->addWidget(caption("&Jméno", edName_), 1, 0);
    grid->addWidget(edName_, 1, 1);
    grid->addWidget(caption("&Autor", edAuthor_), 2, 0);
    grid->addWidget(edAuthor_, 2, 1);
    grid->addWidget(caption("&Popis", mPopis_), 3, 0, Qt::AlignTop);
    grid->addWidget(mPopis_, 3, 1);
    grid->setRowStretch(3, 1);
    return group;
}

QGroupBox* TFCreate::buildSettingsGroup() {
    auto* group = named(new QGroupBox(QString::fromUtf8(" Nastavení ")), "GroupBox3");
    edSpeed_ = edit("edSpeed", "3", 2);
    edLimit_ = edit("edLimit", "10", 2);
    edMinE_ = edit("edMinE", "0", 3);
    edMaxE_ = edit("edMaxE", "100", 3);
    const struct {
        const char* caption;
        QLineEdit* edit;
        const char* unit;
    } rows[] = {{"&Rychlost", edSpeed_, "kola / hodina"},
                {"&Limit", edLimit_, "hráči na mapě"},
                {"Mi&n. expy", edMinE_, "%"},
                {"Ma&x. expy", edMaxE_, "%"}};
    auto* grid = new QGridLayout(group);
    for (int i = 0; i < 4; ++i) {
        fitToLength(rows[i].edit);
        grid->addWidget(caption(rows[i].caption, rows[i].edit), i, 0);
        grid->addWidget(rows[i].edit, i, 1);
        grid->addWidget(new QLabel(QString::fromUtf8(rows[i].unit)), i, 2);
    }
    grid->setColumnStretch(2, 1);
    return group;
}

QGroupBox* TFCreate::buildUnitsGroup() {
    auto* group = named(new QGroupBox(QString::fromUtf8(" Jednotky ")), "GroupBox4");
    cbUnit_ = named(new QComboBox, "cbUnit");
    cbUnit_->addItem(QString::fromUtf8("(žádné)"));
    for (int kind = 1; kind <= 6; ++kind)
        cbUnit_->addItem(unitName(kind));
    cbUnit_->setCurrentIndex(0);
    // A count of units is 0 to 99: digits only, so no sign can be typed.
    edUnit_ = edit("edUnit", "0", 2);
    edUnit_->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,2}")), edUnit_));
    fitToLength(edUnit_);

    auto* grid = new QGridLayout(group);
    grid->addWidget(caption(" &Jednotky", cbUnit_), 0, 0);
    grid->addWidget(cbUnit_, 0, 1, 1, 2);
    grid->addWidget(caption("P&očet", edUnit_), 1, 0);
    grid->addWidget(edUnit_, 1, 1);
    grid->setColumnStretch(2, 1);
    return group;
}

MapTexts TFCreate::mapTexts() const {
    return {edName_->text(),  edAuthor_->text(), mPopis_->toPlainText(), edSpeed_->text(),
            edLimit_->text(), edMinE_->text(),   edMaxE_->text()};
}

void TFCreate::setMessages(UserMessages* messages) {
    messages_ = messages ? messages : &boxes_;
}

void TFCreate::Image1Click(int tag) {
    editor_.image1Click(tag);
    lbType_->setText(editor_.lbType);
    for (PaletteImage* image : images_)
        image->setChosen(image->tag() == tag);
}

void TFCreate::cbXChange() {
    if (cbX_->currentIndex() == shownX_ && cbY_->currentIndex() == shownY_)
        return;
    const int x = cbX_->currentIndex();
    const int y = cbY_->currentIndex();
    // The lists show the map's size while the question is open and after "Zrušit".
    showSizeInLists();
    if (!mayReplaceDrawing(resizeQuestion()))
        return;
    commitTexts();
    MapEditRecorder step;
    step.begin(editNameSize(), editor_, mapTexts());
    editor_.cbXChange(x, y);
    if (auto edit = step.finish(editor_, mapTexts()))
        push(std::move(*edit));
    showSizeInLists();
    dgMap_->mapResized();
}

void TFCreate::edUnitChange() {
    editor_.edUnitChange(edUnit_->text());
}

void TFCreate::dgMapSelectCell(int col, int row) {
    if (editor_.dgMapSelectCell(col, row, cbUnit_->currentIndex())) {
        ++strokeCells_;
        dgMap_->redrawCell(col, row);
    }
}

void TFCreate::strokeStarted(bool rectangle) {
    commitTexts();
    strokeCells_ = 0;
    stroke_.begin(rectangle ? editNameRectangle() : editNameClick(), editor_, mapTexts());
}

void TFCreate::rectangleDragged(int col1, int row1, int col2, int row2) {
    if (!stroke_.active())
        return;
    // The rectangle is drawn afresh on the map as it was when the drag began.
    restoreDrawing(editor_, *stroke_.before());
    editor_.paintRectangle(col1, row1, col2, row2, cbUnit_->currentIndex());
    dgMap_->update();
}

void TFCreate::strokeFinished() {
    auto edit = stroke_.finish(editor_, mapTexts());
    if (!edit)
        return;
    if (strokeCells_ > 1)
        edit->name = editNameStroke();
    push(std::move(*edit));
}

void TFCreate::fillRequested(int col, int row) {
    commitTexts();
    MapEditRecorder step;
    step.begin(editNameFill(), editor_, mapTexts());
    editor_.fillArea(col, row, cbUnit_->currentIndex());
    if (auto edit = step.finish(editor_, mapTexts())) {
        push(std::move(*edit));
        dgMap_->update();
    }
}

void TFCreate::commitTexts() {
    const MapTexts texts = mapTexts();
    if (texts == committedTexts_)
        return;
    MapEdit edit{editNameParameter(), captureState(editor_, committedTexts_),
                 captureState(editor_, texts)};
    committedTexts_ = texts;
    push(std::move(edit));
}

void TFCreate::push(MapEdit edit) {
    editor_.drawingChanged = true;
    undoStack_->push(
        new MapEditCommand(std::move(edit), [this](const MapState& state) { applyState(state); }));
    updateTitle();
}

void TFCreate::applyState(const MapState& state) {
    restoreDrawing(editor_, state);
    setTexts(state.texts);
    showSizeInLists();
    dgMap_->mapResized();
    updateTitle();
}

void TFCreate::setTexts(const MapTexts& texts) {
    committedTexts_ = texts;
    const std::pair<QLineEdit*, const QString*> lines[] = {
        {edName_, &texts.edName},   {edAuthor_, &texts.edAuthor}, {edSpeed_, &texts.edSpeed},
        {edLimit_, &texts.edLimit}, {edMinE_, &texts.edMinE},     {edMaxE_, &texts.edMaxE}};
    // Only changed texts are set, so a cursor stays where it was in the others.
    for (const auto& [line, text] : lines)
        if (line->text() != *text)
            line->setText(*text);
    if (mPopis_->toPlainText() != texts.mPopis)
        mPopis_->setPlainText(texts.mPopis);
}

void TFCreate::showSizeInLists() {
    const QSignalBlocker blockX(cbX_);
    const QSignalBlocker blockY(cbY_);
    shownX_ = editor_.width() - kMinMapSide;
    shownY_ = editor_.height() - kMinMapSide;
    cbX_->setCurrentIndex(shownX_);
    cbY_->setCurrentIndex(shownY_);
}

bool TFCreate::hasUnsavedChanges() {
    return !undoStack_->isClean() || mapTexts() != committedTexts_;
}

void TFCreate::updateTitle() {
    const QString file =
        fileName_.isEmpty() ? QString::fromUtf8("nová mapa") : QFileInfo(fileName_).fileName();
    setWindowTitle(QString::fromUtf8("KXCreator - editor map v1.0 – %1[*]").arg(file));
    setWindowModified(hasUnsavedChanges());
}

bool TFCreate::mayReplaceDrawing(const QString& question) {
    return kx::mayReplaceDrawing(hasUnsavedChanges(), question, *messages_,
                                 [this] { return saveMap(); });
}

bool TFCreate::eventFilter(QObject* watched, QEvent* event) {
    if (watched == mPopis_ && event->type() == QEvent::FocusOut)
        commitTexts();
    return QDialog::eventFilter(watched, event);
}

void TFCreate::setMapFileChooser(std::function<QString()> chooser) {
    chooseMapFile_ = std::move(chooser);
}

void TFCreate::openMapClick() {
    if (!mayReplaceDrawing(openQuestion()))
        return;
    const QString path = chooseMapFile_
                             ? chooseMapFile_()
                             : QFileDialog::getOpenFileName(
                                   this, QString::fromUtf8("Otevřít mapu"), QDir::currentPath(),
                                   QString::fromUtf8("Mapy (*.xml);;Všechny soubory (*)"));
    if (!path.isEmpty())
        openMap(path);
}

bool TFCreate::openMap(const QString& path) {
    MapReading reading = readMapFile(path);
    if (!reading.map) {
        messages_->showMessage(QString::fromUtf8("Mapu ze souboru „%1“ nelze otevřít.\n\n%2")
                                   .arg(QDir::toNativeSeparators(path), reading.error));
        return false;
    }
    LoadedMap& map = *reading.map;
    editor_.loadDrawing(std::move(map.editFields), std::move(map.editUnits));
    setTexts(map.texts);
    showSizeInLists();
    dgMap_->mapResized();
    // A map opened is a new document: the steps of the one before do not apply to it.
    undoStack_->clear();
    undoStack_->setClean();
    fileName_ = path;
    lbStatus_->setText(QString::fromUtf8("Otevřena mapa ze souboru %1")
                           .arg(QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath())));
    updateTitle();
    return true;
}

void TFCreate::Button1Click() {
    saveMap();
}

bool TFCreate::saveMap() {
    commitTexts();
    QString path;
    const bool saved = button1Click(editor_, mapTexts(), QDir::currentPath(), *messages_, &path);
    lbStatus_->setText(saved
                           ? QString::fromUtf8("Mapa uložena do souboru %1")
                                 .arg(QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()))
                           : QString());
    if (saved) {
        undoStack_->setClean();
        fileName_ = path;
        updateTitle();
    }
    return saved;
}

void TFCreate::Button2Click() {
    close();
}

void TFCreate::reject() {
    if (mayReplaceDrawing(closeQuestion()))
        QDialog::reject();
}

} // namespace kx
