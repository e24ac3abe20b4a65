#!/usr/bin/env python3
"""Writes tests/data/decimal_oracle.txt: expected results of decimal stack operations.

The values are computed independently of the C++ code, with Python's exact decimal arithmetic
and the runtime's rules for work values: at most 32 integer and 32 fraction digits, integer
digits beyond 32 lost, products truncated at the 32nd place, quotients rounded half up to 31
places, zero divisors giving 0, and zero never negative.

Each line is one case, fields separated by one blank:
  add A B R | sub A B R | mul A B R | div A B R   R = A op B
  pow A N R                                       R = A to the power N
  round A P R                                     A rounded half up to P places
  text T R                                        T read as a number (T is hex-encoded bytes)
  int32 A I                                       A popped as an Int32
  fromf64 H R                                     the double with hex form H pushed
  tof64 A H                                       A popped as a double with hex form H

Run it from anywhere; the seed is fixed so the file is reproducible:
  python3 tests/runtime/values/decimal_oracle.py > tests/data/decimal_oracle.txt
"""

import decimal
import random
import sys
from decimal import Decimal

decimal.getcontext().prec = 400
decimal.getcontext().rounding = decimal.ROUND_FLOOR

SCALE = 10 ** 32  # one unit of the lowest position
LIMIT = 10 ** 32  # integer magnitude limit


# A work value is held as an integer count of 10^-32 units; its magnitude is below 10^64.

def wrap(units):
    """Drops integer digits beyond the 32 positions, keeping the sign."""
    magnitude = abs(units) % (LIMIT * SCALE)
    return -magnitude if units < 0 else magnitude


def text_of(units):
    if units == 0:
        return "0"
    sign = "-" if units < 0 else ""
    magnitude = abs(units)
    integer, fraction = divmod(magnitude, SCALE)
    if fraction == 0:
        return f"{sign}{integer}"
    digits = f"{fraction:032d}".rstrip("0")
    return f"{sign}{integer}.{digits}"


def units_of(text):
    """Exact value of a canonical text (as written by text_of)."""
    negative = text.startswith("-")
    body = text[1:] if negative else text
    integer, _, fraction = body.partition(".")
    units = int(integer) * SCALE + int((fraction + "0" * 32)[:32])
    return -units if negative else units


def trunc_div(a, b):
    q = abs(a) // abs(b)
    return -q if (a < 0) != (b < 0) else q


def add(a, b):
    return wrap(a + b)


def sub(a, b):
    return wrap(a - b)


def mul(a, b):
    return wrap(trunc_div(a * b, SCALE))


def div(a, b):
    if b == 0 or a == 0:
        return 0
    exact = abs(a) * SCALE // abs(b)           # truncated at the 32nd place
    rounded = (exact + 5) // 10 * 10            # half up at the 31st place
    rounded %= LIMIT * SCALE
    return -rounded if (a < 0) != (b < 0) else rounded


def power(x, n):
    remaining = abs(n)
    result = SCALE
    square = x
    while remaining:
        if remaining & 1:
            result = mul(result, square)
        remaining >>= 1
        if remaining:
            square = mul(square, square)
    if n < 0:
        result = div(SCALE, result)
    return result


