#pragma once

#include <QString>
#include <QStringList>

namespace kx {

// The title of the program's message boxes.
inline const char* const kApplicationTitle = "KX Review 0.5";

// The answers to a question about unsaved changes: "Ano", "Ne", "Zrušit".
enum class QuestionAnswer { Yes, No, Cancel };

// Message boxes and yes/no questions. The viewer shows them with QMessageBox; tests and the
// command line record them.
class UserMessages {
  public:
    virtual ~UserMessages() = default;
    virtual void showMessage(const QString& text) = 0;
    // Returns true for "yes". defaultYes says which button Enter presses.
    virtual bool askYesNo(const QString& caption, const QString& text, bool defaultYes) = 0;
    // A question with "Ano", "Ne" and "Zrušit"; Yes is the default button. Without a box of
    // its own it is asked as yes/no and never cancelled.
    virtual QuestionAnswer askYesNoCancel(const QString& caption, const QString& text) {
        return askYesNo(caption, text, true) ? QuestionAnswer::Yes : QuestionAnswer::No;
    }
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
    QuestionAnswer askYesNoCancel(const QString& caption, const QString& text) override {
        Q_UNUSED(caption);
        shown.append(text);
        return threeWayAnswer;
    }

    QStringList shown;
    bool answer = false;
    QuestionAnswer threeWayAnswer = QuestionAnswer::Cancel;
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
