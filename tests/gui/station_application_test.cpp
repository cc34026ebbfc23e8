// The station put together: start-up with and without a port, the timer running under a
// modal box, and the core's requests reaching the windows.

#include "station_application.h"

#include <QComboBox>
#include <QMenuBar>
#include <sys/stat.h>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

#include "modal_watch.h"
#include "panel_button.h"
#include "serial_config_window.h"
#include "steady_clock.h"
#include "support/amp_reply.h"
#include "support/fake_clock.h"
#include "support/fake_serial_device.h"
#include "support/fake_sound.h"
#include "support/temp_dir.h"

namespace onefortwo {

// A station application in a fresh working folder, on fake ports. `ClockType` is the fake
// clock, or the steady clock where the poll cycle's 200 ms need real time.
template <class ClockType = FakeClock>
struct AppRig {
  TempDir dir;
  FakeOpener opener;
  ClockType clock;
  FakeSound sound;
  StationApplication app{opener, clock, sound};
};

class StationApplicationTest : public QObject {
  Q_OBJECT

 private slots:
  void StartStacksThePanelsAndPlacesTheMainWindowBeside() {
    AppRig<> rig;
    rig.opener.Add("COM2");
    StationApplication& app = rig.app;
    TempDir& dir = rig.dir;
    app.Start(dir.path());

    QVERIFY(app.station().link.PortOpen());
    QVERIFY(app.main_window().isVisible());
    QVERIFY(app.timer().isActive());
    QCOMPARE(app.timer().interval(), 56);
    const QRect a = app.panel(0).frameGeometry();
    for (int amp = 0; amp < 3; ++amp) {
      QCOMPARE(app.panel(amp).windowTitle(), QString("Amplifier %1").arg(QChar('A' + amp)));
      QVERIFY(app.panel(amp).isVisible());
      app.panel(amp).button(kStateButton)->grab();
      QCOMPARE(app.panel(amp).button(kStateButton)->drawn_text(), QString("No Contact"));
      QCOMPARE(app.panel(amp).frameGeometry().topLeft(), a.topLeft() + QPoint(0, amp * a.height()));
    }
    const QRect main = app.main_window().frameGeometry();
    QCOMPARE(main.topLeft(), QPoint(a.right() + 1, a.top()));
    QVERIFY(main.right() <= QGuiApplication::primaryScreen()->availableGeometry().right());
  }

  void TimerPollsOnWhileTheExitQuestionIsOpen() {
    AppRig<SteadyClock> rig;  // the poll cycle's 200 ms need real time here
    const std::shared_ptr<FakeLine> line = rig.opener.Add("COM2");
    StationApplication& app = rig.app;
    TempDir& dir = rig.dir;
    app.Start(dir.path());
    QSignalSpy ticks(&app.timer(), &QTimer::timeout);

    QString title, text;
    int ticks_under_box = -1;
    size_t frames_under_box = 0;
    WhenShown<QMessageBox>([&](QMessageBox* box) {
      title = box->windowTitle();
      text = box->text();
      const int ticks_before = ticks.count();
      const size_t frames_before = line->frames.size();
      // Leave the question open for 800 ms (about 14 ticks), then answer No.
      QTimer::singleShot(800, box, [&, box, ticks_before, frames_before] {
        ticks_under_box = ticks.count() - ticks_before;
        frames_under_box = line->frames.size() - frames_before;
        box->button(QMessageBox::No)->click();
      });
    });
    app.main_window().Exit();

    QCOMPARE(title, QString("Confirm"));
    QCOMPARE(text, QString("Exit 1:2 M&C?"));
    QVERIFY2(ticks_under_box >= 5, qPrintable(QString("%1 ticks").arg(ticks_under_box)));
    // Nobody answers on the fake line: one query every fourth tick, after the time-out.
    QVERIFY2(frames_under_box >= 1, qPrintable(QString("%1 queries").arg(frames_under_box)));
    QVERIFY(app.station().link.PortOpen());
  }

  // The journal beside sdefault.txt records the run from its start; View opens its windows.
  void TheJournalRecordsTheRunAndTheViewMenuOpensItsWindows() {
    AppRig<> rig;
    rig.opener.Add("COM2");
    StationApplication& app = rig.app;
    app.Start(rig.dir.path());
    QVERIFY(app.journal() != nullptr);
    QCOMPARE(QString::fromStdString(app.journal()->path()), QString::fromStdString(rig.dir.path() + "journal.sqlite"));
    app.journal()->Flush();
    QTRY_VERIFY(app.status_display().label(StatusField::journal) != nullptr);
    QTRY_COMPARE(app.status_display().label(StatusField::journal)->text(), QString("Journal: journal.sqlite"));

    QAction* journal = nullptr;
    QAction* trends = nullptr;
    for (QAction* menu : app.main_window().menuBar()->actions()) {
      if (menu->text() != "&View") continue;
      for (QAction* item : menu->menu()->actions()) {
        if (item->text() == "&Journal") journal = item;
        if (item->text() == "&Trends") trends = item;
      }
    }
    QVERIFY(journal && trends);
    journal->trigger();
    JournalWindow& window = app.ShowJournal();
    QVERIFY(window.isVisible());
    QStringList texts;
    for (int row = 0; row < window.model().rowCount(); ++row)
      texts << QString::fromStdString(window.model().event(row).entry.text);
    QCOMPARE(texts, (QStringList{"Port COM2 (9600 8N1) opened", "Station started, version 2.0"}));
    trends->trigger();
    QVERIFY(app.ShowTrends().isVisible());
    QCOMPARE(&app.ShowJournal(), &window);
  }

