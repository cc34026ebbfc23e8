#include "amp_panel.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QLabel>
#include <QPushButton>

#include "canvas/qpainter_canvas.h"
#include "icons.h"
#include "panel_button.h"
#include "shell/station.h"
#include "user/panel_face.h"

namespace onefortwo {

AmpPanel::AmpPanel(int amp, const amp_struct& record, QWidget* owner)
    : QWidget(owner, Qt::Window), amp_(amp), record_(record), hold_(this) {
  setWindowTitle(QString("Amplifier %1").arg(QChar('A' + amp)));
  setWindowIcon(AmplifierIcon());
  // Every panel is gray: the station selects no other panel colour.
  QPalette colours = palette();
  colours.setColor(QPalette::Window, ToQColor(PanelColor(gray_color)));
  setPalette(colours);
  setAutoFillBackground(true);

  controls_ = std::make_unique<TemplateControls>(
      kAmplifierDialog, this, [this](const DialogControl& control, QWidget* client) {
        return new PanelButton(record_, control.id, client);
      });
  for (int id : {kPowerUnitButton, kRemoteButton, kConstantButton, kRfButton, kStateButton,
                 kPowerOutText, kAttenuationText}) {
    auto* pressed = qobject_cast<QAbstractButton*>(control(id));
    if (pressed == nullptr) continue;
    connect(pressed, &QAbstractButton::clicked, this, [this, id] {
      if (command_) command_(id);
    });
  }
}

AmpPanel::~AmpPanel() = default;

PanelButton* AmpPanel::button(int control_id) const {
  return controls_->get<PanelButton>(control_id);
}

void AmpPanel::RedrawButton(int control_id) {
  if (PanelButton* drawn = button(control_id)) drawn->update();
}

void AmpPanel::SetText(int control_id, const QString& text) {
  if (control_id < kPowerOutText || control_id > kCurrentText) return;
  if (auto* pressed = controls_->get<QPushButton>(control_id)) pressed->setText(text);
  if (auto* shown = controls_->get<QLabel>(control_id)) shown->setText(text);
}

void AmpPanel::ShowPowerUnit(const QString& unit_name) {
  if (auto* unit = controls_->get<QPushButton>(kPowerUnitButton)) unit->setText(unit_name);
  if (auto* label = controls_->get<QLabel>(112)) label->setText(unit_name);
}

QString AmpPanel::Text(int control_id) const {
  const bool shown = (control_id >= kPowerOutText && control_id <= kCurrentText) ||
                     control_id == kPowerUnitButton || control_id == 112;
  if (!shown) return QString();
  if (auto* pressed = controls_->get<QPushButton>(control_id)) return pressed->text();
  if (auto* label = controls_->get<QLabel>(control_id)) return label->text();
  return QString();
}

void AmpPanel::ShowAndRaise() {
  setWindowState(windowState() & ~Qt::WindowMinimized);
  show();
  raise();
  activateWindow();
}

void AmpPanel::HoldFor(QDialog* dialog) { hold_.HoldFor(dialog); }

void AmpPanel::closeEvent(QCloseEvent* event) {
  // Panels live as long as the station: closing one only puts it away.
  event->ignore();
  showMinimized();
}

}  // namespace onefortwo