def round_places(x, places):
    step = 10 ** (32 - places)
    magnitude = (abs(x) + step // 2) // step * step
    magnitude %= LIMIT * SCALE
    return -magnitude if x < 0 else magnitude


def digit_run(raw, i):
    """The digits starting at i, and the index after them."""
    start = i
    while i < len(raw) and 0x30 <= raw[i] <= 0x39:
        i += 1
    return raw[start:i].decode(), i


def read_text(raw):
    """The number grammar of the decimal stack, applied to bytes."""
    i = 0
    n = len(raw)
    while i < n and raw[i] == 0x20:
        i += 1
    negative = i < n and raw[i] == ord("-")
    if negative:
        i += 1
    integer, i = digit_run(raw, i)
    integer = integer[-32:] or "0"
    fraction = ""
    exponent = 0
    if i < n and raw[i] == ord("."):
        fraction, i = digit_run(raw, i + 1)
        fraction = fraction[:32]
        if i < n and raw[i] in (ord("e"), ord("E")):
            i += 1
            negative_exponent = i < n and raw[i] == ord("-")
            if negative_exponent:
                i += 1
            exponent_digits, i = digit_run(raw, i)
            exponent = int(exponent_digits or "0")
            if negative_exponent:
                exponent = -exponent
    units = int(integer) * SCALE + int((fraction + "0" * 32)[:32])
    if exponent >= 0:
        units *= 10 ** exponent
    else:
        units //= 10 ** -exponent
    units %= LIMIT * SCALE
    return -units if negative else units


def from_float(value):
    if value == 0 or value != value or value in (float("inf"), float("-inf")):
        return 0
    exact = abs(Decimal(value))
    exponent = exact.adjusted()
    significand = exact.scaleb(14 - exponent).quantize(Decimal(1), rounding=decimal.ROUND_HALF_UP)
    units = int(significand) * Decimal(10) ** (exponent - 14) * SCALE
    units = int(units.to_integral_value(rounding=decimal.ROUND_DOWN)) % (LIMIT * SCALE)
    return -units if value < 0 else units


def to_float(units):
    if units == 0:
        return 0.0
    digits = str(abs(units))
    # Accumulation stops at the lowest nonzero digit, so exact values such as 10^-11 are
    # scaled once instead of being built from 10^15 and divided twice.
    kept = digits[:16].rstrip("0")
    scale = len(digits) - len(kept) - 32
    value = float(int(kept))
    if scale >= 0:
        while scale > 15:
            value *= 1e16
            scale -= 16
        value *= 10.0 ** scale
    else:
        scale = -scale
        while scale > 15:
            value /= 1e16
            scale -= 16
        value /= 10.0 ** scale
    return -value if units < 0 else value


def to_int32(units):
    magnitude = (abs(units) // SCALE) % 2 ** 32
    value = -magnitude % 2 ** 32 if units < 0 else magnitude
    return value - 2 ** 32 if value >= 2 ** 31 else value


# Operand generators: each returns a work value in units.

def digits(rng, count):
    return int("".join(rng.choice("0123456789") for _ in range(count)) or "0")


def make(rng, integer_digits, fraction_digits):
    units = digits(rng, integer_digits) * SCALE + digits(rng, fraction_digits) * 10 ** (32 - fraction_digits)
    return -units if rng.random() < 0.4 else units


def small(rng):
    return make(rng, rng.randint(0, 2), rng.randint(0, 2))


def typical(rng):
    return make(rng, rng.randint(1, 7), rng.randint(0, 3))


def full(rng):
    return make(rng, 32, 32)


def near_limit(rng):
    # Sums of these carry out of position 63.
    units = (LIMIT - 1 - digits(rng, rng.randint(0, 3))) * SCALE + digits(rng, 32)
    return -units if rng.random() < 0.3 else units


def tiny(rng):
    units = digits(rng, rng.randint(1, 4))
    return -units if rng.random() < 0.4 else units


def power_of_ten(rng):
    units = 10 ** rng.randint(0, 63)
    return -units if rng.random() < 0.3 else units


def zero(rng):
    return 0


def limb_edge(rng):
    """Sixteen-digit runs at their edges (0, 1, half, all nines) and magnitudes either side of
    half the limit, where sums start to carry out of position 63."""
    runs = [rng.choice([0, 0, 1, 5 * 10 ** 15, 10 ** 16 - 1, digits(rng, 16)]) for _ in range(3)]
    top = rng.choice([0, 1, 5 * 10 ** 15 - 1, 5 * 10 ** 15, 5 * 10 ** 15 + 1, 10 ** 16 - 1, digits(rng, 16)])
    units = ((top * 10 ** 16 + runs[2]) * 10 ** 16 + runs[1]) * 10 ** 16 + runs[0]
    return -units if rng.random() < 0.5 else units


def round_half(rng):
    """A value at, just below or just above a half of some place."""
    places = rng.randint(0, 31)
    step = 10 ** (32 - places)
    units = digits(rng, rng.randint(0, 40)) % (LIMIT * SCALE // step) * step + step // 2 + rng.choice([-1, 0, 0, 1])
    units %= LIMIT * SCALE
    return -units if rng.random() < 0.5 else units


KINDS = [small, typical, full, near_limit, tiny, power_of_ten, zero]
WEIGHTS = [3, 4, 4, 2, 2, 1, 1]


def operand(rng):
    return rng.choices(KINDS, WEIGHTS)[0](rng)


def random_text(rng):
    """Texts in and around the grammar: blanks, signs, long digit runs, exponents, junk."""
    parts = []
    parts.append(" " * rng.choice([0, 0, 1, 2]))
    parts.append(rng.choice(["", "", "-", "+", "--"]))
    parts.append(str(digits(rng, rng.choice([0, 1, 3, 7, 32, 40]))).zfill(rng.randint(0, 3)) if rng.random() < 0.9 else "")
    if rng.random() < 0.7:
        parts.append("." + "".join(rng.choice("0123456789") for _ in range(rng.choice([0, 1, 2, 5, 32, 36]))))
    if rng.random() < 0.4:
        parts.append(rng.choice("eE") + rng.choice(["", "-", "+"]) + str(rng.choice([0, 1, 2, 5, 17, 31, 32, 33, 40, 70])))
    if rng.random() < 0.2:
        parts.append(rng.choice(["x", " 5", "\t", ".5", "e3", "\0" "9"]))
    return "".join(parts).encode("latin-1")


def random_float(rng):
    kind = rng.random()
    if kind < 0.4:
        return rng.uniform(-1e6, 1e6)
    if kind < 0.6:
        return float(rng.randint(-10 ** 15, 10 ** 15)) / 10 ** rng.randint(0, 10)
    if kind < 0.8:
        return rng.choice([-1, 1]) * 10.0 ** rng.uniform(-40, 40)
    return rng.choice([0.1, 0.5, 2.5, 1e15 + 0.5, 123456789012345.5, 1e-17, 9.999999999999999e31, 1e32, 5e-33])


def main():
    rng = random.Random(20261208)
    out = sys.stdout
    binary = [("add", add), ("sub", sub), ("mul", mul), ("div", div)]
    for name, function in binary:
        for _ in range(500):
            a, b = operand(rng), operand(rng)
            out.write(f"{name} {text_of(a)} {text_of(b)} {text_of(function(a, b))}\n")
    for _ in range(250):
        x = rng.choice([small, typical, tiny])(rng)
        if rng.random() < 0.3:
            x = make(rng, 1, rng.randint(1, 3))
        n = rng.randint(-12, 12) if rng.random() < 0.8 else rng.choice([-100, 31, 64, 1000, -(2 ** 31)])
        out.write(f"pow {text_of(x)} {n} {text_of(power(x, n))}\n")
    for _ in range(300):
        x = operand(rng)
        places = rng.randint(0, 32)
        out.write(f"round {text_of(x)} {places} {text_of(round_places(x, places))}\n")
    for _ in range(600):
        raw = random_text(rng)
        out.write(f"text {raw.hex() or '-'} {text_of(read_text(raw))}\n")
    for _ in range(150):
        x = operand(rng)
        out.write(f"int32 {text_of(x)} {to_int32(x)}\n")
    for _ in range(200):
        value = random_float(rng)
        out.write(f"fromf64 {value.hex()} {text_of(from_float(value))}\n")
    for _ in range(200):
        x = operand(rng)
        out.write(f"tof64 {text_of(x)} {to_float(x).hex()}\n")
    # Limb edges and large magnitudes of both signs.
    edge = lambda: rng.choice([limb_edge, limb_edge, near_limit, typical, full, tiny])(rng)
    for name, function in binary:
        for _ in range(400):
            a, b = edge(), edge()
            out.write(f"{name} {text_of(a)} {text_of(b)} {text_of(function(a, b))}\n")
    for _ in range(400):
        x = rng.choice([round_half, round_half, limb_edge])(rng)
        places = rng.randint(0, 32)
        out.write(f"round {text_of(x)} {places} {text_of(round_places(x, places))}\n")
    for _ in range(100):
        x = edge()
        out.write(f"int32 {text_of(x)} {to_int32(x)}\n")


if __name__ == "__main__":
    main()