  // A journal that cannot open leaves the station polling and says why in the status bar.
  void AJournalThatCannotOpenLeavesTheStationRunning() {
    AppRig<> rig;
    auto line = rig.opener.Add("COM2");
    ::mkdir((rig.dir.path() + "journal.sqlite").c_str(), 0755);
    StationApplication& app = rig.app;
    app.Start(rig.dir.path());
    app.journal()->Flush();
    QTRY_VERIFY(app.status_display().label(StatusField::journal) != nullptr);
    QTRY_COMPARE(app.status_display().label(StatusField::journal)->text(),
                 QString("Journal off: cannot open journal.sqlite: unable to open database file; "
                         "trying again in 10 s"));
    QVERIFY(app.station().link.PortOpen());
    QVERIFY(app.timer().isActive());
    line->ClearWritten();
    rig.clock.AdvanceMs(300);
    app.main_timer().Tick();
    QVERIFY(!line->frames.empty());
  }

  void YesToTheExitQuestionEndsTheRun() {
    AppRig<> rig;
    rig.opener.Add("COM2");
    StationApplication& app = rig.app;
    TempDir& dir = rig.dir;
    app.Start(dir.path());
    WhenShown<QMessageBox>([](QMessageBox* box) { box->button(QMessageBox::Yes)->click(); });
    QTimer::singleShot(0, [&] { app.main_window().close(); });
    QTimer::singleShot(10000, [] { QCoreApplication::exit(1); });  // the exit never came
    QCOMPARE(QCoreApplication::exec(), 0);
    QVERIFY(!app.station().link.PortOpen());
  }

  void WithoutAPortTheOperatorPicksOneBeforeTheStationShows() {
    AppRig<> rig;
    rig.opener.Add("COM5");
    StationApplication& app = rig.app;
    TempDir& dir = rig.dir;

    bool timer_ran = true, main_shown = true;
    QStringList boxes;
    WhenModal<SerialConfigWindow>([&](SerialConfigWindow* dialog) {
      timer_ran = app.timer().isActive();
      main_shown = app.main_window().isVisible();
      QComboBox* port = dialog->field(SerialConfigWindow::kPort);
      QCOMPARE(port->currentText(), QString("COM2"));
      QPushButton* ok = dialog->button(SerialConfigWindow::kOk);
      const auto say = [&](QMessageBox* box) {
        boxes << box->windowTitle() + ": " + box->text();
        box->accept();
      };
      port->setEditText("COM9");
      WhenModal<QMessageBox>(say);
      ok->click();  // the box comes and goes inside
      QVERIFY(dialog->isVisible());
      port->setEditText("COM5");
      ok->click();
    });
    app.Start(dir.path());

    QVERIFY(!timer_ran);
    QVERIFY(!main_shown);
    QCOMPARE(boxes, QStringList{"Problem: Can't open Com Port COM9."});
    QVERIFY(app.station().link.PortOpen());
    QCOMPARE(dir.Read("sdefault.txt"), std::string("COM5 9600 N 8 1"));
    QVERIFY(app.main_window().isVisible());
    QVERIFY(app.timer().isActive());
  }

  void FaultReplyOpensItsDialogFillsThePanelAndSoundsTheAlarm() {
    AppRig<> rig;
    const std::shared_ptr<FakeLine> line = rig.opener.Add("COM2");
    StationApplication& app = rig.app;
    TempDir& dir = rig.dir;
    app.Start(dir.path());
    app.timer().stop();  // the test gives the ticks
    const auto tick = [&] {
      rig.clock.AdvanceMs(56);
      app.main_timer().Tick();
    };
    for (int t = 0; t < 4; ++t) tick();
    QCOMPARE(line->frames.size(), size_t(1));  // amplifier A asked

    AmpReply faulted;
    faulted.state2 = 0x20;  // faulted: over voltage
    faulted.fault1 = 0x04;
    line->Feed(AckFrame(65, faulted.Text()));
    app.main_timer().count = 1;  // A's beep comes at the start of the next cycle
    tick();

    FaultDialogWindow* dialog = app.windows().fault_dialog(0);
    QVERIFY(dialog != nullptr);
    QCOMPARE(dialog->windowTitle(), QString("Amplifier A Fault"));
    QCOMPARE(dialog->FaultText(), QString(fault_string[fault_over_volt]));
    QCOMPARE(dialog->parentWidget(), &app.panel(0));
    app.panel(0).button(kStateButton)->grab();
    QCOMPARE(app.panel(0).button(kStateButton)->drawn_text(), QString("Faulted"));
    QCOMPARE(app.panel(0).Text(kAttenuationText), QString("10.0"));

    for (int t = 0; t < 12; ++t) tick();
    QCOMPARE(rig.sound.beeps, 1);
    dialog->button(FaultDialogWindow::kClose)->click();
    for (int t = 0; t < 13; ++t) tick();
    QCOMPARE(rig.sound.beeps, 1);
    QVERIFY(app.windows().fault_dialog(0) == nullptr);
  }
};

}  // namespace onefortwo

QTEST_MAIN(onefortwo::StationApplicationTest)
#include "station_application_test.moc"
