#pragma once

#include "clips/clip_options.h"

#include <QDialog>
#include <QList>
#include <QString>

class QCheckBox;
class QComboBox;
class QFormLayout;
class QSpinBox;

namespace kx {

class ReplaySession;
class UserMessages;

// An event offered as an end of a clip: a bookmark or a marker of the timeline.
struct ClipEnd {
    int32_t event = 0;
    QString text;
};

// "Exportovat klip": the range of events, one frame per event or per game hour, the frame
// rate, the view, the highlighted player, the scale and whether a caption and a legend go
// under the map. Starts from what the window shows.
class ClipDialog : public QDialog {
  public:
    ClipDialog(const ReplaySession& session, const QList<ClipEnd>& ends, QWidget* parent = nullptr);

    ClipSettings settings() const;

  private:
    QSpinBox* addRangeRow(QFormLayout* form, const QString& label, const QString& name,
                          int32_t value, const QList<ClipEnd>& ends);

    int32_t first_;
    int32_t last_;
    QSpinBox* from_ = nullptr;
    QSpinBox* to_ = nullptr;
    QComboBox* pace_ = nullptr;
    QSpinBox* fps_ = nullptr;
    QComboBox* view_ = nullptr;
    QComboBox* highlight_ = nullptr;
    QComboBox* scale_ = nullptr;
    QCheckBox* caption_ = nullptr;
};

// Writes a clip of the session's record to `path` on a thread of its own behind a progress
// dialog that can cancel; a failure is told through `messages`. True when the clip was written.
bool writeClip(QWidget& parent, const ReplaySession& session, const ClipSettings& settings,
               const QString& path, UserMessages& messages);

// "Exportovat klip…": asks for the clip's settings and where to save it, then writes it.
void exportClip(QWidget& parent, const ReplaySession& session, const QList<ClipEnd>& ends,
                UserMessages& messages);

} // namespace kx
