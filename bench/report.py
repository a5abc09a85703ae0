#!/usr/bin/env python3
"""Turns the JSON of a `bench` run into one table: every speed figure as a ratio against its
floor (a cheaper measurement of the same run) or its limit, with pass or fail.

    report.py BENCH.json [--markdown]

Exit status 0 when every figure passes, 1 when one fails or is missing.
"""
import json
import os
import re
import sys

UNIT_MS = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}

# (figure, measured benchmark, floor benchmark or None, limit, unit of the limit)
#   with a floor: ratio = measured / floor, passes when ratio <= limit
#   without one:  ratio = measured / limit, passes when ratio < 1
FIGURES = [
    ("History file read + parse, 32,767 sets", "BM_HistoryParsed", "BM_HistoryBytesDecoded", 2, "x"),
    ("Item analysis (readHistory + analyseHistory)", "BM_ReadAndAnalyseHistory",
     "BM_ReadAndDecodeHistory", 2, "x"),
    ("Item analysis vs the day-by-day linear search", "BM_ReadAndAnalyseHistory",
     "BM_ReadAndAnalyseHistoryLinearSearch", 1, "x"),
    ("Advance to the next item (append, analysis, labels)", "BM_AdvanceToNextItem", None, 100, "ms"),
    ("Home load, 20 items x 32,767 sets (read, totals, dates, overview, paint)",
     "BM_HomeFiguresAndOverviewFill", "BM_HomeReadAndDecodeOnly", 3, "x"),
    ("History screen open, 32,767 sets (read, analysis, list, chart, paint)",
     "BM_OpenHistoryScreen", None, 100, "ms"),
    ("History view 1, every set (list + chart)", "BM_DrawHistoryView/1", None, 100, "ms"),
    ("History view 2, training days (list + chart)", "BM_DrawHistoryView/2", None, 100, "ms"),
    ("History view 3, every calendar day (list + chart)", "BM_DrawHistoryView/3", None, 100, "ms"),
    ("History view 4, sets per day (list + chart)", "BM_DrawHistoryView/4", None, 100, "ms"),
    ("Re-sort of 32,767 rows by a double click", "BM_ResortHistoryList", None, 100, "ms"),
    ("Grid sort of 32,767 rows (the view alone)", "BM_GridSort32767", None, 100, "ms"),
    ("Grid fill, 32,767 x 4 cells, painted", "BM_GridFill32767x4", None, 100, "ms"),
    ("Chart fill, 32,767 points, drawn", "BM_ChartFillAndRedraw32767", None, 100, "ms"),
    ("Idle CPU during a real 60-minute launch delay (10 s)", "BM_LaunchDelayIdleCpu", None, 1, "%"),
]


def base_name(run_name):
    """BM_X/3/process_time/repeats:5 -> BM_X/3: the arguments stay, the run options go."""
    parts = run_name.split("/")
    keep = [p for p in parts if ":" not in p and p not in ("process_time", "real_time")]
    return "/".join(keep)


def load_runs(path):
    with open(path, encoding="utf-8") as f:
        data = json.load(f)
    runs = {}
    for b in data.get("benchmarks", []):
        key = base_name(b.get("run_name", b["name"]))
        entry = runs.setdefault(key, {"median": None, "single": None, "error": None,
                                      "repetitions": b.get("repetitions", 1)})
        if b.get("error_occurred"):
            entry["error"] = b.get("error_message", "error")
        elif b.get("run_type") == "aggregate":
            if b.get("aggregate_name") == "median":
                entry["median"] = b
        elif entry["single"] is None:
            entry["single"] = b
    return data.get("context", {}), runs


def measurement(runs, name):
    """(cpu ms, wall ms, counters, repetitions) from the median, or from the one run there is."""
    entry = runs.get(name)
    if entry is None:
        return None, "not run"
    if entry["error"]:
        return None, entry["error"]
    b = entry["median"] or entry["single"]
    if b is None:
        return None, "no result"
    scale = UNIT_MS[b.get("time_unit", "ns")]
    return {
        "cpu": b["cpu_time"] * scale,
        "wall": b["real_time"] * scale,
        "counters": b,
        "reps": entry["repetitions"] if entry["median"] else 1,
    }, None


