// The Journal and Trends windows on a journal file written beside them, offscreen: what
// they list and plot, their filters, paging, live updates, export, zoom, and what their
// renders show.

#include <QtTest>
#include <fstream>
#include <sstream>

#include "journal/journal_support.h"
#include "journal_windows/journal_window.h"
#include "journal_windows/trends_window.h"
#include "support/temp_dir.h"

namespace onefortwo {

namespace {

EventEntry Event(int64_t t_ms, const char* device, const char* kind, const char* text) {
  return EventEntry{t_ms, device, kind, text, ""};
}

QStringList Texts(EventTableModel& model) {
  QStringList texts;
  for (int row = 0; row < model.rowCount(); ++row)
    texts << QString::fromStdString(model.event(row).entry.text);
  return texts;
}

// Whether `image` has a pixel within 40 of `color` in each channel.
bool HasColour(const QImage& image, const QColor& color) {
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      const QColor p = image.pixelColor(x, y);
      if (std::abs(p.red() - color.red()) < 40 && std::abs(p.green() - color.green()) < 40 &&
          std::abs(p.blue() - color.blue()) < 40 && p != QColor(Qt::white))
        return true;
    }
  return false;
}

const QColor kBlueA(0x1f, 0x5f, 0xbf);
const QColor kGreenC(0x2a, 0x9d, 0x3c);

}  // namespace

class JournalWindowsTest : public QObject {
  Q_OBJECT

 private:
  struct Journal {
    Journal() {
      std::string why;
      if (!writer.Open(path, JournalDb::Mode::writer, kThreeAm, &why)) qFatal("%s", why.c_str());
    }
    void Write(const std::vector<EventEntry>& events, const std::vector<ReadingEntry>& readings = {}) {
      std::string why;
      if (!writer.Write(events, readings, &why)) qFatal("%s", why.c_str());
    }
    TempDir dir;
    std::string path = dir.path() + "journal.sqlite";
    JournalDb writer;
    FakeWallClock clock{kThreeAm + 3600000};
  };

 private slots:
  void ListsNewestFirstFiltersAndFollowsTheJournal() {
    Journal j;
    j.Write({Event(kThreeAm, "A", "fault raised", "Fault: Over Temperature"),
             Event(kThreeAm + 1000, "controller", "switch changed", "Waveguide switch 1 A -> B, by the controller itself"),
             Event(kThreeAm + 2000, "A", "alarm acknowledged", "Alarm acknowledged"),
             Event(kThreeAm - 86400000, "station", "station started", "Station started, version 2.0")});
    JournalWindow window(j.path, j.clock);
    window.show();
    QCOMPARE(Texts(window.model()),
             (QStringList{"Alarm acknowledged", "Waveguide switch 1 A -> B, by the controller itself",
                          "Fault: Over Temperature", "Station started, version 2.0"}));
    QCOMPARE(window.model().data(window.model().index(0, EventTableModel::time_column), Qt::DisplayRole).toString(),
             QString("2026-12-10 03:00:02.000"));

    window.device_box()->setCurrentIndex(window.device_box()->findData(QString("A")));
    QCOMPARE(Texts(window.model()), (QStringList{"Alarm acknowledged", "Fault: Over Temperature"}));
    window.kind_box()->setCurrentIndex(window.kind_box()->findData(QString("fault raised")));
    QCOMPARE(Texts(window.model()), (QStringList{"Fault: Over Temperature"}));
    window.device_box()->setCurrentIndex(0);
    window.kind_box()->setCurrentIndex(0);
    window.search_box()->setText("SWITCH 1");
    QTRY_COMPARE(Texts(window.model()), (QStringList{"Waveguide switch 1 A -> B, by the controller itself"}));
    window.search_box()->clear();
    window.range_box()->setCurrentIndex(1);  // the last hour of the clock: not the start
    QTRY_COMPARE(window.model().rowCount(), 3);
    window.range_box()->setCurrentIndex(5);  // from - to
    QVERIFY(window.from_edit()->isEnabled());
    window.from_edit()->setDateTime(QDateTime::fromMSecsSinceEpoch(kThreeAm + 500, Qt::UTC));
    window.to_edit()->setDateTime(QDateTime::fromMSecsSinceEpoch(kThreeAm + 1500, Qt::UTC));
    QCOMPARE(Texts(window.model()), QStringList{"Waveguide switch 1 A -> B, by the controller itself"});
    window.range_box()->setCurrentIndex(0);

    // Live: what the station writes comes in at the top on the next refresh.
    j.Write({Event(kThreeAm + 3000, "A", "fault reset", "Fault Reset pressed")});
    QTRY_COMPARE_WITH_TIMEOUT(Texts(window.model()).first(), QString("Fault Reset pressed"),
                              3 * JournalWindow::kRefreshMs);
    QCOMPARE(window.model().rowCount(), 5);
  }

