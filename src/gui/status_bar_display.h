#pragma once

#include <QLabel>
#include <QObject>
#include <QPointer>
#include <QStatusBar>
#include <array>
#include <mutex>
#include <string>

#include "platform/status_display.h"

namespace onefortwo {

// The main window's status bar as the features' status display: one label per field (the
// link, the journal, the SNMP agent), each showing the last text given, dark red while in
// trouble. A field never given a text takes no room. Texts given before the bar exists
// are kept and shown once it is attached; texts from other threads are shown on the
// user-interface thread.
class StatusBarDisplay : public QObject, public StatusDisplay {
 public:
  static constexpr int kFields = 3;

  void ShowStatus(StatusField field, const std::string& text, bool trouble) override;

  // Shows the fields on `bar` (the main window's), from now on.
  void Attach(QStatusBar* bar);
  // The field's label, or null before Attach or when never given a text.
  QLabel* label(StatusField field) const;

 private:
  struct Field {
    std::string text;
    bool trouble = false;
    bool given = false;
  };
  void Refresh();

  std::mutex mutex_;
  std::array<Field, kFields> fields_;
  QPointer<QStatusBar> bar_;
  std::array<QPointer<QLabel>, kFields> labels_;
};

}  // namespace onefortwo
