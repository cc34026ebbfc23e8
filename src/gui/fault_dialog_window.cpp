#include "fault_dialog_window.h"

#include <QLabel>
#include <QPainter>
#include <QPushButton>

#include "canvas/qpainter_canvas.h"

namespace onefortwo {

FaultDialogWindow::FaultDialogWindow(Station& station, int amp, QWidget* owner)
    : QDialog(owner), core_(station, amp) {
  setWindowTitle(QString::fromLatin1(core_.title().c_str()));
  controls_ = std::make_unique<TemplateControls>(kFaultDialogTemplate, this);
  setFixedSize(controls_->client_size());

  text_ = controls_->get<QLabel>(kFaultText);
  text_->setText(QString::fromLatin1(core_.FaultText()));
  // The text box keeps the dialog's plain colour on the red.
  text_->setAutoFillBackground(true);

  QPushButton* close = button(kClose);
  // Enter closes when no other button has the focus, as the dialog's first button.
  close->setDefault(true);
  connect(close, &QPushButton::clicked, this, &QDialog::reject);
  connect(button(kAcknowledge), &QPushButton::clicked, this, [this] {
    core_.Acknowledge();
    FollowAlarm();
  });
  connect(button(kFaultReset), &QPushButton::clicked, this, [this] { core_.FaultReset(); });
  connect(this, &QDialog::finished, this, &QObject::deleteLater);
  FollowAlarm();
}

FaultDialogWindow::~FaultDialogWindow() = default;

void FaultDialogWindow::SetFaultText(const QString& text) {
  text_->setText(text);
  FollowAlarm();
  update();
}

QString FaultDialogWindow::FaultText() const {
  return text_->text();
}

QPushButton* FaultDialogWindow::button(int id) const {
  return controls_->get<QPushButton>(id);
}

void FaultDialogWindow::FollowAlarm() {
  QPushButton* acknowledge = button(kAcknowledge);
  const bool enabled = core_.AcknowledgeEnabled();
  if (acknowledge->isEnabled() != enabled) acknowledge->setEnabled(enabled);
}

void FaultDialogWindow::paintEvent(QPaintEvent*) {
  FollowAlarm();
  if (core_.Red()) QPainter(this).fillRect(rect(), ToQColor(kFaultDialogRed));
}

}  // namespace onefortwo
