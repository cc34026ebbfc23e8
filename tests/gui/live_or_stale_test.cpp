// What the operator can trust on screen: questions modal to the window that asked, an
// entry that cannot be sent kept with its reason, nothing shown as live once the port has
// closed or the controller has gone silent, and the simulated installation marked.

#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest>

#include "fault_dialog_window.h"
#include "modal_watch.h"
#include "number_entry_dialog.h"
#include "canvas/render_main_window.h"
#include "panel_button.h"
#include "paint/paint_main_window.h"
#include "station_application.h"
#include "support/amp_reply.h"
#include "support/fake_clock.h"
#include "support/fake_serial_device.h"
#include "support/fake_sound.h"
#include "support/temp_dir.h"

namespace onefortwo {
namespace {

// The station with its real message boxes, on the fake line "COM2" and a fake clock; the
// timer is stopped and the test gives the ticks.
struct BoxStation {
  BoxStation() : line(opener.Add("COM2")) {
    app.Start(dir.path());
    app.timer().stop();
    Settle();
  }
  void Tick(double ms = 56) {
    clock.AdvanceMs(ms);
    app.main_timer().Tick();
  }
  void Reply(int amp, const AmpReply& reply) {
    line->Feed(AckFrame(static_cast<uint8_t>(base_address + amp + 1), reply.Text()));
    Tick();
  }
  void ControllerReply() {
    line->Feed(AckFrame(64, std::string("1\x53\x40\x40\x44", 5)));
    Tick();
  }
  static void Settle() {
    for (int pass = 0; pass < 5; ++pass) QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
  QImage Diagram() { return app.main_window().diagram()->grab().toImage(); }

  TempDir dir;
  FakeOpener opener;
  std::shared_ptr<FakeLine> line;
  FakeClock clock;
  FakeSound sound;
  StationApplication app{opener, clock, sound};
};

AmpReply Faulted() {
  AmpReply reply;
  reply.state1 = 0x08;
  reply.state2 = 0x20;
  reply.fault1 = 0x08;  // over temperature
  return reply;
}

// Pixels of `colour` within `area` of `image`.
int CountColour(const QImage& image, const QRect& area, colorref colour) {
  const QRgb wanted = qRgb(RedOf(colour), GreenOf(colour), BlueOf(colour));
  int count = 0;
  for (int y = std::max(0, area.top()); y <= area.bottom() && y < image.height(); ++y)
    for (int x = std::max(0, area.left()); x <= area.right() && x < image.width(); ++x)
      count += (image.pixel(x, y) & 0xFFFFFF) == (wanted & 0xFFFFFF) ? 1 : 0;
  return count;
}

}  // namespace

class LiveOrStaleTest : public QObject {
  Q_OBJECT

 private slots:
  // A question from panel B holds panel B alone: A's ringing fault dialog takes its
  // Acknowledge meanwhile, and panel B takes no second press.
  void AQuestionIsModalToTheWindowThatAsked() {
    BoxStation s;
    s.Reply(0, Faulted());
    FaultDialogWindow* fault = s.app.windows().fault_dialog(0);
    QVERIFY(fault != nullptr);
    QVERIFY(fault->button(FaultDialogWindow::kAcknowledge)->isEnabled());
    s.Reply(1, AmpReply());  // B in high voltage

    QString asked;
    bool application_modal = true, acknowledged = false, second_box = false;
    WhenShown<QMessageBox>([&](QMessageBox* box) {
      asked = box->text();
      application_modal = QApplication::activeModalWidget() != nullptr;
      QTest::mouseClick(fault->button(FaultDialogWindow::kAcknowledge), Qt::LeftButton);
      acknowledged = s.app.station().amps.audio_enabled[0] == 0;
      // Panel B is held: a press there asks nothing more.
      QTest::mouseClick(s.app.panel(1).button(kStateButton), Qt::LeftButton);
      int boxes = 0;
      for (QWidget* window : QApplication::topLevelWidgets())
        boxes += qobject_cast<QMessageBox*>(window) && window->isVisible() ? 1 : 0;
      second_box = boxes > 1;
      box->button(QMessageBox::No)->click();
    });
    s.line->ClearWritten();
    QTest::mouseClick(s.app.panel(1).button(kStateButton), Qt::LeftButton);
    QCOMPARE(asked, QString("Turn High Voltage OFF?"));
    QVERIFY(!application_modal);
    QVERIFY(acknowledged);
    QVERIFY(!second_box);
    QVERIFY(!fault->button(FaultDialogWindow::kAcknowledge)->isEnabled());
    QVERIFY2(s.line->frames.empty(), "No sends nothing");
  }

