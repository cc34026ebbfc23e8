#pragma once

#include <QAbstractButton>

#include "amp/amp_info.h"

namespace onefortwo {

// One of the four owner-drawn buttons along the top of an amplifier panel (102 remote/local,
// 103 constant power, 104 RF, 105 operating state). It draws itself from the amplifier's
// record at every paint: text and colours from the panel's face table, the button itself by
// DrawPushButton, raised or, while held down, pressed, inside a sunken client edge. A
// disabled button looks the same; it only takes no presses. No focus mark is drawn.
class PanelButton : public QAbstractButton {
  Q_OBJECT

 public:
  // `record` is the amplifier's record; it outlives the button.
  PanelButton(const amp_struct& record, int control_id, QWidget* parent);

  int control_id() const { return control_id_; }
  // The caption of the last paint ("" before the first).
  const QString& drawn_text() const { return drawn_text_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  const amp_struct& record_;
  int control_id_;
  QString drawn_text_;
};

}  // namespace onefortwo
