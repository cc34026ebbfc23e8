#!/usr/bin/env python3
"""Writes the seed corpus of each fuzz target into fuzz/corpus/<target>/.

The seeds are real traffic and entries: the amplifiers' and the controller's status
replies as the equipment sends them (state, fault and status bytes carry bit 0x40, as the
simulated devices send them), NAKs and noise, settings lines, number entries. Run it again
after changing an input layout; the files it writes are committed. Reproducers of faults
the fuzzers found are kept beside them under names of their own (repro-*), which this
script leaves alone.
"""

import os
import sys

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus")

STX, ETX, ACK, NAK = 0x02, 0x03, 0x06, 0x15


def frame(start, address, text):
    body = bytes([start, address]) + text + bytes([ETX])
    check = 0
    for b in body:
        check ^= b
    return body + bytes([check])


def amp_text(state1=0x54, state2=0x40, fault1=0x40, fault2=0x40, att=b"10.0", cur=b"12.5",
             fwd=b"60.0", rev=b"40.0", temp=b"45.0", volt=b"10.3"):
    return b"?" + bytes([state1, state2, fault1, fault2]) + att + cur + fwd + rev + temp + volt


def amp_reply(amp, **fields):
    return frame(ACK, ord("A") + amp, amp_text(**fields))


def controller_reply(s1=0x43, s2=0x40, s3=0x40, s4=0x44):
    # 0x43: automatic, switch 1 in A, remote; 0x44 in S4: switch 2 in A.
    return frame(ACK, ord("@"), b"1" + bytes([s1, s2, s3, s4]))