  void PagesThroughManyEventsAndExportsWhatTheFilterShows() {
    Journal j;
    std::vector<EventEntry> events;
    for (int i = 0; i < 1200; ++i)
      events.push_back(Event(kThreeAm + i, i % 2 ? "A" : "B", "state changed", std::to_string(i).c_str()));
    j.Write(events);
    JournalWindow window(j.path, j.clock);
    window.show();
    QCOMPARE(window.model().rowCount(), EventTableModel::kPage);
    QVERIFY(window.model().canFetchMore(QModelIndex()));
    window.table()->scrollToBottom();
    QTRY_VERIFY(window.model().rowCount() > EventTableModel::kPage);
    while (window.model().canFetchMore(QModelIndex())) window.model().fetchMore(QModelIndex());
    QCOMPARE(window.model().rowCount(), 1200);
    QCOMPARE(Texts(window.model()).last(), QString("0"));

    window.device_box()->setCurrentIndex(window.device_box()->findData(QString("A")));
    const QString file = QString::fromStdString(j.dir.path() + "shown.csv");
    std::string why;
    QVERIFY2(window.ExportCsv(file, &why), why.c_str());
    std::ifstream in(file.toStdString());
    std::stringstream csv;
    csv << in.rdbuf();
    const std::string text = csv.str();
    QCOMPARE(std::count(text.begin(), text.end(), '\n'), 601L);
    QVERIFY(text.rfind("time,device,kind,text,user\n2026-12-10T03:00:01.199Z,A,state changed,1199,\n", 0) == 0);
    QVERIFY(!window.ExportCsv("/nonexistent/folder/x.csv", &why));
  }

  void SaysWhenThereIsNoJournalYetAndShowsItOnceThereIs() {
    TempDir dir;
    FakeWallClock clock;
    const std::string path = dir.path() + "journal.sqlite";
    JournalWindow window(path, clock);
    QCOMPARE(QString::fromStdString(window.model().problem()), QString::fromStdString("no journal at " + path));
    JournalDb writer;
    std::string why;
    QVERIFY(writer.Open(path, JournalDb::Mode::writer, kThreeAm, &why));
    QVERIFY(writer.Write({Event(kThreeAm, "station", "station started", "Station started, version 2.0")}, {}, &why));
    QVERIFY(window.model().Refresh());
    QCOMPARE(Texts(window.model()), QStringList{"Station started, version 2.0"});
    QVERIFY(window.model().problem().empty());
  }

