#pragma once

#include <QCoreApplication>
#include <QStringList>
#include <memory>

#include "station_application.h"
#include "support/amp_reply.h"
#include "support/fake_clock.h"
#include "support/fake_serial_device.h"
#include "support/fake_sound.h"
#include "support/scripted_prompter.h"
#include "support/temp_dir.h"

namespace onefortwo {

// The station started in a fresh folder on an open fake line "COM2", with a fake clock and
// sound and its Yes/No questions answered from a script. The timer is stopped: the test
// gives the ticks.
struct GuiStation {
  GuiStation() : line(opener.Add("COM2")), app(opener, clock, sound, prompter) {
    app.Start(dir.path());
    app.timer().stop();
    Settle();
    line->ClearWritten();
  }

  // One tick of the main timer, 56 ms later.
  void Tick() {
    clock.AdvanceMs(56);
    app.main_timer().Tick();
  }
  // Amplifier `amp` answers with `reply`: the frame arrives and a tick takes it in. The
  // tick's own query is forgotten.
  void Reply(int amp, const AmpReply& reply) {
    line->Feed(AckFrame(static_cast<uint8_t>(base_address + amp + 1), reply.Text()));
    Tick();
    line->ClearWritten();
  }
  // The frames written since the last call, as hex, and forgets them.
  QStringList Sent() {
    QStringList frames;
    for (const Bytes& frame : line->frames) frames << QString::fromStdString(Hex(frame));
    line->ClearWritten();
    return frames;
  }
  // The questions asked since the last call, as "Confirm: Turn High Voltage ON?".
  QStringList Asked() {
    QStringList asked;
    for (const std::string& question : prompter.Take()) asked << QString::fromStdString(question);
    return asked;
  }
  // Lets posted events (repaints, deferred deletes) run.
  static void Settle() {
    for (int pass = 0; pass < 5; ++pass) QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }

  Station& station() { return app.station(); }
  amp_struct& info(int amp) { return app.station().amps.amp_info[amp]; }

  TempDir dir;
  FakeOpener opener;
  std::shared_ptr<FakeLine> line;
  FakeClock clock;
  FakeSound sound;
  ScriptedPrompter prompter;
  StationApplication app;
};

// A command frame to device `address` as hex, as Sent() shows it.
inline QString Frame(int address, const char* text) {
  return QString::fromStdString(Hex(CommandFrame(static_cast<uint8_t>(address), text)));
}

}  // namespace onefortwo
