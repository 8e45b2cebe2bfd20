#!/usr/bin/env python3
"""Finds the tone bursts in a recording of raw signed 16-bit mono samples.

Usage: tones.py RECORDING RATE [FROM_SECONDS [TO_SECONDS]]

Prints one line for each burst that starts in the span asked for (all of
the recording by default): where it starts in seconds, its frequency in Hz
and its length in milliseconds. A burst is a run of samples louder than a
threshold, allowing for the quiet samples around each zero crossing; its
frequency comes from its rising zero crossings, interpolated between
samples so that a short burst still gives a precise figure.
"""
import array
import sys

THRESHOLD = 1000  # of 32767: well above a null sink's silence
MAX_GAP_S = 0.005  # quiet stretch that still belongs to the same burst


def read_samples(path, offset):
    """The samples from index offset on."""
    samples = array.array("h")
    with open(path, "rb") as f:
        f.seek(offset * 2)
        data = f.read()
    samples.frombytes(data[: len(data) // 2 * 2])
    if sys.byteorder != "little":
        samples.byteswap()
    return samples


def loud(samples):
    """Indexes of the samples past the threshold. Quiet blocks are passed
    over whole, so that minutes of silence take little time."""
    block = 256
    for start in range(0, len(samples), block):
        chunk = samples[start : start + block]
        if max(chunk) < THRESHOLD and min(chunk) > -THRESHOLD:
            continue
        for i, value in enumerate(chunk, start):
            if abs(value) >= THRESHOLD:
                yield i


def bursts(samples, rate):
    """(first, last) sample index of each burst."""
    max_gap = int(MAX_GAP_S * rate)
    found = []
    first = last = None
    for i in loud(samples):
        if last is not None and i - last > max_gap:
            found.append((first, last))
            first = None
        if first is None:
            first = i
        last = i
    if first is not None:
        found.append((first, last))
    return found


def frequency(samples, first, last, rate):
    """Hz from the rising zero crossings between first and last."""
    crossings = []
    for i in range(first, last):
        a, b = samples[i], samples[i + 1]
        if a < 0 <= b:
            crossings.append(i + a / (a - b))
    if len(crossings) < 2:
        return 0.0
    return (len(crossings) - 1) * rate / (crossings[-1] - crossings[0])


def main(argv):
    if len(argv) < 3:
        sys.exit(__doc__)
    rate = int(argv[2])
    start = max(0.0, float(argv[3])) if len(argv) > 3 else 0.0
    end = float(argv[4]) if len(argv) > 4 else float("inf")
    offset = int(start * rate)
    samples = read_samples(argv[1], offset)
    for first, last in bursts(samples, rate):
        at = (offset + first) / rate
        if at < end:
            hz = frequency(samples, first, last, rate)
            ms = (last - first + 1) * 1000.0 / rate
            print(f"{at:.3f} {hz:.1f} {ms:.2f}")


if __name__ == "__main__":
    main(sys.argv)
