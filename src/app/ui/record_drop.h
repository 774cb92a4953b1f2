#pragma once

#include <QObject>
#include <QString>

#include <functional>

class QMimeData;
class QWidget;

namespace kx {

// Opens a record dropped on a window: the first local file among the dropped items goes to
// the opener, which reads it by its name as the command line does. Anything else (text,
// remote addresses) is refused while it is dragged, so the cursor says so.
class RecordDrop : public QObject {
    Q_OBJECT
  public:
    RecordDrop(QWidget* window, std::function<void(const QString&)> opener);

    // The local file a drop of `data` would open, or an empty text.
    static QString droppedFile(const QMimeData* data);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    std::function<void(const QString&)> opener_;
};

} // namespace kx
