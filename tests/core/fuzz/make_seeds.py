#!/usr/bin/env python3
"""Writes the hand-made seed inputs into corpus/<target>/.

The targets read their input through FuzzedDataProvider, which takes
integers from the end of the input; Provider below builds bytes the same
way, so each seed states the values it stands for. Inputs that fuzzing
found are added to corpus/ as found and are not made here.
Run: python3 tests/core/fuzz/make_seeds.py
"""
import math
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
INT_MIN, INT_MAX = -2**31, 2**31 - 1


class Provider:
    """Bytes that FuzzedDataProvider reads back as the values put in."""

    def __init__(self):
        self.blocks = []

    def range(self, lo, hi, value):
        span, size = hi - lo, 0
        while size < 8 and span >> (8 * size):
            size += 1
        self.blocks.append(((value - lo) % (1 << (8 * size))).to_bytes(size, 'little') if size else b'')
        return self

    def int(self, v): return self.range(INT_MIN, INT_MAX, v)
    def i16(self, v): return self.range(-2**15, 2**15 - 1, v)
    def u16(self, v): return self.range(0, 2**16 - 1, v)
    def u32(self, v): return self.range(0, 2**32 - 1, v)
    def u64(self, v): return self.range(0, 2**64 - 1, v)
    def i64(self, v): return self.range(-2**63, 2**63 - 1, v)
    def u8(self, v): return self.range(0, 255, v)
    def bool(self, v): return self.u8(1 if v else 0)
    def double_bits(self, v): return self.u64(struct.unpack('<Q', struct.pack('<d', v))[0])

    def bytes(self):
        return b''.join(reversed(self.blocks))


def write(target, name, data):
    d = os.path.join(HERE, 'corpus', target)
    os.makedirs(d, exist_ok=True)
    if isinstance(data, str):
        data = data.encode('latin-1')
    with open(os.path.join(d, name), 'wb') as f:
        f.write(data)


def profile_values():
    t = 'fuzz_profile_values'
    texts = {
        'zero': '0', 'minus_zero': '-0', 'plus_zero': '+0', 'blanks': ' 12 ', 'tabs': '\t-7\t',
        'int32_max': '2147483647', 'int32_max_plus_1': '2147483648', 'int32_min': '-2147483648',
        'int32_min_minus_1': '-2147483649', 'int16_max': '32767', 'int16_max_plus_1': '32768',
        'int16_min': '-32768', 'int16_min_minus_1': '-32769', 'leading_zeros': '0000000000000000000042',
        'inner_blank': '1 2', 'hex_prefix': '0x10', 'empty': '', 'sign_only': '-', 'double_sign': '+-1',
        'huge': '99999999999999999999999', 'nbsp': '\xa012', 'nul_inside': '1\x002',
        'hex_mixed_case': ' aBcD ', 'hex_odd': 'ABC', 'hex_bad_digit': 'AG',
        'hex_logfont': 'F0FFFFFF' + '00' * 12 + '90010000' + '00' * 8 + '417269616C' + '00' * 27,
    }
    for name, text in texts.items():
        write(t, name, text)
    # 0xFF escapes four raw bytes into one wide character.
    write(t, 'arabic_indic_one', b'\xff' + struct.pack('<I', 0x0661) + b'2')
    write(t, 'fullwidth_digits', b'\xff' + struct.pack('<I', 0xFF11) + b'\xff' + struct.pack('<I', 0xFF12))
    write(t, 'wide_digit_alias', b'\xff' + struct.pack('<I', 0x10031) + b'1')
    write(t, 'negative_wchar', b'\xff' + struct.pack('<i', -48) + b'7')


