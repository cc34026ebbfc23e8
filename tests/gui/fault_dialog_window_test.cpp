// The fault dialog as the operator sees and works it: opened by a fault, red while the
// amplifier is faulted, the alarm and Acknowledge, Fault Reset on the wire, closing, the
// keyboard, and the panel's state button.

#include "fault_dialog_window.h"

#include <QPushButton>
#include <QtTest>

#include "canvas/qpainter_canvas.h"
#include "gui_station.h"
#include "panel_button.h"

namespace onefortwo {
namespace {

AmpReply Faulted(uint8_t fault1) {
  AmpReply reply;
  reply.state1 = 0x08;  // standby: a fault trips the high voltage
  reply.state2 = 0x20;  // faulted
  reply.fault1 = fault1;
  return reply;
}

AmpReply Standby() {
  AmpReply reply;
  reply.state1 = 0x08;
  return reply;
}

// The colour of the dialog's background, where no control lies.
QColor Background(FaultDialogWindow* dialog) {
  return QColor(dialog->grab().toImage().pixel(2, 2));
}

const QColor kRed(255, 0, 0);

// `ticks` ticks of the timer, with amplifier `amp` answering faulted on each, so that it
// stays in contact and faulted.
void FaultedTicks(GuiStation& s, int amp, int ticks) {
  for (int t = 0; t < ticks; ++t) s.Reply(amp, Faulted(0x08));
}

}  // namespace

class FaultDialogWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void FaultOpensItRedWithTheAlarmUntilAcknowledged() {
    GuiStation s;
    s.app.main_timer().count = 1;  // A's beep comes on the cycle's first tick
    s.Reply(0, Faulted(0x08));     // over temperature
    FaultDialogWindow* dialog = s.app.windows().fault_dialog(0);
    QVERIFY(dialog != nullptr);
    QVERIFY(dialog->isVisible());
    QVERIFY(!dialog->isModal());
    QCOMPARE(dialog->parentWidget(), &s.app.panel(0));
    QCOMPARE(dialog->windowTitle(), QString("Amplifier A Fault"));
    QCOMPARE(dialog->FaultText(), QString("Over Temperature"));
    QCOMPARE(Background(dialog), kRed);
    QPushButton* acknowledge = dialog->button(FaultDialogWindow::kAcknowledge);
    QVERIFY(acknowledge->isEnabled());
    FaultedTicks(s, 0, 26);
    QCOMPARE(s.sound.beeps, 2);

    acknowledge->click();
    QVERIFY(!acknowledge->isEnabled());
    FaultedTicks(s, 0, 26);
    QCOMPARE(s.sound.beeps, 2);
    QCOMPARE(Background(dialog), kRed);  // still faulted

    // The fault clears: the dialog stays, plain, with "No Faults".
    s.Reply(0, Standby());
    QCOMPARE(s.app.windows().fault_dialog(0), dialog);
    QCOMPARE(dialog->FaultText(), QString("No Faults"));
    QCOMPARE(Background(dialog), dialog->palette().color(QPalette::Window));
    QVERIFY(!acknowledge->isEnabled());
    QCOMPARE(s.Sent(), QStringList());
  }

  void NewFaultWhileOpenRearmsTheAlarm() {
    GuiStation s;
    s.Reply(1, Faulted(0x08));
    FaultDialogWindow* dialog = s.app.windows().fault_dialog(1);
    dialog->button(FaultDialogWindow::kAcknowledge)->click();
    s.Reply(1, Faulted(0x01));  // low line
    QCOMPARE(dialog->FaultText(), QString("Low Line"));
    QVERIFY(dialog->button(FaultDialogWindow::kAcknowledge)->isEnabled());
    QCOMPARE(Background(dialog), kRed);
  }

  void FaultResetSendsBToItsAmplifier() {
    GuiStation s;
    s.Reply(1, Faulted(0x08));
    s.Reply(2, Faulted(0x04));
    FaultDialogWindow* c = s.app.windows().fault_dialog(2);
    QCOMPARE(c->windowTitle(), QString("Amplifier C Fault"));
    QCOMPARE(c->FaultText(), QString("Over Voltage"));
    QTest::mouseClick(c->button(FaultDialogWindow::kFaultReset), Qt::LeftButton);
    QCOMPARE(s.Sent(), QStringList{Frame(67, "B")});
    QVERIFY(c->isVisible());
    QVERIFY(s.app.windows().fault_dialog(1)->button(FaultDialogWindow::kAcknowledge)->isEnabled());
  }

