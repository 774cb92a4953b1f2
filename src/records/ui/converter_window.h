#pragma once

#include <QWidget>

namespace kx {

class LineListModel;
class XmlConverter;

// The converter window: the four lists of the last conversion (the record's lines, the
// event-log lines made of them, and the HQs created with their cells and times).
class TFConv2 : public QWidget {
    Q_OBJECT
  public:
    explicit TFConv2(QWidget* parent = nullptr);

    // Shows what `converter` holds now.
    void showConversion(const XmlConverter& converter);

  private:
    LineListModel* log_;
    LineListModel* kxr_;
    LineListModel* hq_;
    LineListModel* hqc_;
};

} // namespace kx
