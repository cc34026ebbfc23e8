#include "amp_panel_stand_in.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QLabel>

#include "amp/amp_info.h"
#include "icons.h"
#include "shell/station.h"

namespace onefortwo {
namespace {

const char* StateText(amp_enum status) {
  static const char* const kTexts[] = {"No Contact", "Power Off", "Faulted", "Alarm",
                                       "Time Delay", "Standby",   "Auto HV", "High Voltage"};
  return status >= 0 && status < 8 ? kTexts[status] : "";
}

}  // namespace

AmpPanelStandIn::AmpPanelStandIn(int amp, const amp_struct& record, QWidget* owner)
    : QWidget(owner, Qt::Window), record_(record), state_(new QLabel) {
  setWindowTitle(QString("Amplifier %1").arg(QChar('A' + amp)));
  setWindowIcon(AmplifierIcon());
  state_->setFrameStyle(QFrame::Panel | QFrame::Raised);
  state_->setAlignment(Qt::AlignCenter);

  auto* grid = new QGridLayout(this);
  grid->addWidget(state_, 0, 0, 1, 3);
  const struct {
    int id;
    const char* label;
    const char* initial;
    const char* unit;
  } rows[] = {
      {kPowerOutText, "Forward Power", "----", ""},
      {kPowerBackText, "Reverse Power", "----", ""},
      {kAttenuationText, "Attenuation", "----", "dB"},
      {kTempText, "TWT Temp", "---", "C"},
      {kCurrentText, "Helix Current", "----", "mA"},
      {kVoltageText, "Helix Voltage", "----", "kV"},
  };
  int row = 1;
  for (const auto& r : rows) {
    auto* value = new QLabel(r.initial);
    value->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    value->setAlignment(Qt::AlignCenter);
    value->setMinimumWidth(48);
    values_[r.id] = value;
    grid->addWidget(new QLabel(r.label), row, 0);
    grid->addWidget(value, row, 1);
    grid->addWidget(new QLabel(r.unit), row, 2);
    ++row;
  }
  RedrawButton(kStateButton);
}

void AmpPanelStandIn::RedrawButton(int control_id) {
  if (control_id == kStateButton) state_->setText(StateText(record_.status));
}

void AmpPanelStandIn::SetText(int control_id, const QString& text) {
  const auto found = values_.find(control_id);
  if (found != values_.end()) found->second->setText(text);
}

QString AmpPanelStandIn::Text(int control_id) const {
  if (control_id == kStateButton) return state_->text();
  const auto found = values_.find(control_id);
  return found == values_.end() ? QString() : found->second->text();
}

void AmpPanelStandIn::closeEvent(QCloseEvent* event) {
  event->ignore();
  showMinimized();
}

}  // namespace onefortwo
