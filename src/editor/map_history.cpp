#include "map_history.h"

#include "records/user_messages.h"

#include <algorithm>

namespace kx {

namespace {

bool sameGrid(const Grid& a, const Grid& b) {
    if (a.width() != b.width() || a.height() != b.height())
        return false;
    for (int x = 0; x < a.width(); ++x)
        if (!std::equal(a.column(x), a.column(x) + a.height(), b.column(x)))
            return false;
    return true;
}

} // namespace

bool sameState(const MapState& a, const MapState& b) {
    return a.texts == b.texts && sameGrid(a.editFields, b.editFields) &&
           sameGrid(a.editUnits, b.editUnits);
}

MapState captureState(const MapEditor& editor, const MapTexts& texts) {
    return {editor.editFields, editor.editUnits, texts};
}

void restoreDrawing(MapEditor& editor, const MapState& state) {
    const bool changed = editor.drawingChanged;
    editor.loadDrawing(state.editFields, state.editUnits);
    editor.drawingChanged = changed;
}

QString editNameClick() {
    return QString::fromUtf8("Kreslení");
}
QString editNameStroke() {
    return QString::fromUtf8("Tah");
}
QString editNameFill() {
    return QString::fromUtf8("Vyplnění");
}
QString editNameRectangle() {
    return QString::fromUtf8("Obdélník");
}
QString editNameSize() {
    return QString::fromUtf8("Změna velikosti");
}
QString editNameParameter() {
    return QString::fromUtf8("Úprava údajů");
}

void MapEditRecorder::begin(const QString& name, const MapEditor& editor, const MapTexts& texts) {
    name_ = name;
    before_ = captureState(editor, texts);
}

std::optional<MapEdit> MapEditRecorder::finish(const MapEditor& editor, const MapTexts& texts) {
    if (!before_)
        return std::nullopt;
    MapEdit edit{name_, std::move(*before_), captureState(editor, texts)};
    before_.reset();
    if (sameState(edit.before, edit.after))
        return std::nullopt;
    return edit;
}

bool mayReplaceDrawing(bool unsaved, const QString& question, UserMessages& messages,
                       const std::function<bool()>& save) {
    if (!unsaved)
        return true;
    switch (messages.askYesNoCancel(QString::fromUtf8("Neuložené změny"), question)) {
    case QuestionAnswer::Yes:
        return save();
    case QuestionAnswer::No:
        return true;
    case QuestionAnswer::Cancel:
        break;
    }
    return false;
}

QString closeQuestion() {
    return QString::fromUtf8("Mapa má neuložené změny. Uložit je před zavřením editoru?");
}
QString openQuestion() {
    return QString::fromUtf8("Mapa má neuložené změny. Uložit je před otevřením jiné mapy?");
}
QString resizeQuestion() {
    return QString::fromUtf8("Mapa má neuložené změny a změnou velikosti se smaže. Uložit je "
                             "před změnou velikosti?");
}

} // namespace kx
