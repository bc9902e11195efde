#!/usr/bin/env python3
"""Runs every published problem under verification/ through sorvanta-calc.

    run_verification.py SORVANTA_CALC [--out DIR] [--write]

Each folder holds one published problem: its design files and problem.json
(source, what it reports, how the design encodes it, and the runs with the
published value and tolerance). Every run is compared with its reference
value (`expected` where the program's method differs from the source's and
a hand value for the program's form is given, else `published`).

Without --write the report goes to DIR (default: the current directory) and
the table of results must equal the one in the committed docs/verification.md,
so the committed report cannot drift from the program. --write regenerates
docs/verification.md and its figures in docs/verification/.

Exit status: 0 every run within its tolerance (or marked as a known
difference) and, without --write, the committed table unchanged; 1 otherwise;
2 bad usage or a run that failed.
"""

import argparse
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)
REPORT = os.path.join(ROOT, "docs", "verification.md")
FIGURES = os.path.join(ROOT, "docs", "verification")
TABLE_BEGIN = "<!-- results table: begin -->"
TABLE_END = "<!-- results table: end -->"


def load_problems():
    problems = []
    for name in sorted(os.listdir(HERE)):
        meta = os.path.join(HERE, name, "problem.json")
        if os.path.isfile(meta):
            with open(meta, encoding="utf-8") as f:
                p = json.load(f)
            p["id"] = name
            problems.append(p)
    return problems


def command_line(binary, problem, run, extra):
    design = os.path.join(HERE, problem["id"], run["design"])
    args = [binary, run["command"], design]
    if run["command"] == "arbitrary":
        args += [repr(float(v)) for v in run["centre"]]
    return args + list(run.get("options", [])) + extra


def fs_of(result, run):
    """|Fs| of the run: the critical circle's for `run`, the arbitrary
    point's (as listed, three decimals) for `arbitrary`; for `backcalc` the
    strength found (φ in degrees, or c)."""
    if run["command"] == "backcalc":
        return result["phi"] if "phi" in result else result["c"]
    if run["command"] == "run":
        return abs(result["critical"]["Fs"])
    first = result["arbitrary_tables"]["judgement"][0]
    m = re.search(r"=(-?[0-9.]+)$", first)
    if not m:
        raise RuntimeError("no safety factor in the arbitrary-point judgement: " + first)
    return abs(float(m.group(1)))


def run_one(binary, problem, run, work):
    out = os.path.join(work, "result.json")
    args = command_line(binary, problem, run, ["--json", out])
    proc = subprocess.run(args, capture_output=True, text=True)
    if proc.returncode != 0:
        raise RuntimeError("%s exited with %d: %s" % (" ".join(args), proc.returncode,
                                                    proc.stderr.strip()))
    with open(out, encoding="utf-8") as f:
        return fs_of(json.load(f), run)


def figure(binary, problem, run, index, work, figdir):
    """The critical circle as the program draws it, as <id>-<n>.(svg|png)
    in figdir; None when no figure could be made."""
    stem = "%s-%d" % (problem["id"], index + 1)
    help_text = subprocess.run([binary, "run", "--help"], capture_output=True, text=True).stdout
    if "--figures" in help_text:
        svgdir = os.path.join(work, "svg")
        os.makedirs(svgdir, exist_ok=True)
        proc = subprocess.run(command_line(binary, problem, run, ["--figures", svgdir]),
                              capture_output=True, text=True)
        svgs = sorted(n for n in os.listdir(svgdir) if n.endswith(".svg")) if proc.returncode == 0 else []
        if run["command"] == "arbitrary":
            svgs = [n for n in svgs if "任意" in n] or svgs
        else:
            svgs = [n for n in svgs if "任意" not in n and "地形" not in n] or svgs
        if svgs:
            shutil.copy(os.path.join(svgdir, svgs[0]), os.path.join(figdir, stem + ".svg"))
            return stem + ".svg"
    if not shutil.which("pdftoppm") or not shutil.which("pdfinfo"):
        return None
    pdf = os.path.join(work, "figure.pdf")
    # A fixed document time keeps the committed figures byte-for-byte stable.
    env = dict(os.environ, SOURCE_DATE_EPOCH="0")
    proc = subprocess.run(command_line(binary, problem, run, ["--pdf", pdf]),
                          capture_output=True, text=True, env=env)
    if proc.returncode != 0:
        return None
    info = subprocess.run(["pdfinfo", pdf], capture_output=True, text=True).stdout
    pages = int(re.search(r"^Pages:\s+(\d+)", info, re.M).group(1))
    # The last page is the slip circle figure (Ⅴ) of the document.
    subprocess.run(["pdftoppm", "-png", "-r", "72", "-singlefile", "-f", str(pages), "-l",
                    str(pages), pdf, os.path.join(figdir, stem)], check=True)
    return stem + ".png"


def fmt(v):
    return "%.3f" % v


