#pragma once

#include <QString>
#include <QStringList>

namespace kx {

// The title of the program's message boxes.
inline const char* const kApplicationTitle = "KX Review 0.5";

// Message boxes and yes/no questions. The viewer shows them with QMessageBox; tests and the
// command line record them.
class UserMessages {
  public:
    virtual ~UserMessages() = default;
    virtual void showMessage(const QString& text) = 0;
    // Returns true for "yes". defaultYes says which button Enter presses.
    virtual bool askYesNo(const QString& caption, const QString& text, bool defaultYes) = 0;
};

// Keeps every text shown, in order; answers questions with a fixed answer.
class RecordedMessages : public UserMessages {
  public:
    void showMessage(const QString& text) override { shown.append(text); }
    bool askYesNo(const QString& caption, const QString& text, bool defaultYes) override {
        Q_UNUSED(caption);
        Q_UNUSED(defaultYes);
        shown.append(text);
        return answer;
    }

    QStringList shown;
    bool answer = false;
};

// Long work (loading, conversion, backward jumps) reports through this so that a window can
// move its progress bar and serve its event loop. Every method may be called often; an
// implementation throttles what it does.
class ActivityObserver {
  public:
    virtual ~ActivityObserver() = default;
    virtual void progressChanged(int value, bool visible) = 0;
    virtual void keepAlive() = 0;
};

} // namespace kx
