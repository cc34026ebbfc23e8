// The amplifier panels as the operator sees and works them: the template's layout, the
// owner-drawn buttons as drawn, the buttons' questions and commands on the wire, the unit
// button on every panel, and the number entry dialog.

#include "amp_panel.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include "canvas/qpainter_canvas.h"
#include "gui_station.h"
#include "number_entry_dialog.h"
#include "panel_button.h"
#include "user/panel_face.h"

namespace onefortwo {
namespace {

// How many pixels of `image` inside its `margin` have the colour `color`.
int CountColour(const QImage& image, QRgb color, int margin) {
  int count = 0;
  for (int y = margin; y < image.height() - margin; ++y)
    for (int x = margin; x < image.width() - margin; ++x)
      if (image.pixel(x, y) == color) ++count;
  return count;
}

// The open number entry dialog of `panel`, or null.
NumberEntryDialog* EntryOf(const AmpPanel& panel) {
  for (NumberEntryDialog* dialog : panel.findChildren<NumberEntryDialog*>())
    if (dialog->isVisible()) return dialog;
  return nullptr;
}

}  // namespace

class AmpPanelTest : public QObject {
  Q_OBJECT

 private slots:
  // The desktop's font is not the one the templates were drawn in; no label may be cut.
  void NoLabelIsCutInAnyTemplate() {
    for (const DialogTemplate* dialog : {&kAmplifierDialog, &kFaultDialogTemplate,
                                         &kGetNumberDialog, &kSerialConfigurationDialog}) {
      QWidget client;
      const TemplateControls controls(*dialog, &client);
      const DialogBaseUnits font_base = DialogBaseUnitsOf(client.font());
      QVERIFY(controls.base().x >= font_base.x);
      QCOMPARE(controls.base().y, font_base.y);
      for (const QLabel* label : client.findChildren<QLabel*>()) {
        const int needed = label->fontMetrics().horizontalAdvance(label->text());
        QVERIFY2(needed <= label->contentsRect().width(),
                 qPrintable(QString("%1: \"%2\"").arg(dialog->name, label->text())));
      }
    }
  }

  void PanelIsLaidOutFromTheTemplate() {
    GuiStation s;
    AmpPanel& panel = s.app.panel(1);
    QWidget scratch;
    const DialogBaseUnits base = TemplateControls(kAmplifierDialog, &scratch).base();
    QCOMPARE(panel.size(), DialogRect(0, 0, 275, 92, base).size());
    QCOMPARE(panel.windowTitle(), QString("Amplifier B"));
    for (size_t i = 0; i < kAmplifierDialog.control_count; ++i) {
      const DialogControl& c = kAmplifierDialog.controls[i];
      if (c.id == -1) continue;
      QWidget* control = panel.control(c.id);
      QVERIFY2(control != nullptr, qPrintable(QString::number(c.id)));
      QCOMPARE(control->geometry(), DialogRect(c.x, c.y, c.width, c.height, base));
      QCOMPARE(control->isEnabled(), c.id != kRemoteButton);
    }
    // The panel colour under the statics; the value buttons keep the button face.
    const QImage image = panel.grab().toImage();
    QCOMPARE(QColor(image.pixel(2, 2)), QColor(175, 175, 175));
    const QPoint label = panel.control(112)->geometry().topLeft() + QPoint(1, 1);
    QCOMPARE(QColor(image.pixel(label)), QColor(175, 175, 175));
  }

