#pragma once

#include <QLabel>

namespace kx {

// A one-line label that never asks its layout for the room of its text: a text too long for
// the label's width is shown shortened with "…", and the whole text is its tooltip. text()
// is always the whole text.
class ElidedLabel : public QLabel {
    Q_OBJECT
  public:
    explicit ElidedLabel(Qt::TextElideMode mode = Qt::ElideRight, QWidget* parent = nullptr);

    // Hides QLabel::setText, which is not virtual: keeps the tooltip in step.
    void setText(const QString& text);
    bool isElided() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void updateToolTip();

    Qt::TextElideMode mode_;
};

} // namespace kx