  // Two hours of A and B, one reply a second: A's helix current climbs, B's stays.
  void PlotsTheChosenReadingsAndAmplifiersInTheirUnits() {
    Journal j;
    std::vector<ReadingEntry> readings;
    for (int64_t t = kThreeAm - 3600000; t < kThreeAm + 3600000; t += 1000) {
      for (int amp = 0; amp < 2; ++amp) {
        ReadingEntry r{t, amp, 10, 3.0 + (amp == 0 ? (t - kThreeAm) / 3.6e6 : 0), 5.4, 37, 60, 25};
        readings.push_back(r);
      }
    }
    j.Write({}, readings);
    TrendsWindow window(j.path, j.clock);
    window.range_box()->setCurrentIndex(0);  // the last hour
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.ShowRange();
    QCOMPARE(window.charts().size(), size_t{2});
    QCOMPARE(window.charts()[0].value_axis->titleText(), QString("Forward power (dBm)"));
    QCOMPARE(window.charts()[1].value_axis->titleText(), QString("Helix current (mA)"));
    const TrendsWindow::Chart& current = window.charts()[1];
    const int width = static_cast<int>(current.chart->plotArea().width());
    QVERIFY(width > 100);
    // A bucket a pixel: the means, and the spread's two points a bucket.
    QLineSeries* a = current.series[0];
    QVERIFY(a->count() > width / 2);
    QVERIFY(a->count() <= width);
    QLineSeries* spread = current.envelope[0];
    QVERIFY(spread->count() > width);
    QVERIFY(spread->count() <= 2 * width);
    QVERIFY(current.series[2]->count() == 0);  // C: no readings
    QVERIFY(std::abs(a->at(0).y() - 3.0) < 0.01);
    QCOMPARE(spread->at(0).y(), 3.0);
    QVERIFY(std::abs(spread->at(spread->count() - 1).y() - 4.0) < 0.01);
    QVERIFY(current.value_axis->min() < 3.0 && current.value_axis->max() > 4.0);
    QCOMPARE(current.time_axis->min().toMSecsSinceEpoch(), kThreeAm);
    QCOMPARE(current.time_axis->max().toMSecsSinceEpoch(), kThreeAm + 3600000);

    // What the render shows: A's line in its colour, no C.
    const QRect plot = current.chart->plotArea().toRect();
    const QImage shown = current.view->grab().toImage().copy(plot);
    QVERIFY(HasColour(shown, kBlueA));
    QVERIFY(!HasColour(shown, kGreenC));
    window.amp_box(0)->setChecked(false);
    QVERIFY(!current.series[0]->isVisible());
    QVERIFY(!HasColour(current.view->grab().toImage().copy(plot), kBlueA));

    // A third reading adds a chart with its own unit.
    window.reading_box(Reading::temperature)->setChecked(true);
    QCOMPARE(window.charts().size(), size_t{3});
    QCOMPARE(window.charts()[2].value_axis->titleText(), QString::fromUtf8("Temperature (\u00B0C)"));
  }

  void ZoomAndPanReadTheJournalAgainAtTheScreensResolution() {
    Journal j;
    std::vector<ReadingEntry> readings;
    for (int64_t t = kThreeAm - 3600000; t < kThreeAm + 3600000; t += 250)
      readings.push_back(ReadingEntry{t, 0, 10, 3.0 + (t / 250 % 2) * 0.1, 5.4, 37, 60, 25});
    j.Write({}, readings);
    TrendsWindow window(j.path, j.clock);
    window.range_box()->setCurrentIndex(0);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.ShowRange();
    QVERIFY(window.state_label()->text().contains(" s"));

    // Zooming one chart to 10 minutes: every chart follows, and the lines are read again.
    const TrendsWindow::Chart& first = window.charts()[0];
    const TrendsWindow::Chart& second = window.charts()[1];
    const QDateTime from = QDateTime::fromMSecsSinceEpoch(kThreeAm + 1800000);
    const QDateTime to = QDateTime::fromMSecsSinceEpoch(kThreeAm + 2400000);
    first.time_axis->setRange(from, to);
    QCOMPARE(second.time_axis->min(), from);
    QTRY_COMPARE(window.visible_since(), kThreeAm + 1800000);
    QTRY_VERIFY(second.series[0]->count() > 0 &&
                second.series[0]->at(0).x() >= static_cast<double>(kThreeAm + 1800000));
    // 600 s over the chart's pixels: buckets under a second here, so each holds a reply or
    // two.
    QTRY_VERIFY(window.state_label()->text().contains("per 0."));

    // The wheel zooms about the pointer; a double-click brings the whole range back.
    QWheelEvent wheel(QPointF(first.chart->plotArea().center()), QPointF(), QPoint(), QPoint(0, -120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(first.view->viewport(), &wheel);
    QTRY_VERIFY(window.visible_until() - window.visible_since() > 600000);
    QTest::mouseDClick(first.view->viewport(), Qt::LeftButton, {}, first.chart->plotArea().center().toPoint());
    QTRY_COMPARE(window.visible_since(), kThreeAm);
    QCOMPARE(window.visible_until(), kThreeAm + 3600000);
  }
};

}  // namespace onefortwo

QTEST_MAIN(onefortwo::JournalWindowsTest)
#include "journal_windows_test.moc"
