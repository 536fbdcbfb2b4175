"""Plants realistic faults in a throw-away copy of the tree, one at a time,
and runs the whole test suite on each: a fault that no test catches is a
hole in the suite. Used to show that a change to the tests keeps catching
what the suite caught before it.

Usage, from the repository's root:
  python3 scripts/plant_faults.py [--work DIR] [--only K,...] [--first]

DIR (default /tmp/results-faults) receives the copy and its release build,
which later runs reuse. For each fault it prints "caught" with the number and
the names of the failing tests, or "MISSED"; a fault that does not compile is
reported as such and counts as neither. With --first, the suite stops at the
first failing test, which then is the only one named. Needs CMake and the
project's build dependencies; ccache speeds up the rebuilds when installed.
"""

import argparse
import os
import shutil
import subprocess
import sys

# (source file, text, replacement, what it breaks): each text occurs once.
FAULTS = [
    ("src/results/selection/ExportSelection.cpp", "if (from <= time && time <= to)",
     "if (from < time && time <= to)", "window: the first bound exclusive"),
    ("src/results/selection/ExportSelection.cpp", "i += request.every) kept", "i += request.every + 1) kept",
     "stride: one stored time too many skipped"),
    ("src/results/envelopes/EnvelopeAccumulator.cpp", "const unsigned wet = h >= wetFrom;",
     "const unsigned wet = h > wetFrom;", "envelopes: wet only above the wet depth"),
    ("src/results/envelopes/EnvelopeAccumulator.cpp", "duration[i] += halfInterval * static_cast<double>(wasWet + wet);",
     "duration[i] += halfInterval * static_cast<double>(wasWet + wet + 1);", "wet duration: a half interval too many"),
    ("src/results/envelopes/EnvelopeAccumulator.cpp", "if (h > depthMax[i]) {", "if (h >= depthMax[i]) {",
     "envelopes: the last time of equal maxima"),
    ("src/dataio/xdmf/XmlEscape.cpp", "case '&': escaped += \"&amp;\"; break;", "case '&': escaped += \"&\"; break;",
     "XML: an ampersand left unescaped"),
    ("src/model/outputs/ColumnForms.cpp", "wet[i] = threshold > depth[i] ? 0.0 : keep;",
     "wet[i] = threshold >= depth[i] ? 0.0 : keep;", "dry rule: a depth equal to the threshold counts as dry"),
    ("src/results/maps/CellRaster.cpp", "if (line[c] != noCell) continue;", "",
     "maps: the highest cell wins a shared edge"),
    ("src/results/files/OutputTransaction.cpp", "if (std::rename(temporary.c_str(), target.c_str()) != 0)",
     "if (false && std::rename(temporary.c_str(), target.c_str()) != 0)", "commit: a rename skipped"),
    ("src/results/hydrographs/SectionCut.cpp", "cut.pieces.push_back({piece.cell, share * dy, -share * dx});",
     "cut.pieces.push_back({piece.cell, share * dx, -share * dy});", "sections: the normal's columns swapped"),
    ("src/dataio/mesh2dm/Mesh2dmWriter.cpp", "nodes[0] + 1, nodes[1] + 1, nodes[2] + 1",
     "nodes[0] + 1, nodes[2] + 1, nodes[1] + 1", ".2dm: a cell's corners swapped"),
    ("src/results/stored/MeshCheck.cpp", "if (node >= 0 && node < nodes) continue;",
     "if (node >= 0 && node <= nodes) continue;", "mesh check: one node number beyond the nodes"),
    ("src/validator/walk/KeywordChecks.cpp", "if (!keyword.exclusive && !(value <= keyword.bound))",
     "if (!keyword.exclusive && !(value < keyword.bound))", "validator: the inclusive maximum exclusive"),
    ("src/validator/walk/KeywordChecks.cpp", "record(target.at / name, RequiredMemberMissing{});", "",
     "validator: a missing required member passes"),
    ("src/dataio/hdf5/H5Reader.cpp", "if (column < 0 || column >= shape.columns)",
     "if (column < 0 || column > shape.columns)", "HDF5: a column one beyond the dataset"),
    ("src/results/envelopes/HazardClass.cpp", "if (product <= limit.depthTimesSpeed && depth <= limit.depth",
     "if (product < limit.depthTimesSpeed && depth <= limit.depth", "hazard classes: the D*V limit exclusive"),
    ("src/results/maps/FloodOutline.cpp", "wet[cell] = depthMax[cell] >= wetDepth;",
     "wet[cell] = depthMax[cell] > wetDepth;", "outline: wet only above the wet depth"),
    ("src/dataio/xdmf/XdmfWriter.cpp", "builder.setDimensions(nrElements, 3);", "builder.setDimensions(3, nrElements);",
     "document: a declared shape transposed"),
    ("src/dataio/xdmf/TimeNotation.cpp", 'std::snprintf(text.data(), text.size(), "%f", time);',
     'std::snprintf(text.data(), text.size(), "%.5f", time);', "times: one decimal fewer"),
    ("src/results/maps/RasterGrid.cpp", "grid.firstColumn = multipleBelow(bounds.xMin, cellSize);",
     "grid.firstColumn = multipleBelow(bounds.xMin, cellSize) + 1;", "maps: the grid's left edge one pixel in"),
    ("src/results/Results.cpp", 'if (!reason.empty()) failure::fail("cannot write <", file.name, ">: ", reason);', "",
     "targets: one that cannot be replaced is not refused"),
    ("src/h5/H5Data.cpp", "return points > stored / valueSize;", "return points > stored;",
     "HDF5: a dataset's declared size compared with its stored bytes, not its values"),
    ("src/h5/H5Attributes.cpp", "if (values != 1)", "if (values > 1)", "HDF5: an attribute without values taken as one"),
    ("src/results/console/TerminalLine.cpp", "if (columns < 2 || text.size() < columns) return text;",
     "if (columns < 2 || text.size() <= columns) return text;", "progress: a line as wide as the terminal not cut"),
]


