#pragma once

#include <QDialog>
#include <memory>

#include "template_controls.h"
#include "user/number_entry.h"

class QLineEdit;
class QPushButton;

namespace onefortwo {

// The number entry dialog ("GetNumber") of one panel: a new output power (or constant-power
// level) or attenuation for its amplifier, laid out from the template. It keeps its own
// amplifier and entry kind, so dialogs of several panels may be open at once. Ok (Enter)
// sends the entry; Cancel (Escape) sends nothing. However it ends, it is deleted soon after.
class NumberEntryDialog : public QDialog {
  Q_OBJECT

 public:
  // Control ids of the template.
  static constexpr int kOk = 1;
  static constexpr int kCancel = 2;
  static constexpr int kUnitLabel = 112;
  static constexpr int kField = 113;
  static constexpr int kPrompt = 114;

  // For amplifier `amp` (0..2) and entry kind `type` (106 output power, 107 attenuation),
  // owned by `owner` (the panel), with the texts of the moment.
  NumberEntryDialog(Station& station, int amp, int type, QWidget* owner);
  ~NumberEntryDialog() override;

  const NumberEntry& entry() const { return entry_; }
  QLineEdit* field() const;
  QPushButton* button(int id) const;
  // The text of static control 112 or 114.
  QString Text(int id) const;

 private:
  void Ok();

  NumberEntry entry_;
  std::unique_ptr<TemplateControls> controls_;
};

}  // namespace onefortwo
