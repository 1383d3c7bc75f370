#!/usr/bin/env python3
"""Regenerates the program's artwork under data/ from the drawings in this folder:

  data/glyphs/*.svg      statement glyphs (glyphs.py), used as they are
  data/*.jpg, data/*.bmp pictures (pictures.py), rasterised by the Qt tool in raster/
  data/chimes.wav        the chime (chime.py)

The SVG sources of the pictures are kept in tools/artwork/svg/ for review. The raster tool
is built on demand into build-artwork/ (or give its path with --raster). Run from anywhere:

  python3 tools/artwork/make_artwork.py [--raster PATH] [--sheet OUT.png]
"""

import argparse
import os
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
sys.path.insert(0, HERE)

import chime  # noqa: E402
import glyphs  # noqa: E402
import pictures  # noqa: E402

JPEG_QUALITY = 88


def write_if_changed(path, content):
    try:
        with open(path, encoding="utf-8") as f:
            if f.read() == content:
                return
    except FileNotFoundError:
        pass
    tmp = path + ".tmp"
    with open(tmp, "w", encoding="utf-8", newline="\n") as f:
        f.write(content)
    os.replace(tmp, path)


def raster_tool(given):
    if given:
        return given
    build = os.path.join(ROOT, "build-artwork")
    subprocess.run(["cmake", "-S", os.path.join(HERE, "raster"), "-B", build, "-G", "Ninja"],
                   check=True, stdout=subprocess.DEVNULL)
    subprocess.run(["cmake", "--build", build], check=True)
    return os.path.join(build, "kavel_raster")


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("--raster", help="path of an already built kavel_raster")
    ap.add_argument("--sheet", help="also draw a contact sheet of the glyphs into this PNG")
    args = ap.parse_args()

    data = os.path.join(ROOT, "data")
    glyph_dir = os.path.join(data, "glyphs")
    svg_dir = os.path.join(HERE, "svg")
    os.makedirs(glyph_dir, exist_ok=True)
    os.makedirs(svg_dir, exist_ok=True)

    names = []
    for name, svg in glyphs.all_glyphs().items():
        write_if_changed(os.path.join(glyph_dir, name + ".svg"), svg)
        names.append(name)

    tool = raster_tool(args.raster)
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    for filename, (svg, w, h) in pictures.all_pictures().items():
        src = os.path.join(svg_dir, os.path.splitext(filename)[0] + ".svg")
        write_if_changed(src, svg)
        out = os.path.join(data, filename)
        if filename.endswith(".bmp"):
            cmd = [tool, "bmp", src, out, str(w), str(h)]
        else:
            cmd = [tool, "jpg", src, out, str(w), str(h), str(JPEG_QUALITY)]
        subprocess.run(cmd, check=True, env=env)

    chime.write(os.path.join(data, "chimes.wav"))

    if args.sheet:
        subprocess.run([tool, "sheet", args.sheet]
                       + [os.path.join(glyph_dir, n + ".svg") for n in names], check=True, env=env)


if __name__ == "__main__":
    main()