def run(command, cwd, timeout=None):
    return subprocess.run(command, cwd=cwd, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True,
                          timeout=timeout)


def prepare(source, work):
    tree = os.path.join(work, "tree")
    if os.path.exists(tree):
        shutil.rmtree(tree)
    shutil.copytree(source, tree, ignore=shutil.ignore_patterns("build", ".git", "out"))
    configure = ["cmake", "-S", ".", "-B", "build", "-DCMAKE_BUILD_TYPE=Release"]
    if shutil.which("ccache"):
        configure.append("-DCMAKE_CXX_COMPILER_LAUNCHER=ccache")
    for step in (configure, ["cmake", "--build", "build", "-j", str(os.cpu_count() or 2)]):
        done = run(step, tree)
        if done.returncode != 0:
            sys.exit("the unchanged copy does not build:\n" + done.stdout[-3000:])
    return tree


def failing_tests(tree, first=False):
    command = ["ctest", "--test-dir", "build", "-j", str(os.cpu_count() or 2), "--timeout", "300"]
    done = run(command + (["--stop-on-failure"] if first else []), tree)
    failed = [line for line in done.stdout.splitlines() if "***Failed" in line or "***Timeout" in line
              or "***Exception" in line or "Not Run" in line]
    # "  12/600 Test  #12: Suite.Name ....***Failed": the name is the fourth word.
    return [line.split()[3] for line in failed]


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--work", default="/tmp/results-faults")
    parser.add_argument("--only", default="")
    parser.add_argument("--first", action="store_true")
    arguments = parser.parse_args()
    source = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    os.makedirs(arguments.work, exist_ok=True)
    tree = prepare(source, arguments.work)
    if failing_tests(tree):
        sys.exit("the unchanged copy fails tests: plant faults in a green tree")
    chosen = [int(k) for k in arguments.only.split(",") if k] or range(1, len(FAULTS) + 1)
    caught = missed = 0
    for k in chosen:
        path, text, replacement, what = FAULTS[k - 1]
        file = os.path.join(tree, path)
        original = open(file).read()
        if original.count(text) != 1:
            print(f"{k:2} {what}: the text occurs {original.count(text)} times in {path}, not planted")
            continue
        open(file, "w").write(original.replace(text, replacement))
        try:
            built = run(["cmake", "--build", "build", "-j", str(os.cpu_count() or 2)], tree)
            if built.returncode != 0:
                print(f"{k:2} {what}: does not compile")
                continue
            failed = failing_tests(tree, arguments.first)
            if failed:
                caught += 1
                print(f"{k:2} {what}: caught by {len(failed)} tests: {' '.join(failed)}", flush=True)
            else:
                missed += 1
                print(f"{k:2} {what}: MISSED", flush=True)
        finally:
            open(file, "w").write(original)
    run(["cmake", "--build", "build", "-j", str(os.cpu_count() or 2)], tree)
    print(f"{caught} caught, {missed} missed")


if __name__ == "__main__":
    main()