def write(target, name, data):
    folder = os.path.join(ROOT, target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


# --- poll_cycle: records of (advance ms, count, bytes) -----------------------------------

def tick(advance=56, arriving=b""):
    out = b""
    # A record carries at most 255 bytes: longer arrivals take several ticks' records,
    # the later ones with no time passing.
    while True:
        chunk, arriving = arriving[:255], arriving[255:]
        out += bytes([advance, len(chunk)]) + chunk
        if not arriving:
            return out
        advance = 0


def rotation(cycles, replies):
    """`cycles` rounds of A, B, C, controller, each device answering on the tick after its
    query with replies[device] (None: silent)."""
    out = tick()  # the first tick sends A's query
    order = [1, 2, 3, 0]
    for _ in range(cycles):
        for device in order:
            answer = replies[device]
            out += tick(56, answer if answer is not None else b"")
    return out


def poll_seeds():
    healthy = {0: controller_reply(), 1: amp_reply(0), 2: amp_reply(1, fwd=b"57.0"),
               3: amp_reply(2, state1=0x4C, fwd=b"00.0")}
    write("poll_cycle", "healthy-rotation", rotation(3, healthy))
    silent = dict(healthy)
    silent[2] = None
    write("poll_cycle", "amp-b-silent", rotation(4, silent))
    faulted = dict(healthy)
    faulted[1] = amp_reply(0, state1=0x4C, state2=0x60, fault1=0x48)  # over temperature
    write("poll_cycle", "amp-a-faults", rotation(2, healthy) + rotation(2, faulted))
    # Replies cut across ticks, with noise in between.
    a = amp_reply(0)
    cut = tick() + tick(20, a[:7]) + tick(36, a[7:20]) + tick(56, b"\x55\xaa" + a[20:])
    cut += tick(56, controller_reply()[:4]) + tick(56, controller_reply()[4:])
    write("poll_cycle", "replies-cut", cut)
    # NAK and a bad check byte.
    bad = amp_reply(1)
    bad = bad[:-1] + bytes([bad[-1] ^ 0x01])
    write("poll_cycle", "nak-and-bad-check",
          tick() + tick(56, frame(NAK, ord("A"), b"?13AIPQTV")) + tick(56, bad) + tick(200))
    # Unplugged, 2 s and more without the device, plugged back in.
    unplug = rotation(1, healthy) + bytes([255, 0]) + tick(56) * 40 + bytes([255, 0])
    unplug += rotation(1, healthy)
    write("poll_cycle", "unplugged-and-back", unplug)
    # A jump of the clock past the 32-bit counter's wrap.
    write("poll_cycle", "clock-jump", rotation(1, healthy) + tick(252) + rotation(1, healthy))
    # A long run without an ETX fills the reply buffer.
    write("poll_cycle", "overlong-frame", tick() + tick(10, bytes([ACK]) + b"A" * 2600) + tick())
    # Several replies waiting at once.
    write("poll_cycle", "burst", tick() + tick(200, b"".join(healthy.values()) * 3))


# --- amp_reply: amp, unit, dialog open, frame ---------------------------------------------

def amp_seeds():
    cases = {
        "standby-watts": (0, 0, 0, amp_reply(0, state1=0x4C, fwd=b"00.0")),
        "hv-on-dbm": (1, 1, 0, amp_reply(1)),
        "hv-on-dbw": (2, 2, 0, amp_reply(2, fwd=b"63.0", rev=b"43.0")),
        "faulted-dialog-open": (0, 0, 1, amp_reply(0, state1=0x4C, state2=0x60, fault1=0x60)),
        "fault-byte-2": (1, 2, 0, amp_reply(1, state2=0x60, fault2=0x50)),
        "alarm-auto-hv": (2, 0, 0, amp_reply(2, state2=0x45)),
        "readings-not-numbers": (0, 0, 0, amp_reply(0, att=b"----", fwd=b"9e99", rev=b"-1e3")),
        "nak": (0, 0, 0, frame(NAK, ord("A"), b"?13AIPQTV")),
        "command-echo": (1, 1, 0, frame(ACK, ord("B"), b"D27.3")),
        "short-status": (0, 0, 0, amp_reply(0)[:30]),
        "nul-inside": (0, 2, 0, amp_reply(0, fwd=b"6\x000.")),
        "unknown-amp": (3, 0, 0, amp_reply(0)),
    }
    for name, (amp, unit, dialog, data) in cases.items():
        write("amp_reply", name, bytes([amp, unit, dialog]) + data)


# --- controller_reply: state before, frame --------------------------------------------------

def controller_seeds():
    cases = {
        "automatic-both-a": (0x0C, controller_reply()),
        "manual-switch1-b": (0x00, controller_reply(s1=0x40, s4=0x44)),
        "local-switch2-b": (0x00, controller_reply(s1=0x53, s4=0x40)),
        "unchanged": (0x00, controller_reply(s1=0x43, s4=0x44)),
        "nak": (0x00, frame(NAK, ord("@"), b"1")),
        "command-echo": (0x00, frame(ACK, ord("@"), b"B1B")),
        "short": (0x00, controller_reply()[:8]),
        "noise": (0x05, bytes(range(0, 256, 7))),
    }
    for name, (state, data) in cases.items():
        write("controller_reply", name, bytes([state]) + data)


# --- serial_defaults: the file's text -------------------------------------------------------

def defaults_seeds():
    by_id = b"/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A10KZ3Q17-if00-port0"
    assert len(by_id) == 63
    cases = {
        "com1": b"COM1 9600 N 8 1",
        "sim": b"SIM 9600 N 8 1",
        "longest-name": by_id + b" 115200 E 7 2",
        "name-too-long": by_id + b"X 115200 E 7 2",
        "tcp": b"tcp:127.0.0.1:4001 19200 O 8 2",
        "cut": b"/dev/ttyUSB0 96",
        "name-only": b"/dev/ttyUSB0",
        "line-end": b"COM3 2400 O 7 2\r\n",
        "nul-inside": b"COM1 9600\x00 E 7 2",
        "not-numbers": b"COM1 fast N eight 1",
        "huge-baud": b"COM1 99999999999 N 8 1",
        "empty": b"",
    }
    for name, data in cases.items():
        write("serial_defaults", name, data)


# --- number_entry: amp, flags, unit, forward dBm, entry -------------------------------------

def entry_seeds():
    cases = {
        "watts-1000": (0, 0, 0, b"60.0", b"1000"),
        "dbm-60": (1, 0, 1, b"57.0", b"60"),
        "dbw-27.3": (2, 0, 2, b"57.3", b"27.3"),
        "constant-watts": (0, 2, 0, b"60.0", b"500"),
        "constant-dbw-negative": (1, 2, 2, b"60.0", b"-5"),
        "attenuation": (2, 1, 0, b"60.0", b"12.35"),
        "attenuation-dbm": (0, 1, 1, b"60.0", b" 0.05"),
        "two-signs": (0, 0, 0, b"60.0", b"--500"),
        "plus-minus": (1, 0, 1, b"60.0", b"+-500"),
        "nan": (0, 0, 2, b"60.0", b"nan"),
        "float-overflow": (0, 0, 0, b"60.0", b"1e39"),
        "float-largest": (1, 0, 2, b"60.0", b"3.4e38"),
        "underflow": (2, 1, 0, b"60.0", b"1e-400"),
        "hex": (0, 0, 0, b"60.0", b"0x10"),
        "infinity": (0, 1, 0, b"60.0", b"-inf"),
        "longer-than-the-field": (1, 0, 0, b"60.0", b"12345678901234"),
        "not-a-number": (2, 0, 1, b"----", b"abc"),
    }
    for name, (amp, flags, unit, forward, text) in cases.items():
        write("number_entry", name, bytes([amp, flags, unit]) + forward + text)


def main():
    poll_seeds()
    amp_seeds()
    controller_seeds()
    defaults_seeds()
    entry_seeds()
    return 0


if __name__ == "__main__":
    sys.exit(main())