  void StateButtonsAsDrawn_data() {
    QTest::addColumn<int>("control");
    QTest::addColumn<int>("status");
    QTest::addColumn<int>("flag");  // remote (102), constant (103), rf_inhibit (104)
    QTest::addColumn<QString>("text");
    QTest::addColumn<uint>("face");  // 0: the desktop's button face
    QTest::addColumn<bool>("gray");  // the caption in the desktop's grayed text colour
    QTest::newRow("remote") << 102 << 7 << 1 << "Remote Mode" << 0u << false;
    QTest::newRow("local") << 102 << 7 << 0 << "Local Mode" << 0u << true;
    QTest::newRow("constant") << 103 << 7 << 1 << "Constant Power" << 0x0067DF67u << false;
    QTest::newRow("constant off") << 103 << 7 << 0 << "Const Pwr OFF" << 0u << true;
    QTest::newRow("RF inhibited") << 104 << 7 << 1 << "RF Inhibited" << 0x005FD7D7u << false;
    QTest::newRow("RF enabled") << 104 << 7 << 0 << "RF Enabled" << 0u << false;
    QTest::newRow("no contact") << 105 << 0 << 0 << "No Contact" << 0u << false;
    QTest::newRow("power off") << 105 << 1 << 0 << "Power Off" << 0u << false;
    QTest::newRow("fault") << 105 << 2 << 0 << "Faulted" << 0x008387FFu << false;
    QTest::newRow("alarm") << 105 << 3 << 0 << "Alarm" << 0x005FD7D7u << false;
    QTest::newRow("time delay") << 105 << 4 << 0 << "Time Delay" << 0x00FFC0D7u << false;
    QTest::newRow("standby") << 105 << 5 << 0 << "Standby" << 0x00FFCF87u << false;
    QTest::newRow("auto HV") << 105 << 6 << 0 << "Auto HV" << 0x005FD7D7u << false;
    QTest::newRow("high voltage") << 105 << 7 << 0 << "High Voltage" << 0x0067DF67u << false;
  }
  void StateButtonsAsDrawn() {
    QFETCH(int, control);
    QFETCH(int, status);
    QFETCH(int, flag);
    QFETCH(QString, text);
    QFETCH(uint, face);
    QFETCH(bool, gray);
    GuiStation s;
    amp_struct& info = s.info(2);
    info.status = static_cast<amp_enum>(status);
    info.remote = control == 102 ? flag : 0;
    info.constant = control == 103 ? flag : 0;
    info.rf_inhibit = control == 104 ? flag : 0;
    s.app.windows().RedrawPanelButton(2, control);

    PanelButton* button = s.app.panel(2).button(control);
    const QImage image = button->grab().toImage();
    QCOMPARE(button->drawn_text(), text);
    const QPalette& palette = button->palette();
    const QColor expected_face = face != 0 ? ToQColor(face) : palette.color(QPalette::Button);
    // Inside the client edge (2 pixels) and the button's own lit edge.
    QCOMPARE(QColor(image.pixel(4, 4)), expected_face);
    const QRgb black = palette.color(QPalette::Active, QPalette::ButtonText).rgb();
    const QRgb grayed = palette.color(QPalette::Disabled, QPalette::ButtonText).rgb();
    const int margin = 5;  // clear of the edges and the frame's shadow lines
    QVERIFY(CountColour(image, gray ? grayed : black, margin) > 10);
    QCOMPARE(CountColour(image, gray ? black : grayed, margin), 0);
  }

  void ButtonsAskAndSendOnYesOnly_data() {
    QTest::addColumn<int>("amp");
    QTest::addColumn<int>("control");
    QTest::addColumn<int>("status");
    QTest::addColumn<int>("flag");        // constant (103) or rf_inhibit (104)
    QTest::addColumn<QString>("prompt");  // empty: no question, the command goes at once
    QTest::addColumn<QString>("command");
    QTest::newRow("B standby: HV on")
        << 1 << 105 << int(amp_standby) << 0 << "Turn High Voltage ON?"
        << "@";
    QTest::newRow("A auto HV: HV off")
        << 0 << 105 << int(amp_auto_hv) << 0 << "Turn High Voltage OFF?"
        << "A";
    QTest::newRow("C HV on: HV off") << 2 << 105 << int(amp_hv_on) << 0 << "Turn High Voltage OFF?"
                                     << "A";
    QTest::newRow("C no contact: HV on")
        << 2 << 105 << int(amp_no_contact) << 0 << "Turn High Voltage ON?"
        << "@";
    QTest::newRow("A RF inhibited: enable") << 0 << 104 << int(amp_hv_on) << 1 << "Enable RF?"
                                            << "J";
    QTest::newRow("B RF enabled: inhibit") << 1 << 104 << int(amp_hv_on) << 0 << "Inhibit RF?"
                                           << "I";
    QTest::newRow("C constant on: off") << 2 << 103 << int(amp_hv_on) << 1 << ""
                                        << "H";
    QTest::newRow("A constant off: on at the power shown") << 0 << 103 << int(amp_hv_on) << 0 << ""
                                                           << "G1000";
  }
  void ButtonsAskAndSendOnYesOnly() {
    QFETCH(int, amp);
    QFETCH(int, control);
    QFETCH(int, status);
    QFETCH(int, flag);
    QFETCH(QString, prompt);
    QFETCH(QString, command);
    GuiStation s;
    AmpReply reply;  // 60.0 dBm forward: 1000 W
    s.Reply(amp, reply);
    amp_struct& info = s.info(amp);
    info.status = static_cast<amp_enum>(status);
    info.constant = control == 103 ? flag : 0;
    info.rf_inhibit = control == 104 ? flag : 0;
    QAbstractButton* button = s.app.panel(amp).button(control);
    const QString frame = Frame(base_address + amp + 1, command.toLatin1().constData());

    if (!prompt.isEmpty()) {
      s.prompter.answers = {false};
      QTest::mouseClick(button, Qt::LeftButton);
      QCOMPARE(s.Asked(), QStringList{"Confirm: " + prompt});
      QCOMPARE(s.Sent(), QStringList());
      s.prompter.answers = {true};
      QTest::mouseClick(button, Qt::LeftButton);
      QCOMPARE(s.Asked(), QStringList{"Confirm: " + prompt});
    } else {
      QTest::mouseClick(button, Qt::LeftButton);
      QCOMPARE(s.Asked(), QStringList());
    }
    QCOMPARE(s.Sent(), QStringList{frame});
  }

