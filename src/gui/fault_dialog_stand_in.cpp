#include "fault_dialog_stand_in.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

namespace onefortwo {

FaultDialogStandIn::FaultDialogStandIn(int amp, const QString& fault_text, QWidget* owner)
    : QDialog(owner), text_(new QLabel(fault_text)) {
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(QString("Amplifier %1 Fault").arg(QChar('A' + amp)));
  text_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  text_->setAlignment(Qt::AlignCenter);
  text_->setMinimumWidth(240);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
  auto* column = new QVBoxLayout(this);
  column->addWidget(text_);
  column->addWidget(buttons);
}

void FaultDialogStandIn::SetFaultText(const QString& text) {
  text_->setText(text);
}

QString FaultDialogStandIn::FaultText() const {
  return text_->text();
}

}  // namespace onefortwo