  void ClosedWhileFaultedItStaysClosedUntilTheNextFault() {
    GuiStation s;
    s.Reply(2, Faulted(0x08));
    QPointer<FaultDialogWindow> dialog = s.app.windows().fault_dialog(2);
    QTest::mouseClick(dialog->button(FaultDialogWindow::kClose), Qt::LeftButton);
    QVERIFY(!s.app.windows().IsFaultDialogOpen(2));
    GuiStation::Settle();
    QVERIFY(dialog.isNull());  // deleted

    FaultedTicks(s, 2, 13);
    QVERIFY(!s.app.windows().IsFaultDialogOpen(2));
    QCOMPARE(s.sound.beeps, 0);
    s.Reply(2, Standby());
    s.Reply(2, Faulted(0x08));
    QVERIFY(s.app.windows().IsFaultDialogOpen(2));
  }

  void KeyboardTabEnterAndEscape() {
    GuiStation s;
    s.Reply(0, Faulted(0x08));
    FaultDialogWindow* dialog = s.app.windows().fault_dialog(0);
    QPointer<FaultDialogWindow> guard = dialog;
    QApplication::setActiveWindow(dialog);
    QPushButton* close = dialog->button(FaultDialogWindow::kClose);
    QPushButton* reset = dialog->button(FaultDialogWindow::kFaultReset);
    QPushButton* acknowledge = dialog->button(FaultDialogWindow::kAcknowledge);
    QCOMPARE(dialog->focusWidget(), close);

    QTest::keyClick(dialog->focusWidget(), Qt::Key_Tab);
    QCOMPARE(dialog->focusWidget(), reset);
    QTest::keyClick(dialog->focusWidget(), Qt::Key_Return);
    QCOMPARE(s.Sent(), QStringList{Frame(65, "B")});
    QTest::keyClick(dialog->focusWidget(), Qt::Key_Tab);
    QCOMPARE(dialog->focusWidget(), acknowledge);
    QTest::keyClick(dialog->focusWidget(), Qt::Key_Return);
    QVERIFY(!acknowledge->isEnabled());
    QCOMPARE(s.app.station().amps.audio_enabled[0], 0);
    QVERIFY(dialog->isVisible());

    QTest::keyClick(dialog->focusWidget(), Qt::Key_Escape);
    QVERIFY(!s.app.windows().IsFaultDialogOpen(0));
    GuiStation::Settle();
    QVERIFY(guard.isNull());
  }

  void StateButtonOpensItModelessThenAsks() {
    GuiStation s;
    s.Reply(2, Faulted(0x08));
    s.app.windows().fault_dialog(2)->button(FaultDialogWindow::kAcknowledge)->click();
    s.app.windows().fault_dialog(2)->button(FaultDialogWindow::kClose)->click();
    PanelButton* state = s.app.panel(2).button(kStateButton);

    QTest::mouseClick(state, Qt::LeftButton);
    FaultDialogWindow* dialog = s.app.windows().fault_dialog(2);
    QVERIFY(dialog != nullptr);
    QVERIFY(dialog->isVisible());
    QVERIFY(QApplication::activeModalWidget() == nullptr);
    QCOMPARE(dialog->parentWidget(), &s.app.panel(2));
    QCOMPARE(s.Asked(), QStringList());
    QCOMPARE(s.Sent(), QStringList());
    // Opened by the operator, not by a new fault: the acknowledged alarm stays silent.
    QVERIFY(!dialog->button(FaultDialogWindow::kAcknowledge)->isEnabled());

    s.prompter.answers = {true};
    QTest::mouseClick(state, Qt::LeftButton);
    QCOMPARE(s.Asked(), QStringList{"Confirm: Turn High Voltage OFF?"});
    QCOMPARE(s.Sent(), QStringList{Frame(67, "A")});
  }
};

}  // namespace onefortwo

QTEST_MAIN(onefortwo::FaultDialogWindowTest)
#include "fault_dialog_window_test.moc"
