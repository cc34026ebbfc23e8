#pragma once

#include <QDialog>

class QLineEdit;

namespace onefortwo {

class SerialLink;

// A small serial configuration dialog until the full one comes: the port name only, the
// other settings as they are. OK takes the name, reopens the port and, only when it
// opened, saves the settings and closes; otherwise it says "Can't open Com Port %s." in a
// box captioned "Problem" and stays open. Cancel changes nothing.
class SerialConfigStandIn : public QDialog {
  Q_OBJECT

 public:
  SerialConfigStandIn(SerialLink& link, QWidget* owner);

  QLineEdit* port_field() const { return port_; }

 private:
  void Apply();

  SerialLink& link_;
  QLineEdit* port_;
};

}  // namespace onefortwo
