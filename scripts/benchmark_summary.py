#!/usr/bin/env python3
"""Gathers the benchmark programs' JSON lines ({"request.daemon.p50_us": 1.0})
into one object per section, adds the ratios between targets measured in the
same run, writes the summary and prints a table with each figure's ratio or
goal beside it.

    benchmark_summary.py FIGURES.jsonl SUMMARY.json
"""

import json
import operator
import sys

# (section, figure, comparison, bound, text): a goal on one figure or ratio.
GOALS = [
    ("request", "daemon_to_proxy.p50_us", operator.le, 1.10, "<= 1.10 x proxy"),
    ("request", "daemon_to_proxy.calls_per_s_8", operator.ge, 0.90, ">= 0.90 x proxy"),
    ("request", "daemon.failures", operator.eq, 0, "= 0"),
    ("request", "daemon.failures_8", operator.eq, 0, "= 0"),
    ("fanout", "daemon.lost", operator.eq, 0, "= 0"),
    ("fanout", "daemon_to_minimal.max_deliveries_per_s", operator.ge, 0.80, ">= 0.80 x minimal"),
    ("fanout", "daemon_to_minimal.p99_us_10", operator.le, 1.5, "<= 1.5 x minimal"),
    ("fanout", "daemon.p99_us_10", operator.le, 10000, "<= 10 ms"),
    ("footprint", "idle_rss_kib", operator.le, 25 * 1024, "<= 25 MiB"),
    ("footprint", "startup_ms", operator.le, 300, "<= 300 ms"),
    ("logging", "msgs_per_s_1", operator.ge, 300000, ">= 300 000/s"),
    ("logging", "drops_at_rate", operator.eq, 0, "= 0 at rate"),
]

# Per section: the measured target, the floors it is compared with (the
# ratio's name, the floor's prefix), and the figures to compare.
RATIOS = {
    "request": ("daemon", [("daemon_to_proxy", "proxy"), ("daemon_to_direct", "direct")],
                ["p50_us", "p99_us", "calls_per_s", "p50_us_8", "p99_us_8", "calls_per_s_8"]),
    "fanout": ("daemon", [("daemon_to_minimal", "minimal")],
               ["max_deliveries_per_s", "p50_us_1", "p99_us_1", "p50_us_10", "p99_us_10",
                "p50_us_100", "p99_us_100"]),
}

SECTIONS = ["request", "fanout", "footprint", "logging"]


def read_figures(path):
    summary = {}
    with open(path, encoding="utf-8") as lines:
        for line in lines:
            line = line.strip()
            if not line.startswith("{"):
                continue
            for name, value in json.loads(line).items():
                section, _, figure = name.partition(".")
                summary.setdefault(section, {})[figure] = value
    return summary


def add_ratios(summary):
    for section, (target, floors, figures) in RATIOS.items():
        fields = summary.get(section, {})
        for ratio_name, floor in floors:
            for figure in figures:
                measured = fields.get(f"{target}.{figure}")
                base = fields.get(f"{floor}.{figure}")
                if measured is not None and base:
                    fields[f"{ratio_name}.{figure}"] = round(measured / base, 3)


def goal_text(section, figure, value):
    for goal_section, goal_figure, compare, bound, text in GOALS:
        if (goal_section, goal_figure) == (section, figure):
            return f"goal {text}: {'ok' if compare(value, bound) else 'MISSED'}"
    return ""


def beside(section, figure, fields):
    """The ratios to the floors for a measured figure, and its goal."""
    parts = []
    if section in RATIOS:
        target, floors, _ = RATIOS[section]
        prefix = target + "."
        if figure.startswith(prefix):
            for ratio_name, floor in floors:
                ratio = fields.get(f"{ratio_name}.{figure[len(prefix):]}")
                if ratio is not None:
                    parts.append(f"{ratio:.2f} x {floor}")
    goal = goal_text(section, figure, fields[figure])
    if goal:
        parts.append(goal)
    return ", ".join(parts)


def print_table(summary):
    rows = []
    for section in SECTIONS:
        fields = summary.get(section)
        if not fields:
            rows.append((section, "(not measured)", "", ""))
            continue
        for figure in sorted(fields):
            value = fields[figure]
            text = f"{value:.3f}" if isinstance(value, float) and value < 100 else f"{value:.0f}"
            rows.append((section, figure, text, beside(section, figure, fields)))
    for section, figure, goal_figure in [(g[0], g[1], g) for g in GOALS]:
        if section in summary and figure not in summary[section]:
            rows.append((section, figure, "-", f"goal {goal_figure[4]}: not measured"))
    widths = [max(len(row[i]) for row in rows) for i in range(3)]
    for section, figure, value, note in rows:
        print(f"{section:<{widths[0]}}  {figure:<{widths[1]}}  {value:>{widths[2]}}  {note}")


def main():
    figures_path, summary_path = sys.argv[1], sys.argv[2]
    summary = read_figures(figures_path)
    add_ratios(summary)
    with open(summary_path, "w", encoding="utf-8") as out:
        json.dump(summary, out, indent=2, sort_keys=True)
        out.write("\n")
    print_table(summary)


if __name__ == "__main__":
    main()
