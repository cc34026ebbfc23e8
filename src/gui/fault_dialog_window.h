#pragma once

#include <QDialog>
#include <memory>

#include "amp/fault_dialog.h"
#include "template_controls.h"

class QLabel;
class QPushButton;

namespace onefortwo {

// The fault dialog of one amplifier ("Amplifier A Fault"), laid out from the "FaultDialog"
// template: the fault text in a sunken box, and Fault Reset, Acknowledge and Close. Its
// background is red while the amplifier is faulted and Acknowledge is enabled only while
// the alarm sounds, both asked again at every paint. The keyboard works as in any dialog:
// Tab goes from button to button, Enter presses the button with the focus (Close when none
// has it), Escape closes. However it is closed, it is deleted soon after.
class FaultDialogWindow : public QDialog {
  Q_OBJECT

 public:
  // Control ids of the template.
  static constexpr int kClose = 1;
  static constexpr int kAcknowledge = 115;
  static constexpr int kFaultReset = 116;
  static constexpr int kFaultText = 117;

  // The dialog of amplifier `amp` (0..2), owned by `owner` (its panel), showing the fault
  // of the record now.
  FaultDialogWindow(Station& station, int amp, QWidget* owner);
  ~FaultDialogWindow() override;

  int amp() const { return core_.amp(); }
  // Shows a new fault text and has the dialog repainted, so that the background and
  // Acknowledge follow the amplifier.
  void SetFaultText(const QString& text);
  QString FaultText() const;
  QPushButton* button(int id) const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void FollowAlarm();

  FaultDialog core_;
  std::unique_ptr<TemplateControls> controls_;
  QLabel* text_;
};

}  // namespace onefortwo
