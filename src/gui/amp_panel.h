#pragma once

#include <QDialog>
#include <QWidget>
#include <functional>
#include <memory>

#include "amp/amp_info.h"
#include "template_controls.h"
#include "window_hold.h"

namespace onefortwo {

class PanelButton;

// The panel of one amplifier ("Amplifier A", "B", "C"), laid out from the "AmplifierDialog"
// template: the four owner-drawn state buttons along the top, the power group (forward power
// and attenuation as buttons that open the number entry, reverse power, the unit button) and
// the tube group (temperature, helix current and voltage). The background and the static
// texts sit on the panel colour. It shows what the station puts into it and hands every
// button press to the operator's commands. Closing it only minimises it.
class AmpPanel : public QWidget {
  Q_OBJECT

 public:
  // What a press of control `control_id` does (the operator's panel command).
  using Command = std::function<void(int control_id)>;

  // Panel of amplifier `amp` (0..2) showing `record`, which outlives it; owned by `owner`,
  // the main window.
  AmpPanel(int amp, const amp_struct& record, QWidget* owner);
  ~AmpPanel() override;

  int amp() const { return amp_; }
  void SetCommand(Command command) { command_ = std::move(command); }

  // Has owner-drawn button `control_id` (102..105) draw itself anew from the record.
  void RedrawButton(int control_id);
  // Puts `text` into value control `control_id` (106..111) as it stands.
  void SetText(int control_id, const QString& text);
  // Shows `unit_name` on the unit button (101) and the reverse power's unit label (112).
  void ShowPowerUnit(const QString& unit_name);
  // The text of control `control_id`: a value (106..111), the unit button or label (101,
  // 112); empty for any other id.
  QString Text(int control_id) const;
  // The control of `control_id`, or null.
  QWidget* control(int control_id) const { return controls_->widget(control_id); }
  PanelButton* button(int control_id) const;

  // Brings the panel to the front and shows it, restoring it when minimised.
  void ShowAndRaise();

  // Keeps the operator's input from the panel until `dialog` is closed: the dialogs a panel
  // opens are modal to it alone, so the other panels and the main window stay usable and
  // the panel goes on showing the readings.
  void HoldFor(QDialog* dialog);
  bool held() const { return hold_.held(); }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  int amp_;
  const amp_struct& record_;
  Command command_;
  std::unique_ptr<TemplateControls> controls_;
  WindowHold hold_;
};

}  // namespace onefortwo