def cpu_model():
    try:
        with open("/proc/cpuinfo", encoding="utf-8") as f:
            for line in f:
                if line.startswith("model name"):
                    return line.split(":", 1)[1].strip()
    except OSError:
        pass
    return "unknown CPU"


def load_now():
    try:
        with open("/proc/loadavg", encoding="utf-8") as f:
            return " ".join(f.read().split()[:3])
    except OSError:
        return "unknown"


def fmt_ms(v):
    if v is None:
        return "-"
    if v < 10:
        return f"{v:.2f} ms"
    return f"{v:.1f} ms" if v < 100 else f"{v:.0f} ms"


def build_rows(runs):
    rows = []
    all_pass = True
    for title, name, floor, limit, unit in FIGURES:
        m, err = measurement(runs, name)
        row = {"title": title, "measured": "-", "wall": "-", "against": "-", "ratio": "-",
               "bound": "", "result": "FAIL", "reps": "-"}
        if m is None:
            row["ratio"] = err
            rows.append(row)
            all_pass = False
            continue
        row["reps"] = str(m["reps"])
        if unit == "%":
            value = m["counters"].get("cpu_percent")
            if value is None:
                row["ratio"] = "no cpu_percent counter"
                rows.append(row)
                all_pass = False
                continue
            row["measured"] = f"{value:.3f} % of a core"
            row["wall"] = f"{m['counters'].get('cpu_ms', float('nan')):.1f} ms CPU in 10 s"
            row["against"] = f"limit {limit} %"
            ratio = value / limit
            ok = ratio < 1
            row["ratio"], row["bound"] = f"{ratio:.3f}", "< 1"
        elif floor is None:
            row["measured"], row["wall"] = fmt_ms(m["cpu"]), fmt_ms(m["wall"])
            row["against"] = f"limit {limit} ms"
            ratio = m["cpu"] / limit
            ok = ratio < 1
            row["ratio"], row["bound"] = f"{ratio:.2f}", "< 1"
        else:
            f, ferr = measurement(runs, floor)
            row["measured"], row["wall"] = fmt_ms(m["cpu"]), fmt_ms(m["wall"])
            if f is None:
                row["against"] = f"{floor}: {ferr}"
                rows.append(row)
                all_pass = False
                continue
            row["against"] = f"{fmt_ms(f['cpu'])} ({floor[3:]})"
            ratio = m["cpu"] / f["cpu"]
            ok = ratio <= limit
            row["ratio"] = f"{ratio:.4f}x" if ratio < 0.1 else f"{ratio:.2f}x"
            row["bound"] = f"<= {limit}x"
        row["result"] = "pass" if ok else "FAIL"
        all_pass = all_pass and ok
        rows.append(row)
    return rows, all_pass


def main(argv):
    if len(argv) < 2:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    markdown = "--markdown" in argv[2:]
    context, runs = load_runs(argv[1])
    rows, all_pass = build_rows(runs)

    start_load = context.get("load_avg")
    start_load = " ".join(f"{x:.2f}" for x in start_load) if start_load else "unknown"
    header = ("Figure", "CPU (median)", "wall", "floor / limit", "ratio", "bound", "result", "reps")
    keys = ("title", "measured", "wall", "against", "ratio", "bound", "result", "reps")
    print(f"Machine: {os.cpu_count()} cores (nproc), {cpu_model()}; load average "
          f"{start_load} at the start, {load_now()} at the end.")
    print("Times are CPU time of the process (user + system), the median of the repetitions:")
    print("the machine is shared and loaded, so wall time (shown for reference) includes waiting")
    print("for a core. Ratios against a floor compare with a cheaper benchmark of the same run.")
    print()
    if markdown:
        print("| " + " | ".join(header) + " |")
        print("|" + "|".join("---" for _ in header) + "|")
        for r in rows:
            print("| " + " | ".join(r[k] for k in keys) + " |")
    else:
        widths = [max(len(h), *(len(r[k]) for r in rows)) for h, k in zip(header, keys)]
        line = "  ".join(h.ljust(w) for h, w in zip(header, widths))
        print(line)
        print("-" * len(line))
        for r in rows:
            print("  ".join(r[k].ljust(w) for k, w in zip(keys, widths)))
    print()
    print("All figures pass." if all_pass else "Some figures FAIL.")
    return 0 if all_pass else 1


if __name__ == "__main__":
    sys.exit(main(sys.argv))
