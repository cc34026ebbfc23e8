#pragma once

#include <QDialog>

class QLabel;

namespace onefortwo {

// A small fault dialog until the full one comes: "Amplifier %c Fault" and the fault
// text, and a Close button. Modeless; closing it destroys it.
class FaultDialogStandIn : public QDialog {
  Q_OBJECT

 public:
  FaultDialogStandIn(int amp, const QString& fault_text, QWidget* owner);

  void SetFaultText(const QString& text);
  QString FaultText() const;

 private:
  QLabel* text_;
};

}  // namespace onefortwo