def logfont():
    t = 'fuzz_logfont'
    def record(height=-16, weight=400, face=b'Arial', fill=b'\0'):
        head = struct.pack('<5i8B', height, 0, 0, 0, weight, 0, 0, 0, 1, 0, 0, 0, 0)
        return head + (face + fill * 32)[:32]
    write(t, 'arial_16', record())
    write(t, 'face_without_nul', record(face=b'X' * 32))
    write(t, 'junk_after_nul', record(face=b'Tahoma\0junkjunk', fill=b'\xee'))
    write(t, 'height_int_min', record(height=INT_MIN))
    write(t, 'height_int_max', record(height=INT_MAX, weight=-1))
    write(t, 'all_ff', b'\xff' * 60)
    write(t, 'short_59', record()[:59])
    write(t, 'long_61', record() + b'\0')
    write(t, 'empty', b'')
    # 8-byte inputs: the height and dpi of the point-size check alone.
    for h, dpi in [(-16, 96), (INT_MIN, 1), (INT_MAX, 1), (2983, 96), (-13, 0), (16, -5), (1, INT_MAX)]:
        p = Provider().int(h).bool(True).int(dpi)
        write(t, f'size_{h}_at_{dpi}'.replace('-', 'm'), p.bytes())


def grid_geometry():
    t = 'fuzz_grid_geometry'
    def grid(metrics, columns, rows, weeks, points=()):
        p = Provider().bool(True)
        for v in metrics:
            p.bool(True).int(v)
        p.bool(True).int(columns).bool(True).int(rows).bool(weeks)
        p.bool(False).range(0, 3, 0).bool(True).int(6).bool(True).int(7)
        for x, y in points:
            p.bool(True).int(x).bool(True).int(y)
        return p.bytes()
    ui = (16, 7, 14, 19, 96)
    write(t, 'ui_font_4x3', grid(ui, 4, 3, True, [(0, 0), (100, 100), (INT_MIN, INT_MAX)]))
    write(t, 'ui_font_12x12', grid(ui, 12, 12, True))
    write(t, 'widest_12x1', grid((INT_MAX,) * 5, 12, 1, True, [(32767, 10)]))
    write(t, 'tallest_1x12', grid((INT_MAX,) * 5, 1, 12, False, [(10, 32767)]))
    write(t, 'zero_metrics_0x0', grid((0,) * 5, 0, 0, False))
    write(t, 'negative_metrics', grid((-5,) * 5, -3, -3, True))
    write(t, 'int_min_metrics', grid((INT_MIN,) * 5, INT_MIN, INT_MAX, True))
    write(t, 'title_dominates', grid((16, 7, 14, 19, 1024), 3, 4, False))
    write(t, 'tiny_font', grid((1, 1, 1, 1, 1), 7, 1, True))

    def window(rects, width, height):
        p = Provider().bool(False)
        for l, tp, r, b in rects:
            p.bool(True).int(l).bool(True).int(tp).bool(True).int(r).bool(True).int(b)
        p.bool(True).int(width).bool(True).int(height)
        return p.bytes()
    frame = [(0, 0, 640, 480), (100, 50, 316, 285), (0, 0, 200, 200), (0, 40, 1280, 1024), (200, 200, 400, 400)]
    write(t, 'window_fit_and_centre', window(frame, 200, 100))
    write(t, 'window_oversized', window(frame, 2000, 1500))
    huge = [(0, 0, INT_MAX, INT_MAX), (INT_MAX - 10, 0, INT_MAX, 10), (0, 0, 0, 0),
            (INT_MIN, INT_MIN, INT_MAX, INT_MAX), (INT_MAX, INT_MAX, INT_MIN, INT_MIN)]
    write(t, 'window_saturating', window(huge, INT_MAX, INT_MIN))
    write(t, 'window_inverted_area', window(frame[:3] + [(100, 100, 0, 0), (0, 0, 10, 10)], 50, 50))


