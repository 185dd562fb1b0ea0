#!/usr/bin/env python3
"""Where a handset's time on the wire goes, from a tolvan-sim --record transcript.

    bench/dialogue-breakdown.py TRANSCRIPT [--delay-ms MS] [--baud N]

The transcript stamps a unit from the tool ('>') when the simulator receives it and a unit from
the handset ('<') when the simulator has sent it, so each gap between two units is one party's
turn:
  > then <   the handset's: the frame's line time, its processing delay (--delay-ms, 10 by
             default), the reply's line time; what is left over is the simulator's timer lateness
  < then >   the tool's: its reaction to an ACK or answer, or after a close frame's ACK the
             0.9 s pause in which nothing may be sent (what is over 0.9 s is the tool's)
  > then >   a frame that got no reaction and went again: a retry after the response timer
A handset's dialogue ends where the line is quiet for more than a second; a piece of fewer than
200 units is a probe that found the cable empty and is not counted.

Per handset it prints the wall time against the wire time plus 0.9 s per close pause inside the
dialogue plus the handset's own delay before each reply (a handset on a real cable takes it too),
the ratio without that delay (and with every close frame counted as a pause, the last one's
outside the wall, as this bench counted before), then where the time went in seconds.
"""
import sys

OPEN = ['02', '20', '03', '23']
CLOSE = ['02', '21', '03', '22']
PAUSE_MS = 900.0


def read_units(path):
    units = []
    for line in open(path):
        parts = line.split()
        if len(parts) >= 3:
            units.append((float(parts[0]), parts[1], parts[2:]))
    return units


def segments_of(units):
    out, cur = [], []
    for u in units:
        if cur and u[0] - cur[-1][0] > 1000:
            out.append(cur)
            cur = []
        cur.append(u)
    if cur:
        out.append(cur)
    return [s for s in out if len(s) >= 200]


def breakdown(seg, delay_ms, ms_per_byte):
    line = lambda u: len(u[2]) * ms_per_byte
    b = dict(wire=sum(line(u) for u in seg), delay=0.0, pauses=0, pause=0.0, pause_late=0.0,
             sim_late=0.0, tool=0.0, work=0.0, retry=0.0, retries=0, replies=0, reopen=0.0, reopens=0)
    # The open frame of the keep-alive dialogue a close pause leads back to, answered and then
    # followed by the next script's open frame or the final close: the tool does its work between
    # scripts (backup, template, frames, saving) while that answer is under way.
    between = set()
    for i in range(3, len(seg)):
        if seg[i - 3][2] == ['06'] and seg[i - 2][2] == OPEN and seg[i - 1][2] == ['06'] \
                and seg[i][2] in (OPEN, CLOSE) and seg[i - 2][0] - seg[i - 3][0] >= PAUSE_MS:
            b['reopens'] += 1
            b['reopen'] += seg[i][0] - seg[i - 2][0]
            between.add(i)
    for i in range(1, len(seg)):
        prev, cur = seg[i - 1], seg[i]
        gap = cur[0] - prev[0]
        if prev[1] == '>' and cur[1] == '<':
            b['replies'] += 1
            b['delay'] += delay_ms
            b['sim_late'] += gap - line(prev) - line(cur) - delay_ms
        elif prev[1] == '<' and cur[1] == '>':
            closed = i >= 2 and seg[i - 2][1] == '>' and seg[i - 2][2] == CLOSE and prev[2] == ['06']
            if closed:
                b['pauses'] += 1
                b['pause'] += PAUSE_MS
                b['pause_late'] += gap - PAUSE_MS
            elif i in between:
                b['work'] += gap
            else:
                b['tool'] += gap
        elif prev[1] == '>' and cur[1] == '>':
            b['retries'] += 1
            b['retry'] += gap - line(prev)
        else:
            b['sim_late'] += gap - line(cur)
    return b


def main():
    args = sys.argv[1:]
    delay_ms, baud = 10.0, 9600
    if '--delay-ms' in args:
        k = args.index('--delay-ms')
        delay_ms = float(args[k + 1])
        del args[k:k + 2]
    if '--baud' in args:
        k = args.index('--baud')
        baud = int(args[k + 1])
        del args[k:k + 2]
    if len(args) != 1:
        sys.exit(__doc__)
    ms_per_byte = 11 * 1000.0 / baud
    for seg in segments_of(read_units(args[0])):
        b = breakdown(seg, delay_ms, ms_per_byte)
        wall = (seg[-1][0] - seg[0][0]) / 1000
        wire, pauses, delay = b['wire'] / 1000, b['pause'] / 1000, b['delay'] / 1000
        bound = wire + pauses
        fair = bound + delay
        # As this bench counted before: every close frame a pause, the last one's outside the wall.
        closes = sum(1 for u in seg if u[1] == '>' and u[2] == CLOSE)
        print("  handset: wall %6.2f s; wire %.2f s + %d close pauses + %d replies x %g ms = %.2f s: ratio %.3f"
              % (wall, wire, b['pauses'], b['replies'], delay_ms, fair, wall / fair))
        print("    without the handset's delay: ratio %.3f (every close frame a pause, as counted before: %.3f)"
              % (wall / bound, wall / (wire + closes * PAUSE_MS / 1000)))
        print("    seconds: wire %.3f, handset's delay %.3f, close pauses %.3f, simulator late %.3f,"
              % (wire, delay, pauses, b['sim_late'] / 1000))
        print("      tool's reaction (the pty both ways in it) %.3f, tool late after pauses %.3f, %d retries %.3f,"
              % (b['tool'] / 1000, b['pause_late'] / 1000, b['retries'], b['retry'] / 1000))
        print("      tool's work between scripts beyond the answer to its keep-alive open frame %.3f"
              % (b['work'] / 1000))
        print("    %d keep-alive open frames after a pause, each followed by a script's open or the last close:"
              " %.3f s with their answers" % (b['reopens'], b['reopen'] / 1000))

if __name__ == '__main__':
    main()
