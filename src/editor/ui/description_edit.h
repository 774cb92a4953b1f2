#pragma once

#include <QPlainTextEdit>

namespace kx {

// The description memo (mPopis): wrapped text of one line. Enter is left to the window, where
// it saves the map; pasted line breaks become blanks; Tab moves on; the text holds at most
// kMaxLength characters, and what goes past that of an insertion is dropped.
class DescriptionEdit : public QPlainTextEdit {
  public:
    static constexpr int kMaxLength = 32767;

    explicit DescriptionEdit(QWidget* parent = nullptr);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void insertFromMimeData(const QMimeData* source) override;

  private:
    // How many characters may replace the selection without passing the limit.
    int room() const;
};

} // namespace kx
