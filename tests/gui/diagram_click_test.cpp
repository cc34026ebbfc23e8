// Clicks on the diagram reach the operator's commands: amplifiers raise their panels (and
// run the fault dialog modal to the panel), switch discs and the mode text send their
// commands after "Confirm", and everything else does nothing.

#include <QPushButton>
#include <QtTest>

#include "fault_dialog_window.h"
#include "gui_station.h"
#include "modal_watch.h"
#include "panel_button.h"

namespace onefortwo {
namespace {

// The station with the main window's diagram at 520 x 380 and painted once: the layout
// the clicks are tested against is that paint's (scale 2.0, amplifier A at 264, 48).
struct ClickStation : GuiStation {
  ClickStation() {
    MainWindow& window = app.main_window();
    window.resize(window.size() + QSize(520, 380) - window.diagram()->size());
    Settle();
    window.diagram()->repaint();
  }
  void Click(int x, int y) {
    QTest::mouseClick(app.main_window().diagram(), Qt::LeftButton, {}, {x, y});
  }
  // The panels that are not minimised, as "ABC".
  QString ShownPanels() {
    QString shown;
    for (int amp = 0; amp < kAmpCount; ++amp)
      if (!app.panel(amp).isMinimized()) shown += QChar('A' + amp);
    return shown;
  }
};

}  // namespace

class DiagramClickTest : public QObject {
  Q_OBJECT

 private slots:
  void ClicksReachTheCommands_data() {
    QTest::addColumn<QString>("spot");  // "point": at x, y; else the centre of a part
    QTest::addColumn<int>("x");
    QTest::addColumn<int>("y");
    QTest::addColumn<bool>("yes");
    QTest::addColumn<QString>("panels");  // the panels shown after the click
    QTest::addColumn<QString>("asked");
    QTest::addColumn<QString>("command");  // sent to the controller, 64
    QTest::newRow("A, right edge") << "point" << 296 << 79 << false << "A"
                                   << ""
                                   << "";
    QTest::newRow("A, top left") << "point" << 232 << 17 << false << "A"
                                 << ""
                                 << "";
    QTest::newRow("right of A") << "point" << 297 << 48 << false << ""
                                << ""
                                << "";
    QTest::newRow("below A") << "point" << 264 << 80 << false << ""
                             << ""
                             << "";
    QTest::newRow("above A") << "point" << 264 << 16 << false << ""
                             << ""
                             << "";
    QTest::newRow("B") << "B" << 0 << 0 << false << "B"
                       << ""
                       << "";
    QTest::newRow("C") << "C" << 0 << 0 << false << "C"
                       << ""
                       << "";
    QTest::newRow("disc 1, Yes") << "disc1" << 0 << 0 << true << ""
                                 << "Toggle Waveguide Switch 1?"
                                 << "B1B";
    QTest::newRow("disc 2, No") << "disc2" << 0 << 0 << false << ""
                                << "Toggle Waveguide Switch 1?"
                                << "";
    QTest::newRow("disc 4, Yes") << "disc4" << 0 << 0 << true << ""
                                 << "Toggle Waveguide Switch 2?"
                                 << "B2B";
    QTest::newRow("mode text, Yes") << "point" << 94 << 11 << true << ""
                                    << "Activate Automatic Mode?"
                                    << "61";
    QTest::newRow("mode text's top edge") << "point" << 10 << 0 << false << ""
                                          << ""
                                          << "";
    QTest::newRow("second mode line") << "point" << 10 << 12 << false << ""
                                      << ""
                                      << "";
  }
  void ClicksReachTheCommands() {
    QFETCH(QString, spot);
    QFETCH(int, x);
    QFETCH(int, y);
    QFETCH(bool, yes);
    QFETCH(QString, panels);
    QFETCH(QString, asked);
    QFETCH(QString, command);
    ClickStation s;
    const DiagramLayout& layout = s.station().layout;
    QCOMPARE(layout.scale_factor, 2.0f);
    QCOMPARE(QPoint(layout.hxa, layout.hya), QPoint(264, 48));
    const std::map<QString, QPoint> centres = {
        {"B", {layout.hxb, layout.hyb}},     {"C", {layout.hxc, layout.hyc}},
        {"disc1", {layout.sx1, layout.sy1}}, {"disc2", {layout.sx2, layout.sy2}},
        {"disc4", {layout.sx4, layout.sy4}},
    };
    const QPoint at = spot == "point" ? QPoint(x, y) : centres.at(spot);
    for (int amp = 0; amp < kAmpCount; ++amp) s.app.panel(amp).showMinimized();
    GuiStation::Settle();
    QCOMPARE(s.ShownPanels(), QString());

    s.prompter.answers = {yes};
    s.Click(at.x(), at.y());
    GuiStation::Settle();
    QCOMPARE(s.ShownPanels(), panels);
    QCOMPARE(s.Asked(), asked.isEmpty() ? QStringList() : QStringList{"Confirm: " + asked});
    QCOMPARE(s.Sent(), command.isEmpty() ? QStringList()
                                         : QStringList{Frame(64, command.toLatin1().constData())});
  }

  void FaultedAmplifierRunsItsFaultDialogModalToItsPanel() {
    ClickStation s;
    AmpReply faulted;
    faulted.state2 = 0x20;
    faulted.fault1 = 0x42;  // fan locked (0x40 keeps the byte clear of the control bytes)
    s.Reply(1, faulted);
    FaultDialogWindow* opened = s.app.windows().fault_dialog(1);
    opened->button(FaultDialogWindow::kAcknowledge)->click();
    opened->button(FaultDialogWindow::kClose)->click();
    GuiStation::Settle();

    bool ran = false;
    WhenShown<FaultDialogWindow>([&](FaultDialogWindow* dialog) {
      ran = true;
      QCOMPARE(dialog->amp(), 1);
      QCOMPARE(dialog->FaultText(), QString("Fan Locked"));
      QCOMPARE(dialog->parentWidget(), &s.app.panel(1));
      QVERIFY(s.app.windows().IsFaultDialogOpen(1));
      QVERIFY(s.app.panel(1).held());
      // Modal to the panel alone: the panel takes no presses, the others do, and the
      // timer goes on.
      QTest::mouseClick(s.app.panel(1).button(kStateButton), Qt::LeftButton);
      QCOMPARE(s.Asked(), QStringList());
      s.prompter.answers = {false};
      QTest::mouseClick(s.app.panel(0).button(kRfButton), Qt::LeftButton);
      QCOMPARE(s.Asked(), QStringList{"Confirm: Inhibit RF?"});
      s.Reply(1, faulted);
      QCOMPARE(dialog->FaultText(), QString("Fan Locked"));
      // A second click on the amplifier only raises its panel.
      s.Click(s.station().layout.hxb, s.station().layout.hyb);
      dialog->button(FaultDialogWindow::kClose)->click();
    });
    s.Click(s.station().layout.hxb, s.station().layout.hyb);
    QVERIFY(ran);
    QVERIFY(!s.app.windows().IsFaultDialogOpen(1));
    QVERIFY(!s.app.panel(1).held());
    QCOMPARE(s.Sent(), QStringList());
  }
};

}  // namespace onefortwo

QTEST_MAIN(onefortwo::DiagramClickTest)
#include "diagram_click_test.moc"
