#include "qt_station_windows.h"

#include <QMessageBox>

#include "shell/station.h"

namespace onefortwo {

void QtStationWindows::SetPanel(int amp, AmpPanelStandIn* panel) {
  if (Valid(amp)) panels_[amp] = panel;
}

void QtStationWindows::ShowMessage(const char* text, const char* caption, MessageIcon icon) {
  const QMessageBox::Icon shown =
      icon == MessageIcon::error ? QMessageBox::Critical : QMessageBox::Warning;
  QMessageBox box(shown, caption, text, QMessageBox::Ok);
  box.setTextFormat(Qt::PlainText);
  box.exec();
}

bool QtStationWindows::IsFaultDialogOpen(int amp) {
  return Valid(amp) && fault_dialogs_[amp] && fault_dialogs_[amp]->isVisible();
}

void QtStationWindows::OpenFaultDialog(int amp) {
  if (!Valid(amp) || IsFaultDialogOpen(amp)) return;
  QString text;
  if (station_ != nullptr) {
    const int fault = station_->amps.amp_info[amp].fault_status;
    if (fault >= 0 && fault < kFaultCount) text = fault_string[fault];
  }
  auto* dialog = new FaultDialogStandIn(amp, text, panels_[amp]);
  fault_dialogs_[amp] = dialog;
  dialog->show();
}

void QtStationWindows::UpdateFaultDialog(int amp, const char* fault_text) {
  if (FaultDialogStandIn* dialog = fault_dialog(amp)) {
    dialog->SetFaultText(fault_text);
    dialog->update();
  }
}

void QtStationWindows::InvalidateMainWindow(const Rect* rect, bool) {
  if (!diagram_) return;
  if (rect == nullptr) {
    diagram_->update();
  } else {
    diagram_->update(
        QRect(QPoint(rect->left, rect->top), QPoint(rect->right - 1, rect->bottom - 1)));
  }
}

void QtStationWindows::UpdateMainWindow() {
  if (diagram_) diagram_->repaint();
}

void QtStationWindows::RedrawPanelButton(int amp, int control_id) {
  if (Valid(amp) && panels_[amp]) panels_[amp]->RedrawButton(control_id);
}

void QtStationWindows::SetPanelText(int amp, int control_id, const char* text) {
  if (Valid(amp) && panels_[amp]) panels_[amp]->SetText(control_id, QString::fromLatin1(text));
}

FaultDialogStandIn* QtStationWindows::fault_dialog(int amp) const {
  return Valid(amp) && fault_dialogs_[amp] && fault_dialogs_[amp]->isVisible()
             ? fault_dialogs_[amp].data()
             : nullptr;
}

void QtStationWindows::CloseFaultDialogs() {
  for (auto& dialog : fault_dialogs_) delete dialog.data();
}

}  // namespace onefortwo
