#!/usr/bin/env python3
"""Writes the example survey: punkty.txt (points with watch times) and pomiar.11o (the
receiver's RINEX 2.11 observation file of the same survey, 5 s epochs, CR LF line ends).

The receiver was switched on at 10:17:00 GPS time, when the antenna stopped on the first
point; the surveyor's watch was 2 min 35 s behind, so the watch said 10:14:25. Every STOP
and GO moved by that shift falls on an epoch of the file. Run it from anywhere; it writes
next to itself. The files are committed: this script is only for making them again.
"""

import math
import os
import random

HERE = os.path.dirname(os.path.abspath(__file__))

YEAR, MONTH, DAY = 2011, 6, 14
FIRST = 10 * 3600 + 17 * 60  # first observation, seconds of the day (GPS)
LAST = 10 * 3600 + 35 * 60
INTERVAL = 5
WATCH_BEHIND = 2 * 60 + 35

# Point name, STOP and GO on the watch.
POINTS = [
    ("101", "10:14:25", "10:17:25"),
    ("102", "10:19:10", "10:22:40"),
    ("103", "10:24:30", "10:27:05"),
    ("104", "10:29:15", "10:31:50"),
]

SATELLITES = [10, 12, 15, 18, 21, 24, 29]
OBSERVATION_TYPES = ["C1", "L1", "L2", "P2", "S1"]
C = 299792458.0
L1_WAVELENGTH = C / 1575.42e6
L2_WAVELENGTH = C / 1227.60e6


def header_record(content, label):
    return content.ljust(60)[:60] + label


def hms(seconds):
    return seconds // 3600, seconds // 60 % 60, seconds % 60


def header():
    h0, m0, s0 = hms(FIRST)
    h1, m1, s1 = hms(LAST)
    types = "%6d" % len(OBSERVATION_TYPES) + "".join("%6s" % t for t in OBSERVATION_TYPES)
    return [
        header_record("%9.2f%11s%-20s%-20s" % (2.11, "", "OBSERVATION DATA", "G (GPS)"),
                      "RINEX VERSION / TYPE"),
        header_record("%-20s%-20s%-20s" % ("make_example.py", "MARVOLT",
                                           "%04d%02d%02d 103600 UTC" % (YEAR, MONTH, DAY)),
                      "PGM / RUN BY / DATE"),
        header_record("Example stop-and-go survey of four points", "COMMENT"),
        header_record("101", "MARKER NAME"),
        header_record("%-20s%-40s" % ("SURVEYOR", "MARVOLT EXAMPLE"), "OBSERVER / AGENCY"),
        header_record("%-20s%-20s%-20s" % ("0001", "GENERIC RECEIVER", "1.0"),
                      "REC # / TYPE / VERS"),
        header_record("%-20s%-20s" % ("0001", "GENERIC ANTENNA"), "ANT # / TYPE"),
        header_record("%14.4f%14.4f%14.4f" % (3662541.2183, 1405872.5906, 5019963.4471),
                      "APPROX POSITION XYZ"),
        header_record("%14.4f%14.4f%14.4f" % (1.5, 0.0, 0.0), "ANTENNA: DELTA H/E/N"),
        header_record("%6d%6d" % (1, 1), "WAVELENGTH FACT L1/2"),
        header_record(types, "# / TYPES OF OBSERV"),
        header_record("%10.3f" % INTERVAL, "INTERVAL"),
        header_record("%6d%6d%6d%6d%6d%13.7f%5s%3s" % (YEAR, MONTH, DAY, h0, m0, s0, "", "GPS"),
                      "TIME OF FIRST OBS"),
        header_record("%6d%6d%6d%6d%6d%13.7f%5s%3s" % (YEAR, MONTH, DAY, h1, m1, s1, "", "GPS"),
                      "TIME OF LAST OBS"),
        header_record("", "END OF HEADER"),
    ]


def observation(value, strength=None):
    return "%14.3f %s" % (value, " " if strength is None else "%d" % strength)


def epochs():
    noise = random.Random(YEAR * 10000 + MONTH * 100 + DAY)
    # Range at the first epoch, its rate, ambiguities and signal strength of each satellite.
    tracks = [(noise.uniform(20.2e6, 25.4e6), noise.uniform(-700.0, 700.0),
               noise.randint(-2000000, 2000000), noise.randint(-2000000, 2000000),
               noise.uniform(38.0, 50.0)) for _ in SATELLITES]
    lines = []
    for seconds in range(FIRST, LAST + 1, INTERVAL):
        h, m, s = hms(seconds)
        t = seconds - FIRST
        lines.append(" %02d%3d%3d%3d%3d%11.7f  %1d%3d" % (YEAR % 100, MONTH, DAY, h, m, s, 0,
                                                       len(SATELLITES))
                     + "".join("G%2d" % prn for prn in SATELLITES))
        for range0, rate, n1, n2, snr0 in tracks:
            distance = range0 + rate * t + 0.02 * t * t
            iono = 3.0 + 0.001 * t
            snr = snr0 + 2.0 * math.sin(t / 300.0) + noise.uniform(-0.5, 0.5)
            strength = min(9, max(1, int(snr / 6)))
            lines.append(observation(distance + noise.gauss(0.0, 0.3))
                         + observation(distance / L1_WAVELENGTH + n1, strength)
                         + observation((distance + 0.65 * iono) / L2_WAVELENGTH + n2, strength)
                         + observation(distance + 1.65 * iono + noise.gauss(0.0, 0.4))
                         + observation(snr))
    return lines


def main():
    with open(os.path.join(HERE, "pomiar.11o"), "w", newline="\r\n", encoding="ascii") as f:
        for line in header() + epochs():
            f.write(line.rstrip() + "\n")
    with open(os.path.join(HERE, "punkty.txt"), "w", newline="\n", encoding="ascii") as f:
        for name, stop, go in POINTS:
            f.write("%s %s %s\n" % (name, stop, go))


if __name__ == "__main__":
    main()
