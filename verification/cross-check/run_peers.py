#!/usr/bin/env python3
"""Cross-check of fixed circles against two open-source slope programs.

    run_peers.py SORVANTA_CALC [--xslope DIR] [--pybimstab DIR] [--write-designs]

The five designs are defined below and written as design files beside this
script (--write-designs). Each design's circle is fixed: its centre is given
to the arbitrary-point command and the must-cut point lies at the circle's
lowest point, so the radius is fixed too. Every design is run with the
conventional pore-pressure form (u on the base length). The peers are run
from their source folders through their own public functions; a peer that
cannot express a design gets no value. Prints the table of notes.md.

Needs numpy, scipy, shapely and pandas for the peers (Debian packages).
"""

import argparse
import json
import math
import os
import subprocess
import sys
import tempfile
import types

HERE = os.path.dirname(os.path.abspath(__file__))
GAMMA_W = 9.81

# Circles lie near each design's critical circle by Bishop. Ground falls to the right (crest left, toe right), the orientation both
# peers accept, so the mass slides counter-clockwise in this program.
DESIGNS = [
    {"name": "homogeneous", "title": "homogeneous 2:1 slope, c–φ, dry",
     "ground": [(0, 20), (20, 20), (40, 10), (60, 10)],
     "soils": [(18.0, 10.0, 25.0)], "bounds": [], "water": None,
     "centre": (37.0, 33.3), "radius": 23.5},
    {"name": "steep-cut", "title": "1:1 cut 8 high, c–φ, dry",
     "ground": [(0, 18), (15, 18), (23, 10), (40, 10)],
     "soils": [(19.0, 15.0, 20.0)], "bounds": [], "water": None,
     "centre": (23.2, 21.5), "radius": 11.6},
    {"name": "water-line", "title": "homogeneous 2:1 slope with a water line",
     "ground": [(0, 20), (20, 20), (40, 10), (60, 10)],
     "soils": [(19.0, 8.0, 28.0)], "bounds": [],
     "water": [(0, 16), (20, 15), (40, 10), (60, 10)],
     "centre": (35.4, 27.6), "radius": 19.3},
    {"name": "two-layers", "title": "2:1 slope, sand over clay",
     "ground": [(0, 20), (20, 20), (40, 10), (60, 10)],
     "soils": [(18.0, 5.0, 32.0), (19.0, 20.0, 18.0)],
     "bounds": [[(0, 15), (20, 15), (40, 7), (60, 7)]], "water": None,
     "centre": (34.8, 30.3), "radius": 21.3},
    {"name": "undrained-cut", "title": "1:2 cut in clay, φ = 0",
     "ground": [(0, 16), (15, 16), (27, 10), (45, 10)],
     "soils": [(18.0, 30.0, 0.0)], "bounds": [], "water": None,
     "centre": (24.0, 24.0), "radius": 16.0},
]
METHODS = ["ordinary", "bishop", "spencer", "morgenstern-price"]


def design_text(d):
    def block(rows):
        if not rows:
            return ["2", "-,-,-"]
        return [str(len(rows) + 1)] + ["%d,%.2f,%.2f" % (i, x, y) for i, (x, y) in enumerate(rows)]
    water = d["water"] is not None
    lines = [str(len(d["soils"])), "TRUE" if water else "FALSE", "%.2f" % GAMMA_W if water else "---"]
    soils = d["soils"] + [d["soils"][-1]] * (5 - len(d["soils"]))
    for g, c, phi in soils:
        # γs = γt − γw, so the saturated weight equals the wet one as in the peers.
        lines += ["%.1f" % g, "%.2f" % (g - GAMMA_W), "%g" % phi, "%g" % c]
    bounds = [d["ground"]] + d["bounds"]
    for b in bounds + [None] * (5 - len(bounds)):
        lines += block(b)
    lines += block(d["water"] or [(x, y - 5) for x, y in d["ground"]])
    xc, yc = d["centre"]
    lines += ["1" if water else "0", "1.20", "0.1", "1.0", "5", "FALSE", "FALSE",
              "0.00",
              "FALSE"] + block(None)
    lines += ["TRUE"] + block([(xc, yc - d["radius"])])
    lines += ["FALSE", "10.0", "0.0", "0.0"]
    return "\r\n".join(lines) + "\r\n"


def ours(binary, d, method):
    path = os.path.join(HERE, d["name"] + ".dat")
    with tempfile.TemporaryDirectory() as work:
        out = os.path.join(work, "r.json")
        args = [binary, "arbitrary", path, repr(d["centre"][0]), repr(d["centre"][1]),
                "--direction", "ccw", "--method", method, "--pore-pressure", "conventional",
                "--json", out]
        proc = subprocess.run(args, capture_output=True, text=True)
        if proc.returncode != 0:
            raise RuntimeError(" ".join(args) + ": " + proc.stderr)
        with open(out, encoding="utf-8") as f:
            a = json.load(f)["arbitrary"]
    return abs(a["Fs"]), a["Xb"], a["Xe"]


