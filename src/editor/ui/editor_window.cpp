// The map editor window's controls, their arrangement and their handlers.
#include "editor_window.h"

#include "description_edit.h"
#include "editor_grid.h"
#include "palette_image.h"

#include "mapview/ui/map_renderer.h"
#include "records/unit_kinds.h"
#include "widgets/elided_label.h"
#include "widgets/named_widget.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QScrollArea>
#include <QSignalBlocker>
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

TFCreate::TFCreate(QWidget* parent) : QDialog(parent), boxes_(this), messages_(&boxes_) {
    setObjectName(QStringLiteral("FCreate"));
    setWindowTitle(QStringLiteral("KXCreator - editor map v1.0"));

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
    mapArea_ = named(new QScrollArea, "mapArea");
    mapArea_->setFrameShape(QFrame::NoFrame);
    mapArea_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    mapArea_->setWidget(dgMap_);
    mapArea_->setMinimumSize(6 * MapRenderer::kCellSize, 6 * MapRenderer::kCellSize);
    mapArea_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);

    // A long path is shortened in its middle, so the file's name stays in sight.
    lbStatus_ = named(new ElidedLabel(Qt::ElideMiddle), "lbStatus");
    lbStatus_->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* panes = new QHBoxLayout;
    panes->addLayout(left, 0);
    panes->addWidget(mapArea_, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(panes, 1);
    layout->addWidget(lbStatus_);

    for (PaletteImage* image : images_)
        image->clicked = [this](int tag) { Image1Click(tag); };
    connect(cbX_, &QComboBox::currentIndexChanged, this, &TFCreate::cbXChange);
    connect(cbY_, &QComboBox::currentIndexChanged, this, &TFCreate::cbXChange);
    connect(edUnit_, &QLineEdit::textChanged, this, &TFCreate::edUnitChange);
    connect(dgMap_, &EditorGrid::selectCell, this, &TFCreate::dgMapSelectCell);
    connect(Button1_, &QPushButton::clicked, this, &TFCreate::Button1Click);
    connect(Button2_, &QPushButton::clicked, this, &TFCreate::Button2Click);

    // Room for the whole 20 x 20 map beside the groups, and the status line below.
    const QSize grid = dgMap_->sizeHint();
    resize(std::max(621, panes->sizeHint().width() - mapArea_->sizeHint().width() + grid.width() +
                             layout->contentsMargins().left() + layout->contentsMargins().right()),
           std::max(450, grid.height() + 2 * layout->contentsMargins().top() + layout->spacing() +
                             lbStatus_->sizeHint().height()));
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
    if (!editor_.mayDiscardDrawing(*messages_)) {
        // "Ne": the lists go back to the size of the map, which stays as drawn.
        const QSignalBlocker blockX(cbX_);
        const QSignalBlocker blockY(cbY_);
        cbX_->setCurrentIndex(shownX_);
        cbY_->setCurrentIndex(shownY_);
        return;
    }
    shownX_ = cbX_->currentIndex();
    shownY_ = cbY_->currentIndex();
    editor_.cbXChange(shownX_, shownY_);
    dgMap_->mapResized();
}

void TFCreate::edUnitChange() {
    editor_.edUnitChange(edUnit_->text());
}

void TFCreate::dgMapSelectCell(int col, int row) {
    if (editor_.dgMapSelectCell(col, row, cbUnit_->currentIndex()))
        dgMap_->redrawCell(col, row);
}

void TFCreate::Button1Click() {
    QString path;
    const bool saved = button1Click(editor_, mapTexts(), QDir::currentPath(), *messages_, &path);
    lbStatus_->setText(saved
                           ? QString::fromUtf8("Mapa uložena do souboru %1")
                                 .arg(QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()))
                           : QString());
}

void TFCreate::Button2Click() {
    close();
}

} // namespace kx