  void RemoteButtonTakesNoPresses() {
    GuiStation s;
    QTest::mouseClick(s.app.panel(0).button(kRemoteButton), Qt::LeftButton);
    QCOMPARE(s.Asked(), QStringList());
    QCOMPARE(s.Sent(), QStringList());
  }

  void ThreeUnitTogglesOnEveryPanel() {
    GuiStation s;
    AmpReply reply;  // forward 60.0 dBm, reverse 47.0 dBm
    for (int amp = 0; amp < kAmpCount; ++amp) s.Reply(amp, reply);
    QCOMPARE(s.app.panel(0).Text(kPowerOutText), QString("1000"));
    const char* const units[] = {"dBm", "dBW", "Watts"};
    for (int press = 0; press < 3; ++press) {
      // Any panel's unit button changes them all.
      QTest::mouseClick(s.app.panel(press).control(kPowerUnitButton), Qt::LeftButton);
      for (int amp = 0; amp < kAmpCount; ++amp) {
        const AmpPanel& panel = s.app.panel(amp);
        QCOMPARE(panel.Text(kPowerUnitButton), QString(units[press]));
        QCOMPARE(panel.Text(112), QString(units[press]));
        QCOMPARE(panel.Text(kPowerOutText), QString("----"));
        QCOMPARE(panel.Text(kPowerBackText), QString("----"));
        QCOMPARE(panel.Text(kAttenuationText), QString("10.0"));
      }
    }
    QCOMPARE(s.Sent(), QStringList());
    // The next reply brings the powers back, in watts again.
    s.Reply(1, reply);
    QCOMPARE(s.app.panel(1).Text(kPowerOutText), QString("1000"));
    QCOMPARE(s.app.panel(1).Text(kPowerBackText), QString("  50"));
    QCOMPARE(s.app.panel(0).Text(kPowerOutText), QString("----"));
  }

  void ClosingAPanelMinimisesItAndItGoesOnShowing() {
    GuiStation s;
    AmpPanel& panel = s.app.panel(0);
    panel.close();
    GuiStation::Settle();
    QVERIFY(panel.isMinimized());
    AmpReply reply;
    s.Reply(0, reply);
    QCOMPARE(panel.Text(kTempText), QString("45.0"));
    s.app.windows().ShowPanel(0);
    GuiStation::Settle();
    QVERIFY(!panel.isMinimized());
    QVERIFY(panel.isVisible());
  }

  void NumberEntrySendsWhatIsTyped_data() {
    QTest::addColumn<int>("amp");
    QTest::addColumn<int>("control");  // 106 output power, 107 attenuation
    QTest::addColumn<int>("format");
    QTest::addColumn<bool>("constant");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("unit");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("key");          // how the dialog is ended
    QTest::addColumn<QString>("command");  // empty: nothing is sent
    QTest::newRow("12.5 W") << 0 << 106 << int(power_watts) << false << "Adjust HPA-A Output Power"
                            << "(Watts)"
                            << "12.5" << int(Qt::Key_Return) << "E0013";
    QTest::newRow("57.25 dBm") << 1 << 106 << int(power_dbm) << false << "Adjust HPA-B Output Power"
                               << "(dBm)"
                               << "57.25" << int(Qt::Key_Return) << "D27.3";
    QTest::newRow("constant power in watts")
        << 2 << 106 << int(power_watts) << true << "Adjust HPA-C Constant Power"
        << "(Watts)"
        << "800" << int(Qt::Key_Return) << "G0800";
    QTest::newRow("constant power in dBW")
        << 0 << 106 << int(power_dbw) << true << "Adjust HPA-A Constant Power"
        << "(dBW)"
        << "29.5" << int(Qt::Key_Return) << "F29.5";
    QTest::newRow("empty entry") << 0 << 106 << int(power_watts) << false
                                 << "Adjust HPA-A Output Power"
                                 << "(Watts)"
                                 << "" << int(Qt::Key_Return) << "E0000";
    QTest::newRow("attenuation") << 1 << 107 << int(power_dbw) << false
                                 << "Adjust HPA-B Attenuation"
                                 << "(dB)"
                                 << "12.25" << int(Qt::Key_Return) << "K12.3";
    QTest::newRow("Cancel") << 2 << 106 << int(power_watts) << false << "Adjust HPA-C Output Power"
                            << "(Watts)"
                            << "500" << int(Qt::Key_Escape) << "";
  }
  void NumberEntrySendsWhatIsTyped() {
    QFETCH(int, amp);
    QFETCH(int, control);
    QFETCH(int, format);
    QFETCH(bool, constant);
    QFETCH(QString, title);
    QFETCH(QString, unit);
    QFETCH(QString, typed);
    QFETCH(int, key);
    QFETCH(QString, command);
    GuiStation s;
    s.station().power_format = static_cast<power_enum>(format);
    s.info(amp).constant = constant ? 1 : 0;
    AmpPanel& panel = s.app.panel(amp);
    QTest::mouseClick(panel.control(control), Qt::LeftButton);
    NumberEntryDialog* dialog = EntryOf(panel);
    QVERIFY(dialog != nullptr);
    QCOMPARE(dialog->windowTitle(), title);
    QCOMPARE(dialog->Text(NumberEntryDialog::kUnitLabel), unit);
    QLineEdit* field = dialog->field();
    QCOMPARE(field->maxLength(), kNumberEntryMaxLength);
    QVERIFY(panel.held());

    field->setText(typed);
    QTest::keyClick(field, static_cast<Qt::Key>(key));
    GuiStation::Settle();
    QCOMPARE(s.Sent(), command.isEmpty() ? QStringList()
                                         : QStringList{Frame(base_address + amp + 1,
                                                             command.toLatin1().constData())});
    QVERIFY(EntryOf(panel) == nullptr);
    QVERIFY(panel.findChild<NumberEntryDialog*>() == nullptr);  // deleted
    QVERIFY(!panel.held());
    QCOMPARE(s.Asked(), QStringList());
  }

