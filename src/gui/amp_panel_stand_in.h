#pragma once

#include <QWidget>
#include <map>

class QLabel;

namespace onefortwo {

struct amp_struct;

// A small amplifier panel until the full one comes: the operating state and the six
// readings of one amplifier, as the panel refresh puts them. Closing it only minimises it;
// it lives as long as its owner, the main window.
class AmpPanelStandIn : public QWidget {
  Q_OBJECT

 public:
  // `record` is the amplifier's record; it outlives the panel.
  AmpPanelStandIn(int amp, const amp_struct& record, QWidget* owner);

  // Shows the record's operating state anew (control 105; the other buttons have no
  // place here yet).
  void RedrawButton(int control_id);
  // Puts `text` into value control `control_id` (106..111).
  void SetText(int control_id, const QString& text);
  // The text shown by control `control_id` (105 the state, 106..111 the readings).
  QString Text(int control_id) const;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  const amp_struct& record_;
  QLabel* state_;
  std::map<int, QLabel*> values_;
};

}  // namespace onefortwo
