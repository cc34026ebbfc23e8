// The serial configuration dialog from File, Configure Serial Port: its fields and lists,
// OK with a port that opens, one that does not and a name too long, and Cancel.

#include "serial_config_window.h"

#include <QComboBox>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest>

#include "gui_station.h"
#include "modal_watch.h"

namespace onefortwo {
namespace {

QStringList Items(const QComboBox* box) {
  QStringList items;
  for (int i = 0; i < box->count(); ++i) items << box->itemText(i);
  return items;
}

// Chooses File, Configure Serial Port on the main window; `handle` works the dialog.
void Configure(GuiStation& s, std::function<void(SerialConfigWindow*)> handle) {
  QAction* configure = nullptr;
  for (QAction* popup : s.app.main_window().menuBar()->actions())
    for (QAction* action : popup->menu()->actions())
      if (action->text() == "&Configure Serial Port") configure = action;
  QVERIFY(configure != nullptr);
  bool worked = false;
  WhenModal<SerialConfigWindow>([&](SerialConfigWindow* dialog) {
    worked = true;
    handle(dialog);
    if (dialog->isVisible()) dialog->button(SerialConfigWindow::kCancel)->click();
  });
  configure->trigger();
  QVERIFY(worked);
}

}  // namespace

class SerialConfigWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void OpensWithTheSettingsAndTheLists() {
    GuiStation s;
    Configure(s, [](SerialConfigWindow* dialog) {
      QCOMPARE(dialog->windowTitle(), QString("Serial Port Configuration"));
      const int ids[] = {SerialConfigWindow::kPort, SerialConfigWindow::kBaud,
                         SerialConfigWindow::kData, SerialConfigWindow::kStop,
                         SerialConfigWindow::kParity};
      QStringList shown;
      for (int id : ids) {
        QVERIFY(dialog->field(id)->isEditable());
        shown << dialog->field(id)->currentText();
      }
      QCOMPARE(shown, (QStringList{"COM2", "9600", "8", "1", "NONE"}));
      const QStringList ports = Items(dialog->field(SerialConfigWindow::kPort));
      for (const char* name : {"COM1", "COM2", "COM8", "SIM"}) QVERIFY(ports.contains(name));
      QCOMPARE(ports.indexOf("COM1"), 0);
      QCOMPARE(Items(dialog->field(SerialConfigWindow::kBaud)).size(), kBaudTableSize);
      QCOMPARE(Items(dialog->field(SerialConfigWindow::kParity)),
               (QStringList{"EVEN", "NONE", "ODD"}));
    });
  }

  void OkAndCancel_data() {
    QTest::addColumn<QString>("port");
    QTest::addColumn<QString>("baud");
    QTest::addColumn<QString>("parity");
    QTest::addColumn<bool>("ok");            // OK, else Cancel
    QTest::addColumn<QStringList>("boxes");  // messages shown, "caption: text"
    QTest::addColumn<bool>("stays_open");
    QTest::addColumn<QString>("saved");  // sdefault.txt afterwards; empty: not written
    QTest::addColumn<QString>("port_now");
    QTest::addColumn<bool>("open_now");
    const QString path = "/dev/serial/by-id/usb-FTDI_FT232R-if00-port0";
    QTest::newRow("a typed device path opens and is saved")
        << path << "19200"
        << "even" << true << QStringList() << false << path + " 19200 E 8 1" << path << true;
    QTest::newRow("a port that cannot be opened")
        << "COM9"
        << "9600"
        << "NONE" << true << QStringList{"Problem: Can't open Com Port COM9."} << true << ""
        << "COM9" << false;
    QTest::newRow("a name too long")
        << QString(64, 'X') << "9600"
        << "NONE" << true
        << QStringList{"Problem: The port name is 64 characters long; a port name may have at "
                       "most 63."}
        << true << ""
        << "COM2" << true;
    QTest::newRow("Cancel") << "COM5"
                            << "19200"
                            << "ODD" << false << QStringList() << false << ""
                            << "COM2" << true;
  }
  void OkAndCancel() {
    QFETCH(QString, port);
    QFETCH(QString, baud);
    QFETCH(QString, parity);
    QFETCH(bool, ok);
    QFETCH(QStringList, boxes);
    QFETCH(bool, stays_open);
    QFETCH(QString, saved);
    QFETCH(QString, port_now);
    QFETCH(bool, open_now);
    GuiStation s;
    s.opener.Add("COM5");
    s.opener.Add("/dev/serial/by-id/usb-FTDI_FT232R-if00-port0");
    QStringList shown;
    bool open_after = false;
    Configure(s, [&](SerialConfigWindow* dialog) {
      dialog->field(SerialConfigWindow::kPort)->setEditText(port);
      dialog->field(SerialConfigWindow::kBaud)->setEditText(baud);
      dialog->field(SerialConfigWindow::kParity)->setEditText(parity);
      WhenModal<QMessageBox>([&](QMessageBox* box) {
        QCOMPARE(box->icon(), QMessageBox::Critical);
        QCOMPARE(box->parentWidget(), dialog);
        shown << box->windowTitle() + ": " + box->text();
        box->accept();
      });
      dialog->button(ok ? SerialConfigWindow::kOk : SerialConfigWindow::kCancel)->click();
      open_after = dialog->isVisible();
    });
    QCOMPARE(shown, boxes);
    QCOMPARE(open_after, stays_open);
    QCOMPARE(s.dir.Exists("sdefault.txt"), !saved.isEmpty());
    if (!saved.isEmpty()) QCOMPARE(QString::fromStdString(s.dir.Read("sdefault.txt")), saved);
    QCOMPARE(QString(s.station().link.serial_port), port_now);
    QCOMPARE(s.station().link.PortOpen(), open_now);
  }
};

}  // namespace onefortwo

QTEST_MAIN(onefortwo::SerialConfigWindowTest)
#include "serial_config_window_test.moc"
