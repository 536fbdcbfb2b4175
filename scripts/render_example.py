"""Renders the bundled example as ParaView shows it: the water depth of the
dam break at the middle stored time, with the flow velocity as arrows.

Writes docs/example.png, the picture of the user guide (docs/guide.md). Run it
again whenever the example changes.

Requirements (not part of CI): ParaView 5.11 with Python (Debian 12: package
`paraview`), a display or xvfb (package `xvfb`), and the exported example:
run scripts/example.sh first.

Usage, from the repository's root:
  xvfb-run -a pvbatch scripts/render_example.py [document.xdmf [picture.png]]
The defaults are examples/out/dambreak.xdmf and docs/example.png.
"""

import os
import sys

from paraview.simple import (CellCenters, ColorBy, GetActiveViewOrCreate, GetColorTransferFunction, GetScalarBar,
                             Glyph, Render, SaveScreenshot, Show, Text, XDMFReader)

SIZE = [1400, 620]
DEPTH = "water_depth"
VELOCITY = "flow_velocity"


def middle_time(reader):
    times = list(reader.TimestepValues)
    if not times:
        sys.exit("the document holds no time steps")
    return times[len(times) // 2]


def depth_colours(view, reader):
    display = Show(reader, view)
    ColorBy(display, ("CELLS", DEPTH))
    lut = GetColorTransferFunction(DEPTH)
    # Deep water dark, a dry bed white.
    lut.ApplyPreset("Blues", True)
    lut.InvertTransferFunction()
    lut.RescaleTransferFunction(0.0, 2.0)
    # The colours of the scale as they are, without shading by a light.
    display.Ambient = 1.0
    display.Diffuse = 0.0
    display.SetScalarBarVisibility(view, True)
    bar = GetScalarBar(lut, view)
    bar.Title = "water depth (m)"
    bar.ComponentTitle = ""
    bar.TitleColor = [0.1, 0.1, 0.1]
    bar.LabelColor = [0.1, 0.1, 0.1]
    bar.RangeLabelFormat = "%-#.1f"
    return display


# One arrow per cell centre would hide the water under 6000 arrows. Every
# 23rd centre shows the field well; a stride that divides the 60 triangles
# across the flume would put every arrow on one line.
def velocity_arrows(view, reader):
    centres = CellCenters(Input=reader)
    arrows = Glyph(Input=centres, GlyphType="Arrow")
    arrows.OrientationArray = ["POINTS", VELOCITY]
    arrows.ScaleArray = ["POINTS", VELOCITY]
    arrows.ScaleFactor = 6.0
    arrows.GlyphMode = "Every Nth Point"
    arrows.Stride = 23
    display = Show(arrows, view)
    ColorBy(display, None)
    display.AmbientColor = [0.85, 0.2, 0.1]
    display.DiffuseColor = [0.85, 0.2, 0.1]
    return arrows


def main():
    document = sys.argv[1] if len(sys.argv) > 1 else "examples/out/dambreak.xdmf"
    picture = sys.argv[2] if len(sys.argv) > 2 else "docs/example.png"
    if not os.path.exists(document):
        sys.exit(document + " is missing: run scripts/example.sh first")

    reader = XDMFReader(FileNames=[os.path.abspath(document)])
    reader.UpdatePipelineInformation()
    time = middle_time(reader)

    view = GetActiveViewOrCreate("RenderView")
    view.ViewSize = SIZE
    view.ViewTime = time
    view.Background = [0.93, 0.93, 0.93]
    if hasattr(view, "UseColorPaletteForBackground"):
        view.UseColorPaletteForBackground = 0
    view.OrientationAxesVisibility = 0

    depth_colours(view, reader)
    velocity_arrows(view, reader)

    title = Text(Text="dam break, t = %g s: water depth and flow velocity" % time)
    title_display = Show(title, view)
    title_display.WindowLocation = "Upper Left Corner"
    title_display.FontSize = 22
    title_display.Color = [0.1, 0.1, 0.1]

    # From above, x to the right, without perspective, the flume's length
    # filling most of the picture. The first render places the camera itself,
    # so it comes first.
    Render(view)
    view.CameraParallelProjection = 1
    view.ResetActiveCameraToNegativeZ()
    view.ResetCamera()
    bounds = reader.GetDataInformation().GetBounds()
    view.CameraParallelScale = 0.66 * (bounds[1] - bounds[0]) * SIZE[1] / SIZE[0]
    Render(view)
    SaveScreenshot(picture, view, ImageResolution=SIZE)
    print("wrote %s (t = %g s)" % (picture, time))


if __name__ == "__main__":
    main()
