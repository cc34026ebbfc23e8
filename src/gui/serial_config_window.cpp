#include "serial_config_window.h"

#include <QComboBox>
#include <QMessageBox>
#include <QPushButton>

namespace onefortwo {
namespace {

void Fill(QComboBox* box, const std::vector<std::string>& items, const std::string& text) {
  for (const std::string& item : items) box->addItem(QString::fromLocal8Bit(item.c_str()));
  box->setEditText(QString::fromLocal8Bit(text.c_str()));
}

std::string TextOf(const QComboBox* box) {
  return box->currentText().toLocal8Bit().toStdString();
}

}  // namespace

SerialConfigWindow::SerialConfigWindow(SerialLink& link, const std::vector<std::string>& devices,
                                       QWidget* owner)
    : QDialog(owner), config_(link, devices) {
  setWindowTitle(QString::fromLatin1(kSerialConfigurationDialog.caption));
  controls_ = std::make_unique<TemplateControls>(kSerialConfigurationDialog, this);
  setFixedSize(controls_->client_size());

  const SerialConfigFields& initial = config_.initial();
  const SerialConfigLists& lists = config_.lists();
  Fill(field(kPort), lists.port, initial.port);
  Fill(field(kBaud), lists.baud, initial.baud);
  Fill(field(kData), lists.data, initial.data);
  Fill(field(kStop), lists.stop, initial.stop);
  Fill(field(kParity), lists.parity, initial.parity);

  button(kOk)->setDefault(true);
  connect(button(kOk), &QPushButton::clicked, this, &SerialConfigWindow::Ok);
  connect(button(kCancel), &QPushButton::clicked, this, &QDialog::reject);
}

SerialConfigWindow::~SerialConfigWindow() = default;

QComboBox* SerialConfigWindow::field(int id) const {
  return controls_->get<QComboBox>(id);
}

QPushButton* SerialConfigWindow::button(int id) const {
  return controls_->get<QPushButton>(id);
}

void SerialConfigWindow::Ok() {
  SerialConfigFields texts;
  texts.port = TextOf(field(kPort));
  texts.baud = TextOf(field(kBaud));
  texts.data = TextOf(field(kData));
  texts.stop = TextOf(field(kStop));
  texts.parity = TextOf(field(kParity));
  const SerialConfigDialog::Outcome outcome = config_.Ok(texts);
  if (!outcome.message.empty()) {
    QMessageBox box(QMessageBox::Critical, QString::fromLocal8Bit(outcome.caption.c_str()),
                    QString::fromLocal8Bit(outcome.message.c_str()), QMessageBox::Ok, this);
    box.setTextFormat(Qt::PlainText);
    if (!outcome.detail.empty()) box.setInformativeText(QString::fromLocal8Bit(outcome.detail.c_str()));
    box.exec();
  }
  if (outcome.close) accept();
}

}  // namespace onefortwo