def table(rows):
    lines = [TABLE_BEGIN,
             "| Problem | Run | Source | Method | Published Fs | Reference Fs | Sorvanta Fs "
             "| Difference | Tolerance | Result |",
             "|---|---|---|---|---|---|---|---|---|---|"]
    for r in rows:
        # Rounded so that a difference of -0.0004 does not print as -0.000.
        difference = round(r["fs"] - r["reference"], 3) or 0.0
        lines.append("| [%s](#%s) | %s | %s | %s | %s | %s | %s | %+.3f | ±%s | %s |" % (
            r["problem"]["short"], r["problem"]["id"], r["run"]["name"], r["problem"]["cite"],
            r["method"], fmt(r["run"]["published"]), fmt(r["reference"]), fmt(r["fs"]), difference,
            fmt(r["run"]["tolerance"]), r["verdict"]))
    lines.append(TABLE_END)
    return "\n".join(lines)


def short_method(problem, run):
    options = run.get("options", [])
    if run["command"] == "backcalc":
        return "back-calculation; %s" % problem["method_short"]
    method = options[options.index("--method") + 1] if "--method" in options else "ordinary"
    form = "force form" if "force" in options else "moment form"
    if "--pore-pressure" in options:
        form += ", u·l" if options[options.index("--pore-pressure") + 1] == "conventional" else ""
    return "%s, %s; %s" % (method, form, problem["method_short"])


def report(rows, problems, figures):
    out = ["# Verification", "",
           "Published slope problems run through `sorvanta-calc`; generated by",
           "`verification/run_verification.py` (see the README, section Verification). Each",
           "problem is a folder under `verification/` with its design files and `problem.json`.",
           "The reference value is the published one unless the source uses another",
           "pore-pressure form, in which case a hand value of the published circle in this",
           "program's form is the reference and the published value is shown beside it.",
           "Values in feet, pcf and psf are entered unchanged: Fs is a ratio.", "",
           table(rows), ""]
    for p in problems:
        out += ["## %s" % p["title"], "", '<a id="%s"></a>' % p["id"], "",
                "- Source: " + p["source"],
                "- Reported: " + p["reports"],
                "- Method: " + p["method"], "",
                p["encoding"], ""]
        for key in ("hand_check", "difference"):
            if key in p:
                out += [p[key], ""]
        for run in p["runs"]:
            r = next(x for x in rows if x["problem"] is p and x["run"] is run)
            cmd = "sorvanta-calc %s %s" % (run["command"], " ".join(
                [run["design"]] + [repr(float(v)) for v in run.get("centre", [])] + run.get("options", [])))
            out.append("- %s: `%s` gives %s (reference %s, tolerance ±%s: %s)%s" % (
                run["name"], cmd, fmt(r["fs"]), fmt(r["reference"]), fmt(run["tolerance"]),
                run["tolerance_reason"], (". " + run["note"]) if "note" in run else ""))
        out.append("")
        for i, run in enumerate(p["runs"]):
            name = figures.get((p["id"], i))
            if name:
                out += ["![%s, %s](verification/%s)" % (p["title"], run["name"], name), ""]
    with open(os.path.join(HERE, "notes.md"), encoding="utf-8") as f:
        out += [f.read()]
    return "\n".join(out).rstrip() + "\n"


def committed_table(path):
    try:
        with open(path, encoding="utf-8") as f:
            text = f.read()
    except OSError:
        return None
    b, e = text.find(TABLE_BEGIN), text.find(TABLE_END)
    return text[b:e + len(TABLE_END)] if b >= 0 and e > b else None


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("binary", help="path of sorvanta-calc")
    ap.add_argument("--out", default=".", help="folder for the report when not writing docs/")
    ap.add_argument("--write", action="store_true",
                    help="regenerate docs/verification.md and docs/verification/")
    a = ap.parse_args()
    if not os.access(a.binary, os.X_OK):
        print("not an executable: " + a.binary, file=sys.stderr)
        return 2

    problems = load_problems()
    rows, figures, failed = [], {}, False
    with tempfile.TemporaryDirectory() as work:
        if a.write:
            shutil.rmtree(FIGURES, ignore_errors=True)
            os.makedirs(FIGURES)
        for p in problems:
            for i, run in enumerate(p["runs"]):
                try:
                    fs = run_one(a.binary, p, run, work)
                except RuntimeError as e:
                    print(e, file=sys.stderr)
                    return 2
                reference = run.get("expected", run["published"])
                within = abs(fs - reference) <= run["tolerance"] + 1e-9
                if run.get("known_difference"):
                    verdict = "differs, reason given"
                else:
                    verdict = "pass" if within else "FAIL"
                    failed |= not within
                rows.append({"problem": p, "run": run, "fs": fs, "reference": reference,
                             "method": short_method(p, run), "verdict": verdict})
                print("%-40s %-28s %s  ref %s  %s" % (p["id"], run["name"], fmt(fs),
                                                     fmt(reference), verdict))
                if a.write:
                    name = figure(a.binary, p, run, i, work, FIGURES)
                    if name:
                        figures[(p["id"], i)] = name

    text = report(rows, problems, figures)
    if a.write:
        target = REPORT
    else:
        os.makedirs(a.out, exist_ok=True)
        target = os.path.join(a.out, "verification.md")
    with open(target, "w", encoding="utf-8") as f:
        f.write(text)
    print("report: " + target)

    if not a.write:
        if committed_table(REPORT) != table(rows):
            print("the table of results differs from docs/verification.md; "
                  "regenerate it with --write and commit it", file=sys.stderr)
            failed = True
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