  void NumberEntryOpensWithThePresentReading() {
    GuiStation s;
    AmpReply reply;  // forward 60.0 dBm, attenuation 10.0
    s.Reply(0, reply);
    QTest::mouseClick(s.app.panel(0).control(kPowerUnitButton), Qt::LeftButton);  // dBm
    QTest::mouseClick(s.app.panel(0).control(kPowerOutText), Qt::LeftButton);
    NumberEntryDialog* power = EntryOf(s.app.panel(0));
    QVERIFY(power != nullptr);
    // The reading in the unit chosen now, though the panel shows "----" until the next reply.
    QCOMPARE(power->field()->text(), QString("60.0"));
    QCOMPARE(power->field()->selectedText(), QString("60.0"));
    QCOMPARE(power->Text(NumberEntryDialog::kPrompt), QString("Enter Desired Output Power:"));
    power->button(NumberEntryDialog::kCancel)->click();
    GuiStation::Settle();
    QTest::mouseClick(s.app.panel(0).control(kAttenuationText), Qt::LeftButton);
    NumberEntryDialog* attenuation = EntryOf(s.app.panel(0));
    QVERIFY(attenuation != nullptr);
    QCOMPARE(attenuation->field()->text(), QString("10.0"));
    QCOMPARE(attenuation->Text(NumberEntryDialog::kPrompt), QString("Enter Desired Attenuation:"));
    attenuation->button(NumberEntryDialog::kCancel)->click();
    GuiStation::Settle();
    QCOMPARE(s.Sent(), QStringList());
  }

  void TwoDialogsFromTwoPanelsEachReachTheirOwnAmplifier() {
    GuiStation s;
    AmpPanel& a = s.app.panel(0);
    AmpPanel& b = s.app.panel(1);
    QTest::mouseClick(a.control(kPowerOutText), Qt::LeftButton);
    QTest::mouseClick(b.control(kAttenuationText), Qt::LeftButton);
    NumberEntryDialog* power = EntryOf(a);
    NumberEntryDialog* attenuation = EntryOf(b);
    QVERIFY(power != nullptr && attenuation != nullptr);
    QVERIFY(a.held() && b.held() && !s.app.panel(2).held());

    // A held panel takes no presses; the others and the main window go on.
    s.info(0).status = amp_standby;
    QTest::mouseClick(a.button(kStateButton), Qt::LeftButton);
    QCOMPARE(s.Asked(), QStringList());
    s.prompter.answers = {false};
    QTest::mouseClick(s.app.panel(2).button(kStateButton), Qt::LeftButton);
    QCOMPARE(s.Asked(), QStringList{"Confirm: Turn High Voltage ON?"});

    attenuation->field()->setText("3");
    attenuation->button(NumberEntryDialog::kOk)->click();
    power->field()->setText("250");
    power->button(NumberEntryDialog::kOk)->click();
    GuiStation::Settle();
    QCOMPARE(s.Sent(), (QStringList{Frame(66, "K 3.0"), Frame(65, "E0250")}));
    QVERIFY(!a.held() && !b.held());
  }
};

}  // namespace onefortwo

QTEST_MAIN(onefortwo::AmpPanelTest)
#include "amp_panel_test.moc"
