#pragma once

#include <QDialog>
#include <QString>

#include <functional>

class QLabel;

namespace kx {

// The About window: black, lime-green text, two address links that open in the system's
// browser and a link that closes the window. A link is underlined while the mouse moves over
// it; a move over the window's background takes the underline away.
class TFAbout : public QDialog {
    Q_OBJECT
  public:
    explicit TFAbout(QWidget* parent = nullptr);

    // How an address is opened (the system's "open" action unless replaced, as tests do).
    void setUrlOpener(std::function<void(const QString&)> opener) { opener_ = std::move(opener); }

    void FormMouseMove();
    void Label5MouseMove();
    void Label11MouseMove();
    void Label12MouseMove();
    // Opens the address that the clicked label shows.
    void Label5Click(QLabel* sender);
    void Label12Click();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    void underline(bool label5, bool label11, bool label12);

    std::function<void(const QString&)> opener_;
    QLabel* Label5_ = nullptr;
    QLabel* Label11_ = nullptr;
    QLabel* Label12_ = nullptr;
};

} // namespace kx