def dates():
    t = 'fuzz_dates'
    def ole(v):
        return Provider().range(0, 7, 0).double_bits(v).bytes()
    for name, v in [('zero', 0.0), ('minus_zero', -0.0), ('minus_1_25', -1.25), ('minus_0_5', -0.5),
                    ('last_day', 2958465.0), ('last_ms', 2958465.99999), ('last_rounds_up', 2958465.9999999999),
                    ('first_day', -657434.0), ('first_day_evening', -657434.75), ('before_first', -657435.0),
                    ('one_9999999999', 1.9999999999), ('huge', 1e300), ('denormal', 5e-324),
                    ('inf', math.inf), ('minus_inf', -math.inf)]:
        write(t, f'ole_{name}', ole(v))
    write(t, 'ole_nan', Provider().range(0, 7, 0).u64(0x7FF8000000000001).bytes())
    write(t, 'ole_negative_nan', Provider().range(0, 7, 0).u64(0xFFF0000000000001).bytes())
    # DateTime -> OLE: arbitrary 64-bit day counts and times.
    write(t, 'datetime_int64_min', Provider().range(0, 7, 3).range(0, 2, 0).i64(-2**63).bool(True).i64(-1).bytes())
    write(t, 'datetime_last_ms', Provider().range(0, 7, 3).range(0, 2, 1).int(2932896).bool(False)
          .range(-2, 86400001, 86399999).bytes())
    # Months: year (int16 or 1598..10002), month (byte or 0..13), n, count.
    def months(mode, y, m, n=0, count=1):
        p = Provider().range(0, 7, mode).bool(True).i16(y).bool(True).u8(m)
        if mode == 4:
            p.bool(True).int(n).bool(True).int(count)
        return p.bytes()
    write(t, 'months_last_plus_max', months(4, 9999, 12, INT_MAX, 12))
    write(t, 'months_first_minus_min', months(4, 1601, 1, INT_MIN, INT_MIN))
    write(t, 'months_junk_year', months(4, -32768, 255, -1, INT_MAX))
    write(t, 'months_month_zero', months(4, 2024, 0, 1, 3))
    write(t, 'layout_last_month', months(5, 9999, 12) + b'')
    write(t, 'layout_first_month', months(5, 1601, 1))
    write(t, 'layout_year_max', months(5, 32767, 12))
    write(t, 'layout_index_of_int64_min', Provider().range(0, 7, 5).bool(True).i16(2024).bool(True).u8(2)
          .range(0, 2, 0).i64(-2**63).bytes())
    # The first days of year -32767 lie in week 53 of -32768, outside chrono.
    write(t, 'isoweek_int64_min', Provider().range(0, 7, 6).range(0, 2, 0).i64(-2**63).int(-32768).bytes())
    write(t, 'isoweek_int64_max', Provider().range(0, 7, 6).range(0, 2, 0).i64(2**63 - 1).int(INT_MIN).bytes())
    write(t, 'isoweek_2020_12_31', Provider().range(0, 7, 6).range(0, 2, 2).i64(18627).int(2020)
          .range(2, 32766, 2020).range(1, 12, 12).range(1, 31, 31).bytes())
    def long_date(year, fields):
        p = Provider().range(0, 7, 7).bool(True).int(year)
        for f in fields:
            p.bool(True).u32(f)
        return p.bytes()
    write(t, 'longdate_sunday', long_date(2026, [12, 6, 0, 3, 47, 5]))
    write(t, 'longdate_out_of_range', long_date(2026, [13, 99, 70, 99, 99, 99]))
    write(t, 'longdate_extremes', long_date(INT_MIN, [2**32 - 1] * 6))
    write(t, 'longdate_negative_year', long_date(-5, [0, 0, 0, 0, 0, 0]))


def monthgrid_state():
    t = 'fuzz_monthgrid_state'
    def record(columns, rows, flags, colours, magic=b'MGS1', version=1):
        return magic + struct.pack('<HhhH6I', version, columns, rows, flags, *colours)
    colours = (0x332211, 0x04030201, 0xFFFFFF, 0x204080, 0, 0xDDCCBBAA)
    write(t, 'sample', record(3, -2, 1, colours))
    write(t, 'defaults', record(1, 1, 0, (0, 0xFFFFFF, 0xFFFFFF, 0xA06030, 0xFFFFFF, 0x808080)))
    write(t, 'extreme_shape', record(-32768, 32767, 0, (0xFFFFFFFF,) * 6))
    write(t, 'unknown_flag', record(4, 3, 0x8001, colours))
    write(t, 'version_2', record(4, 3, 0, colours, version=2))
    write(t, 'bad_magic', record(4, 3, 0, colours, magic=b'MGS2'))
    write(t, 'short_35', record(4, 3, 0, colours)[:35])
    write(t, 'long_37', record(4, 3, 0, colours) + b'\0')
    write(t, 'empty', b'')


