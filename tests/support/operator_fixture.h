#pragma once

#include <string>
#include <vector>

#include "support/amp_reply.h"
#include "support/fake_panel_windows.h"
#include "support/scripted_prompter.h"
#include "support/station_fixture.h"
#include "user/operator_commands.h"

namespace onefortwo {

// A fresh station with the operator's commands on it: Yes/No answered from a script,
// panel requests recorded, frames on the fake line.
class OperatorTest : public StationTest {
 protected:
  // Amplifier `amp` answers its status query with `reply`: the frame arrives and one
  // poll step parses it and refreshes the panel, as the timer does.
  void Reply(int amp, const AmpReply& reply) {
    line->Feed(AckFrame(static_cast<uint8_t>(base_address + amp + 1), reply.Text()));
    Tick();
  }

  // The frames written since the last call (poll queries included), and forgets them.
  std::vector<Bytes> Sent() {
    std::vector<Bytes> frames;
    frames.swap(line->frames);
    line->written.clear();
    return frames;
  }

  ScriptedPrompter prompter;
  FakePanelWindows panels;
  OperatorCommands commands{station, prompter, windows, panels};
};

}  // namespace onefortwo