def xslope_fs(folder, d, method):
    sys.path.insert(0, folder)
    # The peer's slicing module imports its finite-element mesher, which limit
    # equilibrium never calls; a stand-in spares installing it.
    try:
        import gmsh  # noqa: F401
    except ImportError:
        sys.modules["gmsh"] = types.ModuleType("gmsh")
    from shapely.geometry import LineString
    import slice as xs_slice
    import solve as xs_solve
    mats = []
    for g, c, phi in d["soils"]:
        mats.append({"name": "", "gamma": g, "option": "mc", "c": c, "phi": phi, "cp": 0,
                     "r_elev": 0, "d": 0, "psi": 0, "u": "piezo" if d["water"] else "none"})
    data = {"profile_lines": [list(d["ground"])] + [list(b) for b in d["bounds"]],
            "ground_surface": LineString(d["ground"]), "materials": mats,
            "piezo_line": list(d["water"] or []), "piezo_line2": [], "gamma_water": GAMMA_W,
            "tcrack_depth": 0, "tcrack_water": 0, "k_seismic": 0, "dloads": [], "dloads2": [],
            "max_depth": 0, "reinforce_lines": []}
    xc, yc = d["centre"]
    circle = {"Xo": xc, "Yo": yc, "Depth": yc - d["radius"], "R": d["radius"]}
    ok, df = xs_slice.generate_slices(data, circle=circle, num_slices=400, debug=False)
    if not ok:
        raise RuntimeError("xslope: " + str(df))
    fn = {"ordinary": xs_solve.oms, "bishop": xs_solve.bishop, "spencer": xs_solve.spencer}.get(method)
    if fn is None:
        return None
    df = df[0] if isinstance(df, tuple) else df
    ok, res = fn(df)
    if not ok:
        raise RuntimeError("xslope %s: %s" % (method, res))
    return abs(res["FS"])


def pybimstab_fs(folder, d, method, xb, xe):
    if d["bounds"]:
        return None  # one material per slope only
    sys.path.insert(0, folder)
    import numpy as np
    from pybimstab.slipsurface import CircularSurface
    from pybimstab.slices import MaterialParameters, Slices
    from pybimstab.slopestabl import SlopeStabl
    xs, ys = zip(*d["ground"])
    bottom = min(ys) - 10
    coords = np.array([[xs[0]] + list(xs) + [xs[-1], xs[0]], [bottom] + list(ys) + [bottom, bottom]])
    g, c, phi = d["soils"][0]
    surface = CircularSurface(slopeCoords=coords, dist1=xb, dist2=xe, radius=d["radius"])
    centre = surface.defineStructre()["center"]
    assert abs(centre[0] - d["centre"][0]) < 1e-6 and abs(centre[1] - d["centre"][1]) < 1e-6, centre
    water = np.array(list(zip(*d["water"]))) if d["water"] else None
    material = MaterialParameters(cohesion=c, frictAngle=phi, unitWeight=g, wtUnitWeight=GAMMA_W)
    slices = Slices(material=material, slipSurfCoords=surface.coords, slopeCoords=coords,
                    numSlices=400, watertabCoords=water)
    funct = {"spencer": 1, "morgenstern-price": "halfsine"}.get(method, 1)

    def analysis(window):
        return SlopeStabl(slices, seedFS=1, Kh=0, interSlcFunc=funct, tol=1e-6, maxIter=200,
                          minLambda=window[0], maxLambda=window[1], nLambda=window[2])

    if method in ("ordinary", "bishop"):
        st = analysis((-0.6, 0.6, 10))  # the peer's own λ window
        return st.fsFellenius if method == "ordinary" else st.fsBishop
    # The peer finds λ where splines through the moment and the force factors at
    # sampled λ cross; a narrow window around the first root keeps the spline's
    # error small. A window where too few λ converge cannot be fitted (the peer
    # raises); the next one is tried then.
    fs = None
    for window in ((0.0, 1.2, 13), (-0.6, 0.6, 10)):
        try:
            st = analysis(window)
        except ValueError:
            continue
        if st.FS["lambda"] is not None:
            fs, root = st.FS["fs"], st.FS["lambda"]
            break
    if fs is None:
        return None
    try:
        st = analysis((root - 0.05, root + 0.05, 11))
        if st.FS["fs"] is not None:
            fs = st.FS["fs"]
    except ValueError:
        pass
    return fs


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("binary")
    ap.add_argument("--xslope")
    ap.add_argument("--pybimstab")
    ap.add_argument("--write-designs", action="store_true")
    a = ap.parse_args()
    if a.write_designs:
        for d in DESIGNS:
            with open(os.path.join(HERE, d["name"] + ".dat"), "w", encoding="ascii", newline="") as f:
                f.write(design_text(d))
    import warnings
    warnings.filterwarnings("ignore")
    print("| Design | Method | Sorvanta | XSLOPE | pyBIMstab | Largest difference |")
    print("|---|---|---|---|---|---|")
    for d in DESIGNS:
        for m in METHODS:
            fs, xb, xe = ours(a.binary, d, m)
            p1 = xslope_fs(a.xslope, d, m) if a.xslope else None
            p2 = pybimstab_fs(a.pybimstab, d, m, xb, xe) if a.pybimstab else None
            peers = [p for p in (p1, p2) if p is not None]
            diff = max((abs(fs - p) / p for p in peers), default=None)
            cell = lambda v: "—" if v is None else "%.3f" % v
            print("| %s | %s | %s | %s | %s | %s |" % (
                d["title"], m, cell(fs), cell(p1), cell(p2),
                "—" if diff is None else "%.1f %%" % (100 * diff)))
    return 0


if __name__ == "__main__":
    sys.exit(main())
