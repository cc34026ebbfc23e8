// The main window: its title and menus, the exit question, and the aspect rule on a real
// (offscreen) window.

#include "main_window.h"

#include <QAction>
#include <QMenuBar>
#include <QMessageBox>
#include <QSignalSpy>
#include <QtTest>

#include "modal_watch.h"
#include "support/fake_clock.h"
#include "support/fake_serial_device.h"
#include "support/fake_windows.h"
#include "support/scripted_prompter.h"

namespace onefortwo {

class MainWindowTest : public QObject {
  Q_OBJECT

 private:
  // A station on an open fake COM2 and its main window, shown.
  struct Fixture {
    Fixture()
        : line(opener.Add("COM2")), station(opener, clock, windows), window(station, prompter) {
      station.link.InitSerial();
      window.show();
    }
    // Resizes the window so that its client area becomes `client`, then lets the window
    // system and the aspect rule settle.
    void SetClient(const QSize& client) {
      window.resize(window.size() + client - window.diagram()->size());
      Settle();
    }
    static void Settle() {
      for (int pass = 0; pass < 5; ++pass) QCoreApplication::processEvents();
    }
    QAction* Find(const QString& menu, const QString& item) const {
      for (QAction* popup : window.menuBar()->actions()) {
        if (popup->text() != menu) continue;
        for (QAction* action : popup->menu()->actions())
          if (action->text() == item) return action;
      }
      return nullptr;
    }

    FakeOpener opener;
    std::shared_ptr<FakeLine> line;
    FakeClock clock;
    FakeWindows windows;
    Station station;
    ScriptedPrompter prompter;
    MainWindow window;
  };

 private slots:
  void TitleIconAndMenus() {
    Fixture f;
    QCOMPARE(f.window.windowTitle(), QString("Varek 1:2 System"));
    QVERIFY(!f.window.windowIcon().isNull());
    QStringList menus;
    for (QAction* popup : f.window.menuBar()->actions()) {
      QStringList items;
      for (QAction* action : popup->menu()->actions()) items << action->text();
      menus << popup->text() + ": " + items.join(" | ");
    }
    QCOMPARE(menus,
             (QStringList{"&File: &Configure Serial Port | E&xit", "&View: &Journal | &Trends",
                          "&Version: v2, Sep 21, 2007"}));
  }

  void VersionDoesNothing() {
    Fixture f;
    QAction* version = f.Find("&Version", "v2, Sep 21, 2007");
    QVERIFY(version != nullptr);
    version->trigger();
    Fixture::Settle();
    QVERIFY(QApplication::activeModalWidget() == nullptr);
    QVERIFY(f.prompter.asked.empty());
    QVERIFY(f.window.isVisible());
    QVERIFY(f.station.link.PortOpen());
  }

  void ExitAsksAndOnlyYesEnds_data() {
    QTest::addColumn<bool>("by_menu");
    QTest::newRow("the window's close box") << false;
    QTest::newRow("File, Exit") << true;
  }
  void ExitAsksAndOnlyYesEnds() {
    QFETCH(bool, by_menu);
    Fixture f;
    QSignalSpy ended(&f.window, &MainWindow::exitConfirmed);
    const auto exit = [&] {
      if (by_menu) {
        f.Find("&File", "E&xit")->trigger();
      } else {
        f.window.close();
      }
    };
    f.prompter.answers = {false, true};
    exit();
    QCOMPARE(ended.count(), 0);
    QVERIFY(f.window.isVisible());
    QVERIFY(f.station.link.PortOpen());
    exit();
    QCOMPARE(ended.count(), 1);
    QVERIFY(!f.station.link.PortOpen());
    QCOMPARE(f.prompter.asked,
             (std::vector<std::string>{"Confirm: Exit 1:2 M&C?", "Confirm: Exit 1:2 M&C?"}));
  }

  void AspectRuleOnARestoredWindow_data() {
    QTest::addColumn<QSize>("client");
    QTest::addColumn<QSize>("expected");
    QTest::newRow("ratio 2.0 loses width") << QSize(700, 350) << QSize(478, 350);
    QTest::newRow("ratio 1.34 loses height") << QSize(536, 400) << QSize(536, 391);
    QTest::newRow("ratio 1.44 is accepted") << QSize(576, 400) << QSize(576, 400);
    QTest::newRow("ratio 1.40 is accepted") << QSize(560, 400) << QSize(560, 400);
  }
  void AspectRuleOnARestoredWindow() {
    QFETCH(QSize, client);
    QFETCH(QSize, expected);
    Fixture f;
    const QPoint corner = f.window.frameGeometry().topLeft();
    f.SetClient(client);
    QCOMPARE(f.window.diagram()->size(), expected);
    QCOMPARE(f.window.frameGeometry().topLeft(), corner);
  }

  void MaximisedWindowIsLeftAlone() {
    Fixture f;
    f.window.showMaximized();
    Fixture::Settle();
    QVERIFY(f.window.isMaximized());
    // The tests' screen is 1600 x 600 (offscreen_screen.json): far wider than 260:190.
    const QSize client = f.window.diagram()->size();
    QVERIFY2(client.width() > 2 * client.height(), "the test screen is not wide enough");
    Fixture::Settle();
    QCOMPARE(f.window.diagram()->size(), client);
  }

  void WindowThatCannotShrinkSaysMoveWindowFailed() {
    Fixture f;
    f.window.setMinimumWidth(650);
    QString title, text;
    WhenModal<QMessageBox>([&](QMessageBox* box) {
      title = box->windowTitle();
      text = box->text();
      box->accept();
    });
    f.SetClient(QSize(700, 350));  // wants 478 pixels of width
    QTRY_COMPARE(title, QString("Yipes!"));
    QCOMPARE(text, QString("MoveWindow failed"));
    QCOMPARE(f.window.diagram()->width(), 700);
  }
};

}  // namespace onefortwo

QTEST_MAIN(onefortwo::MainWindowTest)
#include "main_window_test.moc"
