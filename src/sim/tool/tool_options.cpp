#include "tool_options.h"

#include <charconv>
#include <cmath>

#include "sim/sim_console.h"

namespace onefortwo {
namespace {

// A whole number from `low` to `high`, the whole text.
bool WholeNumber(const std::string& text, long long low, long long high, long long* value) {
  long long parsed = 0;
  const char* end = text.data() + text.size();
  const auto result = std::from_chars(text.data(), end, parsed);
  if (text.empty() || result.ec != std::errc() || result.ptr != end) return false;
  if (parsed < low || parsed > high) return false;
  *value = parsed;
  return true;
}

// Milliseconds from 0 to `high`, decimals allowed.
bool Milliseconds(const std::string& text, double high, double* value) {
  double parsed = 0;
  const char* end = text.data() + text.size();
  const auto result = std::from_chars(text.data(), end, parsed, std::chars_format::fixed);
  if (text.empty() || result.ec != std::errc() || result.ptr != end) return false;
  if (!std::isfinite(parsed) || parsed < 0 || parsed > high) return false;
  *value = parsed;
  return true;
}

// "8N1": data bits 5..8, parity N, O or E, stop bits 1 or 2.
bool LineFormat(const std::string& text, LineSettings* line) {
  if (text.size() != 3 || text[0] < '5' || text[0] > '8') return false;
  const char parity = static_cast<char>(text[1] & ~0x20);
  if (parity != 'N' && parity != 'O' && parity != 'E') return false;
  if (text[2] != '1' && text[2] != '2') return false;
  line->data_bits = text[0] - '0';
  line->parity_code = parity == 'O' ? 1 : parity == 'E' ? 2 : 0;
  line->stop_code = text[2] == '2' ? 2 : 0;
  return true;
}

// "PORT", "HOST:PORT" or "[IPv6]:PORT", PORT 0..65535.
bool TcpListenAddress(const std::string& text, ToolOptions* options) {
  std::string host = options->tcp_host;
  std::string port = text;
  const size_t colon = text.rfind(':');
  if (colon != std::string::npos) {
    host = text.substr(0, colon);
    port = text.substr(colon + 1);
    if (host.size() >= 2 && host.front() == '[' && host.back() == ']') {
      host = host.substr(1, host.size() - 2);
    } else if (host.find(':') != std::string::npos) {
      return false;  // an IPv6 address goes in brackets
    }
    if (host.empty()) return false;
  }
  long long number = 0;
  if (!WholeNumber(port, 0, 65535, &number)) return false;
  options->tcp = true;
  options->tcp_host = host;
  options->tcp_port = static_cast<int>(number);
  return true;
}

}  // namespace

bool ParseToolOptions(int argc, const char* const* argv, ToolOptions* options, std::string* error) {
  const auto fail = [error](const std::string& why) {
    *error = why;
    return false;
  };
  ToolOptions parsed;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i] == nullptr ? "" : argv[i];
    std::string value;
    bool has_value = false;
    if (arg.rfind("--", 0) == 0) {
      const size_t equals = arg.find('=');
      if (equals != std::string::npos) {
        value = arg.substr(equals + 1);
        arg.resize(equals);
        has_value = true;
      }
    }
    const auto needs_value = [&]() {
      if (has_value) return true;
      if (i + 1 >= argc || argv[i + 1] == nullptr) return false;
      value = argv[++i];
      return true;
    };
    if (arg == "--help" || arg == "-h") {
      parsed.help = true;
    } else if (arg == "--log") {
      parsed.log_frames = true;
    } else if (arg == "--device") {
      if (!needs_value() || value.empty()) return fail("--device needs a path");
      parsed.device = value;
    } else if (arg == "--tcp") {
      if (!needs_value() || !TcpListenAddress(value, &parsed)) {
        return fail("--tcp needs a port from 0 to 65535, or HOST:PORT");
      }
    } else if (arg == "--baud") {
      long long baud = 0;
      if (!needs_value() || !WholeNumber(value, 1, 4000000, &baud)) {
        return fail("--baud needs a rate from 1 to 4000000");
      }
      parsed.line.baud = static_cast<int>(baud);
    } else if (arg == "--format") {
      if (!needs_value() || !LineFormat(value, &parsed.line)) {
        return fail("--format needs data bits, parity and stop bits, like 8N1 or 7E2");
      }
    } else if (arg == "--turnaround") {
      if (!needs_value() || !Milliseconds(value, 1000, &parsed.sim.turnaround_ms)) {
        return fail("--turnaround needs milliseconds from 0 to 1000");
      }
    } else if (arg == "--warmup") {
      if (!needs_value() || !Milliseconds(value, 3600000, &parsed.sim.warmup_ms)) {
        return fail("--warmup needs milliseconds from 0 to 3600000");
      }
    } else if (arg == "--seed") {
      long long seed = 0;
      if (!needs_value() || !WholeNumber(value, 0, 4294967295LL, &seed)) {
        return fail("--seed needs a number from 0 to 4294967295");
      }
      parsed.sim.noise_seed = static_cast<uint32_t>(seed);
    } else if (!arg.empty() && arg[0] != '-' && parsed.device.empty()) {
      parsed.device = arg;
    } else if (!arg.empty() && arg[0] != '-') {
      return fail("more than one device given ('" + arg + "')");
    } else {
      return fail("unknown option '" + arg + "' (see --help)");
    }
  }
  if (parsed.tcp && !parsed.device.empty()) {
    return fail("--tcp serves on TCP, not on the device '" + parsed.device + "'");
  }
  *options = parsed;
  return true;
}

std::string ToolUsage() {
  return std::string(
             "Usage: onefortwo-sim [options] [DEVICE]\n"
             "Serves a simulated 1:2 redundant amplifier installation (controller at address\n"
             "64, amplifiers A, B, C at 65, 66, 67) on a new pseudo-terminal, on the serial\n"
             "device DEVICE, or on TCP as a terminal server does. The first line on standard\n"
             "output is the port name the station opens (a path, or tcp:HOST:PORT).\n"
             "\n"
             "Options:\n"
             "  --device PATH     serve on this serial device instead of a pseudo-terminal\n"
             "  --tcp PORT        serve on TCP port PORT of 127.0.0.1 (0: a free one), one\n"
             "                    station connection at a time; or --tcp HOST:PORT\n"
             "  --baud N          line rate in baud (9600); replies are paced at this rate\n"
             "  --format 8N1      data bits, parity (N, O, E) and stop bits (8N1)\n"
             "  --turnaround MS   time from a command to the start of its reply (5)\n"
             "  --warmup MS       high-voltage warm-up after \"@\" (3000)\n"
             "  --seed N          seed of the noise bytes (1)\n"
             "  --log             log every frame heard and sent on standard error\n"
             "  --help            this text\n"
             "\n"
             "Commands on standard input, one a line, each answered on standard output with\n"
             "a last line \"ok\" or \"error: ...\":\n") +
         SimConsole::HelpText() + "\n";
}

}  // namespace onefortwo