  void AnEntryThatCannotBeSentKeepsTheDialogOpenAndSaysWhy() {
    BoxStation s;
    s.Reply(2, AmpReply());
    AmpPanel& panel = s.app.panel(2);
    QTest::mouseClick(panel.control(kAttenuationText), Qt::LeftButton);
    NumberEntryDialog* dialog = panel.findChild<NumberEntryDialog*>();
    QVERIFY(dialog != nullptr);
    QString said;
    WhenShown<QMessageBox>([&](QMessageBox* box) {
      said = box->windowTitle() + ": " + box->text();
      box->accept();
    });
    s.line->ClearWritten();
    dialog->field()->setText("nan");
    dialog->button(NumberEntryDialog::kOk)->click();
    QCOMPARE(said, QString("Problem: \"nan\" cannot be sent: it is not a number the amplifier's "
                           "commands can carry. Nothing was sent."));
    BoxStation::Settle();
    QVERIFY(panel.findChild<NumberEntryDialog*>() == dialog && dialog->isVisible());
    QVERIFY(s.line->frames.empty());
    dialog->field()->setText("12");
    dialog->button(NumberEntryDialog::kOk)->click();
    BoxStation::Settle();
    QCOMPARE(s.line->frames.size(), size_t(1));
    QCOMPARE(QString::fromStdString(Hex(s.line->frames[0])),
             QString::fromStdString(Hex(CommandFrame(67, "K12.0"))));
  }

  // After the port closes, every panel reads "No Contact" at the next tick, and the
  // controller's picture is marked unconfirmed.
  void AClosedPortLeavesNoReadingLookingLive() {
    BoxStation s;
    for (int amp = 0; amp < 3; ++amp) s.Reply(amp, AmpReply());
    s.ControllerReply();
    for (int amp = 0; amp < 3; ++amp) {
      s.app.panel(amp).button(kStateButton)->grab();
      QCOMPARE(s.app.panel(amp).button(kStateButton)->drawn_text(), QString("High Voltage"));
    }
    s.app.station().link.ClosePort("closed by the test");
    s.Tick();
    BoxStation::Settle();
    for (int amp = 0; amp < 3; ++amp) {
      s.app.panel(amp).button(kStateButton)->grab();
      QCOMPARE(s.app.panel(amp).button(kStateButton)->drawn_text(), QString("No Contact"));
      QCOMPARE(s.app.panel(amp).Text(kPowerOutText), QString("00.0"));  // as after three misses
    }
    const QImage closed = s.Diagram();
    QVERIFY(CountColour(closed, QRect(0, 0, 100, 40), kUnconfirmedText) > 0);
    QVERIFY(s.app.link_status().trouble());
    QCOMPARE(QString::fromStdString(s.app.link_status().text()),
             QString("COM2: closed (closed by the test)"));
  }

  // The controller's third miss greys the mode text, hatches the discs and writes
  // "No Contact" under the modes; its next good reply brings back the very same picture.
  void TheControllersThirdMissMarksItsPictureUntilItsNextReply() {
    BoxStation s;
    s.app.main_window().resize(760, 600);
    BoxStation::Settle();
    // Answer every query until the controller has answered once.
    for (int i = 0; i < 8; ++i) {
      const int address = s.line->frames.empty() ? 0 : s.line->frames.back()[1];
      if (address == 64) {
        s.ControllerReply();
      } else if (address >= 65) {
        s.Reply(address - 65, AmpReply());
      } else {
        s.Tick(250);
      }
    }
    QVERIFY(s.app.station().contact[0]);
    BoxStation::Settle();
    const QImage live = s.Diagram();
    QCOMPARE(CountColour(live, QRect(0, 0, 100, 40), kUnconfirmedText), 0);

    // The controller goes silent; the amplifiers go on answering.
    for (int i = 0; i < 60 && s.app.station().contact[0]; ++i) {
      const int address = s.line->frames.back()[1];
      if (address >= 65) {
        s.Reply(address - 65, AmpReply());
      } else {
        s.Tick(250);
      }
    }
    QVERIFY(!s.app.station().contact[0]);
    BoxStation::Settle();
    const QImage stale = s.Diagram();
    QVERIFY(CountColour(stale, QRect(0, 0, 100, 40), kUnconfirmedText) > 0);
    const DiagramLayout& l = s.app.station().layout;
    const QRect disc1(l.sx1 - 10, l.sy1 - 10, 20, 20);
    QVERIFY(CountColour(stale, disc1, kUnconfirmedHatch) > CountColour(live, disc1, kUnconfirmedHatch));
    QVERIFY(stale != live);

    for (int i = 0; i < 20 && !s.app.station().contact[0]; ++i) {
      const int address = s.line->frames.back()[1];
      if (address == 64) {
        s.ControllerReply();
      } else if (address >= 65) {
        s.Reply(address - 65, AmpReply());
      }
    }
    QVERIFY(s.app.station().contact[0]);
    BoxStation::Settle();
    QVERIFY2(s.Diagram() == live, "the live picture comes back exactly as drawn before");
  }

  void OnlyTheSimulatedInstallationIsMarkedAsSuch() {
    BoxStation s;
    QCOMPARE(s.app.main_window().windowTitle(), QString("Varek 1:2 System"));
    const QImage real = RenderMainWindowImage(520, 380, s.app.station().amps.amp_info,
                                              s.app.station().controller, s.app.station().layout);
    const QImage simulated =
        RenderMainWindowImage(520, 380, s.app.station().amps.amp_info, s.app.station().controller,
                              s.app.station().layout, true);
    const QRect corner(300, 0, 220, 20);
    QCOMPARE(CountColour(real, corner, kSimulationColor), 0);
    QVERIFY(CountColour(simulated, corner, kSimulationColor) > 20);
  }
};

}  // namespace onefortwo

QTEST_MAIN(onefortwo::LiveOrStaleTest)
#include "live_or_stale_test.moc"