def holidays():
    t = 'fuzz_holidays'
    # Region texts: the mode, then the text itself from the front.
    def region(text):
        if isinstance(text, str):
            text = text.encode('latin-1')
        return text + Provider().range(0, 2, 0).bytes()
    for name, text in [('code_lower_blanks', ' by\t'), ('code_quoted', '"Bw"'), ('empty', ''),
                       ('quotes_only', '\t""\t'), ('land_name', 'Bayern'), ('one_quote', '"'),
                       ('nul_inside', 'b\0y'), ('no_break_space', '\xa0SN')]:
        write(t, f'region_{name}', region(text))
    write(t, 'region_fullwidth', region(b'\xff' + struct.pack('<I', 0xFF22) + b'\xff' + struct.pack('<I', 0xFF39)))
    write(t, 'region_wide_alias', region(b'\xff' + struct.pack('<I', 0x10042) + b'Y'))

    # Lookups: region, then per step (region change?, day kind, day, compare the year's list?).
    import datetime
    base = datetime.date(1989, 1, 1)
    def calendar(region, dates, change_at=()):
        p = Provider().range(0, 2, 1).bool(True).range(0, 16, region).range(1, 64, len(dates))
        for i, d in enumerate(dates):
            p.range(0, 15, 0 if i in change_at else 1)
            if i in change_at:
                p.bool(True).range(0, 16, (region + i) % 17)
            p.range(0, 3, 2).range(0, 366 * 12, (d - base).days).bool(True)
        return p.bytes()
    D = datetime.date
    write(t, 'calendar_eviction', calendar(2, [D(y, 6, 15) for y in (1990, 1991, 1992, 1993, 1994, 1995, 1991, 1996, 1992)]))
    write(t, 'calendar_2000_1_may', calendar(0, [D(2000, 1, 1), D(2000, 5, 1), D(1999, 12, 31), D(2000, 6, 1)]))
    write(t, 'calendar_region_changes', calendar(4, [D(1994, 11, 16), D(1994, 11, 16), D(1995, 11, 22), D(1990, 12, 31)], (1, 2)))
    write(t, 'calendar_damaged_region', Provider().range(0, 2, 1).bool(False).u8(200).range(1, 64, 1)
          .range(0, 15, 1).range(0, 3, 2).range(0, 366 * 12, 365 * 3).bool(True).bytes())
    write(t, 'calendar_far_days', Provider().range(0, 2, 1).bool(True).range(0, 16, 13).range(1, 64, 2)
          .range(0, 15, 1).range(0, 3, 0).i64(-2**63)
          .range(0, 15, 1).range(0, 3, 0).i64(2**63 - 1).bytes())

    # Texts: day kind and day, then the number of holiday names and today.
    base = datetime.date(1600, 1, 1)
    def texts(d, holidays=1, today=True):
        return Provider().range(0, 2, 2).range(0, 3, 3).range(0, 366 * 8402, (d - base).days) \
            .range(0, 4, holidays).bool(today).bytes()
    write(t, 'texts_first_day', texts(D(1601, 1, 1)))
    write(t, 'texts_last_day', texts(D(9999, 12, 31), 2, False))
    write(t, 'texts_week_53', texts(D(2026, 12, 31), 0))
    write(t, 'texts_leap_day', texts(D(2024, 2, 29), 3))
    write(t, 'texts_int64_min', Provider().range(0, 2, 2).range(0, 3, 0).i64(-2**63).range(0, 4, 4).bool(True).bytes())
    write(t, 'texts_int64_max', Provider().range(0, 2, 2).range(0, 3, 0).i64(2**63 - 1).range(0, 4, 0).bool(False).bytes())


if __name__ == '__main__':
    profile_values()
    logfont()
    grid_geometry()
    dates()
    monthgrid_state()
    holidays()
