#pragma once

#include <QDialog>
#include <memory>
#include <string>
#include <vector>

#include "serconfig/serial_config.h"
#include "template_controls.h"

class QComboBox;
class QPushButton;

namespace onefortwo {

// The serial configuration dialog ("Serial Port Configuration"), laid out from the
// "SerialConfiguration" template: five combo boxes (port, baud rate, data bits, stop bits,
// parity) whose fields also take typed text, and OK and Cancel. OK applies the choice by
// reopening the port; when it will not open, the message comes in a box owned by the dialog
// and the dialog stays open. Cancel changes nothing.
class SerialConfigWindow : public QDialog {
  Q_OBJECT

 public:
  // Control ids of the template.
  static constexpr int kOk = 1;
  static constexpr int kCancel = 2;
  static constexpr int kPort = 101;
  static constexpr int kBaud = 102;
  static constexpr int kData = 103;
  static constexpr int kStop = 104;
  static constexpr int kParity = 105;

  // On `link`; `devices` are the serial devices found on this machine.
  SerialConfigWindow(SerialLink& link, const std::vector<std::string>& devices, QWidget* owner);
  ~SerialConfigWindow() override;

  // Combo box 101..105, or null.
  QComboBox* field(int id) const;
  QPushButton* button(int id) const;

 private:
  void Ok();

  SerialConfigDialog config_;
  std::unique_ptr<TemplateControls> controls_;
};

}  // namespace onefortwo
