#include "qt_station_windows.h"

#include <QEventLoop>
#include <QMessageBox>

#include "number_entry_dialog.h"
#include "shell/station.h"

namespace onefortwo {

void QtStationWindows::SetPanel(int amp, AmpPanel* panel) {
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
  return fault_dialog(amp) != nullptr;
}

FaultDialogWindow* QtStationWindows::MakeFaultDialog(int amp) {
  auto* dialog = new FaultDialogWindow(*station_, amp, panels_[amp]);
  fault_dialogs_[amp] = dialog;
  // Closed is closed at once, though the window is deleted a little later.
  QObject::connect(dialog, &QDialog::finished, dialog, [this, amp, dialog] {
    if (fault_dialogs_[amp] == dialog) fault_dialogs_[amp] = nullptr;
  });
  return dialog;
}

void QtStationWindows::OpenFaultDialog(int amp) {
  if (!Valid(amp) || station_ == nullptr || IsFaultDialogOpen(amp)) return;
  MakeFaultDialog(amp)->show();
}

void QtStationWindows::RunFaultDialog(int amp) {
  if (!Valid(amp) || station_ == nullptr || IsFaultDialogOpen(amp)) return;
  FaultDialogWindow* dialog = MakeFaultDialog(amp);
  if (panels_[amp]) panels_[amp]->HoldFor(dialog);
  QEventLoop loop;
  QObject::connect(dialog, &QDialog::finished, &loop, &QEventLoop::quit);
  QObject::connect(dialog, &QObject::destroyed, &loop, &QEventLoop::quit);
  dialog->show();
  loop.exec();
}

void QtStationWindows::UpdateFaultDialog(int amp, const char* fault_text) {
  if (FaultDialogWindow* dialog = fault_dialog(amp))
    dialog->SetFaultText(QString::fromLatin1(fault_text));
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

void QtStationWindows::ShowPanel(int amp) {
  // Panels live as long as the station, so there is none to make anew.
  if (Valid(amp) && panels_[amp]) panels_[amp]->ShowAndRaise();
}

void QtStationWindows::OpenNumberEntry(int amp, int type) {
  if (!Valid(amp) || station_ == nullptr) return;
  auto* dialog = new NumberEntryDialog(*station_, amp, type, panels_[amp]);
  if (panels_[amp]) panels_[amp]->HoldFor(dialog);
  dialog->show();
}

void QtStationWindows::ShowPowerUnit(int amp, const char* unit_name) {
  if (Valid(amp) && panels_[amp]) panels_[amp]->ShowPowerUnit(QString::fromLatin1(unit_name));
}

FaultDialogWindow* QtStationWindows::fault_dialog(int amp) const {
  return Valid(amp) ? fault_dialogs_[amp].data() : nullptr;
}

void QtStationWindows::CloseFaultDialogs() {
  for (auto& dialog : fault_dialogs_) delete dialog.data();
}

}  // namespace onefortwo
