#!/usr/bin/env python3
"""Medians of one benchmark run and Trawlit's ratios to rg -j1 and GNU grep."""
import json, os, statistics, sys

out = sys.argv[1]
print(f"{'case':18s} {'trawlit':>8s} {'grep':>8s} {'rg':>8s}  {'/rg':>5s} {'/grep':>5s}")
for name in sorted(f[:-5] for f in os.listdir(out) if f.endswith(".json")):
    results = json.load(open(os.path.join(out, name + ".json")))["results"]
    ms = {r["command"]: statistics.median(r["times"]) * 1000 for r in results}
    t, g, r = ms["trawlit"], ms["grep"], ms["rg"]
    print(f"{name:18s} {t:8.0f} {g:8.0f} {r:8.0f}  {t / r:5.2f} {t / g:5.2f}")
