#!/usr/bin/env python3
"""Reads the JSON of bench_texthelpers (--benchmark_out=FILE --benchmark_out_format=json,
with or without repetitions) and prints the ratios its targets are stated in: UrlEncodeUtf8
at least 2x as fast as QByteArray::toPercentEncoding, TextBetween within 1.3x of two
indexOf calls and a copy, and every 16 MiB time at most 20x the 1 MiB time."""
import json
import sys

MiB = 1 << 20


def times(path):
    """Real time per call in microseconds, by (benchmark name, size); medians when repeated."""
    result = {}
    for b in json.load(open(path))["benchmarks"]:
        if b.get("aggregate_name", "median") != "median":
            continue
        name, size = b["run_name"].rsplit("/", 1)
        result[(name, int(size))] = b["real_time"]
    return result


def verdict(ok):
    return "met" if ok else "NOT met"


t = times(sys.argv[1])
sizes = sorted({size for _, size in t})
print("UrlEncodeUtf8 speed-up over toPercentEncoding (target >= 2):")
for s in sizes:
    r = t[("BM_ToPercentEncoding", s)] / t[("BM_UrlEncodeUtf8", s)]
    print(f"  {s:>9} B  {r:5.2f}  {verdict(r >= 2)}")
print("TextBetween time / (indexOf twice and copy) (target <= 1.3):")
for s in sizes:
    r = t[("BM_TextBetween", s)] / t[("BM_IndexOfTwiceAndCopy", s)]
    print(f"  {s:>9} B  {r:5.2f}  {verdict(r <= 1.3)}")
print("16 MiB time / 1 MiB time (target <= 20):")
for name in sorted({name for name, _ in t}):
    r = t[(name, 16 * MiB)] / t[(name, MiB)]
    print(f"  {name:<36} {r:6.1f}  {verdict(r <= 20)}")
