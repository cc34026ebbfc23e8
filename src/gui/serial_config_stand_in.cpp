#include "serial_config_stand_in.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QMessageBox>

#include "wserial/serial_link.h"

namespace onefortwo {

SerialConfigStandIn::SerialConfigStandIn(SerialLink& link, QWidget* owner)
    : QDialog(owner), link_(link), port_(new QLineEdit(QString::fromLocal8Bit(link.serial_port))) {
  setWindowTitle("Serial Port Configuration");
  port_->setMaxLength(kMaxPortNameLength + 1);  // one more, so a name too long is seen
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  connect(buttons, &QDialogButtonBox::accepted, this, &SerialConfigStandIn::Apply);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* form = new QFormLayout(this);
  form->addRow("Com Port", port_);
  form->addRow(buttons);
}

void SerialConfigStandIn::Apply() {
  const QByteArray name = port_->text().toLocal8Bit();
  // A name the settings cannot hold (empty, or longer than 63 characters) is refused
  // whole, never cut, and the port is not touched.
  if (link_.SetSerialPort(name.constData()) && link_.InitSerial() == 1) {
    link_.SaveSerialDefaults();
    accept();
    return;
  }
  QMessageBox box(QMessageBox::Critical, "Problem",
                  QString("Can't open Com Port %1.").arg(QString::fromLocal8Bit(name)),
                  QMessageBox::Ok, this);
  box.setTextFormat(Qt::PlainText);
  box.exec();
}

}  // namespace onefortwo
